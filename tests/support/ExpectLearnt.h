// What a WD10 in learning mode takes from the commands a simulated station heard, against what the
// user entered: the decoder whose four "on" commands start at the from-th one learnt this first
// address and the modes of these names, with group B four turnouts on.
#pragma once

#include <gtest/gtest.h>

#include "StationLog.h"
#include "Wd10Learner.h"
#include "support/WaitFor.h"

// The commands reach the station on its own thread, maybe after the window showed the run done.
inline void ExpectLearnt(const StationLog& log, std::size_t from, int firstAddress,
                         const QString& modeA, const QString& modeB) {
  ASSERT_TRUE(WaitFor([&] { return log.TurnoutsSwitchedOn().size() >= from + 4; }));
  const std::vector<int> heard = log.TurnoutsSwitchedOn();
  Wd10Learner learner;
  for (std::size_t i = from; i < from + 4; ++i) learner.Hear(heard[i]);
  const std::optional<Wd10Learnt> learnt = learner.Learnt();
  ASSERT_TRUE(learnt);
  EXPECT_EQ(learnt->firstAddress, firstAddress);
  EXPECT_TRUE(learnt->groupBAddressAsExpected);
  EXPECT_EQ(learnt->modeAName, modeA);
  EXPECT_EQ(learnt->modeBName, modeB);
}
