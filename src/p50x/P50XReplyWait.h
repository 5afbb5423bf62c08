// The wait for reply bytes. The P50X port raises no receive event, so nothing would wake the
// operation when a byte arrives: it looks at the port's input count every millisecond, and only
// while a reply is outstanding.
#pragma once

#include <chrono>

#include "platform/Task.h"

class SerialPort;

enum class P50XInputWait { Arrived, TimedOut };

// Until count bytes wait on the port or the deadline has passed; the window runs meanwhile. The
// port outlives the wait (the window keeps it while a task of its link runs). Errors of the port
// pass to the caller.
Task<P50XInputWait> WaitForP50XInput(SerialPort& port, int count,
                                     std::chrono::steady_clock::time_point deadline);
