#include "platform/DialogAnswer.h"

#include <QDialog>
#include <QPointer>

#include "platform/Wakeup.h"

Task<int> AnswerOf(QDialog& dialog) {
  Wakeup answered;
  int result = QDialog::Rejected;
  bool done = false;
  const QPointer<QDialog> shown(&dialog);
  // A context object of our own: the connections go with it when the operation ends unanswered.
  QObject context;
  QObject::connect(&dialog, &QDialog::finished, &context, [&](int answer) {
    result = answer;
    done = true;
    answered.Notify();
  });
  QObject::connect(&dialog, &QObject::destroyed, &context, [&] {
    done = true;
    answered.Notify();
  });
  dialog.setWindowModality(Qt::NonModal);
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
  while (!done) co_await answered.Ever();
  co_return result;
}
