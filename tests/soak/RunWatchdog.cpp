#include "RunWatchdog.h"

#include <cstdio>
#include <cstdlib>

RunWatchdog::RunWatchdog(std::chrono::milliseconds limit, QString run) {
  thread_ = std::thread([this, limit, run = std::move(run)] {
    std::unique_lock lock(mutex_);
    if (finished_.wait_for(lock, limit, [this] { return done_; })) return;
    std::fprintf(stderr, "soak: the run hangs and does not come back: %s\n", qPrintable(run));
    std::abort();
  });
}

RunWatchdog::~RunWatchdog() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  finished_.notify_one();
  thread_.join();
}
