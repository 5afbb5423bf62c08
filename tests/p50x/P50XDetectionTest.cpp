// Interface detection against a simulated Intellibox on a pty: the probe at each rate, the
// prompt check, the special options and the rate they settle, and the ways it can fail.
#include <gtest/gtest.h>

#include "P50XSimulator.h"
#include "support/AwaitTask.h"
#include "support/P50XTestLink.h"
#include "support/RecordingNotifier.h"

namespace {

const QString kNothingConnected = QStringLiteral("Geen Intellibox of Twin-Center aangesloten.");

class P50XDetection : public testing::Test {
 protected:
  void SetUp() override {
    link->SetXPrefixMode(false);
    link.port.SetPort(station.SlavePath());
  }

  // Lets the simulator's reader thread take in the last bytes written before the test looks.
  bool Detect(bool connect = false) {
    const bool found = Await(connect ? link->Connect() : link->DetectP50XInterface());
    written += link.TakeWritten();
    WaitFor([&] { return station.ReceivedCount() >= static_cast<std::size_t>(written.size()); });
    return found;
  }
  int Pauses(int ms) const { return std::count(link.pauses.begin(), link.pauses.end(), ms); }

  P50XSimulator station;
  P50XTestLink link;
  QByteArray written;
};

struct ProbeCase {
  const char* name;
  int stationRate, answerBytes, answeredProbes;  // bytes to each probe, probes answered
  bool found;
  int probes;
  BaudRateSetting rate;  // the port's afterwards
};

class P50XProbe : public P50XDetection, public testing::WithParamInterface<ProbeCase> {};

TEST_P(P50XProbe, CountsTheBytesThatArrivedSinceTheBreak) {
  const ProbeCase& c = GetParam();
  station.SetBaudRate(c.stationRate);
  station.SetProbeAnswer(QByteArray(c.answerBytes, '\x01'));
  if (c.answeredProbes) station.SetProbeAnswerLimit(c.answeredProbes);

  EXPECT_EQ(Detect(), c.found);

  EXPECT_EQ(station.ReceivedData().count(QByteArray::fromHex("C4")), c.probes);
  EXPECT_EQ(std::pair(Pauses(10), Pauses(200)), std::pair(c.probes, c.probes)) << "after each";
  EXPECT_EQ(Notifications().messages, c.found ? QStringList() : QStringList{kNothingConnected});
  EXPECT_EQ(link.port.BaudRate(), c.rate);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Answers, P50XProbe, testing::Values(
    // One byte at a time is probed again until two have arrived: one probe at 2400, two at 4800.
    ProbeCase{"OneByteAtATimeUntilTwo", 4800, 1, 0, true, 3, br4800},
    // Bytes waiting from earlier probes count at the next rates.
    ProbeCase{"TooManyBytes", 2400, 3, 0, false, 4, br19200},
    // A single byte never followed moves on after three probes.
    ProbeCase{"SingleByteNeverFollowed", 2400, 1, 1, false, 12, br19200}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A fixed rate is brought to the default of option 1 where a baud command can set it.
struct FixedRateCase {
  const char* name;
  int stationRate, option1;
  const char* logged;
  bool changed;
  BaudRateSetting rate;
};

class P50XFixedRate : public P50XDetection, public testing::WithParamInterface<FixedRateCase> {};

TEST_P(P50XFixedRate, SettlesAtTheRateOfOption1) {
  const FixedRateCase& c = GetParam();
  station.SetBaudRate(c.stationRate);
  station.SetOptions(c.option1, 0);

  EXPECT_TRUE(Detect());

  EXPECT_EQ(station.ReceivedData().contains("xSo26\rxb19200\r`"), c.changed);
  EXPECT_TRUE(link.memo1.Lines().contains("] Baudrate staat vast ingesteld."));
  EXPECT_TRUE(link.memo1.Lines().contains(c.logged));
  EXPECT_EQ(link.port.BaudRate(), c.rate);
  EXPECT_EQ(Pauses(300), c.changed ? 1 : 0);
  EXPECT_EQ(std::pair(Pauses(1500), Pauses(600)), std::pair(1, 1)) << "the break, and after it";
  EXPECT_EQ(link.port.Events(), (SerialEvents{evBreak, evCTS}));
  EXPECT_EQ(link.memo3.Text(), "XSensOff \"Ok\"") << "the set-up went on at the new rate";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Options, P50XFixedRate, testing::Values(
    FixedRateCase{"To19200", 2400, 3, "Baudrate 19200", true, br19200},
    FixedRateCase{"To38400WithoutBaudCommand", 9600, 4, "] = 38400", false, br9600}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(P50XDetection, PromptReplyThatIsNoPromptEndsDetection) {
  station.SetPromptReply(QByteArray::fromHex("78 0D 5D"));
  EXPECT_FALSE(Detect());
  EXPECT_EQ(Notifications().messages, QStringList{"Please re-enable the P50x protocol!"});
  EXPECT_FALSE(station.ReceivedData().contains("So1"));

  // A long reply asks for a reset, unless the mode is mixed.
  Notifications().Reset();
  station.SetPromptReply("Intellibox in P50 mode\r]");
  EXPECT_FALSE(Detect());
  EXPECT_EQ(Notifications().messages, QStringList{"Reset de Intellibox, Twin-Center"});
  EXPECT_TRUE(station.ReceivedData().endsWith("x\rxZzA0\r"));

  Notifications().Reset();
  station.SetModeReply("Mixed\r]");
  EXPECT_TRUE(Detect());
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

// An answer to xSo1 that is no digit ends detection with what it was; a station that falls
// silent after the probe is given up with the link left free.
TEST_F(P50XDetection, Option1ThatIsNoDigitOrNoAnswerEndsDetection) {
  station.SetTextReply("So1", "?\r]");
  EXPECT_FALSE(Detect());
  EXPECT_EQ(Notifications().messages, QStringList{kNothingConnected});
  EXPECT_TRUE(link.memo1.Text().contains("Onverwacht antwoord op xSo1: ?"));
  EXPECT_FALSE(station.ReceivedData().contains("So26"));

  station.SetTextReply({}, {});
  EXPECT_FALSE(Detect());
  EXPECT_EQ(link.memo1.Lines().last(), "No reply from the command station");
  EXPECT_FALSE(link->P50XBusy());
}

}  // namespace
