// The serial links' common start of a connect.
#pragma once

#include "platform/Pause.h"
#include "platform/Task.h"
#include "serial/SerialPort.h"

// Opens the port, unless the settings dialog already did, with the line events the station
// needs. Another station's detection, or the receive handler, may have left the port with
// others, and an event set takes effect only when the port opens. A port just opened reports
// its lines first (the Märklin interface's CTS), before the link writes. The port is the
// window's and outlives every task of the link. Errors of the port pass to the caller.
inline Task<void> OpenSerialPort(SerialPort& port, SerialEvents events) {
  port.SetEvents(events);
  if (port.Connected()) co_return;
  port.Open();
  port.ClearBuffer(true, true);
  co_await Pause(0);
}
