// Stands in for modal boxes and the beep in tests: records what the program would have shown.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/UserNotifier.h"

class RecordingNotifier final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString& detail) override {
    messages.append(text);
    details.append(detail);
  }
  void Beep() override { ++beeps; }
  void Reset() {
    messages.clear();
    details.clear();
    beeps = 0;
  }

  QStringList messages;
  QStringList details;
  int beeps = 0;
};

// The recorder that the test main installs for the whole run.
// The one the test main installs in place of the desktop's boxes and beep.
inline RecordingNotifier& Notifications() {
  static RecordingNotifier recorder;
  return recorder;
}
