// For each serial central type, the real window programs a WD10 through the simulated command
// station, and the decoder learns the address and the modes that the user entered. (SRCP runs
// on port 4303 under its lock, with the other tests of that port.)
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "CPort/TComPort.h"
#include "LenzSimulator.h"
#include "LocoNetSimulator.h"
#include "MaerklinSimulator.h"
#include "ReportingP50XSimulator.h"
#include "WD10/TSpinEdit.h"
#include "Wd10Learner.h"
#include "WindowDriver.h"
#include "p50x/P50XLink.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"

namespace {

template <class Station>
QRadioButton* CentralButton(TFrm_WD10& window);
template <>
QRadioButton* CentralButton<LocoNetSimulator>(TFrm_WD10& window) {
  return window.RadioButton15;
}
template <>
QRadioButton* CentralButton<ReportingP50XSimulator>(TFrm_WD10& window) {
  return window.RadioButton16;
}
template <>
QRadioButton* CentralButton<LenzSimulator>(TFrm_WD10& window) {
  return window.RadioButton17;
}
template <>
QRadioButton* CentralButton<MaerklinSimulator>(TFrm_WD10& window) {
  return window.RadioButton18;
}

template <class Station>
class LearnRun : public testing::Test {
 protected:
  LearnRun() {
    CentralButton<Station>(window)->setChecked(true);
    window.ComPort1->SetPort(station.SlavePath());
    // Interface detection's long break and probe pauses are the program's; the test shortens
    // them on the link the window made, as it shortens the step pause on the window.
    if (auto* p50x = dynamic_cast<P50XLink*>(window.CurrentLink()))
      p50x->SetSleepFunction([](int ms) { SleepMs(std::min(ms, 40)); });
  }

  Station station;
  TFrm_WD10 window;
  WindowDriver driver{window};
};

using SerialStations =
    testing::Types<LocoNetSimulator, ReportingP50XSimulator, LenzSimulator, MaerklinSimulator>;
TYPED_TEST_SUITE(LearnRun, SerialStations);

TYPED_TEST(LearnRun, TheDecoderLearnsTheEnteredAddressAndModes) {
  TFrm_WD10& window = this->window;
  this->driver.Click(window.Button1);
  ASSERT_FALSE(window.GroupBox1->isVisible());

  window.SpinEdit1->SetValue(17);
  window.RadioButton[6]->setChecked(true);   // group A: mode 7
  window.RadioButton[10]->setChecked(true);  // group B: mode 4
  this->driver.Click(window.Button2);
  ASSERT_TRUE(WaitFor([&] { return window.Button3->isVisible(); }, 10000));
  ASSERT_TRUE(WaitFor([&] { return this->station.Log().TurnoutsSwitchedOn().size() >= 4; }));

  Wd10Learner learner;
  for (int turnout : this->station.Log().TurnoutsSwitchedOn()) learner.Hear(turnout);
  const std::optional<Wd10Learnt> learnt = learner.Learnt();
  ASSERT_TRUE(learnt);
  EXPECT_EQ(learnt->firstAddress, 17);
  EXPECT_EQ(learnt->decoderNumber, 5);
  EXPECT_EQ(learnt->modeA, 7);
  EXPECT_EQ(learnt->modeAName, "Sein met 4 begrippen");
  EXPECT_EQ(learnt->groupBAddress, 21);
  EXPECT_TRUE(learnt->groupBAddressAsExpected);
  EXPECT_EQ(learnt->modeB, 4);
  EXPECT_EQ(learnt->modeBName, "4 uitgangen als aan/uit (K84)");
  EXPECT_EQ(this->station.Log().TurnoutsSwitchedOn().size(), 4u) << "nothing switched twice";

  this->driver.Click(window.Button3);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

}  // namespace
