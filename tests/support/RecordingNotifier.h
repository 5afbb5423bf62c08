// Stands in for modal boxes and the beep in tests: records what the program would have shown,
// and answers its questions as the test has told it to.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/UserNotifier.h"

class RecordingNotifier final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString& detail) override {
    messages.append(text);
    details.append(detail);
  }
  Task<void> ShowMessageAndWait(QString text, QString detail) override {
    ShowMessage(text, detail);
    co_return;
  }
  // OK, unless the test answers otherwise; it may also act when a question comes.
  Task<bool> AskOkCancel(QString text) override {
    questions.append(text);
    co_return !answer || answer(text);
  }
  void Beep() override { ++beeps; }
  void Reset() {
    messages.clear();
    details.clear();
    questions.clear();
    answer = nullptr;
    beeps = 0;
  }

  QStringList messages;
  QStringList details;
  QStringList questions;
  std::function<bool(const QString& question)> answer;
  int beeps = 0;
};

// The one the test main installs in place of the desktop's boxes and beep.
inline RecordingNotifier& Notifications() {
  static RecordingNotifier recorder;
  return recorder;
}
