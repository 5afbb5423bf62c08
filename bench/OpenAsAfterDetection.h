// A P50X link as the program runs it once detection has found the station: opened on the
// station's pty at the rate detection settled, with the program's own pauses, so that a
// benchmark measures what the user's link does.
#pragma once

#include "support/P50XTestLink.h"

inline void OpenAsAfterDetection(P50XTestLink& link, const QString& devicePath,
                                 BaudRateSetting rate) {
  link->SetPauseLength({});
  link.port.SetPort(devicePath);
  link.port.SetBaudRate(rate);
  link.port.SetEvents({evBreak, evCTS});
  link.port.Open();
}
