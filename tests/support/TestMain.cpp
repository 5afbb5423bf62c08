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
  explicit ResetBetweenTests(QStringList folders) : folders_(std::move(folders)) {}

 private:
  void OnTestStart(const testing::TestInfo&) override {
    Notifications().Reset();
    for (const QString& folder : folders_) {
      QDir(folder).removeRecursively();
      QDir().mkpath(folder);
    }
  }
  QStringList folders_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The program remembers its settings in the user's configuration and its decoder list in the
  // user's data; a test reads and writes folders of its own, never those of whoever runs it.
  const QTemporaryDir configuration;
  const QTemporaryDir data;
  qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
  qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
  QApplication app(argc, argv);
  SetUserNotifier(&Notifications());
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(
      new ResetBetweenTests({configuration.path(), data.path()}));
  return RUN_ALL_TESTS();
}
