// `co_await Pause(ms)`: the operation rests for that long while the event loop runs everything
// else. Pause(0) lets every event that is pending now run first. Precise to the millisecond:
// the pauses between the bytes of a command are counted on the wire.
#pragma once

#include <coroutine>

class QTimer;

class Pause {
 public:
  explicit Pause(int milliseconds) : milliseconds_(milliseconds) {}
  Pause(const Pause&) = delete;
  Pause& operator=(const Pause&) = delete;
  ~Pause();

  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<> waiting);
  void await_resume() const noexcept {}

 private:
  int milliseconds_;
  QTimer* timer_ = nullptr;
};
