// The wait for reply bytes. The P50X port raises no receive event, so nothing would wake the
// event loop when a byte arrives: a 1 ms timer does, and only while a reply is outstanding.
#pragma once

#include <chrono>

class TComPort;

// Processes events, user input excepted so that no click can start a second command in the
// middle of a reply, until count bytes wait on the port or the deadline has passed. True when
// the bytes are there. Errors of the port pass to the caller.
bool WaitForP50XInput(TComPort& port, int count, std::chrono::steady_clock::time_point deadline);
