// Waiting on the user-interface thread without freezing the window and without spinning: every
// wait blocks in the event loop until an event arrives, so timers, serial events, socket
// notifications and clicks keep running while a handler waits.
#pragma once

#include <functional>

// Runs every event that is pending now, then returns.
void ProcessMessages();

// Processes events, blocking between them, until done() holds. done() must be made true by
// an event (a timer, arriving data, a click): between events nothing runs and nothing is tested.
void WaitUntil(const std::function<bool()>& done);

// The fixed sleeps of the interface detection: they block the thread on purpose.
void SleepMs(int milliseconds);
