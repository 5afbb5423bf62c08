// Stands in for modal boxes and the beep in tests: records what the program would have shown,
// and answers its questions as the test has told it to.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/UserNotifier.h"

class RecordingNotifier final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString& detail) override {
    messages.append(text);
    details.append(detail);
  }
  // The answers given in turn; once they are used up, every question is answered with OK.
  bool AskOkCancel(const QString& text) override {
    questions.append(text);
    return answers.isEmpty() || answers.takeFirst();
  }
  void Beep() override { ++beeps; }
  void Reset() {
    messages.clear();
    details.clear();
    questions.clear();
    answers.clear();
    beeps = 0;
  }

  QStringList messages;
  QStringList details;
  QStringList questions;
  QList<bool> answers;
  int beeps = 0;
};

// The one the test main installs in place of the desktop's boxes and beep.
inline RecordingNotifier& Notifications() {
  static RecordingNotifier recorder;
  return recorder;
}
