// What the socket tests share: a listening peer on the loopback interface, a record of what a
// component reports, and a count of open sockets.
#pragma once

#include <sys/socket.h>

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <utility>

#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"
#include "tcp/TClientSocket.h"

using Errors = QList<std::pair<TErrorEvent, int>>;

// The IPv4 stream sockets among the open descriptors: a resolver still working for an earlier
// test holds others for a moment (its hosts file, a datagram socket), which must not count.
// Sockets let go are deleted first, as the program's event loop would have done by then.
inline int OpenTcpSocketCount() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  int count = 0;
  for (const QString& name : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files)) {
    int type = 0;
    socklen_t typeSize = sizeof type;
    sockaddr_storage address{};
    socklen_t addressSize = sizeof address;
    count +=
        ::getsockopt(name.toInt(), SOL_SOCKET, SO_TYPE, &type, &typeSize) == 0 &&
        type == SOCK_STREAM &&
        ::getsockname(name.toInt(), reinterpret_cast<sockaddr*>(&address), &addressSize) == 0 &&
        address.ss_family == AF_INET;
  }
  return count;
}

struct Listener : QTcpServer {
  Listener() { listen(QHostAddress::LocalHost, 0); }
  int Port() const { return serverPort(); }
  // The next accepted connection, or nullptr when none arrives in time.
  std::unique_ptr<QTcpSocket> Accept() {
    if (!WaitFor([this] { return hasPendingConnections(); })) return nullptr;
    std::unique_ptr<QTcpSocket> peer(nextPendingConnection());
    peer->setParent(nullptr);
    return peer;
  }
};

// Records every report of a component, in order; the text OnRead takes is kept apart.
struct SocketEventLog {
  explicit SocketEventLog(TClientSocket& socket) {
    const auto record = [this](const char* name) {
      return [this, name](QObject*, TCustomWinSocket*) { events.append(name); };
    };
    socket.OnLookup = record("lookup");
    socket.OnConnecting = record("connecting");
    socket.OnConnect = record("connect");
    socket.OnDisconnect = record("disconnect");
    socket.OnWrite = record("write");
    socket.OnRead = [this](QObject*, TCustomWinSocket* c) { reads.append(c->ReceiveText()); };
    socket.OnError = [this](QObject*, TCustomWinSocket*, TErrorEvent errorEvent, int& errorCode) {
      errors.append({errorEvent, errorCode});
    };
  }

  QStringList events;
  QList<QByteArray> reads;
  Errors errors;
};
