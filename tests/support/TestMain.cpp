#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "support/RecordingNotifier.h"

namespace {

// Every test starts with an empty recorder and nothing remembered, so a message or a setting
// left by one test never passes another.
class ResetBetweenTests : public testing::EmptyTestEventListener {
 public:
  explicit ResetBetweenTests(QString configuration) : configuration_(std::move(configuration)) {}

 private:
  void OnTestStart(const testing::TestInfo&) override {
    Notifications().Reset();
    QDir(configuration_).removeRecursively();
    QDir().mkpath(configuration_);
  }
  QString configuration_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The program remembers its settings in the user's configuration; a test reads and writes a
  // configuration of its own, never the one of whoever runs the tests.
  const QTemporaryDir configuration;
  qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
  QApplication app(argc, argv);
  SetUserNotifier(&Notifications());
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new ResetBetweenTests(configuration.path()));
  return RUN_ALL_TESTS();
}
