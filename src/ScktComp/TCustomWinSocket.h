// The connection object that does the work of a TCP client component: it owns the operating
// system's socket, resolves and connects asynchronously, handles the socket's notifications on
// the user-interface thread and sends and receives text. It reports to its component through
// OnSocketEvent and OnErrorEvent.
#pragma once

#include <netinet/in.h>

#include <QByteArray>
#include <QString>
#include <memory>
#include <mutex>

#include "ScktComp/ESocketError.h"
#include "ScktComp/SocketMessageReceiver.h"
#include "ScktComp/SocketMessages.h"
#include "ScktComp/SocketTypes.h"

class AsyncHostLookup;
class SocketNotificationWindow;
class SocketReadiness;

class TCustomWinSocket : private SocketMessageReceiver {
 public:
  static constexpr int InvalidSocket = -1;

  TCustomWinSocket();
  virtual ~TCustomWinSocket();
  TCustomWinSocket(const TCustomWinSocket&) = delete;
  TCustomWinSocket& operator=(const TCustomWinSocket&) = delete;

  int SocketHandle() const { return socket_; }
  bool Connected() const { return connected_; }
  TLookupState LookupState() const { return lookupState_; }

  // Starts resolving and connecting; the outcome arrives later as notifications. Host, when not
  // empty, is looked up and takes precedence over address (dotted IPv4).
  void Open(const QString& host, const QString& address, int port);

  // Sends the bytes of text; returns how many the OS took, 0 when not connected (nothing is
  // sent), -1 when the send would block.
  int SendText(const QByteArray& text);
  // The bytes readable now; empty when there are none.
  QByteArray ReceiveText();
  int ReceiveLength();

  // Ends the connection of socket, if it is this connection's own.
  virtual void Disconnect(int socket);

  TSocketEventEvent OnSocketEvent;
  TSocketErrorEventEvent OnErrorEvent;

 protected:
  virtual void Connect(int socket) = 0;
  virtual void Read(int socket);
  virtual void Write(int socket);

  void Event(TSocketEvent socketEvent);
  void Error(TErrorEvent errorEvent, int& errorCode);

  bool connected_ = false;

 private:
  void HandleMessage(const SocketNotification& message) override;
  void HandleMessage(const LookupCompletion& message) override;

  void ContinueOpen(const QString& host, const QString& address);
  void StartLookup(const QString& host);
  void StartConnect();
  void CancelLookup();
  int CloseSocket();
  void ReleaseSocket();
  SocketNotificationWindow* Window();

  int socket_ = InvalidSocket;
  std::unique_ptr<SocketNotificationWindow> window_;
  sockaddr_in remote_{};
  TAsyncStyles asyncStyles_;
  TLookupState lookupState_ = lsIdle;
  std::unique_ptr<AsyncHostLookup> lookup_;  // the lookup in progress, if any
  std::unique_ptr<SocketReadiness> readiness_;
  std::recursive_mutex lock_;
  int savedPort_ = 0;  // for the connect that follows a host lookup
};
