// The wait for reply bytes. The P50X port raises no receive event, so nothing would wake the
// event loop when a byte arrives: a 1 ms timer does, and only while a reply is outstanding.
#pragma once

#include <chrono>

class P50XCommandScope;
class TComPort;

enum class P50XInputWait { Arrived, TimedOut, Abandoned };

// Processes events, user input excepted so that no click can start a second command in the
// middle of a reply, until count bytes wait on the port or the deadline has passed. The link
// counts as busy meanwhile. Abandoned when a handler that ran meanwhile took the line over;
// the port is not touched after that. Errors of the port pass to the caller.
P50XInputWait WaitForP50XInput(TComPort& port, P50XCommandScope& scope, int count,
                               std::chrono::steady_clock::time_point deadline);
