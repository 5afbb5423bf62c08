#include "tcp/TClientWinSocket.h"

void TClientWinSocket::Connect() {
  connected_ = true;
  Event(seConnect);
}
