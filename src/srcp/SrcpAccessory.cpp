#include "srcp/SrcpAccessory.h"

#include "ScktComp/TClientSocket.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "srcp/SrcpHost.h"
#include "srcp/SrcpLines.h"
#include "srcp/SrcpReplyWait.h"

void SendSrcpGA(const QString& bus, const QString& address, const QString& port,
                const QString& protocol) {
  const SrcpHost& host = CurrentSrcpHost();
  // The reply is looked for in the receive log, so it must hold only what follows the command.
  host.Memo3->Clear();
  ProcessMessages();
  TClientWinSocket& session = *host.ClientSocket1->Socket();
  const QByteArray command = SrcpLine::SetGA(bus, address, port);
  session.SendText(command);
  if (WaitForText(QLatin1String(SrcpNoDataReply))) {
    session.SendText(SrcpLine::InitGA(bus, address, protocol));
    session.SendText(command);
  }
}
