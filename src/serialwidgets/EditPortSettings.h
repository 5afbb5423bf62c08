// The settings dialog for a port, as a program offers it to its user.
#pragma once

#include "platform/Task.h"

class SerialPortBase;

// Shows the port's current settings in PortSettingsDialog, without blocking any window, and waits
// for the user. OK writes the choices back to the port in one go and gives true; Cancel, a close
// from the title bar, or a port deleted meanwhile writes nothing and gives false. Ending the
// operation while it waits takes the dialog away unanswered. Raises SerialPortError code 23 when
// the port list cannot be read; an open port may raise while the choices are applied (it is
// reopened under a new name, and every setting reaches the device at once).
Task<bool> EditPortSettings(SerialPortBase& port);
