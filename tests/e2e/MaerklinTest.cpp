// The main window with "Märklin 6050/6051" against a bare pty, as the interface never answers:
// the bytes of connect, programming and close, closing in the middle of a run (the first, or the
// next decoder's), and the adapter missing or unplugged. An interface that drops CTS is played by
// an in-memory line, as a pty has no modem lines.
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <array>
#include <thread>

#include "CPort/MemoryDevice.h"
#include "CPortSetup/TComSetupFrm.h"
#include "SerialRun.h"
#include "WD10/DecoderListWindow.h"
#include "WD10/RunFailureMessage.h"
#include "WD10/TSpinEdit.h"
#include "platform/BlockedCloseWatch.h"

namespace {

using namespace std::chrono_literals;

using MaerklinRun = SerialRun<MaerklinSimulator>;

TEST_F(MaerklinRun, ConnectProgramAndClose) {
  Connect();
  EXPECT_EQ(station.ReceivedData(), Hex("60"));
  EXPECT_EQ(station.SlaveBaudRate(), 2400);
  EXPECT_TRUE(station.SlaveSettings().c_cflag & CSTOPB);
  EXPECT_TRUE(window.signalsPanel->isVisible());

  window.firstAddressEdit->SetValue(241);
  driver.Click(window.programButton);
  ASSERT_TRUE(WaitFor([&] { return station.ReceivedCount() >= 13; }));
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

// The close button of the window's title bar, as an X11 window manager asks for it: the watch
// sees the request first; the toolkit then delivers it unless a modal window blocks the window.
class MaerklinTitleBarClose : public MaerklinRun {
 protected:
  static constexpr std::uint32_t kProtocols = 301;
  static constexpr std::uint32_t kDeleteWindow = 302;

  // Runs the modal window as the program does and asks for the close while it is open. A modal
  // window the close did not end is cancelled after a while, so that a lost close fails the test
  // instead of hanging it.
  int ExecWithCloseFromTheTitleBar(QDialog& modal) {
    QTimer::singleShot(0, &modal, [this] { CloseFromTheTitleBar(); });
    QTimer::singleShot(3000, &modal, &QDialog::reject);
    return modal.exec();
  }

  void CloseFromTheTitleBar() { CloseFromTheTitleBar(window); }
  void CloseFromTheTitleBar(QWidget& target) {
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = std::uint32_t(target.windowHandle()->winId());
    request.type = kProtocols;
    request.data.data32[0] = kDeleteWindow;
    watch.nativeEventFilter("xcb_generic_event_t", &request, nullptr);
    if (QGuiApplication::modalWindow()) return;
    QCloseEvent close;
    QCoreApplication::sendEvent(target.windowHandle(), &close);
  }

  BlockedCloseWatch watch{kProtocols, kDeleteWindow,
                          [this](QWindow& closed) { window.CloseRequestedWhileBlocked(closed); }};
};

TEST_F(MaerklinTitleBarClose, CloseWhileThePortIsChosenEndsTheProgramUnconnected) {
  TComSetupFrm::SetExecHook(
      [this](TComSetupFrm& form) { return ExecWithCloseFromTheTitleBar(form); });
  driver.Click(window.connectButton);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  WaitFor([] { return false; }, 100);
  EXPECT_EQ(station.ReceivedCount(), 0u);
  EXPECT_FALSE(window.serialPort->Connected());
}

TEST_F(MaerklinTitleBarClose, CloseAsThePortDialogEndsEndsTheProgramUnconnected) {
  TComSetupFrm::SetExecHook([this](TComSetupFrm&) {
    QMetaObject::invokeMethod(
        &window, [this] { CloseFromTheTitleBar(); }, Qt::QueuedConnection);
    return int(QDialog::Accepted);
  });
  driver.Click(window.connectButton);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  WaitFor([] { return false; }, 100);
  EXPECT_EQ(station.ReceivedCount(), 0u);
}

TEST_F(MaerklinTitleBarClose, CloseWhileABoxIsOpenStopsTheCommandStationAndEnds) {
  Connect();
  QDialog box(&window);
  ExecWithCloseFromTheTitleBar(box);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible() && station.ReceivedCount() >= 2; }));
  EXPECT_EQ(station.ReceivedData(), Hex("6061"));
  EXPECT_FALSE(window.serialPort->Connected());
}

