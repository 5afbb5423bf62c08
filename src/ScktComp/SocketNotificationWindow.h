// The hidden window of a connection: its socket notifications (1025) and lookup completions
// (1027) arrive here on the user-interface thread and are handled one at a time. A message that
// arrives while another is still being handled (a handler that waits runs the event loop) is
// queued behind it, so that the handlers of one connection never run inside each other. What
// a handler raises is shown by the exception display, and handling goes on with the next message.
#pragma once

#include <QObject>
#include <deque>
#include <variant>

#include "ScktComp/SocketMessageReceiver.h"
#include "ScktComp/SocketMessages.h"

class SocketNotificationWindow : public QObject {
 public:
  explicit SocketNotificationWindow(SocketMessageReceiver& receiver) : receiver_(receiver) {}

  // Drops the socket notifications not yet handled: they are about a socket that has been
  // closed, and its number may already belong to the next one.
  void DiscardSocketMessages();

 protected:
  void customEvent(QEvent* event) override;

 private:
  SocketMessageReceiver& receiver_;
  std::deque<std::variant<SocketNotification, LookupCompletion>> queued_;
  bool handling_ = false;
};
