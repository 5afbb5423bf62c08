#include "srcp/SrcpReceive.h"

#include "ScktComp/TClientSocket.h"
#include "platform/TMemo.h"

void ShowReceivedText(TClientSocket& socket, TMemo& memo) {
  QByteArray text = socket.Socket()->ReceiveText();
  // A server that floods can leave megabytes waiting; the pane keeps only its last
  // TMemo::kMaxChars characters, so adding more would only cost the window time.
  if (text.size() > TMemo::kMaxChars) text = text.last(TMemo::kMaxChars);
  memo.AddLine(QString::fromLatin1(text));
}
