// What the socket tests share: a listening peer on the loopback interface, a record of what a
// component reports, and a count of open sockets.
#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <utility>

#include "ScktComp/TClientSocket.h"
#include "support/WaitFor.h"

// A port on 127.0.0.1 on which nothing listens.
int ClosedPort();

// The IPv4 stream sockets among the open descriptors: a resolver still working for an earlier
// test holds others for a moment (its hosts file, a datagram socket), which must not count.
int OpenTcpSocketCount();

// A listening peer on 127.0.0.1 with a port of the system's choosing.
class Listener {
 public:
  Listener();
  int Port() const { return server_.serverPort(); }
  bool HasConnection() const { return server_.hasPendingConnections(); }
  // The next accepted connection, or nullptr when none arrives in time.
  std::unique_ptr<QTcpSocket> Accept();

 private:
  QTcpServer server_;
};

// Records every report of a component, in order. OnRead takes the text with ReceiveText.
struct SocketEventLog {
  explicit SocketEventLog(TClientSocket& socket);

  QStringList events;
  QList<QByteArray> reads;
  QList<std::pair<TErrorEvent, int>> errors;
};
