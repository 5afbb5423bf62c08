// A serial link as the main window holds it: its port (on an in-memory line, or on a
// simulator's pty), an observer that records what the link shows, and the window's receive
// handler, which empties the port's event set and hands the bytes to the link. Each write is
// recorded separately, so tests see how the bytes were cut into writes.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "CPort/MemoryDevice.h"
#include "CPort/TComLink.h"
#include "CPort/TComPort.h"
#include "link/LinkObserver.h"
#include "platform/Messages.h"
#include "support/WaitFor.h"

class RecordingObserver final : public LinkObserver {
 public:
  void LogConnection(const QString& line) override { connection.append(line); }
  void LogReceived(const QString& entry) override { received.append(entry); }
  void ShowReceiveStatus(const QString& text) override { status = text; }
  void LogInformation(const QString& entry) override { information.append(entry); }
  void ShowVersionValue(StationVersionField, const QString&) override {}
  // Records the wait and runs onWait in its place; without onWait it waits as the window does.
  void WaitMs(int milliseconds) override {
    waits.push_back(milliseconds);
    if (onWait) return onWait(milliseconds);
    bool done = false;
    QTimer::singleShot(milliseconds, [&] { done = true; });
    WaitUntil([&] { return done; });
  }

  QStringList connection, received, information;
  QString status;
  std::vector<int> waits;
  std::function<void(int)> onWait;
};

template <typename Link>
class SerialLinkHarness {
 public:
  // On an in-memory line, or on the pty whose slave is ptyPath.
  explicit SerialLinkHarness(const QString& ptyPath = {}) {
    recorder_.OnTxBuf = [this](QObject*, const char* buffer, int count) {
      writes_.emplace_back(buffer, count);
    };
    port.RegisterLink(&recorder_);
    if (ptyPath.isEmpty()) {
      port.UseDevice(std::make_unique<MemoryDevice>(line_));
    } else {
      port.SetPort(ptyPath);
    }
    port.OnRxChar = [this](QObject*, int count) {
      port.SetEvents({});
      QByteArray bytes;
      port.ReadStr(bytes, count);
      link.Received(bytes);
    };
  }
  ~SerialLinkHarness() {
    port.Close();
    port.UnregisterLink(&recorder_);
  }

  MemoryLine& Line() { return *line_; }
  // Bytes from the station, returning once the link has been handed them.
  void Hear(const QByteArray& bytes) {
    line_->Receive(bytes);
    WaitFor([&] { return line_->InputCount() == 0; });
  }
  // Every write since the last call, in order, and forgets them.
  std::vector<QByteArray> TakeWrites() { return std::exchange(writes_, {}); }

  TComPort port;
  RecordingObserver observer;
  Link link{port, observer};

 private:
  std::shared_ptr<MemoryLine> line_ = std::make_shared<MemoryLine>();
  TComLink recorder_;
  std::vector<QByteArray> writes_;
};

inline std::vector<QByteArray> Writes(std::initializer_list<const char*> spacedHex) {
  std::vector<QByteArray> writes;
  for (const char* bytes : spacedHex) writes.push_back(QByteArray::fromHex(bytes));
  return writes;
}
