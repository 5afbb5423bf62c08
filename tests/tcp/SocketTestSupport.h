// What the TCP client tests share: a listening peer on the loopback interface, a record of what a
// client reports, and a count of open sockets.
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
#include "tcp/TcpClient.h"
#include "tcp/TcpClientError.h"

using Errors = QList<std::pair<SocketErrorStage, int>>;

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

// Records every report of a client, in order; the text OnRead takes is kept apart.
struct ClientLog {
  explicit ClientLog(TcpClient& client) {
    const auto record = [this](const char* name) { return [this, name] { events.append(name); }; };
    client.OnLookup = record("lookup");
    client.OnConnecting = record("connecting");
    client.OnConnect = record("connect");
    client.OnDisconnect = record("disconnect");
    client.OnWrite = record("write");
    client.OnRead = [this, &client] { reads.append(client.ReceiveText()); };
    client.OnError = [this](SocketErrorStage stage, int& code) { errors.append({stage, code}); };
  }

  QStringList events;
  QList<QByteArray> reads;
  Errors errors;
};
