// The real main window against the SRCP server simulator, on a port of the system's choosing
// that the window is pointed at as a user would, in the server address field: a per-bus server
// gets bus 6 switched on and the run carried out; a server without bus 6, a flooding one and
// none at all never end with the success line.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "SrcpInfoListener.h"
#include "SrcpServer.h"
#include "Wd10Learner.h"
#include "platform/LogPane.h"
#include "support/RecordingNotifier.h"
#include "support/TestedWindow.h"
#include "support/WaitFor.h"
#include "support/WindowDriver.h"
#include "window/AddressSpinBox.h"
#include "window/RememberedSettings.h"

namespace {

using Lines = std::vector<std::string>;

// The command session's lines of a DDW 0.8 server's handshake.
constexpr std::size_t kHandshakeLines = 6;

class SrcpWindow : public testing::Test {
 protected:
  void PointAt(int port) {
    window.SrcpServerEdit->setText(QStringLiteral("127.0.0.1:%1").arg(port));
    driver.Choose(window.CentralButton(CentralType::Srcp));
  }
  void Connect(const char* greeting, bool withoutBus = false) {
    server = std::make_unique<SrcpServer>(greeting, 0);
    server->SetWithoutAccessoryBus(withoutBus);
    PointAt(server->Port());
    ASSERT_TRUE(WaitFor([&] { return window.receiveLog->Text().contains("SRCP 0.8"); }));
    driver.Click(window.connectButton);
    ASSERT_TRUE(WaitFor([&] { return !window.selectionPanel->isVisible(); }));
  }
  void Program() {
    driver.Click(window.programButton);
    ASSERT_TRUE(WaitFor([&] { return window.closeButton->isVisible(); }, 60000));
  }
  long Count(const char* beginning) {
    const Lines lines = server->ReceivedLines(0);
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.starts_with(beginning); });
  }

  std::unique_ptr<SrcpServer> server;
  TestedWindow window;
  WindowDriver driver{window};
};

// A current Linux server starts every bus without power and holds the commands for a bus
// without power: the link switches bus 6 on as well, and off again at the close.
TEST_F(SrcpWindow, PerBusServerGetsBusSixSwitchedOnAndCarriesTheRunOut) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kSrcpdGreeting));
  EXPECT_TRUE(WaitFor([&] { return Count("SET 6 POWER ON") == 1; }));
  ASSERT_NO_FATAL_FAILURE(Program());
  EXPECT_TRUE(window.connectionLog->Lines().contains(kProgrammed));
  for (const char* report : {"INFO 6 GA 1 1 1", "INFO 6 GA 2 1 1", "INFO 6 GA 5 1 1"})
    EXPECT_TRUE(window.infoLog->Text().contains(report)) << report;

  driver.Click(window.closeButton);
  ASSERT_TRUE(WaitFor([&] { return server->ConnectionClosed(0); }));
  const Lines all = server->ReceivedLines(0);
  EXPECT_EQ(Lines(all.end() - 3, all.end()),
            Lines({"SET 6 POWER OFF\r\n", "SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
}

// The server reports an accessory by its number; "07" must be sent as that number for the
// report to be recognised, and for the decoder to learn 7.
TEST_F(SrcpWindow, FirstAddressWithALeadingZeroIsProgrammedAsItsNumber) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kSrcpdGreeting));
  SrcpInfoListener listener(server->Port());
  listener.Start();
  ASSERT_TRUE(WaitFor([&] { return listener.InSession(); }));
  window.firstAddressEdit->SetText(QStringLiteral("07"));
  ASSERT_NO_FATAL_FAILURE(Program());
  EXPECT_TRUE(window.connectionLog->Lines().contains(kProgrammed));
  EXPECT_EQ(Count("SET 6 GA 7 1 1 200"), 1);

  ASSERT_TRUE(WaitFor([&] { return listener.Log().TurnoutsSwitchedOn().size() >= 4; }));
  Wd10Learner learner;
  for (int turnout : listener.Log().TurnoutsSwitchedOn()) learner.Hear(turnout);
  const std::optional<Wd10Learnt> learnt = learner.Learnt();
  ASSERT_TRUE(learnt);
  EXPECT_EQ(learnt->firstAddress, 7);
  EXPECT_TRUE(learnt->groupBAddressAsExpected);
}

