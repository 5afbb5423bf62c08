// How one P50X link keeps to one command at a time, gives up a command whose reply does not
// come, and lets the power-off of a close go out while another command waits for its reply.
#pragma once

#include <chrono>
#include <functional>

// Raised by a read whose time limit ran out. Only the outermost command catches it, so a
// command is given up whole, follow-ups included.
class P50XNoReply {};
// Raised by a wait whose command was given up by a handler that ran inside it (a close taking
// the line over). It unwinds that command as P50XNoReply does, without touching the port.
class P50XCommandAbandoned {};

class P50XCommandScope {
 public:
  enum class Result {
    Done,
    Refused,  // another command waits for its reply; this one did not run
    NoReply,
    Abandoned,
  };

  P50XCommandScope() = default;
  P50XCommandScope(const P50XCommandScope&) = delete;
  P50XCommandScope& operator=(const P50XCommandScope&) = delete;

  // Runs one command. Inside another command it simply runs, as a follow-up does, and what it
  // raises passes on. As the outermost command it catches P50XNoReply and
  // P50XCommandAbandoned. A command started while another one waits for its reply would take
  // that reply: it is refused. Any other exception passes to the caller.
  Result Run(const std::function<void()>& command);

  // A command is waiting for bytes from the line while the window runs other handlers.
  bool Busy() const { return waiting_ != nullptr; }

  // Lives while the window runs other handlers in the middle of a command (a reply wait, a
  // millisecond wait, the message processing of detection). A command that such a handler
  // starts is an outermost command of its own, so a give-up never unwinds across the event
  // loop. A window that waits for the line keeps the link busy: new commands are refused.
  class EventWindow {
   public:
    using Clock = std::chrono::steady_clock;

    // waitsForLine: the command underneath expects bytes; expectedBytes and deadline say
    // how many and until when, where it is a reply read.
    EventWindow(P50XCommandScope& scope, bool waitsForLine, int expectedBytes = 0,
                Clock::time_point deadline = Clock::now());
    ~EventWindow();
    EventWindow(const EventWindow&) = delete;
    EventWindow& operator=(const EventWindow&) = delete;

    // A handler took the line over: the command underneath must unwind at once.
    bool Abandoned() const { return abandoned_; }
    int ExpectedBytes() const { return expectedBytes_; }
    Clock::time_point Deadline() const { return deadline_; }

   private:
    friend class P50XCommandScope;

    P50XCommandScope& scope_;
    int savedNesting_;
    EventWindow* savedWaiting_;
    bool abandoned_ = false;
    int expectedBytes_;
    Clock::time_point deadline_;
  };

  // Lives while a handler that runs inside a waiting command takes the line over (the close's
  // power-off): the waiting command is marked abandoned and the scope is free for commands of
  // the handler's own until this ends.
  class Takeover {
   public:
    explicit Takeover(P50XCommandScope& scope);
    ~Takeover();
    Takeover(const Takeover&) = delete;
    Takeover& operator=(const Takeover&) = delete;

    // The wait given up, for its reply to be let in and thrown away; null when none waited.
    const EventWindow* GivenUp() const { return givenUp_; }

   private:
    P50XCommandScope& scope_;
    int savedNesting_;
    EventWindow* givenUp_;
  };

 private:
  // Commands on the stack since the window last ran other handlers.
  int nesting_ = 0;
  // The innermost wait for the line, while the window runs handlers inside it.
  EventWindow* waiting_ = nullptr;
};
