// How the link keeps to one command at a time and gives up a command whose reply does not come.
#pragma once

#include <functional>

// Raised by a read whose time limit ran out. Only the outermost command catches it, so a
// command is given up whole, follow-ups included.
class P50XNoReply {};

// Runs one command of the link. Inside another command it simply runs, as a follow-up does. As
// the outermost command it catches P50XNoReply: the command is given up, "No reply from the
// command station" is logged and the input queue purged. A command started while another one
// waits for its reply would take that reply: it is refused with a line in the connection log.
// False when refused or given up.
bool RunP50XCommand(const std::function<void()>& command);

// Lives while the window runs other handlers in the middle of a command (a reply wait, a
// millisecond wait, the message processing of detection). A command that such a handler starts
// is an outermost command of its own, so a give-up never unwinds across the event loop. With
// replyPending the link counts as busy meanwhile: new commands are refused.
class P50XEventWindow {
 public:
  explicit P50XEventWindow(bool replyPending);
  ~P50XEventWindow();
  P50XEventWindow(const P50XEventWindow&) = delete;
  P50XEventWindow& operator=(const P50XEventWindow&) = delete;

 private:
  int savedNesting_;
  bool savedReplyPending_;
};
