#include "ScktComp/TClientWinSocket.h"

void TClientWinSocket::Connect() {
  connected_ = true;
  Event(seConnect);
}
