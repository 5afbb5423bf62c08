// For each serial central type the real window programs a WD10 through the simulated command
// station, and the decoder learns the address and the modes the user entered. A run reports a
// programmed decoder only when the station carried every step out: a station that refuses a
// step stops the run there, with one box and the close button.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "CPort/TComPort.h"
#include "LenzSimulator.h"
#include "LocoNetSimulator.h"
#include "MaerklinSimulator.h"
#include "ReportingP50XSimulator.h"
#include "WD10/TSpinEdit.h"
#include "Wd10Learner.h"
#include "platform/TMemo.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"
#include "support/WindowDriver.h"

namespace {

const QString kProgrammed = QStringLiteral("Druk op de programmeerknop van de WD10");

// How each station is chosen and how it says no to a turnout command.
template <class Station>
struct StationTraits;
template <>
struct StationTraits<LocoNetSimulator> {
  static QRadioButton* Button(TFrm_WD10& window) { return window.RadioButton15; }
  static void Refuse(LocoNetSimulator& station) { station.RefuseSwitchRequests(true); }
};
template <>
struct StationTraits<ReportingP50XSimulator> {
  static QRadioButton* Button(TFrm_WD10& window) { return window.RadioButton16; }
  static void Refuse(ReportingP50XSimulator& station) {
    station.SetReply(0x90, QByteArray(1, '\xA6'));  // track power is off
  }
};
template <>
struct StationTraits<LenzSimulator> {
  static QRadioButton* Button(TFrm_WD10& window) { return window.RadioButton17; }
  static void Refuse(LenzSimulator& station) {
    station.RefuseAccessoryOperations(QByteArray::fromHex("010203"));
  }
};
template <>
struct StationTraits<MaerklinSimulator> {
  static QRadioButton* Button(TFrm_WD10& window) { return window.RadioButton18; }
};

template <class Station>
class SerialRun : public testing::Test {
 protected:
  SerialRun() {
    driver.Choose(StationTraits<Station>::Button(window));
    window.ComPort1->SetPort(station.SlavePath());
  }
  ~SerialRun() override {
    window.close();
    WaitFor([&] { return !window.isVisible(); }, 10000);
  }

  void ConnectAndProgram() {
    driver.Click(window.Button1);
    ASSERT_FALSE(window.GroupBox1->isVisible());
    driver.Click(window.Button2);
    ASSERT_TRUE(WaitFor([&] { return window.Button3->isVisible(); }, 10000));
  }

  Station station;
  TFrm_WD10 window;
  WindowDriver driver{window};
};

using SerialStations =
    testing::Types<LocoNetSimulator, ReportingP50XSimulator, LenzSimulator, MaerklinSimulator>;
TYPED_TEST_SUITE(SerialRun, SerialStations);

TYPED_TEST(SerialRun, TheDecoderLearnsTheEnteredAddressAndModes) {
  TFrm_WD10& window = this->window;
  window.SpinEdit1->SetValue(17);
  window.RadioButton[6]->setChecked(true);   // group A: mode 7
  window.RadioButton[10]->setChecked(true);  // group B: mode 4
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
  EXPECT_TRUE(window.Memo1->Lines().contains(kProgrammed));

  this->driver.Click(window.Button3);
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
  EXPECT_FALSE(this->window.Memo1->Lines().contains(kProgrammed));
  EXPECT_LE(this->station.Log().TurnoutsSwitchedOn().size(), 1u) << "no second step";
}

}  // namespace