// Three decoders on one session through "Volgende decoder": every run's replies and track
// reports are told apart from the runs before, and the server switches each decoder's four
// commands through, with no second handshake or power on.
TEST_F(SrcpWindow, ThreeDecodersOnOneSessionEachLearnTheirOwn) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kSrcpdGreeting));
  SrcpInfoListener listener(server->Port());
  listener.Start();
  ASSERT_TRUE(WaitFor([&] { return listener.InSession(); }));
  window.firstAddressEdit->SetValue(9);
  for (int decoder = 0; decoder < 3; ++decoder) {
    if (decoder > 0) driver.Click(window.nextDecoderButton);
    window.groupAModes[decoder]->setChecked(true);
    ASSERT_NO_FATAL_FAILURE(Program());
    EXPECT_EQ(window.connectionLog->Lines().last(), kProgrammed) << decoder;
  }
  ASSERT_TRUE(WaitFor([&] { return listener.Log().TurnoutsSwitchedOn().size() >= 12; }));
  const std::vector<int> heard = listener.Log().TurnoutsSwitchedOn();
  ASSERT_EQ(heard.size(), 12u);
  for (int decoder = 0; decoder < 3; ++decoder) {
    SCOPED_TRACE(decoder);
    Wd10Learner learner;
    for (int i = 0; i < 4; ++i) learner.Hear(heard[4 * decoder + i]);
    const std::optional<Wd10Learnt> learnt = learner.Learnt();
    ASSERT_TRUE(learnt);
    EXPECT_EQ(learnt->firstAddress, 9 + 8 * decoder);
    EXPECT_TRUE(learnt->groupBAddressAsExpected);
    EXPECT_EQ(learnt->modeAName, window.groupAModes[decoder]->text());
    EXPECT_EQ(learnt->modeBName, window.groupBModes[0]->text());
  }
  EXPECT_EQ(Count("SET 1 POWER ON"), 1);
  EXPECT_EQ(Count("GO"), 1);
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

// The power the accessories need (bus 1 of a DDW server, bus 6 of one with a switch per bus),
// cut between two runs, is switched on again before the next run sends its first command; cut
// in the middle of a run, it stops the run at that step with the server's report.
class SrcpPowerCut : public SrcpWindow, public testing::WithParamInterface<const char*> {};

TEST_P(SrcpPowerCut, BetweenRunsIsSwitchedOnAgainAndInARunStopsIt) {
  const bool perBus = GetParam() == std::string(SrcpServer::kSrcpdGreeting);
  const std::string powerOn = perBus ? "SET 6 POWER ON" : "SET 1 POWER ON";
  const QString cut = perBus ? "INFO 6 POWER OFF" : "INFO 1 POWER OFF";
  ASSERT_NO_FATAL_FAILURE(Connect(GetParam()));
  ASSERT_NO_FATAL_FAILURE(Program());
  ASSERT_EQ(window.connectionLog->Lines().last(), kProgrammed);

  // The session's start reported every bus without power already.
  const qsizetype reportsBefore = window.infoLog->Text().count(cut);
  server->CutPower();
  ASSERT_TRUE(WaitFor([&] { return window.infoLog->Text().count(cut) > reportsBefore; }));
  driver.Click(window.nextDecoderButton);
  ASSERT_NO_FATAL_FAILURE(Program());
  EXPECT_TRUE(Notifications().messages.isEmpty());
  EXPECT_TRUE(window.connectionLog->Lines().first().contains(cut));
  EXPECT_EQ(window.connectionLog->Lines().last(), kProgrammed);
  const Lines lines = server->ReceivedLines(0);
  const auto firstOfRun = std::find(lines.begin(), lines.end(), "SET 6 GA 9 1 1 200\r\n");
  EXPECT_EQ(std::count_if(lines.begin(), firstOfRun,
                          [&](const std::string& line) { return line.starts_with(powerOn); }),
            2)
      << "switched on again before the run's first command";

  // Long enough for the report to come within the step's pause.
  window.stepPauseTimer->setInterval(600);
  server->CutPowerAfterAccessoryCommands(2);
  driver.Click(window.nextDecoderButton);
  ASSERT_NO_FATAL_FAILURE(Program());
  ASSERT_EQ(Notifications().messages.size(), 1);
  const QString box = Notifications().messages.first();
  EXPECT_TRUE(box.contains("stap 2 van 4") && box.contains(cut)) << box.toStdString();
  EXPECT_FALSE(window.connectionLog->Lines().contains(kProgrammed));
}

