// Interface detection against a simulated Intellibox on a pty: the probe at each rate, the
// prompt check, the special options and the rate they settle, and every way it can fail.
#include <gtest/gtest.h>

#include "CPort/EComPort.h"
#include "P50XSimulator.h"
#include "support/P50XTestLink.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"

namespace {

const QString kNothingConnected = QStringLiteral("Geen Intellibox of Twin-Center aangesloten.");
const QByteArray kProbe = QByteArray::fromHex("C4");

// The connection log as shown: a CR inside an entry starts a new line there.
QString Shown(const QStringList& entries) {
  return entries.join('\n').replace('\r', '\n');
}

class P50XDetection : public testing::Test {
 protected:
  void SetUp() override {
    link->SetXPrefixMode(false);
    link.port.SetPort(station.SlavePath());
  }

  bool Detect() { return AfterStationHeardAll(link->DetectP50XInterface()); }
  bool Connect() { return AfterStationHeardAll(link->Connect()); }
  bool AfterStationHeardAll(bool found) {
    // Let the simulator's reader thread take in the last bytes written.
    written += link.TakeWritten();
    WaitFor([&] { return station.ReceivedCount() >= static_cast<std::size_t>(written.size()); });
    return found;
  }
  int Probes() const { return station.ReceivedData().count(kProbe); }

