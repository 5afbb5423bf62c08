// The P50X simulator, telling what it hears in the user's terms: power, turnouts, the text
// commands of interface detection, and the 100 ms event poll as counts rather than a line each.
#pragma once

#include <mutex>

#include "FrameSplitter.h"
#include "P50XSimulator.h"
#include "StationLog.h"

class ReportingP50XSimulator : public P50XSimulator {
 public:
  ReportingP50XSimulator();
  ~ReportingP50XSimulator() override;

  StationLog& Log() { return log_; }

 protected:
  void OnReceived(const QByteArray& bytes) override;

 private:
  void Report(const QByteArray& command, int slaveBaudRate);

  std::mutex mutex_;
  FrameSplitter splitter_;
  bool pollingSeen_ = false;
  int pollsSinceLastCommand_ = 0;
  StationLog log_;
};
