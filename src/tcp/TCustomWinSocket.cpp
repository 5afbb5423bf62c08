#include "tcp/TCustomWinSocket.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkProxy>
#include <QSignalBlocker>
#include <QTcpSocket>
#include <cerrno>
#include <utility>

#include "platform/ExceptionDisplay.h"

namespace {

// The code an open without host and address reports to the error handler.
constexpr int NoAddressCode = 1110;

}  // namespace

TCustomWinSocket::~TCustomWinSocket() {
  OnSocketEvent = nullptr;
  OnErrorEvent = nullptr;
  CancelLookup();
  ReleaseSocket();
}

namespace {

constexpr qint64 kMostUnreadBytes = 64 * 1024;

}  // namespace

void TCustomWinSocket::Open(const QString& host, const QString& address, int port) {
  if (connected_) throw TcpClientError::AlreadyOpen();
  CancelLookup();
  ReleaseSocket();
  // A server on this computer or the local network is reached directly, never through a proxy
  // the desktop may name.
  socket_ = new QTcpSocket;
  socket_->setProxy(QNetworkProxy::NoProxy);
  // What the program has not read yet stays with the system, which then holds the sender back:
  // a server that floods its session cannot fill the memory, nor bury its replies under more
  // text than one read.
  socket_->setReadBufferSize(kMostUnreadBytes);
  QObject::connect(socket_, &QTcpSocket::connected, &reports_,
                   [this] { RunGuarded([this] { SocketConnected(); }); });
  QObject::connect(socket_, &QTcpSocket::readyRead, &reports_,
                   [this] { RunGuarded([this] { Event(seRead); }); });
  QObject::connect(socket_, &QTcpSocket::disconnected, &reports_,
                   [this] { RunGuarded([this] { Disconnect(); }); });
  QObject::connect(socket_, &QTcpSocket::errorOccurred, &reports_, [this] {
    // Before anything else can change it: the OS's reason behind what Qt reports.
    const int osError = errno;
    RunGuarded([this, osError] { SocketFailed(osError); });
  });
  port_ = port;
  Event(seLookup);

  if (!host.isEmpty()) {
    lookup_ = std::make_unique<QObject>();
    lookupId_ = QHostInfo::lookupHost(host, lookup_.get(), [this](const QHostInfo& lookup) {
      RunGuarded([&] { LookedUp(lookup); });
    });
    return;
  }
  if (address.isEmpty()) {
    int errorCode = NoAddressCode;
    Error(eeLookup, errorCode);
    Disconnect();
    if (errorCode != 0) throw TcpClientError::NoAddress();
    return;
  }
  // A text that is no dotted address is refused the way connect refuses an address it cannot
  // use, and the socket goes at once rather than with the next open.
  const QHostAddress remote(address);
  if (remote.protocol() != QAbstractSocket::IPv4Protocol) {
    ReleaseSocket();
    throw TcpClientError::ApiFailed(SocketErrorFromErrno(EADDRNOTAVAIL), QStringLiteral("connect"));
  }
  StartConnect(remote);
}

void TCustomWinSocket::LookedUp(const QHostInfo& lookup) {
  // Its receiver goes once this answer is handled.
  lookup_.release()->deleteLater();
  lookupId_ = -1;
  for (const QHostAddress& address : lookup.addresses()) {
    if (address.protocol() != QAbstractSocket::IPv4Protocol) continue;
    StartConnect(address);
    return;
  }
  const SocketError error = LookupErrorOf(lookup);
  int errorCode = error.code;
  const QPointer<QObject> alive(&reports_);
  Error(eeLookup, errorCode);
  if (alive) Disconnect();
  if (errorCode != 0)
    throw TcpClientError::ApiFailed({errorCode, error.text}, QStringLiteral("ASync Lookup"));
}

void TCustomWinSocket::StartConnect(const QHostAddress& address) {
  const QPointer<QObject> alive(&reports_);
  Event(seConnecting);
  if (alive && socket_) socket_->connectToHost(address, static_cast<quint16>(port_));
}

void TCustomWinSocket::SocketConnected() {
  const QPointer<QObject> alive(&reports_);
  const QTcpSocket* socket = socket_;
  Connect();
  // The connect handler may have closed the connection, or let the component go.
  if (alive && socket_ == socket) Event(seWrite);
}

void TCustomWinSocket::SocketFailed(int osError) {
  const SocketError error = SocketErrorOf(socket_->error(), socket_->errorString(), osError);
  // A peer that closes in order is no failure: the disconnect follows.
  if (error.code == 0) return;
  int errorCode = error.code;
  Error(connected_ ? eeDisconnect : eeConnect, errorCode);
  if (errorCode != 0) throw TcpClientError::Asynchronous(errorCode);
}

void TCustomWinSocket::Disconnect() {
  CancelLookup();
  if (!socket_) return;
  ReleaseSocket();
  Event(seDisconnect);
}

int TCustomWinSocket::SendText(const QByteArray& text) {
  if (!connected_) return 0;
  QTcpSocket& socket = *socket_;
  qint64 taken;
  int osError;
  {
    // A connection the send finds broken is the send's own failure, reported below, not a
    // notification of its own.
    const QSignalBlocker quiet(&socket);
    errno = 0;
    taken = socket.write(text);
    socket.flush();
    osError = errno;
  }
  if (socket.state() == QAbstractSocket::ConnectedState) return static_cast<int>(taken);
  SocketError error = SocketErrorOf(socket.error(), socket.errorString(), osError);
  if (error.code == 0) error = SocketErrorFromErrno(EPIPE);
  int errorCode = error.code;
  const QPointer<QObject> alive(&reports_);
  Error(eeSend, errorCode);
  if (alive) Disconnect();
  if (errorCode != 0) throw TcpClientError::ApiFailed(error, QStringLiteral("send"));
  return -1;
}

QByteArray TCustomWinSocket::ReceiveText() {
  return connected_ ? socket_->readAll() : QByteArray();
}

void TCustomWinSocket::Event(TSocketEvent socketEvent) {
  // A copy: the handler may let this connection go, and its own function object with it.
  if (const TSocketEventEvent handler = OnSocketEvent) handler(this, socketEvent);
}

void TCustomWinSocket::Error(TErrorEvent errorEvent, int& errorCode) {
  if (const TSocketErrorEventEvent handler = OnErrorEvent) handler(this, errorEvent, errorCode);
}

void TCustomWinSocket::CancelLookup() {
  if (!lookup_) return;
  QHostInfo::abortHostLookup(lookupId_);
  lookup_.reset();
}

void TCustomWinSocket::ReleaseSocket() {
  connected_ = false;
  QTcpSocket* socket = std::exchange(socket_, nullptr);
  if (!socket) return;
  QObject::disconnect(socket, nullptr, &reports_, nullptr);
  // Deleted later, as this may be one of its own signals; a connection closes once the bytes
  // the system could not take yet have gone out.
  QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
  // An attempt still connecting is dropped: it would otherwise connect first, only to close.
  if (socket->state() == QAbstractSocket::ConnectedState) {
    socket->disconnectFromHost();
  } else {
    socket->abort();
  }
  if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
}
