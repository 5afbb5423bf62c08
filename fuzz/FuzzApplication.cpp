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
  bool AskOkCancel(const QString& text) override {
    ShowMessage(text, {});
    return false;
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
