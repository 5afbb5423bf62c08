// A port opened on an in-memory line that records each write separately, so tests see how the
// bytes were cut into writes as well as the bytes themselves.
#pragma once

#include <QByteArray>
#include <memory>
#include <vector>

#include "CPort/MemoryDevice.h"
#include "CPort/TComLink.h"
#include "CPort/TComPort.h"

class PortOnMemoryLine {
 public:
  PortOnMemoryLine() {
    recorder_.OnTxBuf = [this](QObject*, const char* buffer, int count) {
      writes_.emplace_back(buffer, count);
    };
    port_.RegisterLink(&recorder_);
    port_.UseDevice(std::make_unique<MemoryDevice>(line_));
    port_.Open();
  }
  ~PortOnMemoryLine() {
    port_.Close();
    port_.UnregisterLink(&recorder_);
  }

  TComPort& Port() { return port_; }
  MemoryLine& Line() { return *line_; }
  // Every write since the last call, in order, and forgets them.
  std::vector<QByteArray> TakeWrites() { return std::exchange(writes_, {}); }

 private:
  std::shared_ptr<MemoryLine> line_ = std::make_shared<MemoryLine>();
  TComLink recorder_;
  TComPort port_;
  std::vector<QByteArray> writes_;
};

inline std::vector<QByteArray> Writes(std::initializer_list<const char*> spacedHex) {
  std::vector<QByteArray> writes;
  for (const char* bytes : spacedHex) writes.push_back(QByteArray::fromHex(bytes));
  return writes;
}
