// The main window with "IB/TC " against the simulated Intellibox on a pty: connect with
// interface detection, the event poll, programming, the About window, events reported by the
// command station, and a command station that falls silent.

#include "SerialRun.h"

namespace {

const QByteArray kEventQuery = Hex("78 C8");

// The wire without the event queries of the poll, which come and go with the timing.
QByteArray WithoutPolls(QByteArray wire) {
  return wire.replace(kEventQuery, {});
}

QByteArray Turnout(int address, bool on) {
  QByteArray frame = Hex("78 90");
  frame.append(static_cast<char>(address % 256));
  frame.append(static_cast<char>(address / 256 + (on ? 0x40 : 0)));
  return frame;
}

class P50XRun : public SerialRun<ReportingP50XSimulator> {
 protected:
  P50XRun() { station.SetBaudRate(2400); }
};

TEST_F(P50XRun, ConnectProgramAndClose) {
  Connect();
  EXPECT_TRUE(WithoutPolls(station.ReceivedData())
                  .startsWith("\xC4x\rxSo1\rxSo26\r`xZzA0\rxb\rx\xA0xRT255\rxSE62\rx\x99x\xA7"));
  EXPECT_EQ(window.receiveLog->Text(), "Power On");
  EXPECT_EQ(window.connectionLog->Lines().value(0),
            "OldBaud = 2400 (Default) BaudRate na een Long Break");
  EXPECT_EQ(window.serialPort->BaudRate(), br2400);
  EXPECT_TRUE(window.programmingPanel->isVisible());
  EXPECT_TRUE(window.stationAboutButton->isVisible());

  driver.Click(window.stationAboutButton);
  EXPECT_TRUE(window.aboutBox->isVisible());
  EXPECT_EQ(window.aboutBox->spuValue->text(), "1.502");
  EXPECT_EQ(window.aboutBox->serialValue->text(), "0012345678");
  EXPECT_EQ(window.aboutBox->spuValue->accessibleName(), "SPU 1.502");
  driver.Click(window.aboutBox->okButton);
  EXPECT_FALSE(window.aboutBox->isVisible());
  driver.Click(window.stationAboutButton);
  QTest::keyClick(window.aboutBox, Qt::Key_Escape);
  EXPECT_FALSE(window.aboutBox->isVisible());

  station.ClearReceived();
  window.firstAddressEdit->SetValue(9);
  ASSERT_NO_FATAL_FAILURE(Program());
  QByteArray expected;
  for (int turnout : {9, window.ModeOfGroupA(), 13, window.ModeOfGroupB()})
    expected += Turnout(turnout, true) + Turnout(turnout, false);
  EXPECT_EQ(WithoutPolls(station.ReceivedData()), expected);
  EXPECT_EQ(window.receiveLog->Text(), "Turnout command accepted");
  EXPECT_EQ(window.connectionLog->Lines().last(), kProgrammed);

  station.ClearReceived();
  ASSERT_NO_FATAL_FAILURE(CloseWithTheButton());
  EXPECT_TRUE(WithoutPolls(station.ReceivedData()).endsWith(Hex("78 A6")));
  EXPECT_FALSE(window.serialPort->Connected());
  EXPECT_FALSE(window.eventPollTimer->isActive());
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

TEST_F(P50XRun, EventsOfTheCommandStationReachTheLogs) {
  Connect();

  station.ReportPowerOff();
  EXPECT_TRUE(WaitFor([&] { return window.receiveLog->Text() == "There has been a Power Off."; }));

  station.ReportFeedback(Hex("03 10 00"));
  EXPECT_TRUE(
      WaitFor([&] { return window.connectionLog->Lines().contains("[S88 # 3] lb = 16 hb = 0"); }));

  station.ReportProgrammingResult(Hex("03 00 34 12"));
  EXPECT_TRUE(WaitFor([&] { return window.connectionLog->Lines().contains("CV #0 = 4660"); }));

  station.ReportLocomotiveEvents(Hex("05 01 02 03 04 90"));
  EXPECT_TRUE(WaitFor(
      [&] { return window.connectionLog->Lines().contains("Unexpected reply to XEvtLok cmd!"); }));
}

TEST_F(P50XRun, NoCommandStationStopsTheConnectAndLeavesTheSelectionUsable) {
  station.SetSilent(true);

  driver.Click(window.connectButton);
  ASSERT_TRUE(WaitFor([] { return !Notifications().messages.isEmpty(); }, 10000));
  EXPECT_EQ(Notifications().messages, QStringList{"Geen Intellibox of Twin-Center aangesloten."});
  EXPECT_TRUE(window.selectionPanel->isVisible());
  EXPECT_FALSE(window.serialPort->Connected());
  EXPECT_FALSE(window.eventPollTimer->isActive());
  // The station reads on its own thread: the last probe may still be on its way to it.
  EXPECT_TRUE(WaitFor([&] { return station.ReceivedData().size() >= 4; }));
  EXPECT_EQ(station.ReceivedData(), QByteArray(4, '\xC4'));

  LocoNetSimulator loconet;
  window.CentralButton(CentralType::LocoNet)->setChecked(true);
  window.serialPort->SetPort(loconet.SlavePath());
  driver.Click(window.connectButton);
  // The station echoes the power-on; only a port that raises receive events logs it.
  EXPECT_TRUE(WaitFor([&] { return window.receiveLog->Lines().contains("837C"); }));
}

TEST_F(P50XRun, CommandStationFallingSilentStopsTheRunAtItsStepAndNotTheClose) {
  Connect();

  station.SetSilent(true);
  ASSERT_TRUE(WaitFor(
      [&] { return window.connectionLog->Lines().contains("No reply from the command station"); }));
  ASSERT_NO_FATAL_FAILURE(Program());
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("Stap 1 van 4"));
  EXPECT_TRUE(Notifications().messages.first().contains("No reply from the command station"));
  EXPECT_EQ(window.connectionLog->Lines().filter("Programmeren afgebroken").size(), 1);
  EXPECT_FALSE(window.connectionLog->Lines().contains(kProgrammed));

  ASSERT_NO_FATAL_FAILURE(CloseWithTheButton());
  EXPECT_FALSE(window.serialPort->Connected());
  EXPECT_EQ(Notifications().messages.size(), 1);
}

TEST_F(P50XRun, UnpluggedAdapterIsReportedOnceAndTheWindowStillCloses) {
  Connect();

  station.Unplug();
  ASSERT_TRUE(WaitFor([&] { return !Notifications().messages.isEmpty(); }));
  // The poll stops with its first failure instead of raising a box every 100 ms.
  WaitFor([] { return false; }, 400);
  EXPECT_EQ(Notifications().messages.size(), 1);
  EXPECT_FALSE(window.eventPollTimer->isActive());

  window.close();
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  EXPECT_FALSE(window.serialPort->Connected());
}

TEST_F(P50XRun, CloseWhileAPollWaitsForItsReplyStillSwitchesThePowerOff) {
  Connect();
  station.SetReplyDelay(300);
  // The close has to come from inside the poll's reply wait, where only timers run.
  const int pollsBefore = station.EventQueries();
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (station.EventQueries() == pollsBefore) return;
    closer.stop();
    station.ClearReceived();
    window.close();
  });
  closer.start(5);

  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  EXPECT_EQ(WithoutPolls(station.ReceivedData()), Hex("78 A6"));
  EXPECT_FALSE(window.connectionLog->Text().contains("Opdracht overgeslagen"));
  EXPECT_FALSE(window.serialPort->Connected());
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

}  // namespace
