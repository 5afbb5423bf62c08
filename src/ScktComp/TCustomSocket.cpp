#include "ScktComp/TCustomSocket.h"

namespace {

void Notify(const TSocketNotifyEvent& handler, QObject* sender, TCustomWinSocket* socket) {
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
    case seListen:
    case seAccept:
      break;  // a client neither listens nor accepts
  }
}

void TCustomSocket::Error(TCustomWinSocket* socket, TErrorEvent errorEvent, int& errorCode) {
  if (OnError) OnError(this, socket, errorEvent, errorCode);
}
