#include "platform/UserNotifier.h"

#include <QApplication>
#include <QMessageBox>

namespace {

class DesktopNotifier final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString& detail) override {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    if (!detail.isEmpty()) box.setInformativeText(detail);
    box.exec();
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

void MessageBeep(int /*type*/) {
  Notifier().Beep();
}
