#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "platform/ExceptionDisplay.h"
#include "serial/SerialPortError.h"
#include "support/RecordingNotifier.h"

namespace {

// What a hobbyist reads when the port fails: the component's message, then the OS's own words
// and, for the failures a user can mend, what to do.
TEST(ExceptionDisplay, ExplainsWhatTheUserCanMend) {
  ShowException(SerialPortError(1, EACCES, "/dev/ttyUSB0"));
  ShowException(SerialPortError(2, EIO));
  ShowException(SerialPortError(14));

  const RecordingNotifier& shown = Notifications();
  ASSERT_EQ(shown.messages.size(), 3);
  EXPECT_EQ(shown.messages[0], QString("Unable to open com port (win error code: %1)").arg(EACCES));
  EXPECT_TRUE(shown.details[0].startsWith(QString::fromLocal8Bit(std::strerror(EACCES))));
  EXPECT_TRUE(shown.details[0].contains("/dev/ttyUSB0") && shown.details[0].contains("adduser"));
  EXPECT_TRUE(shown.details[1].contains("USB-adapter"));
  EXPECT_TRUE(shown.details[2].isEmpty()) << "no OS error, nothing to explain";
}

}  // namespace
