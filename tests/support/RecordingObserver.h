// What the window would show of a link, kept for a test to read: its panes and the station's
// version values.
#pragma once

#include <map>

#include "link/LinkObserver.h"
#include "platform/LogPane.h"

class RecordingObserver final : public LinkObserver {
 public:
  void LogConnection(const QString& line) override { memo1.AddLine(line); }
  void LogReceived(const QString& entry) override { memo3.AddLine(entry); }
  void ShowReceiveStatus(const QString& text) override { memo3.SetText(text); }
  void LogInformation(const QString& entry) override { infoLog.AddLine(entry); }
  void ShowVersionValue(StationVersionField field, const QString& value) override {
    versions[field] = value;
  }
  LogPane memo1;
  LogPane memo3;
  LogPane infoLog;
  std::map<StationVersionField, QString> versions;
};
