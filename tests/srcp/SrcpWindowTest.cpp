// The real main window against the SRCP server simulator, on a port of the system's choosing
// that the window is pointed at as a user would, in the server address field: a per-bus server
// gets bus 6 switched on and the run carried out; a server without bus 6, a flooding one and
// none at all never end with the success line.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <memory>

#include "SrcpServer.h"
#include "WD10/TFrm_WD10.h"
#include "platform/TMemo.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"
#include "support/WindowDriver.h"

namespace {

using Lines = std::vector<std::string>;

class SrcpWindow : public testing::Test {
 protected:
  void PointAt(int port) {
    window.SrcpServerEdit->setText(QStringLiteral("127.0.0.1:%1").arg(port));
    driver.Choose(window.RadioButton19);
  }
  void Connect(const char* greeting, bool withoutBus = false) {
    server = std::make_unique<SrcpServer>(greeting, 0);
    server->SetWithoutAccessoryBus(withoutBus);
    PointAt(server->Port());
    ASSERT_TRUE(WaitFor([&] { return window.Memo3->Text().contains("SRCP 0.8"); }));
    driver.Click(window.Button1);
    ASSERT_TRUE(WaitFor([&] { return !window.GroupBox1->isVisible(); }));
  }
  void Program() {
    driver.Click(window.Button2);
    ASSERT_TRUE(WaitFor([&] { return window.Button3->isVisible(); }, 15000));
  }
  long Count(const char* beginning) {
    const Lines lines = server->ReceivedLines(0);
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.starts_with(beginning); });
  }

  std::unique_ptr<SrcpServer> server;
  TFrm_WD10 window;
  WindowDriver driver{window};
};

// A current Linux server starts every bus without power and holds the commands for a bus
// without power: the link switches bus 6 on as well, and off again at the close.
TEST_F(SrcpWindow, PerBusServerGetsBusSixSwitchedOnAndCarriesTheRunOut) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kSrcpdGreeting));
  EXPECT_TRUE(WaitFor([&] { return Count("SET 6 POWER ON") == 1; }));
  ASSERT_NO_FATAL_FAILURE(Program());
  EXPECT_TRUE(window.Memo1->Lines().contains(kProgrammed));
  for (const char* report : {"INFO 6 GA 1 1 1", "INFO 6 GA 2 1 1", "INFO 6 GA 5 1 1"})
    EXPECT_TRUE(window.memo4->Text().contains(report)) << report;

  driver.Click(window.Button3);
  ASSERT_TRUE(WaitFor([&] { return server->ConnectionClosed(0); }));
  const Lines all = server->ReceivedLines(0);
  EXPECT_EQ(Lines(all.end() - 3, all.end()),
            Lines({"SET 6 POWER OFF\r\n", "SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
}

TEST_F(SrcpWindow, ServerWithoutTheAccessoryBusStopsTheRunAtTheFirstStep) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kSrcpdGreeting, true));
  ASSERT_NO_FATAL_FAILURE(Program());
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("stap 1 van 4"));
  EXPECT_TRUE(Notifications().messages.first().contains("412"));
  EXPECT_FALSE(window.Memo1->Lines().contains(kProgrammed));
}

// Either the run saw every "no data" reply (each new accessory initialised before its second
// SET) and says so, or a reply drowned and the run says it stopped: never "programmed" for
// commands the server did not take.
TEST_F(SrcpWindow, FloodingServerCannotHideItsReplies) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw08Greeting));
  server->SetFlood(true);
  ASSERT_NO_FATAL_FAILURE(Program());
  server->SetFlood(false);
  if (window.Memo1->Lines().contains(kProgrammed))
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
  driver.Click(window.Button1);
  EXPECT_FALSE(Notifications().messages.isEmpty());
  EXPECT_FALSE(window.GroupBox2->isVisible());

  server = std::make_unique<SrcpServer>(SrcpServer::kDdw08Greeting, port);
  Notifications().Reset();
  driver.Click(window.Button1);
  EXPECT_TRUE(WaitFor([&] { return Count("SET 1 POWER ON") == 1; }));
  EXPECT_FALSE(window.GroupBox1->isVisible());
  EXPECT_TRUE(Notifications().messages.isEmpty());
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
  EXPECT_TRUE(WaitFor([&] { return window.Memo3->Text().contains("srcpd V2.1.3"); }));
  EXPECT_EQ(server->ConnectionCount(), 1);

  window.SrcpServerEdit->setText(QStringLiteral("127.0.0.1:99999"));
  emit window.SrcpServerEdit->editingFinished();
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("geen geldig adres"));
  EXPECT_EQ(first.ConnectionCount() + server->ConnectionCount(), 2);
}

}  // namespace
