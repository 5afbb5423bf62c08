// The main window with "Märklin 6050/6051" against a bare pty, as the interface never answers:
// the bytes of connect, programming and close, closing in the middle of the next decoder's run
// (the first's: CloseTest), and the adapter missing or unplugged. An interface that drops CTS is
// played by an in-memory line, as a pty has no modem lines.

#include "SerialRun.h"
#include "serial/MemoryDevice.h"
#include "window/RunFailureMessage.h"

namespace {

using namespace std::chrono_literals;

using MaerklinRun = SerialRun<MaerklinSimulator>;

TEST_F(MaerklinRun, ConnectProgramAndClose) {
  Connect();
  EXPECT_EQ(station.ReceivedData(), Hex("60"));
  EXPECT_TRUE(window.signalsPanel->isVisible());

  window.firstAddressEdit->SetValue(241);
  ASSERT_NO_FATAL_FAILURE(Program());
  EXPECT_EQ(station.ReceivedData(), Hex("60 22F120 220220 22F520 220220"));
  const auto bytes = station.Received();
  EXPECT_GE(bytes[3].at - bytes[2].at, 90ms) << "the solenoid pulse lasts 100 ms";
  EXPECT_EQ(window.connectionLog->Lines(),
            QStringList({"Zet wisselnummer: 241", "Zet wisselnummer: 2", "Zet wisselnummer: 245",
                         "Zet wisselnummer: 2", UnconfirmedRunLogLine(),
                         "Druk op de programmeerknop van de WD10"}));

  driver.Click(window.closeButton);
  ASSERT_TRUE(WaitFor([&] { return station.ReceivedCount() >= 14; }));
  EXPECT_EQ(station.ReceivedData().back(), '\x61');
  EXPECT_FALSE(window.serialPort->Connected());
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

// "Volgende decoder" at the highest first address the interface reaches keeps that address, and
// a close during the next run stops it as during the first (CloseTest): nothing between the
// runs, the stop byte after the step under way.
TEST_F(MaerklinRun, CloseDuringTheNextDecodersRunStopsItCleanly) {
  Connect();
  window.firstAddressEdit->SetValue(241);
  ASSERT_NO_FATAL_FAILURE(Program());
  EXPECT_TRUE(window.nextDecoderButton->isVisible());
  driver.Click(window.nextDecoderButton);
  EXPECT_EQ(window.firstAddressEdit->Text(), "241");
  // Halfway through the first step's 100 ms solenoid pulse.
  window.stepPauseTimer->setInterval(400);
  QTimer::singleShot(50, &window, [&] { window.close(); });
  driver.Click(window.programButton);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible() && station.ReceivedCount() >= 17; }));
  EXPECT_EQ(station.ReceivedData(), Hex("60 22F120 220220 22F520 220220 22F120 61"));
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

TEST_F(MaerklinRun, UnpluggedAdapterIsReportedAndTheWindowStillCloses) {
  Connect();
  station.Unplug();
  driver.Click(window.programButton);
  // The run stops at its first step with one box that says what failed; no success line.
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("Stap 1 van 4"));
  EXPECT_TRUE(Notifications().messages.first().contains("WriteFile function failed"));
  EXPECT_NE(window.connectionLog->Lines().last(), "Druk op de programmeerknop van de WD10");
  EXPECT_TRUE(window.closeButton->isVisible());

  window.close();
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  EXPECT_FALSE(window.serialPort->Connected());
}

// CTS drops in the middle of step 2; with CTS flow control on, the rest of the step stays in
// the port's output queue.
struct ClearToSendDrop {
  const char* name;
  bool ctsFlow;
  const char* sent;  // hex
  int queued;
  const char* missing;
  // The connection watch's delay: inside the step pause of 400 ms, or running out after the run.
  int watchMs;
};

class MaerklinCtsRun : public MaerklinRun, public testing::WithParamInterface<ClearToSendDrop> {
 protected:
  MaerklinCtsRun() {
    line->SetSignal(csCTS, true);
    window.serialPort->UseDevice(std::make_unique<MemoryDevice>(line));
  }
  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
};

TEST_P(MaerklinCtsRun, StopsTheRunAtTheStepItHit) {
  const ClearToSendDrop& c = GetParam();
  window.serialPort->FlowControl().SetOutCTSFlow(c.ctsFlow);
  window.stepPauseTimer->setInterval(400);
  window.connectionWatchTimer->setInterval(c.watchMs);
  driver.Click(window.connectButton);
  ASSERT_TRUE(WaitFor([&] { return window.Connected(); }));
  ASSERT_EQ(line->Written(), Hex("60"));
  QTimer dropper;
  QObject::connect(&dropper, &QTimer::timeout, [&] {
    if (line->Written().size() < 6) return;  // go, step 1, and the first two bytes of step 2
    dropper.stop();
    line->SetSignal(csCTS, false);
  });
  dropper.start(1);

  ASSERT_NO_FATAL_FAILURE(Program());
  WaitFor([] { return false; }, c.watchMs + 300);

  EXPECT_EQ(line->Written().toHex(' ').toStdString(), Hex(c.sent).toHex(' ').toStdString());
  EXPECT_EQ(line->OutputCount(), c.queued);
  ASSERT_EQ(Notifications().messages.size(), 1) << Notifications().messages.join('|').toStdString();
  EXPECT_TRUE(Notifications().messages.first().contains("Stap 2 van 4"));
  EXPECT_TRUE(Notifications().messages.first().contains(QString::fromUtf8(c.missing)));
  EXPECT_FALSE(window.connectionLog->Lines().contains("Druk op de programmeerknop van de WD10"));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Drop, MaerklinCtsRun, testing::Values(
    ClearToSendDrop{"WithoutFlowControl", false, "60 220120 220220", 0,
                    "De interface liet tijdens de stap het CTS-signaal vallen.", 100},
    ClearToSendDrop{"BytesHeldBack", true, "60 220120 2202", 1,
                    "De interface heeft de opdracht niet van de poort afgenomen.", 100},
    ClearToSendDrop{"WatchRunningOutAfterTheRun", false, "60 220120 220220", 0,
                    "De interface liet tijdens de stap het CTS-signaal vallen.", 1000}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(MaerklinRun, MissingPortLeavesTheSelectionUsable) {
  window.serialPort->SetPort("/dev/no-such-serial-port");
  driver.Click(window.connectButton);
  ASSERT_TRUE(WaitFor([&] { return window.connectButton->isEnabled(); }));
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_EQ(Notifications().messages.first(), "Unable to open com port (win error code: 2)");
  EXPECT_TRUE(window.selectionPanel->isVisible());
  EXPECT_FALSE(window.programmingPanel->isVisible());
  EXPECT_TRUE(window.connectButton->isEnabled() &&
              window.CentralButton(CentralType::LocoNet)->isEnabled());
}

}  // namespace
