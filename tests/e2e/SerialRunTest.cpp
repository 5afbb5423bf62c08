// For each serial central type the real window programs a WD10 through the simulated command
// station, and the decoder learns the address and the modes the user entered. A run reports a
// programmed decoder only when the station carried every step out: a station that refuses a
// step stops the run there, with one box and the close button, and so does one that stops
// confirming what it passes on.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "SerialRun.h"
#include "WD10/RunFailureMessage.h"
#include "WD10/TSpinEdit.h"
#include "Wd10Learner.h"

namespace {

using SerialStations =
    testing::Types<LocoNetSimulator, ReportingP50XSimulator, LenzSimulator, MaerklinSimulator>;
TYPED_TEST_SUITE(SerialRun, SerialStations);

// The four "on" commands of one decoder's run, as a WD10 in learning mode takes them; the modes
// as the window names them.
void ExpectLearnt(const std::vector<int>& turnouts, int firstAddress, const QString& modeA,
                  const QString& modeB) {
  Wd10Learner learner;
  for (int turnout : turnouts) learner.Hear(turnout);
  const std::optional<Wd10Learnt> learnt = learner.Learnt();
  ASSERT_TRUE(learnt);
  EXPECT_EQ(learnt->firstAddress, firstAddress);
  EXPECT_TRUE(learnt->groupBAddressAsExpected);
  EXPECT_EQ(learnt->modeAName, modeA);
  EXPECT_EQ(learnt->modeBName, modeB);
}

std::vector<int> Slice(const std::vector<int>& all, std::size_t from, std::size_t count) {
  return {all.begin() + std::ptrdiff_t(from), all.begin() + std::ptrdiff_t(from + count)};
}

// Three decoders in one start: after each run "Volgende decoder" keeps the connection and the
// power, clears the run's log and offers the next decoder's first address; "Sluiten" after the
// last run closes as it always has.
TYPED_TEST(SerialRun, ThreeDecodersInOneStartLearnTheirAddressesAndModes) {
  MainWindow& window = this->window;
  window.firstAddressEdit->SetValue(17);
  ASSERT_NO_FATAL_FAILURE(this->Connect());
  // Group A's and group B's mode buttons, decoder by decoder.
  const std::pair<int, int> modes[] = {{5, 2}, {0, 6}, {3, 1}};
  for (std::size_t decoder = 0; decoder < std::size(modes); ++decoder) {
    SCOPED_TRACE(decoder);
    if (decoder > 0) {
      this->driver.Click(window.nextDecoderButton);
      EXPECT_TRUE(window.connectionLog->Lines().isEmpty());
      EXPECT_TRUE(window.programButton->isVisible() && window.programButton->isEnabled());
      EXPECT_FALSE(window.closeButton->isVisible() || window.nextDecoderButton->isVisible());
    }
    const int firstAddress = 17 + 8 * int(decoder);
    ASSERT_EQ(window.firstAddressEdit->Text(), QString::number(firstAddress));
    QRadioButton* modeA = window.groupAModes[modes[decoder].first];
    QRadioButton* modeB = window.groupBModes[modes[decoder].second];
    modeA->setChecked(true);
    modeB->setChecked(true);
    this->driver.Click(window.programButton);
    ASSERT_TRUE(WaitFor([&] { return window.closeButton->isVisible(); }, 10000));
    EXPECT_TRUE(window.nextDecoderButton->isVisible());
    EXPECT_EQ(window.connectionLog->Lines().last(), kProgrammed);
    const std::size_t heard = 4 * (decoder + 1);
    ASSERT_TRUE(WaitFor([&] { return this->station.Log().TurnoutsSwitchedOn().size() >= heard; }));
    ExpectLearnt(Slice(this->station.Log().TurnoutsSwitchedOn(), heard - 4, 4), firstAddress,
                 modeA->text(), modeB->text());
  }
  EXPECT_EQ(this->station.Log().TurnoutsSwitchedOn().size(), 12u) << "nothing switched twice";
  EXPECT_TRUE(Notifications().messages.isEmpty());

  this->driver.Click(window.closeButton);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  const auto power = [&] {
    return this->station.Log().Lines().filter(QRegularExpression("^power "));
  };
  ASSERT_TRUE(WaitFor([&] { return power().size() >= 2; }));
  EXPECT_EQ(power().size(), 2) << "the connect's power on and the close's power off alone";
  EXPECT_TRUE(power().last().startsWith("power off"));
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

template <class Station>
class RefusingStation : public SerialRun<Station> {};
using RefusingStations = testing::Types<LocoNetSimulator, ReportingP50XSimulator, LenzSimulator>;
TYPED_TEST_SUITE(RefusingStation, RefusingStations);

// The run stops at the refused step; "Volgende decoder" then offers a run that the station,
// taking commands again, carries out for the next address.
TYPED_TEST(RefusingStation, StopsTheRunAtTheRefusedStepAndTheNextDecoderRunsAfterIt) {
  StationTraits<TypeParam>::Refuse(this->station);
  this->ConnectAndProgram();
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("stap 1 van 4"));
  EXPECT_FALSE(this->window.connectionLog->Lines().contains(kProgrammed));
  const std::size_t refused = this->station.Log().TurnoutsSwitchedOn().size();
  EXPECT_LE(refused, 1u) << "no second step";

  StationTraits<TypeParam>::Accept(this->station);
  Notifications().Reset();
  this->driver.Click(this->window.nextDecoderButton);
  this->driver.Click(this->window.programButton);
  ASSERT_TRUE(WaitFor([&] { return this->window.closeButton->isVisible(); }, 10000));
  EXPECT_TRUE(Notifications().messages.isEmpty());
  EXPECT_EQ(this->window.connectionLog->Lines().last(), kProgrammed);
  ASSERT_TRUE(
      WaitFor([&] { return this->station.Log().TurnoutsSwitchedOn().size() >= refused + 4; }));
  ExpectLearnt(Slice(this->station.Log().TurnoutsSwitchedOn(), refused, 4), 9,
               this->window.groupAModes[0]->text(), this->window.groupBModes[0]->text());
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
