#include "FuzzApplication.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "platform/UserNotifier.h"

namespace {

class FailOnMessage final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString& detail) override {
    std::fprintf(stderr, "a message box would have been shown: %s %s\n", qPrintable(text),
                 qPrintable(detail));
    std::abort();
  }
  Task<void> ShowMessageAndWait(QString text, QString detail) override {
    ShowMessage(text, detail);
    co_return;
  }
  Task<bool> AskOkCancel(QString text) override {
    ShowMessage(text, {});
    co_return false;
  }
  void Beep() override {}
};

}  // namespace

void StartFuzzApplication() {
  static int argc = 1;
  static char name[] = "sorvell-fuzz";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: at exit the toolkit's own globals go first, and an application object torn
  // down after them would crash on its way out.
  new QApplication(argc, argv);
  static FailOnMessage notifier;
  SetUserNotifier(&notifier);
}
