// The operations of the P50X link that interface detection runs between its own raw writes, so
// that detection needs no more of the link than these. Detection runs as one command that has
// the line: these run inside it, and a reply that does not come raises P50XNoReply.
#pragma once

#include <QByteArray>
#include <chrono>

#include "p50x/P50XReplyWait.h"
#include "platform/Pause.h"
#include "platform/Task.h"

class P50XLinkOperations {
 public:
  // Writes a command as P50XLink::SendP50X does and reads and decodes its reply.
  virtual Task<void> WriteCommand(QByteArray command) = 0;
  // Reads up to and including the prompt "]" (at most 2 s); a zero byte adds nothing.
  virtual Task<QByteArray> ReadUntilPrompt() = 0;
  // Waits for count bytes on the port, the read on record as outstanding for as long.
  virtual Task<P50XInputWait> AwaitReply(int count,
                                         std::chrono::steady_clock::time_point deadline) = 0;
  virtual void SetXPrefixMode(bool on) = 0;
  // The link's fixed pauses, which tests shorten.
  virtual Pause PauseLink(int milliseconds) const = 0;

 protected:
  ~P50XLinkOperations() = default;
};
