// Shows what a server sent: the OnRead handlers of both connections take everything that waits
// and add it to their log pane as one entry. The server's text is 8-bit, read as Latin-1.
#pragma once

class TClientSocket;
class TMemo;

void ShowReceivedText(TClientSocket& socket, TMemo& memo);
