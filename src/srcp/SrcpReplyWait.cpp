#include "srcp/SrcpReplyWait.h"

#include <functional>

#include "ScktComp/TClientSocket.h"
#include "platform/Messages.h"
#include "platform/TTimer.h"
#include "srcp/MemoTextSearch.h"
#include "srcp/SrcpHost.h"

namespace {

bool replyTimeout = false;

// Runs the window until arrived() holds, the reply timer runs out or the command connection is
// down; returns whether it arrived.
bool WaitForReply(const std::function<bool()>& arrived) {
  const SrcpHost& host = CurrentSrcpHost();
  // Every wait gets its full second: a timer still running from an earlier wait would
  // otherwise cut this one short and let a late "no data" reply pass unnoticed.
  host.Timer3->SetEnabled(false);
  host.Timer3->SetEnabled(true);
  replyTimeout = false;
  if (!host.ClientSocket1->Active()) return false;
  bool found = false;
  WaitUntil([&] {
    found = arrived();
    return found || replyTimeout || !host.ClientSocket1->Active();
  });
  return found;
}

}  // namespace

bool WaitForText(const QString& text) {
  MemoTextSearch reply(*CurrentSrcpHost().Memo3, text);
  return WaitForReply([&] { return reply.Found(); });
}

void AwaitServerClose() {
  WaitForReply([] { return false; });
}

void SrcpReplyTimeout() {
  replyTimeout = true;
}