  P50XSimulator station;
  P50XTestLink link;
  QByteArray written;
};

TEST_F(P50XDetection, FoundAtTheFirstRateSetsTheCommandStationUp) {
  station.SetBaudRate(2400);
  station.SetOptions(3, 1);

  EXPECT_TRUE(Connect());

  EXPECT_EQ(station.ReceivedData(),
            QByteArray("\xC4x\rxSo1\rxSo26\r`xZzA0\rxb\rx\xA0xRT255\rxSE62\rx\x99x\xA7"));
  EXPECT_EQ(link.memo1.Text(),
            Shown({"OldBaud = 2400 (Default) BaudRate na een Long Break", "\r]",
                   "Baudrate by Default: So#1 = 3\r] = 19200",
                   "So #26 value: = 1\r] Baudrate wordt gereset na iedere Long Break, of Reset.",
                   "ZzA0", "Baudrate 2400", "Ok\r]", "Ok\r]"}));
  EXPECT_EQ(link.memo3.Text(), "Power On");
  EXPECT_EQ(link.observer.versions[StationVersionField::SPU], "1.502");
  EXPECT_EQ(link.observer.versions[StationVersionField::Serial], "0012345678");
  EXPECT_TRUE(link->XPrefixMode());
  EXPECT_EQ(link.port.BaudRate(), br2400);
  EXPECT_EQ(link.port.Events(), (TComEvents{evBreak, evCTS}));
  EXPECT_TRUE(link.port.Connected());
  EXPECT_TRUE(Notifications().messages.isEmpty());
  EXPECT_EQ(std::count(link.sleeps.begin(), link.sleeps.end(), 1500), 1);
  EXPECT_EQ(std::count(link.sleeps.begin(), link.sleeps.end(), 600), 1);
}

TEST_F(P50XDetection, OneByteAtATimeIsProbedAgainUntilTwoHaveArrived) {
  station.SetBaudRate(4800);
  station.SetProbeAnswer(QByteArray(1, '\x01'));

  EXPECT_TRUE(Detect());

  EXPECT_EQ(Probes(), 3);  // one at 2400, two at 4800
  EXPECT_EQ(link.memo1.Lines().value(0), "OldBaud = 4800 (Default)");
  EXPECT_EQ(link.port.BaudRate(), br4800);
}

TEST_F(P50XDetection, BytesWaitingFromEarlierProbesCountAtTheNextRates) {
  station.SetBaudRate(2400);
  station.SetProbeAnswer(QByteArray(3, '\x01'));

  EXPECT_FALSE(Detect());

  EXPECT_EQ(Probes(), 4);
  EXPECT_EQ(Notifications().messages, QStringList{kNothingConnected});
  EXPECT_EQ(link.port.BaudRate(), br19200);
}

TEST_F(P50XDetection, NothingConnectedTriesEachRateOnceAndSaysSo) {
  station.SetSilent(true);

  EXPECT_FALSE(Connect());

  EXPECT_EQ(station.ReceivedData(), QByteArray(4, '\xC4'));
  EXPECT_EQ(Notifications().messages, QStringList{kNothingConnected});
  EXPECT_TRUE(link.memo1.Lines().isEmpty());
  EXPECT_EQ(link.port.BaudRate(), br19200);
  EXPECT_TRUE(link.port.Connected());
}

TEST_F(P50XDetection, ASingleByteThatIsNeverFollowedMovesOnAfterThreeProbes) {
  // The first probe gets one byte back, and then the command station falls silent.
  station.SetBaudRate(2400);
  station.SetProbeAnswer(QByteArray(1, '\x01'));
  station.SetProbeAnswerLimit(1);

  EXPECT_FALSE(Detect());

  EXPECT_EQ(Probes(), 12);
  EXPECT_EQ(Notifications().messages, QStringList{kNothingConnected});
}

TEST_F(P50XDetection, FixedRateIsBroughtToTheDefaultOfOption1) {
  station.SetBaudRate(2400);
  station.SetOptions(3, 0);

  EXPECT_TRUE(Detect());

  EXPECT_TRUE(station.ReceivedData().contains("xSo26\rxb19200\r`"));
  const QStringList lines = link.memo1.Lines();
  EXPECT_TRUE(lines.contains("] Baudrate staat vast ingesteld.")) << lines.join('|').toStdString();
  EXPECT_TRUE(lines.contains("Baudrate 19200"));
  EXPECT_EQ(link.port.BaudRate(), br19200);
  EXPECT_EQ(station.BaudRate(), 19200);
  // The set-up after the change went through at the new rate.
  EXPECT_EQ(link.memo3.Text(), "XSensOff \"Ok\"");
  EXPECT_EQ(std::count(link.sleeps.begin(), link.sleeps.end(), 300), 1);
}

TEST_F(P50XDetection, CommandStationDoesNotHearOneStopBit) {
  station.SetBaudRate(2400);
  link.port.SetStopBits(sbOneStopBit);

  EXPECT_FALSE(Detect());

  EXPECT_EQ(Probes(), 4);
  EXPECT_EQ(Notifications().messages, QStringList{kNothingConnected});
}

TEST_F(P50XDetection, FixedRateWithoutABaudCommandStaysWhereItAnswered) {
  station.SetBaudRate(9600);
  station.SetOptions(4, 0);

  EXPECT_TRUE(Detect());

  EXPECT_FALSE(station.ReceivedData().contains("xb9600"));
  EXPECT_TRUE(link.memo1.Lines().contains("] = 38400"));
  EXPECT_EQ(link.port.BaudRate(), br9600);
}

TEST_F(P50XDetection, DisabledP50XProtocolAsksForItToBeReEnabled) {
  station.SetPromptReply(QByteArray::fromHex("78 0D 5D"));

  EXPECT_FALSE(Detect());

  EXPECT_EQ(Notifications().messages, QStringList{"Please re-enable the P50x protocol!"});
  EXPECT_FALSE(station.ReceivedData().contains("So1"));
  EXPECT_FALSE(link->XPrefixMode());
}

TEST_F(P50XDetection, LongPromptReplyAsksForAResetUnlessTheModeIsMixed) {
  station.SetPromptReply("Intellibox in P50 mode\r]");

  EXPECT_FALSE(Detect());
  EXPECT_EQ(Notifications().messages, QStringList{"Reset de Intellibox, Twin-Center"});
  EXPECT_TRUE(station.ReceivedData().endsWith("x\rxZzA0\r"));

  Notifications().Reset();
  station.SetModeReply("Mixed\r]");
  EXPECT_TRUE(Detect());
  EXPECT_TRUE(Notifications().messages.isEmpty());
  EXPECT_TRUE(station.ReceivedData().endsWith("x\rxZzA0\r"));
}

TEST_F(P50XDetection, Option1ThatIsNoDigitEndsDetection) {
  station.SetTextReply("So1", "?\r]");

  EXPECT_FALSE(Detect());

  EXPECT_EQ(Notifications().messages, QStringList{kNothingConnected});
  EXPECT_TRUE(link.memo1.Text().contains("Onverwacht antwoord op xSo1: ?"));
  EXPECT_FALSE(station.ReceivedData().contains("So26"));
}

TEST_F(P50XDetection, CommandStationFallingSilentAfterTheProbeIsGivenUp) {
  station.SetTextReply({}, {});

  EXPECT_FALSE(Detect());

  EXPECT_EQ(link.memo1.Lines().last(), "No reply from the command station");
  EXPECT_FALSE(link->P50XBusy());
}

TEST_F(P50XDetection, PortThatCannotBeOpenedRaisesToTheCaller) {
  link.port.SetPort(QStringLiteral("/dev/sorvell-no-such-port"));
  EXPECT_THROW(link->DetectP50XInterface(), EComPort);
  EXPECT_FALSE(link.port.Connected());
}

}  // namespace
