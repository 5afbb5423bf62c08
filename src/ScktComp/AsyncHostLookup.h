// A host-name lookup that does not hold up the window: getaddrinfo (IPv4) runs on a thread of
// its own and its completion arrives as message 1027 on the notification window. Destroying
// the lookup cancels it: the thread may still be waiting for the resolver, but it will post
// nothing, so it can never reach a window that is gone.
#pragma once

#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <memory>

class AsyncHostLookup {
 public:
  // Throws std::system_error when no thread can be started for it.
  AsyncHostLookup(const QByteArray& host, QObject* window);
  ~AsyncHostLookup();
  AsyncHostLookup(const AsyncHostLookup&) = delete;
  AsyncHostLookup& operator=(const AsyncHostLookup&) = delete;

  // Never 0, never the same for two lookups; the completion carries it.
  std::uint64_t Handle() const { return handle_; }

 private:
  struct Channel;

  std::uint64_t handle_;
  std::shared_ptr<Channel> channel_;
};
