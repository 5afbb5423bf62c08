// The P50X link as the tests drive it: a port of its own, the two logs, an About window and the
// link's host pointed at them. The port sits on an in-memory line or on a simulator's pty.
#pragma once

#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

#include "About/TAboutBox.h"
#include "CPort/MemoryDevice.h"
#include "CPort/TComLink.h"
#include "CPort/TComPort.h"
#include "p50x/P50XLink.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"

class P50XTestLink {
 public:
  // The fixed sleeps of detection are shortened to this, which still leaves a simulator on a
  // pty ample time to answer a probe.
  static constexpr int kLongestSleepMs = 40;

  P50XTestLink() {
    writeRecorder_.OnTxBuf = [this](QObject*, const char* buffer, int count) {
      writes.emplace_back(buffer, count);
    };
    port.RegisterLink(&writeRecorder_);
    // Nothing here listens for line events; detection sets its own event set.
    port.SetEvents({});
    P50XHost host;
    host.port = &port;
    host.memo1 = &memo1;
    host.memo3 = &memo3;
    host.about = &about;
    host.waitMs = [this](int ms) {
      waits.push_back(ms);
      WaitInEventLoop(ms);
    };
    host.xPrefixMode = &xPrefixMode;
    host.sleepMs = [this](int ms) {
      sleeps.push_back(ms);
      SleepMs(std::min(ms, kLongestSleepMs));
    };
    SetP50XHost(host);
  }
  ~P50XTestLink() {
    port.Close();
    port.UnregisterLink(&writeRecorder_);
    SetP50XHost({});
  }

  std::shared_ptr<MemoryLine> OpenOnMemoryLine() {
    auto line = std::make_shared<MemoryLine>();
    port.UseDevice(std::make_unique<MemoryDevice>(line));
    port.Open();
    return line;
  }

  void OpenOn(const QString& devicePath) {
    port.SetPort(devicePath);
    port.Open();
  }

  // Everything written since the last call, in one byte string.
  QByteArray TakeWritten() {
    QByteArray all;
    for (const QByteArray& write : writes) all += write;
    writes.clear();
    return all;
  }

  // A millisecond wait as the main window's: events keep running.
  static void WaitInEventLoop(int ms) {
    bool expired = false;
    QTimer::singleShot(ms, [&] { expired = true; });
    WaitUntil([&] { return expired; });
  }

  TComPort port;
  TMemo memo1;
  TMemo memo3;
  TAboutBox about;
  bool xPrefixMode = true;
  std::vector<QByteArray> writes;
  std::vector<int> waits;
  std::vector<int> sleeps;

 private:
  TComLink writeRecorder_;
};
