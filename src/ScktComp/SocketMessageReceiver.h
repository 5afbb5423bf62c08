// Where the hidden window of a connection delivers its messages, one at a time.
#pragma once

#include "ScktComp/SocketMessages.h"

class SocketMessageReceiver {
 public:
  virtual void HandleMessage(const SocketNotification& message) = 0;
  virtual void HandleMessage(const LookupCompletion& message) = 0;

 protected:
  ~SocketMessageReceiver() = default;
};
