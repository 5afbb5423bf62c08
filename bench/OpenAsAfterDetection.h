// A P50X link as the program runs it once detection has found the station: opened on the
// station's pty at the rate detection settled, with the program's own sleeps and waits (no
// events run in the waits), so that a benchmark measures what the user's link does.
#pragma once

#include "platform/Messages.h"
#include "support/P50XTestLink.h"

inline void OpenAsAfterDetection(P50XTestLink& link, const QString& devicePath, TBaudRate rate) {
  link->SetSleepFunction({});
  link.observer.wait = SleepMs;
  link.port.SetPort(devicePath);
  link.port.SetBaudRate(rate);
  link.port.SetEvents({evBreak, evCTS});
  link.port.Open();
}
