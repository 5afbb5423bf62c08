// The settings dialog for a port, as a program offers it to its user.
#pragma once

class TCustomComPort;

// Shows the port's current settings in TComSetupFrm and writes the user's choices back to it
// when OK closes the dialog; Cancel writes nothing. EComPort code 23 when the port list cannot
// be read; an open port may raise while the choices are applied (it is reopened under a new
// name, and every setting reaches the device at once).
void ShowSetupDialog(TCustomComPort& port);
