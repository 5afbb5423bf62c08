// The TCP client component: a socket component whose connection object is a client that
// connects without blocking and reports on the user-interface thread.
#pragma once

#include <memory>

#include "tcp/TClientWinSocket.h"
#include "tcp/TCustomSocket.h"

class TClientSocket : public TCustomSocket {
 public:
  explicit TClientSocket(QObject* owner = nullptr);

  TClientWinSocket* Socket() const { return socket_.get(); }

 protected:
  void DoActivate(bool value) override;

 private:
  std::unique_ptr<TClientWinSocket> socket_;
};
