#include "tcp/TcpClient.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkProxy>
#include <QPointer>
#include <QSignalBlocker>
#include <QTcpSocket>
#include <cerrno>
#include <utility>

#include "platform/ExceptionDisplay.h"
#include "tcp/SocketError.h"
#include "tcp/TcpClientError.h"

namespace {

// The code an open without host and address reports to the error handler.
constexpr int kNoAddressCode = 1110;

constexpr qint64 kMostUnreadBytes = 64 * 1024;

}  // namespace

TcpClient::TcpClient(QObject* parent) : QObject(parent) {}

TcpClient::~TcpClient() {
  CancelLookup();
  ReleaseSocket();
}

void TcpClient::Open() {
  if (!connected_) StartOpen();
}

void TcpClient::Close() {
  if (connected_) Disconnect();
}

void TcpClient::SetPort(int value) {
  if (value == port_) return;
  CheckInactive();
  port_ = value;
}

void TcpClient::SetAddress(const QString& value) {
  SetText(address_, value);
}

void TcpClient::SetHost(const QString& value) {
  SetText(host_, value);
}

void TcpClient::CheckInactive() const {
  if (connected_) throw TcpClientError::CantChangeWhileActive();
}

// Host names and addresses do not care about letter case, so neither does the comparison.
void TcpClient::SetText(QString& field, const QString& value) {
  if (value.compare(field, Qt::CaseInsensitive) == 0) return;
  CheckInactive();
  field = value;
}

QTcpSocket* TcpClient::NewSocket() {
  // A server on this computer or the local network is reached directly, never through a proxy
  // the desktop may name.
  auto* socket = new QTcpSocket;
  socket->setProxy(QNetworkProxy::NoProxy);
  // What the program has not read yet stays with the system, which then holds the sender back:
  // a server that floods its session cannot fill the memory, nor bury its replies under more
  // text than one read.
  socket->setReadBufferSize(kMostUnreadBytes);
  connect(socket, &QTcpSocket::connected, this,
          [this] { RunGuarded([this] { SocketConnected(); }); });
  connect(socket, &QTcpSocket::readyRead, this, [this] { RunGuarded([this] { Report(OnRead); }); });
  connect(socket, &QTcpSocket::disconnected, this,
          [this] { RunGuarded([this] { Disconnect(); }); });
  connect(socket, &QTcpSocket::errorOccurred, this, [this] {
    // Before anything else can change it: the OS's reason behind what Qt reports.
    const int osError = errno;
    RunGuarded([this, osError] { SocketFailed(osError); });
  });
  return socket;
}

void TcpClient::StartOpen() {
  CancelLookup();
  ReleaseSocket();
  socket_ = NewSocket();
  const QTcpSocket* socket = socket_;
  // The handler may have opened again, or let this client go.
  if (!Report(OnLookup) || socket_ != socket) return;

  if (!host_.isEmpty()) {
    lookup_ = std::make_unique<QObject>();
    lookupId_ =
        QHostInfo::lookupHost(host_, lookup_.get(), [this, port = port_](const QHostInfo& lookup) {
          RunGuarded([&] { LookedUp(lookup, port); });
        });
    return;
  }
  if (address_.isEmpty()) {
    int code = kNoAddressCode;
    if (ReportError(SocketErrorStage::Lookup, code)) Disconnect();
    if (code != 0) throw TcpClientError::NoAddress();
    return;
  }
  // A text that is no dotted address is refused the way connect refuses an address it cannot
  // use, and the socket goes at once rather than with the next open.
  const QHostAddress remote(address_);
  if (remote.protocol() != QAbstractSocket::IPv4Protocol) {
    ReleaseSocket();
    throw TcpClientError::ApiFailed(SocketErrorFromErrno(EADDRNOTAVAIL), QStringLiteral("connect"));
  }
  StartConnect(remote, port_);
}

