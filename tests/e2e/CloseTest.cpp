// A close from the title bar at any moment, from the port dialog to a series' question, with two
// busy threads beside the window: where a station is connected, its power-off is the last thing
// on the wire and goes out once; the program ends, with no window of it left on the screen.
// ctest runs these offscreen, on an X11 desktop with a window manager, and on a Wayland
// compositor (scripts/on-desktop.sh).

#include <qpa/qwindowsysteminterface.h>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>

#include "SerialRun.h"

namespace {

// Two threads that keep the processor busy, as on a machine busy with other work.
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

// Asks to close the window as the close button of its title bar does. On X11 the request goes
// through the window manager, as a click there sends it; elsewhere it is delivered as the
// platform delivers a compositor's request, on the path where the toolkit drops the close of a
// window that a modal one blocks.
void CloseFromTheTitleBar(QWidget& window) {
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    QProcess::startDetached(QStringLiteral("wmctrl"),
                            {QStringLiteral("-i"), QStringLiteral("-c"),
                             QStringLiteral("0x%1").arg(window.winId(), 0, 16)});
    return;
  }
  QWindowSystemInterface::handleCloseEvent(window.windowHandle());
}

template <typename Shown>
Shown* ShownWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* shown = qobject_cast<Shown*>(widget); shown && shown->isVisible()) return shown;
  return nullptr;
}

bool NoWindowLeft() {
  return std::ranges::none_of(QApplication::topLevelWidgets(),
                              [](const QWidget* widget) { return widget->isVisible(); });
}

template <class Station>
class CloseFromTheTitleBarAt : public SerialRun<Station> {
 protected:
  CloseFromTheTitleBarAt() {
    // The desktop's own boxes: a close must get past them.
    SetUserNotifier(nullptr);
  }
  ~CloseFromTheTitleBarAt() override { SetUserNotifier(&Notifications()); }

  // Closes at the moment and checks the end: the power-off byte the last one, once, where
  // expected, and nothing of the program left on the screen.
  void CloseAndExpectTheEnd(char powerOff, bool stationConnected) {
    CloseFromTheTitleBar(this->window);
    // An impatient user asks again: still one power-off.
    QTimer::singleShot(20, &this->window, [this] { CloseFromTheTitleBar(this->window); });
    ASSERT_TRUE(WaitFor([&] { return NoWindowLeft(); }, 10000));
    WaitFor([] { return false; }, 100);  // anything sent after the end would arrive now
    const QByteArray received = this->station.ReceivedData();
    if (stationConnected) {
      EXPECT_TRUE(received.endsWith(powerOff)) << received.toHex(' ').toStdString();
      EXPECT_EQ(received.count(powerOff), 1) << received.toHex(' ').toStdString();
    } else {
      EXPECT_FALSE(received.contains(powerOff)) << received.toHex(' ').toStdString();
    }
    EXPECT_FALSE(this->window.serialPort->Connected());
  }

  CpuLoad load;
};

using CloseFromTheTitleBarAtMaerklin = CloseFromTheTitleBarAt<MaerklinSimulator>;
constexpr char kMaerklinStop = '\x61';

TEST_F(CloseFromTheTitleBarAtMaerklin, ThePortDialog) {
  PortSettingsDialog::SetAnswerHook(nullptr);
  driver.Click(window.connectButton);
  ASSERT_TRUE(WaitFor([] { return ShownWindow<PortSettingsDialog>() != nullptr; }));
  CloseAndExpectTheEnd(kMaerklinStop, false);
}

TEST_F(CloseFromTheTitleBarAtMaerklin, ABoxOpenOverTheWindow) {
  Connect();
  ShowMessage(QStringLiteral("Verbinding met de Centrale is verbroken"));
  ASSERT_TRUE(WaitFor([] { return ShownWindow<QMessageBox>() != nullptr; }));
  CloseAndExpectTheEnd(kMaerklinStop, true);
}

TEST_F(CloseFromTheTitleBarAtMaerklin, TheFirstStepOfARun) {
  Connect();
  window.stepPauseTimer->setInterval(4000);
  driver.Click(window.programButton);
  ASSERT_TRUE(WaitFor([&] { return station.ReceivedCount() >= 4; }));
  CloseAndExpectTheEnd(kMaerklinStop, true);
  EXPECT_EQ(station.ReceivedData(), Hex("60 220120 61")) << "no second step";
}

TEST_F(CloseFromTheTitleBarAtMaerklin, TheQuestionOfASeries) {
  Connect();
  DecoderListWindow& list = window.ListWindow();
  list.show();
  driver.Click(list.addButton);
  driver.Click(list.seriesButton);
  ASSERT_TRUE(WaitFor([] { return ShownWindow<QMessageBox>() != nullptr; }));
  CloseAndExpectTheEnd(kMaerklinStop, true);
  EXPECT_EQ(station.ReceivedData(), Hex("60 61")) << "nothing of the series";
}

using CloseFromTheTitleBarAtP50X = CloseFromTheTitleBarAt<ReportingP50XSimulator>;
constexpr char kP50XPowerOff = '\xA6';

TEST_F(CloseFromTheTitleBarAtP50X, TheInterfaceDetection) {
  driver.Click(window.connectButton);
  // Past the long break, in the middle of the probes at each baud rate.
  ASSERT_TRUE(WaitFor([&] { return station.ReceivedCount() >= 1; }));
  CloseAndExpectTheEnd(kP50XPowerOff, true);
}

TEST_F(CloseFromTheTitleBarAtP50X, TheEventPollOfAConnectedStation) {
  Connect();
  CloseAndExpectTheEnd(kP50XPowerOff, true);
}

}  // namespace
