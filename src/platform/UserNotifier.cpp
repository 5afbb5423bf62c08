#include "platform/UserNotifier.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

class DesktopNotifier final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString& detail) override {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    if (!detail.isEmpty()) box.setInformativeText(detail);
    box.exec();
  }
  bool AskOkCancel(const QString& text) override {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuleren"));
    return box.exec() == QMessageBox::Ok;
  }
  void Beep() override { QApplication::beep(); }
};

UserNotifier* current = nullptr;

UserNotifier& Notifier() {
  static DesktopNotifier desktop;
  return current ? *current : desktop;
}

}  // namespace

void SetUserNotifier(UserNotifier* notifier) {
  current = notifier;
}

void ShowMessage(const QString& text, const QString& detail) {
  Notifier().ShowMessage(text, detail);
}

bool AskOkCancel(const QString& text) {
  return Notifier().AskOkCancel(text);
}

void MessageBeep(int /*type*/) {
  Notifier().Beep();
}
