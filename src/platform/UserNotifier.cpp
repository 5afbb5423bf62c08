#include "platform/UserNotifier.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

#include "platform/DialogAnswer.h"

namespace {

class DesktopNotifier final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString& detail) override {
    QMessageBox* box = MessageBox(text, detail).release();
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
  }
  Task<void> ShowMessageAndWait(QString text, QString detail) override {
    const std::unique_ptr<QMessageBox> box = MessageBox(text, detail);
    co_await AnswerOf(*box);
  }
  Task<bool> AskOkCancel(QString text) override {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());
    box.button(QMessageBox::Cancel)
        ->setText(QCoreApplication::translate("UserNotifier", "Annuleren"));
    co_await AnswerOf(box);
    co_return box.clickedButton() == box.button(QMessageBox::Ok);
  }
  void Beep() override { QApplication::beep(); }

 private:
  static std::unique_ptr<QMessageBox> MessageBox(const QString& text, const QString& detail) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                                      text, QMessageBox::Ok, QApplication::activeWindow());
    if (!detail.isEmpty()) box->setInformativeText(detail);
    box->setWindowModality(Qt::NonModal);
    return box;
  }
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

Task<void> ShowMessageAndWait(QString text, QString detail) {
  return Notifier().ShowMessageAndWait(std::move(text), std::move(detail));
}

Task<bool> AskOkCancel(QString text) {
  return Notifier().AskOkCancel(std::move(text));
}

void MessageBeep(int /*type*/) {
  Notifier().Beep();
}
