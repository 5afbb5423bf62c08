#include "ScktComp/TCustomWinSocket.h"

#include <arpa/inet.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <system_error>
#include <utility>

#include "ScktComp/AsyncHostLookup.h"
#include "ScktComp/SocketNotificationWindow.h"
#include "ScktComp/SocketReadiness.h"

namespace {

// The code an open without host and address reports to the error handler.
constexpr int NoAddressCode = 1110;

// osError: the errno of a failed call, or 0. A call that would block has not failed.
void CheckSocketResult(int osError, const char* api) {
  if (osError == 0) return;
  const SocketError error = SocketErrorFromErrno(osError);
  if (error.code != WSAEWOULDBLOCK) throw ESocketError::ApiFailed(error, QString::fromLatin1(api));
}

sockaddr_in EmptyAddress() {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  return address;
}

TErrorEvent ErrorEventOf(TAsyncStyle notification) {
  switch (notification) {
    case asConnect:
      return eeConnect;
    case asClose:
      return eeDisconnect;
    case asRead:
      return eeReceive;
    case asWrite:
      return eeSend;
    default:
      return eeGeneral;
  }
}

}  // namespace

// The socket library of this OS needs no start-up or clean-up per user, so there is nothing
// here that could fail.
TCustomWinSocket::TCustomWinSocket()
    : remote_(EmptyAddress()),
      asyncStyles_(AsyncStyleBit(asRead) | AsyncStyleBit(asWrite) | AsyncStyleBit(asConnect) |
                   AsyncStyleBit(asClose)) {}

TCustomWinSocket::~TCustomWinSocket() {
  OnSocketEvent = nullptr;
  OnErrorEvent = nullptr;
  ReleaseSocket();
}

void TCustomWinSocket::Open(const QString& host, const QString& address, int port) {
  if (connected_) throw ESocketError::AlreadyOpen();
  // An earlier attempt that failed, or is still under way, holds a socket of its own; the new
  // attempt takes its place.
  ReleaseSocket();
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (socket_ == InvalidSocket) throw ESocketError::CantCreateSocket();
  Event(seLookup);
  savedPort_ = port;
  ContinueOpen(host, address);
}

void TCustomWinSocket::ContinueOpen(const QString& host, const QString& address) {
  switch (lookupState_) {
    case lsIdle:
      if (!host.isEmpty()) {
        StartLookup(host);
        lookupState_ = lsLookupAddress;
        return;
      }
      if (address.isEmpty()) {
        int errorCode = NoAddressCode;
        Error(eeLookup, errorCode);
        Disconnect(socket_);
        if (errorCode != 0) throw ESocketError::NoAddress();
        return;
      }
      // A text that is no dotted address would be taken as the broadcast address; refuse it
      // the way connect refuses an address it cannot use.
      // The socket is of no use without an address: it goes at once rather than with the
      // next open.
      if (::inet_pton(AF_INET, address.toLatin1().constData(), &remote_.sin_addr) != 1) {
        ReleaseSocket();
        throw ESocketError::ApiFailed(SocketErrorFromErrno(EADDRNOTAVAIL),
                                      QStringLiteral("connect"));
      }
      lookupState_ = lsLookupAddress;
      [[fallthrough]];
    case lsLookupAddress:
      remote_.sin_port = htons(static_cast<std::uint16_t>(savedPort_));
      lookupState_ = lsLookupService;
      [[fallthrough]];
    case lsLookupService:
      lookupState_ = lsIdle;
      StartConnect();
  }
}

void TCustomWinSocket::StartLookup(const QString& host) {
  try {
    lookup_ = std::make_unique<AsyncHostLookup>(host.toUtf8(), Window());
  } catch (const std::system_error& error) {
    throw ESocketError::ApiFailed(SocketErrorFromErrno(error.code().value()),
                                  QStringLiteral("WSAASyncGetHostByName"));
  }
}

void TCustomWinSocket::StartConnect() {
  readiness_ = std::make_unique<SocketReadiness>(socket_, Window(), asyncStyles_);
  Event(seConnecting);
  const int result =
      ::connect(socket_, reinterpret_cast<const sockaddr*>(&remote_), sizeof remote_);
  CheckSocketResult(result == 0 ? 0 : errno, "connect");
  readiness_->ConnectStarted();
}

void TCustomWinSocket::HandleMessage(const LookupCompletion& message) {
  if (!lookup_ || message.lookup != lookup_->Handle()) return;
  lookup_.reset();
  if (message.error.code != 0) {
    int errorCode = message.error.code;
    Error(eeLookup, errorCode);
    Disconnect(socket_);
    if (errorCode != 0) {
      throw ESocketError::ApiFailed({errorCode, message.error.text},
                                    QStringLiteral("ASync Lookup"));
    }
    return;
  }
  remote_.sin_addr.s_addr = message.address;
  ContinueOpen({}, {});
}

