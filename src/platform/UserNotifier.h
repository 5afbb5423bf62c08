// Message boxes and the message beep. The window uses the desktop's; tests install a recorder so
// that no test waits on a box. No box blocks a window (see DialogAnswer.h).
#pragma once

#include <QString>

#include "platform/Task.h"

class UserNotifier {
 public:
  virtual ~UserNotifier() = default;
  // A box with an OK button; detail, when not empty, is shown under the message. Nothing waits
  // for the box to be dismissed.
  virtual void ShowMessage(const QString& text, const QString& detail) = 0;
  // The same box, for an operation that goes on only once the user has read it.
  virtual Task<void> ShowMessageAndWait(QString text, QString detail) = 0;
  // A question with the buttons OK and Annuleren, answered true for OK; false when the
  // question is closed unanswered.
  virtual Task<bool> AskOkCancel(QString text) = 0;
  virtual void Beep() = 0;
};

// Replaces the notifier for the whole program (nullptr: the desktop's own again).
void SetUserNotifier(UserNotifier* notifier);

void ShowMessage(const QString& text, const QString& detail = {});
Task<void> ShowMessageAndWait(QString text, QString detail = {});
Task<bool> AskOkCancel(QString text);
// The platform's message beep; type 0 is the system default sound.
void MessageBeep(int type);
