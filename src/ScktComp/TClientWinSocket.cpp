#include "ScktComp/TClientWinSocket.h"

void TClientWinSocket::SetClientType(TClientType value) {
  if (value == clientType_) return;
  if (connected_) throw ESocketError::CantChangeWhileActive();
  clientType_ = value;
}

void TClientWinSocket::Connect(int /*socket*/) {
  connected_ = true;
  Event(seConnect);
}