void TCustomWinSocket::HandleMessage(const SocketNotification& message) {
  if (message.errorCode != 0) {
    // The socket is left as it is: what to do about the failure is the handler's choice.
    int errorCode = message.errorCode;
    Error(ErrorEventOf(message.notification), errorCode);
    if (errorCode != 0) throw ESocketError::Asynchronous(errorCode);
    return;
  }
  switch (message.notification) {
    case asConnect:
      Connect(message.socket);
      break;
    case asClose:
      Disconnect(message.socket);
      break;
    case asRead:
      Read(message.socket);
      break;
    case asWrite:
      Write(message.socket);
      break;
    default:
      break;
  }
}

void TCustomWinSocket::Read(int socket) {
  if (socket == socket_) Event(seRead);
}

void TCustomWinSocket::Write(int socket) {
  if (socket == socket_) Event(seWrite);
}

void TCustomWinSocket::Disconnect(int socket) {
  const std::lock_guard lock(lock_);
  CancelLookup();
  if (socket == InvalidSocket || socket != socket_) return;
  // The socket is closed even when the disconnect handler raises, so that no handle is left
  // behind that nobody would close.
  std::exception_ptr handlerFailure;
  try {
    Event(seDisconnect);
  } catch (...) {
    handlerFailure = std::current_exception();
  }
  const int closeError = CloseSocket();
  if (handlerFailure) std::rethrow_exception(handlerFailure);
  CheckSocketResult(closeError, "closesocket");
}

int TCustomWinSocket::SendText(const QByteArray& text) {
  if (!connected_) return 0;
  ssize_t sent;
  int osError;
  {
    const std::lock_guard lock(lock_);
    sent = ::send(socket_, text.constData(), static_cast<size_t>(text.size()), MSG_NOSIGNAL);
    osError = sent < 0 ? errno : 0;
  }
  if (sent >= 0) return static_cast<int>(sent);
  const SocketError error = SocketErrorFromErrno(osError);
  if (error.code == WSAEWOULDBLOCK) {
    readiness_->SendBlocked();
    return -1;
  }
  int errorCode = error.code;
  Error(eeSend, errorCode);
  Disconnect(socket_);
  if (errorCode != 0) throw ESocketError::ApiFailed(error, QStringLiteral("send"));
  return -1;
}

int TCustomWinSocket::ReceiveLength() {
  if (!connected_) return 0;
  int available = 0;
  const std::lock_guard lock(lock_);
  return ::ioctl(socket_, FIONREAD, &available) == 0 ? available : 0;
}

QByteArray TCustomWinSocket::ReceiveText() {
  QByteArray text(ReceiveLength(), Qt::Uninitialized);
  if (text.isEmpty()) return text;
  ssize_t received;
  int osError;
  {
    const std::lock_guard lock(lock_);
    received = ::recv(socket_, text.data(), static_cast<size_t>(text.size()), 0);
    osError = received < 0 ? errno : 0;
    readiness_->ReceiveDone();
  }
  if (received >= 0) {
    text.truncate(static_cast<qsizetype>(received));
    return text;
  }
  const SocketError error = SocketErrorFromErrno(osError);
  if (error.code != WSAEWOULDBLOCK) {
    int errorCode = error.code;
    Error(eeReceive, errorCode);
    Disconnect(socket_);
    if (errorCode != 0) throw ESocketError::ApiFailed(error, QStringLiteral("recv"));
  }
  return {};
}

void TCustomWinSocket::Event(TSocketEvent socketEvent) {
  if (OnSocketEvent) OnSocketEvent(this, socketEvent);
}

void TCustomWinSocket::Error(TErrorEvent errorEvent, int& errorCode) {
  if (OnErrorEvent) OnErrorEvent(this, errorEvent, errorCode);
}

// Cancelling cannot fail here: the lookup thread simply finds nobody to tell.
void TCustomWinSocket::CancelLookup() {
  lookup_.reset();
  lookupState_ = lsIdle;
}

int TCustomWinSocket::CloseSocket() {
  // The notifiers must let go of the handle before it is closed, and notifications still on
  // their way are about a socket that no longer exists.
  readiness_.reset();
  if (window_) window_->DiscardSocketMessages();
  const int handle = std::exchange(socket_, InvalidSocket);
  remote_ = EmptyAddress();
  connected_ = false;
  return ::close(handle) == 0 ? 0 : errno;
}

void TCustomWinSocket::ReleaseSocket() {
  CancelLookup();
  // A failing close has released the handle all the same, and there is nobody to tell.
  if (socket_ != InvalidSocket) CloseSocket();
}

SocketNotificationWindow* TCustomWinSocket::Window() {
  if (!window_) {
    SocketMessageReceiver& receiver = *this;
    window_ = std::make_unique<SocketNotificationWindow>(receiver);
  }
  return window_.get();
}
