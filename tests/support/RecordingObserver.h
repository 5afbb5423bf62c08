// What the window would show of a link, kept for a test to read: its panes, the station's
// version values and the waits the link asked for. A wait passes as the window's does, with
// events running, unless the test says otherwise.
#pragma once

#include <QTimer>
#include <functional>
#include <map>
#include <vector>

#include "link/LinkObserver.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"

class RecordingObserver final : public LinkObserver {
 public:
  void LogConnection(const QString& line) override { memo1.AddLine(line); }
  void LogReceived(const QString& entry) override { memo3.AddLine(entry); }
  void ShowReceiveStatus(const QString& text) override { memo3.SetText(text); }
  void LogInformation(const QString& entry) override { infoLog.AddLine(entry); }
  void ShowVersionValue(StationVersionField field, const QString& value) override {
    versions[field] = value;
  }
  void WaitMs(int milliseconds) override {
    waits.push_back(milliseconds);
    if (wait) wait(milliseconds);
  }
  // What the test lets happen in the wait happens; done() is the link's to look at afterwards.
  void WaitAtMost(int milliseconds, const std::function<bool()>&) override { WaitMs(milliseconds); }

  static void WaitInEventLoop(int ms) {
    bool expired = false;
    QTimer::singleShot(ms, [&] { expired = true; });
    WaitUntil([&] { return expired; });
  }

  TMemo memo1;
  TMemo memo3;
  TMemo infoLog;
  std::map<StationVersionField, QString> versions;
  std::vector<int> waits;
  std::function<void(int)> wait = WaitInEventLoop;
};
