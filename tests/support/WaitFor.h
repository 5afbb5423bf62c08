// Waits in the event loop until a condition holds or a deadline passes, so that a test whose
// expectation never comes true fails instead of hanging. Tests, unlike the program, drive the
// event loop from inside a test body.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <functional>

// condition() is looked at after every event, and every pollMs besides, for what another
// thread makes true without posting an event. pollMs 0 looks after events only: for a
// measurement of what an idle event loop costs, which a tick would spoil.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000, int pollMs = 10) {
  bool expired = false;
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [&] { expired = true; });
  deadline.start(timeoutMs);
  QTimer tick;
  if (pollMs > 0) tick.start(pollMs);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  while (!expired && !condition()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return condition();
}
