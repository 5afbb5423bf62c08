#include <gtest/gtest.h>

#include "Wd10Learner.h"

namespace {

Wd10Learnt LearnFrom(std::initializer_list<int> turnouts) {
  Wd10Learner learner;
  for (int turnout : turnouts) learner.Hear(turnout);
  const auto learnt = learner.Learnt();
  if (!learnt) throw std::logic_error("nothing learnt");
  return *learnt;
}

TEST(Wd10Learner, LearnsAddressDecoderNumberAndModesFromTheFirstFourCommands) {
  const Wd10Learnt defaults = LearnFrom({1, 2, 5, 2});
  EXPECT_EQ(defaults.firstAddress, 1);
  EXPECT_EQ(defaults.decoderNumber, 1);
  EXPECT_EQ(defaults.modeA, 2);
  EXPECT_EQ(defaults.modeAName, "4 uitgangen als impuls (LS100)");
  EXPECT_EQ(defaults.groupBAddress, 5);
  EXPECT_TRUE(defaults.groupBAddressAsExpected);
  EXPECT_EQ(defaults.modeBName, "4 uitgangen als impuls (LS100)");

  const Wd10Learnt entered = LearnFrom({17, 7, 21, 4, 99});
  EXPECT_EQ(entered.firstAddress, 17);
  EXPECT_EQ(entered.decoderNumber, 5);
  EXPECT_EQ(entered.modeAName, "Sein met 4 begrippen");
  EXPECT_EQ(entered.modeB, 4);
  EXPECT_EQ(entered.modeBName, "4 uitgangen als aan/uit (K84)");

  EXPECT_EQ(LearnFrom({2033, 8, 2037, 5}).decoderNumber, 509);
  EXPECT_EQ(LearnFrom({2033, 8, 2037, 5}).modeAName, "NS-Sein met 4 begrippen");
}

TEST(Wd10Learner, LearnsNothingBeforeTheFourthCommandAndStartsAgainAfterAReset) {
  Wd10Learner learner;
  for (int turnout : {9, 6, 13}) learner.Hear(turnout);
  EXPECT_FALSE(learner.Done());
  EXPECT_FALSE(learner.Learnt());

  learner.Hear(2);
  learner.Hear(3);  // after the fourth: not looked at
  EXPECT_EQ(learner.Learnt()->modeB, 2);

  learner.Reset();
  EXPECT_FALSE(learner.Learnt());
  for (int turnout : {25, 3, 29, 6}) learner.Hear(turnout);
  EXPECT_EQ(learner.Learnt()->firstAddress, 25);
  EXPECT_EQ(learner.Learnt()->modeBName, "Sein met 2 begrippen");
}

TEST(Wd10Learner, DescriptionNamesTheModesAndWarnsOfWhatADecoderWouldGetWrong) {
  EXPECT_EQ(
      DescribeLearnt(LearnFrom({17, 6, 21, 3})),
      QStringList(
          {"A WD10 in learning mode has learnt:", "  first turnout address 17 (decoder number 5)",
           "  group A: mode 6 \"Sein met 2 begrippen\"",
           "  group B: turnout address 21, mode 3 \"4 uitgangen als impuls (K83)\""}));

  const Wd10Learnt wrong = LearnFrom({17, 9, 25, 1});
  EXPECT_FALSE(wrong.groupBAddressAsExpected);
  EXPECT_TRUE(wrong.modeAName.isEmpty());
  const QStringList lines = DescribeLearnt(wrong);
  EXPECT_EQ(lines[2], "  group A: mode 9, which is no mode (2 to 8)");
  EXPECT_EQ(lines[3], "  group B: turnout address 25, mode 1, which is no mode (2 to 8)");
  EXPECT_EQ(lines[4], "  warning: group B should start at 21 (the first address + 4)");
}

}  // namespace
