// The TCP client's exception, with the messages it can carry.
#pragma once

#include "platform/Exception.h"
#include "tcp/SocketError.h"

class TcpClientError : public Exception {
 public:
  using Exception::Exception;

  // A socket call (named as the user knows it, e.g. "connect") failed.
  static TcpClientError ApiFailed(const SocketError& error, const QString& api);
  // A notification carried an error code.
  static TcpClientError Asynchronous(int errorCode);
  static TcpClientError NoAddress();
  static TcpClientError CantChangeWhileActive();
};
