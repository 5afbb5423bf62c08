// The track's power as the stations report it, through the real window: a track cut off between
// two runs (a short while the next WD10 was wired, the station's stop key) is switched on again
// before the next run sends anything, and a power off or emergency stop in the middle of a run
// stops it at that step with the run's box, never with the decoder reported programmed.

#include <QRegularExpression>

#include "SerialRun.h"

namespace {

// How each station cuts the track's power and how the window shows that the link heard it.
template <class Station>
struct PowerTraits;
template <>
struct PowerTraits<LocoNetSimulator> {
  static bool HeardOff(TestedWindow& window) {
    const QStringList lines = window.receiveLog->Lines();
    return lines.contains("827D") || lines.contains("857A");
  }
  static constexpr const char* kCutInAStep = "85 7A: emergency stop";
};
template <>
struct PowerTraits<LenzSimulator> {
  static bool HeardOff(TestedWindow& window) {
    const QStringList lines = window.receiveLog->Lines();
    return lines.contains("61 00 61 ") || lines.contains("81 00 81 ");
  }
  static constexpr const char* kCutInAStep = "81 00 81: the command station is in emergency stop";
};
template <>
struct PowerTraits<ReportingP50XSimulator> {
  static bool HeardOff(TestedWindow& window) {
    return window.receiveLog->Text().contains("There has been a Power Off.");
  }
  static constexpr const char* kCutInAStep = "There has been a Power Off.";
};

template <class Station>
class TrackPower : public SerialRun<Station> {
 protected:
  // LocoNet and Lenz cut the power in a step with the emergency stop; P50X reports any cut as
  // a power off.
  void CutTrackPowerAfter(int commands) {
    if constexpr (std::is_same_v<Station, ReportingP50XSimulator>)
      this->station.CutTrackPowerAfterAccessoryCommands(commands);
    else
      this->station.CutTrackPowerAfterAccessoryCommands(commands, true);
  }
};
using PoweredStations = testing::Types<LocoNetSimulator, LenzSimulator, ReportingP50XSimulator>;
TYPED_TEST_SUITE(TrackPower, PoweredStations);

TYPED_TEST(TrackPower, CutBetweenTwoRunsIsSwitchedOnBeforeTheNextRun) {
  TestedWindow& window = this->window;
  ASSERT_NO_FATAL_FAILURE(this->Connect());
  ASSERT_NO_FATAL_FAILURE(this->Program());
  ASSERT_EQ(window.connectionLog->Lines().last(), kProgrammed);

  this->station.CutTrackPower();
  ASSERT_TRUE(WaitFor([&] { return PowerTraits<TypeParam>::HeardOff(window); }));
  this->driver.Click(window.nextDecoderButton);
  ASSERT_NO_FATAL_FAILURE(this->Program());

  EXPECT_TRUE(Notifications().messages.isEmpty());
  const QStringList log = window.connectionLog->Lines();
  ASSERT_FALSE(log.isEmpty());
  EXPECT_TRUE(log.first().startsWith("De Centrale meldde dat de baan geen spanning had ("))
      << log.first().toStdString();
  EXPECT_EQ(log.last(), kProgrammed);
  // The power went on again before the second decoder's commands, which it learnt.
  const QStringList events = this->station.Log().Lines();
  EXPECT_EQ(events.filter(QRegularExpression("^power on")).size(), 2);
  ExpectLearnt(this->station.Log(), 4, 9, window.groupAModes[0]->text(),
               window.groupBModes[0]->text());
}

TYPED_TEST(TrackPower, CutInTheMiddleOfARunStopsItAtThatStep) {
  TestedWindow& window = this->window;
  // Long enough for the P50X event poll to run in every pause.
  window.stepPauseTimer->setInterval(600);
  this->CutTrackPowerAfter(2);
  ASSERT_NO_FATAL_FAILURE(this->Connect());
  ASSERT_NO_FATAL_FAILURE(this->Program());

  ASSERT_EQ(Notifications().messages.size(), 1);
  const QString box = Notifications().messages.first();
  EXPECT_TRUE(box.contains("stap 2 van 4") && box.contains("geweigerd")) << box.toStdString();
  EXPECT_TRUE(box.contains(PowerTraits<TypeParam>::kCutInAStep)) << box.toStdString();
  EXPECT_FALSE(window.connectionLog->Lines().contains(kProgrammed));
  EXPECT_EQ(this->station.Log().TurnoutsSwitchedOn().size(), 2u) << "nothing after the cut";
  const std::vector<RunRecord>& history = window.ListWindow().List().History();
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history.back().result, RunRecord::Result::Failed);
}

}  // namespace
