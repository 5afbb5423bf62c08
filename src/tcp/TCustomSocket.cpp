#include "tcp/TCustomSocket.h"

namespace {

// The handler by value: it may let the component go, and its own function object with it.
void Notify(const TSocketNotifyEvent handler, QObject* sender, TCustomWinSocket* socket) {
  if (handler) handler(sender, socket);
}

}  // namespace

void TCustomSocket::Event(TCustomWinSocket* socket, TSocketEvent socketEvent) {
  switch (socketEvent) {
    case seLookup:
      Notify(OnLookup, this, socket);
      break;
    case seConnecting:
      Notify(OnConnecting, this, socket);
      break;
    case seConnect:
      active_ = true;
      Notify(OnConnect, this, socket);
      break;
    case seDisconnect:
      active_ = false;
      Notify(OnDisconnect, this, socket);
      break;
    case seRead:
      Notify(OnRead, this, socket);
      break;
    case seWrite:
      Notify(OnWrite, this, socket);
      break;
  }
}

void TCustomSocket::Error(TCustomWinSocket* socket, TErrorEvent errorEvent, int& errorCode) {
  if (const TSocketErrorEvent handler = OnError) handler(this, socket, errorEvent, errorCode);
}
