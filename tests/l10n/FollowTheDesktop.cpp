// The tests linked with this start in the language the program would start in: the one chosen in
// the window, else the desktop's (ctest sets LANG for each run).
#include <gtest/gtest.h>

#include "platform/Language.h"
#include "window/RememberedSettings.h"

namespace {

class FollowTheDesktop : public testing::Environment {
  void SetUp() override { UseLanguage(WindowLanguage(RememberedSettings())); }
};

[[maybe_unused]] testing::Environment* const kFollowTheDesktop =
    testing::AddGlobalTestEnvironment(new FollowTheDesktop);

}  // namespace
