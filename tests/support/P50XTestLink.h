// A P50X link as the tests, the fuzz target and the benchmarks drive it: a port of its own, an
// observer that keeps what the window would show, and the link built on both. The port sits on
// an in-memory line or on a simulator's pty. Needs the application object to exist.
#pragma once

#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "CPort/MemoryDevice.h"
#include "CPort/TComLink.h"
#include "CPort/TComPort.h"
#include "link/LinkObserver.h"
#include "p50x/P50XLink.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"

class P50XTestLink {
 public:
  // The fixed sleeps of detection are shortened to this, which still leaves a simulator on a
  // pty ample time to answer a probe.
  static constexpr int kLongestSleepMs = 40;

  // The window's panes and version labels, kept for the test to read.
  class Observer final : public LinkObserver {
   public:
    void LogConnection(const QString& line) override { memo1.AddLine(line); }
    void LogReceived(const QString& entry) override { memo3.AddLine(entry); }
    void ShowReceiveStatus(const QString& text) override { memo3.SetText(text); }
    void LogInformation(const QString& entry) override { memo4.AddLine(entry); }
    void ShowVersionValue(StationVersionField field, const QString& value) override {
      versions[field] = value;
    }
    void WaitMs(int milliseconds) override {
      waits.push_back(milliseconds);
      if (wait) wait(milliseconds);
    }

    TMemo memo1;
    TMemo memo3;
    TMemo memo4;
    std::map<StationVersionField, QString> versions;
    std::vector<int> waits;
    // How a wait passes; by default as the window's, with events running.
    std::function<void(int)> wait = WaitInEventLoop;
  };

  // As choosing "IB/TC " leaves it: two stop bits, 19200 baud, prefix on.
  P50XTestLink() {
    writeRecorder_.OnTxBuf = [this](QObject*, const char* buffer, int count) {
      writes.emplace_back(buffer, count);
    };
    port.RegisterLink(&writeRecorder_);
    // Nothing here listens for line events; detection sets its own event set.
    port.SetEvents({});
    link.Attach();
    link.SetSleepFunction([this](int ms) {
      sleeps.push_back(ms);
      SleepMs(std::min(ms, kLongestSleepMs));
    });
  }
  ~P50XTestLink() {
    port.Close();
    port.UnregisterLink(&writeRecorder_);
  }
  P50XTestLink(const P50XTestLink&) = delete;
  P50XTestLink& operator=(const P50XTestLink&) = delete;

  // The link's sleeps and waits as long as the program's, without events running in the waits.
  void UseProgramPauses() {
    link.SetSleepFunction({});
    observer.wait = SleepMs;
  }

  std::shared_ptr<MemoryLine> OpenOnMemoryLine() {
    auto line = std::make_shared<MemoryLine>();
    port.UseDevice(std::make_unique<MemoryDevice>(line));
    port.Open();
    return line;
  }

  // Opened as detection leaves the port, for links that skip detection.
  void OpenOn(const QString& devicePath, TBaudRate rate) {
    port.SetPort(devicePath);
    port.SetBaudRate(rate);
    port.SetEvents({evBreak, evCTS});
    port.Open();
  }

  P50XLink* operator->() { return &link; }

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
  Observer observer;
  P50XLink link{port, observer};
  TMemo& memo1 = observer.memo1;
  TMemo& memo3 = observer.memo3;
  std::vector<QByteArray> writes;
  std::vector<int> sleeps;

 private:
  TComLink writeRecorder_;
};
