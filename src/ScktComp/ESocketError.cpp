#include "ScktComp/ESocketError.h"

ESocketError ESocketError::ApiFailed(const SocketError& error, const QString& api) {
  return ESocketError(QStringLiteral("Windows socket error: %1 (%2), on API '%3'")
                          .arg(error.text, QString::number(error.code), api));
}

ESocketError ESocketError::Asynchronous(int errorCode) {
  return ESocketError(QStringLiteral("Asynchronous socket error %1").arg(errorCode));
}

ESocketError ESocketError::NoAddress() {
  return ESocketError(QStringLiteral("No address specified"));
}

ESocketError ESocketError::AlreadyOpen() {
  return ESocketError(QStringLiteral("Socket already open"));
}

ESocketError ESocketError::CantChangeWhileActive() {
  return ESocketError(QStringLiteral("Can't change value while socket is active"));
}
