// A programming run reports a programmed decoder only when the command station carried every
// step out: a station that refuses or falls silent stops the run at that step with one box and
// the close button, and what the connect or the run reads is what the user set at that moment.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

#include "CPort/TComPort.h"
#include "LenzSimulator.h"
#include "LocoNetSimulator.h"
#include "ReportingP50XSimulator.h"
#include "WD10/TSpinEdit.h"
#include "WindowDriver.h"
#include "p50x/P50XLink.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"

namespace {

const QString kProgrammed = QStringLiteral("Druk op de programmeerknop van de WD10");

void ShortenDetectionSleeps(TFrm_WD10& window) {
  if (auto* p50x = dynamic_cast<P50XLink*>(window.CurrentLink()))
    p50x->SetSleepFunction([](int ms) { SleepMs(std::min(ms, 40)); });
}

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

template <class Station>
class TruthfulRun : public testing::Test {
 protected:
  TruthfulRun() {
    StationTraits<Station>::Button(window)->setChecked(true);
    window.ComPort1->SetPort(station.SlavePath());
    ShortenDetectionSleeps(window);
  }
  ~TruthfulRun() override {
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

using RefusingStations = testing::Types<LocoNetSimulator, ReportingP50XSimulator, LenzSimulator>;
TYPED_TEST_SUITE(TruthfulRun, RefusingStations);

TYPED_TEST(TruthfulRun, RefusedFirstStepStopsTheRunWithOneBox) {
  StationTraits<TypeParam>::Refuse(this->station);
  this->ConnectAndProgram();
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("stap 1 van 4"));
  EXPECT_FALSE(this->window.Memo1->Lines().contains(kProgrammed));
  EXPECT_LE(this->station.Log().TurnoutsSwitchedOn().size(), 1u) << "no second step";
}

using P50XTruthfulRun = TruthfulRun<ReportingP50XSimulator>;

TEST_F(P50XTruthfulRun, StationFallingSilentStopsTheRunAtItsStep) {
  driver.Click(window.Button1);
  station.SetSilent(true);
  driver.Click(window.Button2);
  ASSERT_TRUE(WaitFor([&] { return window.Button3->isVisible(); }, 10000));
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("Stap 1 van 4"));
  EXPECT_EQ(window.Memo1->Lines().count("No reply from the command station"), 1);
  EXPECT_FALSE(window.Memo1->Lines().contains(kProgrammed));
}

TEST_F(P50XTruthfulRun, TheEventPollStopsWithTheClose) {
  driver.Click(window.Button1);
  ASSERT_TRUE(window.Timer2->Enabled());
  driver.Click(window.Button3);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  EXPECT_FALSE(window.Timer2->Enabled());
}

TEST_F(P50XTruthfulRun, LocoNetConnectAfterAFailedDetectionStillReceives) {
  station.SetSilent(true);
  driver.Click(window.Button1);
  ASSERT_EQ(Notifications().messages.size(), 1);  // no Intellibox answered

  LocoNetSimulator loconet;
  window.RadioButton15->setChecked(true);
  window.ComPort1->SetPort(loconet.SlavePath());
  driver.Click(window.Button1);
  // The station echoes the power-on; only a port that raises receive events logs it.
  EXPECT_TRUE(WaitFor([&] { return window.Memo3->Lines().contains("837C"); }));
}

using LocoNetTruthfulRun = TruthfulRun<LocoNetSimulator>;

TEST_F(LocoNetTruthfulRun, ModeChangedDuringTheRunIsUsedAtItsStep) {
  window.Timer4->SetInterval(400);
  window.RadioButton[1]->setChecked(true);  // group A: mode 2 when the run starts
  // During the first step pause the user picks mode 6 for group A.
  QTimer::singleShot(300, &window, [&] { window.RadioButton[5]->setChecked(true); });
  ConnectAndProgram();
  ASSERT_GE(station.Log().TurnoutsSwitchedOn().size(), 2u);
  EXPECT_EQ(station.Log().TurnoutsSwitchedOn()[1], 6);
  EXPECT_TRUE(window.Memo1->Lines().contains(kProgrammed));
}

}  // namespace
