// The connection object of a TCP client: a TCustomWinSocket that becomes connected on the
// connect notification.
#pragma once

#include "ScktComp/TCustomWinSocket.h"

class TClientWinSocket : public TCustomWinSocket {
 public:
  TClientType ClientType() const { return clientType_; }
  // Raises "Can't change value while socket is active" for a different value while connected.
  void SetClientType(TClientType value);

 protected:
  void Connect(int socket) override;

 private:
  TClientType clientType_ = ctNonBlocking;
};
