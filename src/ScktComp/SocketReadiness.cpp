#include "ScktComp/SocketReadiness.h"

#include <sys/socket.h>

#include <QCoreApplication>
#include <cerrno>

#include "ScktComp/SocketMessages.h"
#include "ScktComp/WinSockErrors.h"
#include "platform/ExceptionDisplay.h"

SocketReadiness::SocketReadiness(int socket, QObject* window, TAsyncStyles styles)
    : socket_(socket),
      window_(window),
      styles_(styles),
      readNotifier_(socket, QSocketNotifier::Read),
      writeNotifier_(socket, QSocketNotifier::Write) {
  readNotifier_.setEnabled(false);
  writeNotifier_.setEnabled(false);
  QObject::connect(&readNotifier_, &QSocketNotifier::activated, &readNotifier_,
                   [this] { RunGuarded([this] { ReadReady(); }); });
  QObject::connect(&writeNotifier_, &QSocketNotifier::activated, &writeNotifier_,
                   [this] { RunGuarded([this] { WriteReady(); }); });
}

void SocketReadiness::ConnectStarted() {
  phase_ = Phase::Connecting;
  writeNotifier_.setEnabled(true);
}

void SocketReadiness::ReceiveDone() {
  if (phase_ == Phase::Connected) readNotifier_.setEnabled(true);
}

void SocketReadiness::SendBlocked() {
  if (phase_ == Phase::Connected) writeNotifier_.setEnabled(true);
}

void SocketReadiness::ReadReady() {
  // Readable with nothing to read means the end of the stream or a broken connection; a peek
  // tells these apart from bytes without taking any.
  char first;
  const ssize_t peeked = ::recv(socket_, &first, 1, MSG_PEEK | MSG_DONTWAIT);
  if (peeked > 0) {
    readNotifier_.setEnabled(false);
    Post(asRead, 0);
  } else if (peeked == 0) {
    Finish();
    Post(asClose, 0);
  } else if (errno != EAGAIN && errno != EINTR) {
    const int errorCode = WinSockErrorCode(errno);
    Finish();
    Post(asClose, errorCode);
  }
}

void SocketReadiness::WriteReady() {
  writeNotifier_.setEnabled(false);
  if (phase_ == Phase::Connecting) {
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    if (error != 0) {
      // The socket stays open but is dead: any readiness from now on would only repeat this.
      Finish();
      Post(asConnect, WinSockErrorCode(error));
      return;
    }
    phase_ = Phase::Connected;
    readNotifier_.setEnabled(true);
    Post(asConnect, 0);
  }
  Post(asWrite, 0);
}

void SocketReadiness::Finish() {
  phase_ = Phase::Finished;
  readNotifier_.setEnabled(false);
  writeNotifier_.setEnabled(false);
}

void SocketReadiness::Post(TAsyncStyle notification, int errorCode) {
  if (styles_ & AsyncStyleBit(notification)) {
    QCoreApplication::postEvent(window_,
                                new SocketMessageEvent({socket_, notification, errorCode}));
  }
}
