#include "srcp/SrcpReceive.h"

#include "ScktComp/TClientSocket.h"
#include "platform/TMemo.h"

void ShowReceivedText(TClientSocket& socket, TMemo& memo) {
  const QByteArray text = socket.Socket()->ReceiveText();
  // A server that floods can leave megabytes waiting. The pane keeps only its last
  // TMemo::kMaxChars characters, so such an entry would push out everything before it and
  // most of itself: its tail replaces the pane's text at once, which shows the same.
  if (text.size() >= TMemo::kMaxChars)
    memo.SetText(QString::fromLatin1(text.last(TMemo::kMaxChars)));
  else
    memo.AddLine(QString::fromLatin1(text));
}
