// For each serial central type the real window programs a WD10 through the simulated command
// station, and the decoder learns the address and the modes the user entered. A run reports a
// programmed decoder only when the station carried every step out: a station that refuses a
// step stops the run there, with one box and the close button, and so does one that stops
// confirming what it passes on.
#include <gtest/gtest.h>

#include "SerialRun.h"
#include "WD10/RunFailureMessage.h"
#include "WD10/TSpinEdit.h"
#include "Wd10Learner.h"

namespace {

using SerialStations =
    testing::Types<LocoNetSimulator, ReportingP50XSimulator, LenzSimulator, MaerklinSimulator>;
TYPED_TEST_SUITE(SerialRun, SerialStations);

TYPED_TEST(SerialRun, TheDecoderLearnsTheEnteredAddressAndModes) {
  MainWindow& window = this->window;
  window.firstAddressEdit->SetValue(17);
  window.groupAModes[5]->setChecked(true);  // group A: mode 7
  window.groupBModes[2]->setChecked(true);  // group B: mode 4
  this->ConnectAndProgram();
  ASSERT_TRUE(WaitFor([&] { return this->station.Log().TurnoutsSwitchedOn().size() >= 4; }));

  Wd10Learner learner;
  for (int turnout : this->station.Log().TurnoutsSwitchedOn()) learner.Hear(turnout);
  const std::optional<Wd10Learnt> learnt = learner.Learnt();
  ASSERT_TRUE(learnt);
  EXPECT_EQ(learnt->firstAddress, 17);
  EXPECT_TRUE(learnt->groupBAddressAsExpected);
  EXPECT_EQ(learnt->modeAName, "Sein met 4 begrippen");
  EXPECT_EQ(learnt->modeBName, "4 uitgangen als aan/uit (K84)");
  EXPECT_EQ(this->station.Log().TurnoutsSwitchedOn().size(), 4u) << "nothing switched twice";
  EXPECT_TRUE(window.connectionLog->Lines().contains(kProgrammed));

  this->driver.Click(window.closeButton);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

template <class Station>
class RefusingStation : public SerialRun<Station> {};
using RefusingStations = testing::Types<LocoNetSimulator, ReportingP50XSimulator, LenzSimulator>;
TYPED_TEST_SUITE(RefusingStation, RefusingStations);

TYPED_TEST(RefusingStation, StopsTheRunAtTheRefusedStepWithOneBox) {
  StationTraits<TypeParam>::Refuse(this->station);
  this->ConnectAndProgram();
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("stap 1 van 4"));
  EXPECT_FALSE(this->window.connectionLog->Lines().contains(kProgrammed));
  EXPECT_LE(this->station.Log().TurnoutsSwitchedOn().size(), 1u) << "no second step";
}

// A station that confirms what it passes on (LocoNet's echo, the Lenz interface's 01 04 05) and
// is switched off after the first step: the run stops at step 2, naming what did not come, and
// sends nothing more. One that has never answered is not held to confirmations: its run
// completes, marked unchecked.
template <class Station>
class ConfirmingStation : public SerialRun<Station> {};
using ConfirmingStations = testing::Types<LocoNetSimulator, LenzSimulator>;
TYPED_TEST_SUITE(ConfirmingStation, ConfirmingStations);

TYPED_TEST(ConfirmingStation, FallingSilentAfterStep1StopsTheRunAtStep2) {
  this->station.FallSilentAfterAccessoryCommands(1);
  this->ConnectAndProgram();
  ASSERT_EQ(Notifications().messages.size(), 1);
  const QString box = Notifications().messages.first();
  EXPECT_TRUE(box.contains("Stap 2 van 4")) << box.toStdString();
  EXPECT_TRUE(box.contains(StationTraits<TypeParam>::kStep2Missing)) << box.toStdString();
  EXPECT_TRUE(this->window.connectionLog->Lines().contains(
      RunFailureLogLine(2, 2 + this->window.CurrentLink()->TurnoutOffset())));
  EXPECT_FALSE(this->window.connectionLog->Lines().contains(kProgrammed));
  EXPECT_EQ(StationTraits<TypeParam>::AccessoryFramesHeard(this->station), 4u)
      << "nothing after step 2's output on and off";
}

TYPED_TEST(ConfirmingStation, SilentFromTheStartCompletesTheRunMarkedUnchecked) {
  this->station.SetSilent(true);
  this->driver.Click(this->window.connectButton);
  this->driver.Click(this->window.programButton);
  ASSERT_TRUE(WaitFor([&] { return this->window.closeButton->isVisible(); }, 10000));
  EXPECT_TRUE(Notifications().messages.isEmpty());
  EXPECT_EQ(this->window.connectionLog->Lines().mid(4),
            QStringList({UnconfirmedRunLogLine(), kProgrammed}));
  EXPECT_EQ(StationTraits<TypeParam>::AccessoryFramesHeard(this->station), 8u);
}

}  // namespace
