#include "platform/UserNotifier.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/DialogAnswer.h"

namespace {

class DesktopNotifier final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString& detail) override {
    auto* box = new QMessageBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                                QMessageBox::Ok, QApplication::activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (!detail.isEmpty()) box->setInformativeText(detail);
    box->setWindowModality(Qt::NonModal);
    box->show();
  }
  Task<bool> AskOkCancel(QString text) override {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuleren"));
    co_await AnswerOf(box);
    co_return box.clickedButton() == box.button(QMessageBox::Ok);
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

Task<bool> AskOkCancel(QString text) {
  return Notifier().AskOkCancel(std::move(text));
}

void MessageBeep(int /*type*/) {
  Notifier().Beep();
}
