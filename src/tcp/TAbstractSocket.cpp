#include "tcp/TAbstractSocket.h"

#include "tcp/TcpClientError.h"

void TAbstractSocket::SetActive(bool value) {
  if (value != active_) DoActivate(value);
}

void TAbstractSocket::SetPort(int value) {
  if (value == port_) return;
  CheckInactive();
  port_ = value;
}

void TAbstractSocket::SetAddress(const QString& value) {
  SetText(address_, value);
}

void TAbstractSocket::SetHost(const QString& value) {
  SetText(host_, value);
}

void TAbstractSocket::SetService(const QString& value) {
  SetText(service_, value);
}

void TAbstractSocket::CheckInactive() const {
  if (active_) throw TcpClientError::CantChangeWhileActive();
}

// Host names and addresses do not care about letter case, so neither does the comparison.
void TAbstractSocket::SetText(QString& field, const QString& value) {
  if (value.compare(field, Qt::CaseInsensitive) == 0) return;
  CheckInactive();
  field = value;
}
