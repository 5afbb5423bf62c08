// The TCP client layer's exception, with the messages it can carry.
#pragma once

#include "ScktComp/WinSockErrors.h"
#include "platform/Exception.h"

class ESocketError : public Exception {
 public:
  using Exception::Exception;

  // A socket call (named as the user knows it, e.g. "connect") failed.
  static ESocketError ApiFailed(const SocketError& error, const QString& api);
  // A notification carried an error code.
  static ESocketError Asynchronous(int errorCode);
  static ESocketError NoAddress();
  static ESocketError AlreadyOpen();
  static ESocketError CantChangeWhileActive();
};
