// Port 4303 is the program's, so the tests use it too. The CTest lock keeps the tests of one
// run apart, but not the runs of other build trees on the same machine: a test that finds the
// port taken waits for it to be free.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <system_error>
#include <thread>

#include "SrcpServer.h"

namespace Port4303 {

template <typename Attempt>
auto WhenFree(Attempt attempt) {
  using namespace std::chrono_literals;
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  for (;;) {
    try {
      return attempt();
    } catch (const std::system_error& error) {
      if (error.code() != std::errc::address_in_use || std::chrono::steady_clock::now() > deadline)
        throw;
      std::this_thread::sleep_for(100ms);
    }
  }
}

inline std::unique_ptr<SrcpServer> Server(const char* greeting) {
  return WhenFree([&] { return std::make_unique<SrcpServer>(greeting); });
}

// Holds the port bound without listening on it, so that a connect is refused as when no server
// runs, and no other run's server can take the port meanwhile.
class RefusingConnections {
 public:
  RefusingConnections() : fd_(WhenFree([] { return Bind(); })) {}
  ~RefusingConnections() { ::close(fd_); }
  RefusingConnections(const RefusingConnections&) = delete;
  RefusingConnections& operator=(const RefusingConnections&) = delete;

 private:
  static int Bind() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(SrcpServer::kDefaultPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      const int error = errno;
      ::close(fd);
      throw std::system_error(error, std::generic_category(), "port 4303");
    }
    return fd;
  }

  int fd_;
};

}  // namespace Port4303
