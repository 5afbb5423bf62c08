// The LocoNet link of an Intellibox or Twin-Center: sending messages, the switch request of an
// accessory command, and the receive parser that the main window's receive handler calls.
#pragma once

#include <QByteArray>
#include <functional>

class TComPort;
class TMemo;

// Appends the check byte and writes the message one byte a write, then processes pending
// window messages once. Errors of the port pass to the caller.
void SendLocoNet(TComPort& port, const QByteArray& message);

// One accessory command: output on, waitMs(200), output off.
void LocoNetSwitch(TComPort& port, int turnout, int direction,
                   const std::function<void(int)>& waitMs);

// Consumes the complete messages at the front of the receive hex buffer, logs each in memo3,
// beeps and answers where a message asks for it. Raises nothing: a failed answer is shown in a
// message box after every message of the call has been logged.
void ParseLocoNet(QByteArray& receiveHexBuffer, TMemo& memo3, TComPort& port);
