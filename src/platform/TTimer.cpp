#include "platform/TTimer.h"

#include "platform/ExceptionDisplay.h"

TTimer::TTimer(QObject* owner, int interval, bool enabled)
    : QObject(owner), interval_(interval), enabled_(enabled) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (OnTimer) RunGuarded([this] { OnTimer(this); });
  });
  Update();
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Update();
}

void TTimer::SetInterval(int value) {
  if (value == interval_) return;
  interval_ = value;
  Update();
}

void TTimer::Update() {
  // An interval of 0 never fires, as a window-message timer with no period does nothing.
  if (enabled_ && interval_ > 0)
    timer_.start(interval_);
  else
    timer_.stop();
}
