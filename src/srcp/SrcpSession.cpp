#include "srcp/SrcpSession.h"

#include <initializer_list>

#include "ScktComp/TClientSocket.h"
#include "platform/TMemo.h"
#include "platform/UserNotifier.h"
#include "srcp/SrcpGreeting.h"
#include "srcp/SrcpHost.h"
#include "srcp/SrcpLines.h"
#include "srcp/SrcpReplyWait.h"

namespace {

constexpr int kSrcpPort = 4303;
constexpr int kSessionSettleMs = 500;

void ConnectToLocalServer(TClientSocket& socket) {
  socket.SetPort(kSrcpPort);
  socket.SetAddress(QStringLiteral("127.0.0.1"));
  socket.SetHost(QStringLiteral("localhost"));
  socket.SetActive(true);
}

void Send(TClientSocket& socket, std::initializer_list<const char*> lines) {
  for (const char* line : lines) socket.Socket()->SendText(QByteArray(line));
}

}  // namespace

void StartSrcpCommandSession() {
  ConnectToLocalServer(*CurrentSrcpHost().ClientSocket1);
  WaitForText(QStringLiteral("SRCP"));
}

void SrcpHandshake() {
  const SrcpHost& host = CurrentSrcpHost();
  const SrcpGreeting greeting = RecogniseSrcpGreeting(host.Memo3->Text());
  if (greeting.ddw07) {
    MessageBeep(0);
    Send(*host.ClientSocket1, {SrcpLine::SetProtocol, SrcpLine::InfoMode, SrcpLine::CommandMode,
                               SrcpLine::Go, SrcpLine::InitPower, SrcpLine::InitFeedback});
  }
  if (greeting.ddw08) {
    MessageBeep(0);
    MessageBeep(0);
    Send(*host.ClientSocket1, {SrcpLine::SetProtocol, SrcpLine::CommandMode, SrcpLine::Go});
    ConnectToLocalServer(*host.ClientSocket2);
    host.waitMs(kSessionSettleMs);
    Send(*host.ClientSocket2, {SrcpLine::SetProtocol, SrcpLine::InfoMode, SrcpLine::Go});
    host.waitMs(kSessionSettleMs);
    Send(*host.ClientSocket1, {SrcpLine::InitPower, SrcpLine::InitFeedback, SrcpLine::PowerOn});
  }
}

void EndSrcpSession() {
  const SrcpHost& host = CurrentSrcpHost();
  Send(*host.ClientSocket1, {SrcpLine::PowerOff, SrcpLine::TermSession});
  // Closing at once could lose both lines: the system may still hold them back, and a close
  // while replies wait unread resets the connection and drops what was held. Once the server
  // has ended the session, it has read them.
  AwaitServerClose();
  host.ClientSocket1->Close();
  host.ClientSocket2->Close();
}
