// One command at a time on a P50X link's line. A command that finds the line taken waits for the
// one before it to end (a step that starts while the event poll waits for its reply, a
// power-off behind a step). A command ended where it waits (its task destroyed, as a close does)
// leaves the line to the next one with what the station still owes it: the next command lets
// that arrive and throws it away first, so that it is never read as its own reply.
#pragma once

#include <chrono>
#include <optional>

#include "platform/Task.h"
#include "platform/Wakeup.h"

// Raised by a read whose time limit ran out. Only the outermost command catches it, so a
// command is given up whole, follow-ups included.
class P50XNoReply {};

class P50XCommandScope {
 public:
  using Clock = std::chrono::steady_clock;

  // Reply bytes an ended command was waiting for: `bytes` waiting on the port, until `deadline`.
  struct OwedReply {
    int bytes = 0;
    Clock::time_point deadline;
  };

  // The line, held by one command from its first write to the end of its reply.
  class Turn {
   public:
    explicit Turn(P50XCommandScope& scope) : scope_(&scope) {}
    Turn(Turn&& other) noexcept;
    Turn& operator=(Turn&&) = delete;
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    // Frees the line. A command that did not finish was ended where it waited: what its read
    // was waiting for is owed to the line (nothing, where it was ended outside a read, but the
    // next command still lets the line fall quiet).
    ~Turn();

    // The command has come to its end: done, given up, or failed on the port.
    void Finish() { finished_ = true; }

   private:
    P50XCommandScope* scope_;
    bool finished_ = false;
  };

  P50XCommandScope() = default;
  P50XCommandScope(const P50XCommandScope&) = delete;
  P50XCommandScope& operator=(const P50XCommandScope&) = delete;

  // Waits until no command has the line, then takes it.
  Task<Turn> Take();
  bool Busy() const { return busy_; }

  // The command that has the line waits for reply bytes, from ReadStarted to ReadEnded.
  void ReadStarted(int bytes, Clock::time_point deadline) { reading_ = OwedReply{bytes, deadline}; }
  void ReadEnded() { reading_.reset(); }
  // What the last ended command still had coming, once.
  std::optional<OwedReply> TakeOwed();

 private:
  bool busy_ = false;
  Wakeup freed_;
  std::optional<OwedReply> reading_;
  std::optional<OwedReply> owed_;
};
