// Turns the readiness of a non-blocking socket, as the event loop sees it, into the socket
// notifications (message 1025) that a connection handles: one connect notification when the
// connect completes or fails; a read notification when bytes wait, not again until they have
// been received; a write notification after the connect and whenever a send that would have
// blocked can go on; a close notification, the last one, when the peer ends the connection.
// Between those the socket costs the event loop nothing: a notifier is only enabled while its
// readiness means something.
#pragma once

#include <QSocketNotifier>

#include "ScktComp/SocketTypes.h"

class SocketReadiness {
 public:
  // Notifications go to window; only those in styles are posted.
  SocketReadiness(int socket, QObject* window, TAsyncStyles styles);
  SocketReadiness(const SocketReadiness&) = delete;
  SocketReadiness& operator=(const SocketReadiness&) = delete;

  // The connect call has been made: its outcome is the next write readiness.
  void ConnectStarted();
  // A receive took bytes: the next bytes deserve a read notification again.
  void ReceiveDone();
  // A send would have blocked: report when the socket takes data again.
  void SendBlocked();

 private:
  enum class Phase { Idle, Connecting, Connected, Finished };

  void ReadReady();
  void WriteReady();
  void Finish();
  void Post(TAsyncStyle notification, int errorCode);

  int socket_;
  QObject* window_;
  TAsyncStyles styles_;
  Phase phase_ = Phase::Idle;
  QSocketNotifier readNotifier_;
  QSocketNotifier writeNotifier_;
};
