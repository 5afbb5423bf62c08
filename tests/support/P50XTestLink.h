// A P50X link as the tests, the fuzz target and the benchmarks drive it: a port of its own, an
// observer that keeps what the window would show, and the link built on both. The port sits on
// an in-memory line or on a simulator's pty. Needs the application object to exist.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "AwaitTask.h"  // these two beside this header, for the fuzz target too
#include "RecordingObserver.h"
#include "p50x/P50XLink.h"
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortListener.h"

class P50XTestLink {
 public:
  // The fixed pauses of detection are shortened to this, which still leaves a simulator on a
  // pty ample time to answer a probe.
  static constexpr int kLongestPauseMs = 40;

  // As choosing "IB/TC " leaves it: two stop bits, 19200 baud, prefix on.
  P50XTestLink() {
    writeRecorder_.OnTxBuf = [this](QObject*, const char* buffer, int count) {
      writes.emplace_back(buffer, count);
    };
    port.RegisterLink(&writeRecorder_);
    // Nothing here listens for line events; detection sets its own event set.
    port.SetEvents({});
    Await(link.Attach());
    link.SetPauseLength([this](int ms) {
      pauses.push_back(ms);
      return std::min(ms, kLongestPauseMs);
    });
  }
  ~P50XTestLink() {
    port.Close();
    port.UnregisterLink(&writeRecorder_);
  }
  P50XTestLink(const P50XTestLink&) = delete;
  P50XTestLink& operator=(const P50XTestLink&) = delete;

  std::shared_ptr<MemoryLine> OpenOnMemoryLine() {
    auto line = std::make_shared<MemoryLine>();
    port.UseDevice(std::make_unique<MemoryDevice>(line));
    port.Open();
    return line;
  }

  P50XLink* operator->() { return &link; }

  // Everything written since the last call, in one byte string.
  QByteArray TakeWritten() {
    QByteArray all;
    for (const QByteArray& write : writes) all += write;
    writes.clear();
    return all;
  }

  SerialPort port;
  RecordingObserver observer;
  P50XLink link{port, observer};
  LogPane& memo1 = observer.memo1;
  LogPane& memo3 = observer.memo3;
  std::vector<QByteArray> writes;
  // Every fixed pause the link took, as it meant it.
  std::vector<int> pauses;

 private:
  SerialPortListener writeRecorder_;
};