INSTANTIATE_TEST_SUITE_P(Servers, SrcpPowerCut,
                         testing::Values(SrcpServer::kDdw08Greeting, SrcpServer::kSrcpdGreeting),
                         [](const auto& info) {
                           return std::string(info.index == 0 ? "Ddw08" : "PowerPerBus");
                         });

TEST_F(SrcpWindow, ServerWithoutTheAccessoryBusStopsTheRunAtTheFirstStep) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kSrcpdGreeting, true));
  ASSERT_NO_FATAL_FAILURE(Program());
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("stap 1 van 4"));
  EXPECT_TRUE(Notifications().messages.first().contains("412"));
  EXPECT_FALSE(window.connectionLog->Lines().contains(kProgrammed));
}

// Either the run saw every "no data" reply (each new accessory initialised before its second
// SET) and says so, or a reply drowned and the run says it stopped: never "programmed" for
// commands the server did not take.
TEST_F(SrcpWindow, FloodingServerCannotHideItsReplies) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw08Greeting));
  server->SetFlood(true);
  ASSERT_NO_FATAL_FAILURE(Program());
  server->SetFlood(false);
  if (window.connectionLog->Lines().contains(kProgrammed))
    EXPECT_TRUE(Count("INIT 6 GA") == 3 && Notifications().messages.isEmpty());
  else
    EXPECT_EQ(Notifications().messages.size(), 1);
}

TEST_F(SrcpWindow, ConnectWithoutAServerExplainsAndConnectsOnceOneRuns) {
  const int port = SrcpServer(SrcpServer::kDdw08Greeting, 0).Port();
  PointAt(port);
  ASSERT_TRUE(WaitFor([&] { return !Notifications().messages.isEmpty(); }));
  EXPECT_TRUE(Notifications().messages.first().contains("10061"));
  EXPECT_EQ(Notifications().details.first(),
            QStringLiteral("Er draait geen SRCP-server op 127.0.0.1:%1. Start de server en druk "
                           "daarna op \"Verbinden\".")
                .arg(port));
  // "Verbinden" with nothing listening: no programming panel, no run.
  Notifications().Reset();
  driver.Click(window.connectButton);
  EXPECT_TRUE(WaitFor([&] { return window.connectButton->isEnabled(); }));
  EXPECT_FALSE(Notifications().messages.isEmpty());
  EXPECT_FALSE(window.programmingPanel->isVisible());

  server = std::make_unique<SrcpServer>(SrcpServer::kDdw08Greeting, port);
  Notifications().Reset();
  driver.Click(window.connectButton);
  EXPECT_TRUE(WaitFor([&] { return Count("SET 1 POWER ON") == 1 && window.Connected(); }));
  EXPECT_FALSE(window.selectionPanel->isVisible());
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

// A server that stops, and then connections that are reset, while the window waits for its
// run: each time one box says so, "Verbinden" is offered again and makes a new handshake.
TEST_F(SrcpWindow, LostSessionOffersVerbindenAgainWithANewHandshake) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw08Greeting));
  const int port = server->Port();
  const auto sessionLost = [&] {
    ASSERT_TRUE(WaitFor([&] { return window.selectionPanel->isVisible(); }));
    EXPECT_FALSE(window.programmingPanel->isVisible());
    ASSERT_EQ(Notifications().messages.size(), 1)
        << Notifications().messages.join('|').toStdString();
    EXPECT_TRUE(Notifications().messages.first().startsWith(
        QStringLiteral("De verbinding met de SRCP-server op 127.0.0.1:%1 is verbroken").arg(port)));
    Notifications().Reset();
  };
  const auto handshakeOn = [&](int connection) {
    driver.Click(window.connectButton);
    ASSERT_TRUE(WaitFor([&] { return window.connectButton->isEnabled(); }));
    EXPECT_EQ(server->ReceivedLines(connection).size(), kHandshakeLines);
    EXPECT_FALSE(window.selectionPanel->isVisible());
    EXPECT_TRUE(Notifications().messages.isEmpty());
  };
  server.reset();
  ASSERT_NO_FATAL_FAILURE(sessionLost());
  server = std::make_unique<SrcpServer>(SrcpServer::kDdw08Greeting, port);
  ASSERT_NO_FATAL_FAILURE(handshakeOn(0));

  server->ResetConnections();
  ASSERT_NO_FATAL_FAILURE(sessionLost());
  ASSERT_NO_FATAL_FAILURE(handshakeOn(2));
}

