#include "ScktComp/AsyncHostLookup.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QCoreApplication>
#include <cerrno>
#include <mutex>
#include <string>
#include <thread>

#include "ScktComp/SocketMessages.h"

// What the lookup thread and the window's side share: the thread posts only while holding the
// mutex and only while the window is still set; the window's side clears it under the same mutex.
struct AsyncHostLookup::Channel {
  std::mutex mutex;
  QObject* window;
};

namespace {

std::uint64_t NextLookupHandle() {
  static std::uint64_t last = 0;
  return ++last;
}

LookupCompletion Resolve(const std::string& host, std::uint64_t handle) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int result = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  const int osError = errno;
  if (result != 0) return {handle, 0, SocketErrorFromLookup(result, osError)};
  const std::uint32_t address =
      reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  ::freeaddrinfo(found);
  return {handle, address, {}};
}

}  // namespace

AsyncHostLookup::AsyncHostLookup(const QByteArray& host, QObject* window)
    : handle_(NextLookupHandle()), channel_(std::make_shared<Channel>()) {
  channel_->window = window;
  std::thread([channel = channel_, host = host.toStdString(), handle = handle_] {
    auto event = std::make_unique<LookupCompleteEvent>(Resolve(host, handle));
    const std::lock_guard lock(channel->mutex);
    if (channel->window) QCoreApplication::postEvent(channel->window, event.release());
  }).detach();
}

AsyncHostLookup::~AsyncHostLookup() {
  const std::lock_guard lock(channel_->mutex);
  channel_->window = nullptr;
}
