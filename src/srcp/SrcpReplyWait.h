// The waits for the SRCP server on the command connection: the window keeps working, and each
// wait ends after about a second at most, or at once when the connection is (or goes) down.
#pragma once

#include <QString>

// True as soon as the receive log contains text (which holds no line break).
bool WaitForText(const QString& text);

// Until the server has closed the command connection, as it does once it has read
// "TERM 0 SESSION".
void AwaitServerClose();

// The reply timer has run out; its OnTimer handler calls this after disabling the timer.
void SrcpReplyTimeout();
