// The real main window against the SRCP server simulator, on a port of the system's choosing
// that the window is pointed at as a user would, in the server address field: a per-bus server
// gets bus 6 switched on and the run carried out; a flooding server and none at all never end
// with the success line.

#include "SrcpInfoListener.h"
#include "SrcpServer.h"
#include "support/ExpectLearnt.h"
#include "support/RecordingNotifier.h"
#include "support/WindowDriver.h"
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
  void Connect(const char* greeting) {
    server = std::make_unique<SrcpServer>(greeting, 0);
    PointAt(server->Port());
    ASSERT_TRUE(WaitFor([&] { return window.receiveLog->Text().contains("SRCP 0.8"); }));
    driver.Click(window.connectButton);
    ASSERT_TRUE(WaitFor([&] { return !window.selectionPanel->isVisible(); }));
  }
  void Program() {
    driver.Click(window.programButton);
    ASSERT_TRUE(WaitFor([&] { return window.closeButton->isVisible(); }, 60000));
  }
  // An information session of the test's own, where the server reports what reached the track.
  void Listen() {
    listener = std::make_unique<SrcpInfoListener>(server->Port());
    listener->Start();
    ASSERT_TRUE(WaitFor([&] { return listener->InSession(); }));
  }
  long Count(const char* beginning) {
    const Lines lines = server->ReceivedLines(0);
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.starts_with(beginning); });
  }

  std::unique_ptr<SrcpServer> server;
  std::unique_ptr<SrcpInfoListener> listener;
  TestedWindow window;
  WindowDriver driver{window};
};

// Three decoders on one session through "Volgende decoder": every run's replies and track
// reports are told apart from the runs before, and the server switches each decoder's four
// commands through, with no second handshake or power on. The server reports an accessory by
// its number: a first address typed "09" must be sent as that number for the report to be
// recognised, and for the decoder to learn 9.
TEST_F(SrcpWindow, ThreeDecodersOnOneSessionEachLearnTheirOwn) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kSrcpdGreeting));
  ASSERT_NO_FATAL_FAILURE(Listen());
  window.firstAddressEdit->SetText(QStringLiteral("09"));
  for (std::size_t decoder = 0; decoder < 3; ++decoder) {
    SCOPED_TRACE(decoder);
    if (decoder > 0) driver.Click(window.nextDecoderButton);
    window.groupAModes[decoder]->setChecked(true);
    ASSERT_NO_FATAL_FAILURE(Program());
    EXPECT_EQ(window.connectionLog->Lines().last(), kProgrammed);
    ExpectLearnt(listener->Log(), 4 * decoder, 9 + 8 * int(decoder),
                 window.groupAModes[decoder]->text(), window.groupBModes[0]->text());
  }
  EXPECT_EQ(listener->Log().TurnoutsSwitchedOn().size(), 12u);
  EXPECT_EQ(Count("SET 6 GA 9 1 1 200"), 1);
  EXPECT_EQ(Count("SET 1 POWER ON"), 1);
  EXPECT_EQ(Count("GO"), 1);
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

// The power the accessories need (bus 1 of a DDW server, bus 6 of one with a switch per bus),
// cut between two runs, is switched on again before the next run sends its first command; cut
// in the middle of a run, it stops the run at that step with the server's report. A server with a
// switch per bus (a current Linux server, which starts every bus without power and holds the
// commands for a bus without power) has bus 6 switched off again at the close as well.
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

  driver.Click(window.closeButton);
  ASSERT_TRUE(WaitFor([&] { return server->ConnectionClosed(0); }));
  Lines end = {"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"};
  if (perBus) end.insert(end.begin(), "SET 6 POWER OFF\r\n");
  const Lines all = server->ReceivedLines(0);
  EXPECT_EQ(Lines(all.end() - long(end.size()), all.end()), end);
}

INSTANTIATE_TEST_SUITE_P(Servers, SrcpPowerCut,
                         testing::Values(SrcpServer::kDdw08Greeting, SrcpServer::kSrcpdGreeting),
                         [](const auto& info) {
                           return std::string(info.index == 0 ? "Ddw08" : "PowerPerBus");
                         });

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
  EXPECT_EQ(Notifications().beeps, 2) << "a DDW 0.8 server's greeting";
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

// Another address connects there, whichever server station is chosen; one that names no server
// is refused without a connection, neither it nor the one before it is connected to, and it is
// not remembered in place of the server last used.
TEST_F(SrcpWindow, EnteringAnotherAddressConnectsThereAndAnInvalidOneNowhere) {
  SrcpServer first(SrcpServer::kDdw08Greeting, 0);
  server = std::make_unique<SrcpServer>(SrcpServer::kSrcpdGreeting, 0);
  PointAt(first.Port());
  ASSERT_TRUE(WaitFor([&] { return first.ConnectionCount() == 1; }));

  const QString used = QStringLiteral("127.0.0.1:%1").arg(server->Port());
  window.SrcpServerEdit->setText(' ' + used + ' ');
  emit window.SrcpServerEdit->editingFinished();
  EXPECT_TRUE(WaitFor([&] { return window.receiveLog->Text().contains("srcpd V2.1.3"); }));
  EXPECT_EQ(server->ConnectionCount(), 1);

  window.SrcpServerEdit->setText(QStringLiteral("layout-pi:99999"));
  emit window.SrcpServerEdit->editingFinished();
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("geen geldig adres"));
  Notifications().Reset();
  driver.Click(window.connectButton);
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().startsWith(
      "\"layout-pi:99999\" is geen geldig adres van een SRCP-server; zonder geldig adres"));
  EXPECT_TRUE(window.selectionPanel->isVisible());
  EXPECT_EQ(first.ConnectionCount() + server->ConnectionCount(), 2);
  EXPECT_EQ(server->ReceivedLines(0), Lines());

  window.close();
  EXPECT_EQ(RememberedSettings().SrcpServer(), used);
}

}  // namespace
