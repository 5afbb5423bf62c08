// The connection object of a TCP client: a TCustomWinSocket that becomes connected when its
// connect completes.
#pragma once

#include "tcp/TCustomWinSocket.h"

class TClientWinSocket : public TCustomWinSocket {
 protected:
  void Connect() override;
};
