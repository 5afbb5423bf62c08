#include "SocketTestSupport.h"

#include <sys/socket.h>

#include <QDir>

int ClosedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

int OpenTcpSocketCount() {
  int count = 0;
  const QStringList descriptors = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files);
  for (const QString& name : descriptors) {
    const int descriptor = name.toInt();
    int type = 0;
    socklen_t typeSize = sizeof type;
    sockaddr_storage address{};
    socklen_t addressSize = sizeof address;
    if (::getsockopt(descriptor, SOL_SOCKET, SO_TYPE, &type, &typeSize) == 0 &&
        type == SOCK_STREAM &&
        ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &addressSize) == 0 &&
        address.ss_family == AF_INET) {
      ++count;
    }
  }
  return count;
}

Listener::Listener() {
  server_.listen(QHostAddress::LocalHost, 0);
}

std::unique_ptr<QTcpSocket> Listener::Accept() {
  if (!WaitFor([this] { return server_.hasPendingConnections(); })) return nullptr;
  std::unique_ptr<QTcpSocket> peer(server_.nextPendingConnection());
  peer->setParent(nullptr);
  return peer;
}

SocketEventLog::SocketEventLog(TClientSocket& socket) {
  const auto record = [this](const char* name) {
    return [this, name](QObject*, TCustomWinSocket*) { events.append(QString::fromLatin1(name)); };
  };
  socket.OnLookup = record("lookup");
  socket.OnConnecting = record("connecting");
  socket.OnConnect = record("connect");
  socket.OnDisconnect = record("disconnect");
  socket.OnWrite = record("write");
  socket.OnRead = [this](QObject*, TCustomWinSocket* connection) {
    events.append(QStringLiteral("read"));
    reads.append(connection->ReceiveText());
  };
  socket.OnError = [this](QObject*, TCustomWinSocket*, TErrorEvent errorEvent, int& errorCode) {
    errors.append({errorEvent, errorCode});
  };
}