void TcpClient::LookedUp(const QHostInfo& lookup, int port) {
  // Its receiver goes once this answer is handled.
  lookup_.release()->deleteLater();
  for (const QHostAddress& address : lookup.addresses()) {
    if (address.protocol() != QAbstractSocket::IPv4Protocol) continue;
    StartConnect(address, port);
    return;
  }
  const SocketError error = LookupErrorOf(lookup);
  int code = error.code;
  if (ReportError(SocketErrorStage::Lookup, code)) Disconnect();
  if (code != 0)
    throw TcpClientError::ApiFailed({code, error.text}, QStringLiteral("ASync Lookup"));
}

void TcpClient::StartConnect(const QHostAddress& address, int port) {
  const QTcpSocket* socket = socket_;
  if (!Report(OnConnecting) || socket_ != socket) return;
  socket_->connectToHost(address, static_cast<quint16>(port));
}

void TcpClient::SocketConnected() {
  const QTcpSocket* socket = socket_;
  connected_ = true;
  // The connect handler may have closed the connection, or let this client go.
  if (!Report(OnConnect) || socket_ != socket) return;
  Report(OnWrite);
}

void TcpClient::SocketFailed(int osError) {
  const SocketError error = SocketErrorOf(socket_->error(), socket_->errorString(), osError);
  // A peer that closes in order is no failure: the disconnect follows.
  if (error.code == 0) return;
  int code = error.code;
  ReportError(connected_ ? SocketErrorStage::Disconnect : SocketErrorStage::Connect, code);
  if (code != 0) throw TcpClientError::Asynchronous(code);
}

void TcpClient::Disconnect() {
  CancelLookup();
  if (!socket_) return;
  ReleaseSocket();
  Report(OnDisconnect);
}

int TcpClient::SendText(const QByteArray& text) {
  if (!connected_) return 0;
  QTcpSocket& socket = *socket_;
  qint64 taken;
  int osError;
  {
    // A connection the send finds broken is the send's own failure, reported below, not a
    // report of its own.
    const QSignalBlocker quiet(&socket);
    errno = 0;
    taken = socket.write(text);
    socket.flush();
    osError = errno;
  }
  if (socket.state() == QAbstractSocket::ConnectedState) return static_cast<int>(taken);
  SocketError error = SocketErrorOf(socket.error(), socket.errorString(), osError);
  if (error.code == 0) error = SocketErrorFromErrno(EPIPE);
  int code = error.code;
  if (ReportError(SocketErrorStage::Send, code)) Disconnect();
  if (code != 0) throw TcpClientError::ApiFailed({code, error.text}, QStringLiteral("send"));
  return -1;
}

QByteArray TcpClient::ReceiveText() {
  return connected_ ? socket_->readAll() : QByteArray();
}

bool TcpClient::Report(const Handler& handler) {
  const QPointer<TcpClient> alive(this);
  // A copy: the handler may replace itself, or let this client go and its handlers with it.
  if (const Handler call = handler) call();
  return !alive.isNull();
}

bool TcpClient::ReportError(SocketErrorStage stage, int& code) {
  const QPointer<TcpClient> alive(this);
  if (const ErrorHandler call = OnError) call(stage, code);
  return !alive.isNull();
}

void TcpClient::CancelLookup() {
  if (!lookup_) return;
  QHostInfo::abortHostLookup(lookupId_);
  lookup_.reset();
}

void TcpClient::ReleaseSocket() {
  connected_ = false;
  QTcpSocket* socket = std::exchange(socket_, nullptr);
  if (!socket) return;
  disconnect(socket, nullptr, this, nullptr);
  // Deleted later, as this may be one of its own signals; a connection closes once the bytes
  // the system could not take yet have gone out.
  connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
  // An attempt still connecting is dropped: it would otherwise connect first, only to close.
  if (socket->state() == QAbstractSocket::ConnectedState) {
    socket->disconnectFromHost();
  } else {
    socket->abort();
  }
  if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
}
