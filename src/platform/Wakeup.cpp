#include "platform/Wakeup.h"

#include <QTimer>
#include <algorithm>
#include <climits>

Wakeup::~Wakeup() {
  for (Next* next : waiting_) next->wakeup_ = nullptr;
}

void Wakeup::Notify() {
  for (Next* next : std::exchange(waiting_, {})) next->Notified();
}

Wakeup::Next::~Next() {
  if (wakeup_) std::erase(wakeup_->waiting_, this);
  if (timer_) {
    timer_->stop();
    timer_->disconnect();
    timer_->deleteLater();
  }
}

void Wakeup::Next::await_suspend(std::coroutine_handle<> waiting) {
  timer_ = new QTimer;
  timer_->setSingleShot(true);
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_, &QTimer::timeout, [this, waiting] {
    if (wakeup_) std::erase(std::exchange(wakeup_, nullptr)->waiting_, this);
    waiting.resume();
  });
  if (deadline_ != Clock::time_point::max()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now());
    timer_->start(int(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INT_MAX)));
  }
  if (wakeup_) wakeup_->waiting_.push_back(this);
}

void Wakeup::Next::Notified() {
  wakeup_ = nullptr;
  notified_ = true;
  // From the top of the event loop: the notifying handler finishes first.
  timer_->start(0);
}
