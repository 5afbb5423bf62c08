// No application object exists in this process: the serial layer must take the language from
// the environment by itself. Run by CTest under LANG=nl_NL.UTF-8 (filter Dutch*) and under
// LANG=C (filter English*).
#include <gtest/gtest.h>

#include "serial/SerialPortError.h"

namespace {

TEST(DutchBeforeTheApplication, MessageReadsInDutch) {
  EXPECT_EQ(SerialErrorMessage(23).toStdString(), "Registerfout");
}

TEST(EnglishBeforeTheApplication, MessageReadsInEnglish) {
  EXPECT_EQ(SerialErrorMessage(23).toStdString(), "Registry error");
}

}  // namespace
