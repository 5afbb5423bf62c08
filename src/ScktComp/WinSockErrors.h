// The socket layer reports failures with the Windows Sockets numbers (10061 for a refused
// connection, 11001 for an unknown host, ...), so that a number means the same to every user
// whatever the OS said; the text beside it is the OS's own description of what went wrong.
// The translation from errno and from getaddrinfo happens here and nowhere else.
#pragma once

#include <QString>

constexpr int WSAEWOULDBLOCK = 10035;

// A failed socket call as the user sees it.
struct SocketError {
  int code = 0;  // Windows Sockets number; 0 means no error
  QString text;  // the OS's own description
};

// The Windows Sockets number of an errno value.
int WinSockErrorCode(int osError);

SocketError SocketErrorFromErrno(int osError);

// lookupError is getaddrinfo's result; osError the errno that came with it (for EAI_SYSTEM).
SocketError SocketErrorFromLookup(int lookupError, int osError);
