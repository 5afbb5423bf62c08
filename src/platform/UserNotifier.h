// Modal message boxes and the message beep. The window uses the desktop's; tests install a
// recorder so that nothing ever blocks on a modal box.
#pragma once

#include <QString>

class UserNotifier {
 public:
  virtual ~UserNotifier() = default;
  // A modal box with an OK button; detail, when not empty, is shown under the message.
  virtual void ShowMessage(const QString& text, const QString& detail) = 0;
  // A modal question with the buttons OK and Annuleren; true for OK.
  virtual bool AskOkCancel(const QString& text) = 0;
  virtual void Beep() = 0;
};

// Replaces the notifier for the whole program (nullptr: the desktop's own again).
void SetUserNotifier(UserNotifier* notifier);

void ShowMessage(const QString& text, const QString& detail = {});
bool AskOkCancel(const QString& text);
// The platform's message beep; type 0 is the system default sound.
void MessageBeep(int type);
