// Waits in the event loop until a condition holds or a deadline passes, so that a test whose
// expectation never comes true fails instead of hanging.
#pragma once

#include <QTimer>
#include <functional>

#include "platform/Messages.h"

inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
  bool expired = false;
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [&] { expired = true; });
  deadline.start(timeoutMs);
  // Data from a simulator thread wakes the loop by posting an event; a coarse tick covers
  // conditions that change without one.
  QTimer tick;
  tick.start(10);
  WaitUntil([&] { return expired || condition(); });
  return condition();
}
