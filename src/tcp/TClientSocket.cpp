#include "tcp/TClientSocket.h"

TClientSocket::TClientSocket(QObject* owner)
    : TCustomSocket(owner), socket_(std::make_unique<TClientWinSocket>()) {
  socket_->OnSocketEvent = [this](TCustomWinSocket* socket, TSocketEvent socketEvent) {
    Event(socket, socketEvent);
  };
  socket_->OnErrorEvent = [this](TCustomWinSocket* socket, TErrorEvent errorEvent, int& errorCode) {
    Error(socket, errorEvent, errorCode);
  };
}

void TClientSocket::DoActivate(bool value) {
  if (value) {
    if (!socket_->Connected()) socket_->Open(Host(), Address(), Port());
  } else if (socket_->Connected()) {
    socket_->Disconnect();
  }
}