// While "Verbinden" makes its handshake the address cannot be changed: the link being connected
// stays, with its session.
TEST_F(SrcpWindow, ServerFieldTakesNoOtherAddressWhileVerbindenConnects) {
  SrcpServer other(SrcpServer::kDdw08Greeting, 0);
  server = std::make_unique<SrcpServer>(SrcpServer::kSrcpdGreeting, 0);
  PointAt(server->Port());
  ASSERT_TRUE(WaitFor([&] { return window.receiveLog->Text().contains("SRCP 0.8"); }));
  QTimer::singleShot(200, &window, [&] {
    QTest::keyClick(window.SrcpServerEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window.SrcpServerEdit, QStringLiteral("127.0.0.1:%1").arg(other.Port()));
    QTest::keyClick(window.SrcpServerEdit, Qt::Key_Return);
  });
  driver.Click(window.connectButton);
  ASSERT_TRUE(WaitFor([&] { return window.connectButton->isEnabled(); }));
  ASSERT_FALSE(window.selectionPanel->isVisible());
  EXPECT_FALSE(
      WaitFor([&] { return server->ConnectionClosed(0) || other.ConnectionCount() > 0; }, 500));
}

// An address that names no server is not connected to, neither is the one before it, and it is
// not remembered in place of the server last used.
TEST_F(SrcpWindow, InvalidAddressIsNeitherConnectedToNorRemembered) {
  server = std::make_unique<SrcpServer>(SrcpServer::kDdw08Greeting, 0);
  const QString used = QStringLiteral("127.0.0.1:%1").arg(server->Port());
  PointAt(server->Port());
  ASSERT_TRUE(WaitFor([&] { return window.receiveLog->Text().contains("SRCP 0.8"); }));
  window.SrcpServerEdit->setText(QStringLiteral("layout-pi:99999"));
  emit window.SrcpServerEdit->editingFinished();
  ASSERT_EQ(Notifications().messages.size(), 1);

  Notifications().Reset();
  driver.Click(window.connectButton);
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().startsWith(
      "\"layout-pi:99999\" is geen geldig adres van een SRCP-server; zonder geldig adres"));
  EXPECT_TRUE(window.selectionPanel->isVisible());
  EXPECT_EQ(server->ReceivedLines(0), Lines());

  window.close();
  EXPECT_EQ(RememberedSettings().SrcpServer(), used);
}

// Another address connects there, whichever server station is chosen, and an invalid one is
// refused without a connection.
TEST_F(SrcpWindow, EnteringAnotherAddressConnectsThereAndAnInvalidOneNowhere) {
  SrcpServer first(SrcpServer::kDdw08Greeting, 0);
  server = std::make_unique<SrcpServer>(SrcpServer::kSrcpdGreeting, 0);
  PointAt(first.Port());
  ASSERT_TRUE(WaitFor([&] { return first.ConnectionCount() == 1; }));

  window.SrcpServerEdit->setText(QStringLiteral(" 127.0.0.1:%1 ").arg(server->Port()));
  emit window.SrcpServerEdit->editingFinished();
  EXPECT_TRUE(WaitFor([&] { return window.receiveLog->Text().contains("srcpd V2.1.3"); }));
  EXPECT_EQ(server->ConnectionCount(), 1);

  window.SrcpServerEdit->setText(QStringLiteral("127.0.0.1:99999"));
  emit window.SrcpServerEdit->editingFinished();
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("geen geldig adres"));
  EXPECT_EQ(first.ConnectionCount() + server->ConnectionCount(), 2);
}

}  // namespace
