#include <gtest/gtest.h>

#include <QApplication>

#include "support/RecordingNotifier.h"

namespace {

// Every test starts with an empty recorder, so a message left by one test never passes
// another.
class ResetNotifications : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { Notifications().Reset(); }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  SetUserNotifier(&Notifications());
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new ResetNotifications);
  return RUN_ALL_TESTS();
}