TEST_F(MaerklinTitleBarClose, TheListWindowClosesWhileABoxOfTheMainWindowStaysOpen) {
  Connect();
  DecoderListWindow& list = window.ListWindow();
  list.show();
  QDialog box(&window);
  bool listClosedUnderTheBox = false;
  QTimer::singleShot(0, &box, [&] {
    CloseFromTheTitleBar(list);
    listClosedUnderTheBox = WaitFor([&] { return !list.isVisible(); }) && box.isVisible();
    box.accept();
  });
  box.setModal(true);
  box.exec();
  EXPECT_TRUE(listClosedUnderTheBox);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(station.ReceivedData(), Hex("60"));
}

// Two busy threads beside the window, as on a machine busy with other work.
class CpuLoad {
 public:
  CpuLoad() {
    for (std::jthread& thread : threads_)
      thread = std::jthread([](std::stop_token stop) {
        while (!stop.stop_requested()) {
        }
      });
  }

 private:
  std::array<std::jthread, 2> threads_;
};

// Closed from the title bar at a moment after the connect: before the first step, or when the
// first run has gone on for a while; the power-off is always the last thing on the wire, once.
class MaerklinCloseUnderLoad : public MaerklinTitleBarClose,
                               public testing::WithParamInterface<std::tuple<bool, int>> {};

TEST_P(MaerklinCloseUnderLoad, EndsInThePowerOffAndTheProgramsEnd) {
  const auto [withRun, afterMs] = GetParam();
  CpuLoad load;
  Connect();
  if (withRun) driver.Click(window.programButton);
  // Pressed twice, as an impatient user does: the power-off still goes out once.
  QTimer::singleShot(afterMs, &window, [this] {
    CloseFromTheTitleBar();
    CloseFromTheTitleBar();
  });
  EXPECT_TRUE(WaitFor(
      [&] { return !window.isVisible() && station.ReceivedData().endsWith('\x61'); }, 10000));
  const QByteArray received = station.ReceivedData();
  EXPECT_TRUE(received.startsWith('\x60')) << received.toHex(' ').toStdString();
  EXPECT_EQ(received.count('\x61'), 1) << received.toHex(' ').toStdString();
  EXPECT_FALSE(window.serialPort->Connected());
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

std::string MomentName(const testing::TestParamInfo<std::tuple<bool, int>>& moment) {
  return std::string(std::get<0>(moment.param) ? "InTheRun" : "BeforeTheRun") + "After" +
         std::to_string(std::get<1>(moment.param)) + "ms";
}

INSTANTIATE_TEST_SUITE_P(Moments, MaerklinCloseUnderLoad,
                         testing::Combine(testing::Bool(), testing::Values(0, 5, 150)), MomentName);

TEST_F(MaerklinRun, CloseDuringTheRunStopsItCleanly) {
  Connect();
  // The close request comes halfway through the first step's 100 ms solenoid pulse.
  window.stepPauseTimer->SetInterval(400);
  QTimer::singleShot(50, &window, [&] { window.close(); });
  driver.Click(window.programButton);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible() && station.ReceivedCount() >= 5; }));
  // The first step went out, then the stop byte; no second step, no error box.
  EXPECT_EQ(station.ReceivedData(), Hex("60 220120 61"));
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

// "Volgende decoder" at the highest first address the interface reaches keeps that address, and
// a close during the next run stops it as during the first: nothing between the runs, the stop
// byte after the step under way.
TEST_F(MaerklinRun, CloseDuringTheNextDecodersRunStopsItCleanly) {
  Connect();
  window.firstAddressEdit->SetValue(241);
  driver.Click(window.programButton);
  ASSERT_TRUE(WaitFor([&] { return window.nextDecoderButton->isVisible(); }, 10000));
  driver.Click(window.nextDecoderButton);
  EXPECT_EQ(window.firstAddressEdit->Text(), "241");
  window.stepPauseTimer->SetInterval(400);
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
  window.stepPauseTimer->SetInterval(400);
  window.connectionWatchTimer->SetInterval(c.watchMs);
  driver.Click(window.connectButton);
  ASSERT_EQ(line->Written(), Hex("60"));
  QTimer dropper;
  QObject::connect(&dropper, &QTimer::timeout, [&] {
    if (line->Written().size() < 6) return;  // go, step 1, and the first two bytes of step 2
    dropper.stop();
    line->SetSignal(csCTS, false);
  });
  dropper.start(1);

  driver.Click(window.programButton);
  ASSERT_TRUE(WaitFor([&] { return window.closeButton->isVisible(); }));
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
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_EQ(Notifications().messages.first(), "Unable to open com port (win error code: 2)");
  EXPECT_TRUE(window.selectionPanel->isVisible());
  EXPECT_FALSE(window.programmingPanel->isVisible());
  EXPECT_TRUE(window.connectButton->isEnabled() &&
              window.CentralButton(CentralType::LocoNet)->isEnabled());
}

}  // namespace
