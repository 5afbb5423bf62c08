// What an operation waits for that a handler brings about: bytes heard from the station, a
// reply line, a session closed, a dialog answered. The handler calls Notify(); every operation
// waiting in Next() goes on afterwards, from the top of the event loop (never inside the
// handler), or at its deadline when nothing came. The waiter looks at what it waits for itself,
// so a notification for something else only costs it a look.
#pragma once

#include <chrono>
#include <coroutine>
#include <vector>

class QTimer;

class Wakeup {
 public:
  using Clock = std::chrono::steady_clock;

  class Next {
   public:
    Next(Wakeup& wakeup, Clock::time_point deadline) : wakeup_(&wakeup), deadline_(deadline) {}
    Next(const Next&) = delete;
    Next& operator=(const Next&) = delete;
    ~Next();

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiting);
    // True when notified, false when the deadline came first.
    bool await_resume() const noexcept { return notified_; }

   private:
    friend class Wakeup;
    void Notified();

    Wakeup* wakeup_;
    Clock::time_point deadline_;
    QTimer* timer_ = nullptr;
    bool notified_ = false;
  };

  Wakeup() = default;
  Wakeup(const Wakeup&) = delete;
  Wakeup& operator=(const Wakeup&) = delete;
  ~Wakeup();

  // `co_await wakeup.Until(deadline)`: true when a Notify() came before the deadline.
  Next Until(Clock::time_point deadline) { return Next(*this, deadline); }
  Next For(std::chrono::milliseconds wait) { return Next(*this, Clock::now() + wait); }
  // Without a deadline: only a Notify() ends the wait (or the end of the waiting operation).
  Next Ever() { return Next(*this, Clock::time_point::max()); }
  void Notify();

 private:
  std::vector<Next*> waiting_;
};
