// `co_await Elapsed(timer)`: starts the timer and rests until it fires, while the event loop runs
// everything else. For the window's named pauses (the step pause, the event poll), whose length
// a test may shorten on the timer itself.
#pragma once

#include <QMetaObject>
#include <coroutine>

class QTimer;

class Elapsed {
 public:
  explicit Elapsed(QTimer& timer) : timer_(timer) {}
  Elapsed(const Elapsed&) = delete;
  Elapsed& operator=(const Elapsed&) = delete;
  ~Elapsed();

  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<> waiting);
  void await_resume() const noexcept {}

 private:
  QTimer& timer_;
  QMetaObject::Connection fired_;
};
