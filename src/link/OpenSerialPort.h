// The serial links' common start of a connect.
#pragma once

#include "CPort/TComPort.h"
#include "platform/Messages.h"

// Opens the port, unless the settings dialog already did, with the line events the station
// needs. Another station's detection, or the receive handler, may have left the port with
// others, and an event set takes effect only when the port opens. Errors of the port pass to
// the caller.
inline void OpenSerialPort(TComPort& port, TComEvents events) {
  port.SetEvents(events);
  if (port.Connected()) return;
  port.Open();
  port.ClearBuffer(true, true);
  ProcessMessages();
}
