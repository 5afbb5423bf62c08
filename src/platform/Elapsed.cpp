#include "platform/Elapsed.h"

#include <QTimer>

Elapsed::~Elapsed() {
  if (!fired_) return;
  // An operation ended in the middle of the pause is never resumed.
  QObject::disconnect(fired_);
  timer_.stop();
}

void Elapsed::await_suspend(std::coroutine_handle<> waiting) {
  timer_.setSingleShot(true);
  fired_ = QObject::connect(&timer_, &QTimer::timeout, [waiting] { waiting.resume(); });
  timer_.start();
}
