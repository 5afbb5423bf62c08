// A socket component with its event handlers: what the connection object reports becomes a
// call of the matching handler, with the component as sender.
#pragma once

#include "tcp/SocketTypes.h"
#include "tcp/TAbstractSocket.h"

class TCustomSocket : public TAbstractSocket {
 public:
  using TAbstractSocket::TAbstractSocket;

  TSocketNotifyEvent OnLookup;
  TSocketNotifyEvent OnConnecting;
  TSocketNotifyEvent OnConnect;
  TSocketNotifyEvent OnDisconnect;
  TSocketNotifyEvent OnRead;
  TSocketNotifyEvent OnWrite;
  // The handler may set the code to 0: the error is then not raised.
  TSocketErrorEvent OnError;

 protected:
  void Event(TCustomWinSocket* socket, TSocketEvent socketEvent);
  void Error(TCustomWinSocket* socket, TErrorEvent errorEvent, int& errorCode);
};
