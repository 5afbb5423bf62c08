// The two messages of a connection's notification window: socket notifications (1025) and
// host-lookup completions (1027), posted as Qt events so that they are handled on the
// user-interface thread in the order they arrived.
#pragma once

#include <QEvent>
#include <cstdint>
#include <utility>

#include "ScktComp/SocketTypes.h"
#include "ScktComp/WinSockErrors.h"

constexpr QEvent::Type SocketMessage = static_cast<QEvent::Type>(1025);
constexpr QEvent::Type LookupCompleteMessage = static_cast<QEvent::Type>(1027);

struct SocketNotification {
  int socket;
  TAsyncStyle notification;
  int errorCode;  // Windows Sockets number; 0 when the notification reports success
};

struct LookupCompletion {
  std::uint64_t lookup;   // the handle the lookup was started with
  std::uint32_t address;  // IPv4 address in network byte order, when error.code is 0
  SocketError error;
};

class SocketMessageEvent : public QEvent {
 public:
  explicit SocketMessageEvent(SocketNotification notification)
      : QEvent(SocketMessage), Notification(notification) {}
  const SocketNotification Notification;
};

class LookupCompleteEvent : public QEvent {
 public:
  explicit LookupCompleteEvent(LookupCompletion completion)
      : QEvent(LookupCompleteMessage), Completion(std::move(completion)) {}
  const LookupCompletion Completion;
};
