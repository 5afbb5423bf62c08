#include "tcp/TcpClientError.h"

TcpClientError TcpClientError::ApiFailed(const SocketError& error, const QString& api) {
  return TcpClientError(QStringLiteral("Windows socket error: %1 (%2), on API '%3'")
                            .arg(error.text, QString::number(error.code), api));
}

TcpClientError TcpClientError::Asynchronous(int errorCode) {
  return TcpClientError(QStringLiteral("Asynchronous socket error %1").arg(errorCode));
}

TcpClientError TcpClientError::NoAddress() {
  return TcpClientError(QStringLiteral("No address specified"));
}

TcpClientError TcpClientError::CantChangeWhileActive() {
  return TcpClientError(QStringLiteral("Can't change value while socket is active"));
}
