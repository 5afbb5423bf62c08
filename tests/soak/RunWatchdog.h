// The last resort against a run that hangs where no event can reach it (a handler blocked
// outside the event loop): if the run is still going at the deadline, the process ends with
// what the run was, so the hang is reported and can be repeated instead of stalling the suite.
#pragma once

#include <QString>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class RunWatchdog {
 public:
  RunWatchdog(std::chrono::milliseconds limit, QString run);
  ~RunWatchdog();
  RunWatchdog(const RunWatchdog&) = delete;
  RunWatchdog& operator=(const RunWatchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable finished_;
  bool done_ = false;
  std::thread thread_;
};
