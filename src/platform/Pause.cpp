#include "platform/Pause.h"

#include <QTimer>

Pause::~Pause() {
  if (!timer_) return;
  // An operation ended in the middle of its pause must never be resumed; deleted later, as the
  // pause may end while its own timer is still delivering the timeout.
  timer_->stop();
  timer_->disconnect();
  timer_->deleteLater();
}

void Pause::await_suspend(std::coroutine_handle<> waiting) {
  timer_ = new QTimer;
  timer_->setSingleShot(true);
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_, &QTimer::timeout, [waiting] { waiting.resume(); });
  timer_->start(milliseconds_);
}
