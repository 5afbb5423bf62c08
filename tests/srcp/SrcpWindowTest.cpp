#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <memory>

#include "ScktComp/TClientSocket.h"
#include "SrcpServer.h"
#include "WD10/TFrm_WD10.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"

namespace {

using Lines = std::vector<std::string>;

const QString kProgrammed = QStringLiteral("Druk op de programmeerknop van de WD10");

// The real main window against the SRCP server simulator, on a port of the system's choosing
// that the window is pointed at as a user would: in the server address field.
class SrcpWindow : public testing::Test {
 protected:
  SrcpWindow() {
    // The four-second step pause is the program's; only this window gets a short one.
    window->Timer4->SetInterval(20);
    window->show();
  }

  void StartServer(const char* greeting, int port = 0) {
    server = std::make_unique<SrcpServer>(greeting, port);
  }

  void ChooseSrcp() {
    window->SrcpServerEdit->setText(QStringLiteral("127.0.0.1:%1").arg(server->Port()));
    window->RadioButton19->setChecked(true);
  }

  void ChooseSrcpAndConnect(const char* greeting) {
    ChooseSrcp();
    ASSERT_EQ(window->Button1->text(), "Verbinden");
    ASSERT_TRUE(WaitFor([&] { return window->Memo3->Text().contains(greeting); }));
    QTest::mouseClick(window->Button1, Qt::LeftButton);
  }

  Lines AwaitLines(int connection, std::size_t count) {
    WaitFor([&] { return server->ReceivedLines(connection).size() >= count; });
    return server->ReceivedLines(connection);
  }

  void Program() {
    QTest::mouseClick(window->Button2, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return window->Button3->isVisible(); }, 15000));
  }

  std::unique_ptr<SrcpServer> server = std::make_unique<SrcpServer>(SrcpServer::kDdw08Greeting, 0);
  std::unique_ptr<TFrm_WD10> window = std::make_unique<TFrm_WD10>();
};

const Lines kCommandHandshake = {"SET PROTOCOL SRCP 0.8.2\r\n",
                                 "SET CONNECTIONMODE SRCP COMMAND\r\n",
                                 "GO\r\n",
                                 "INIT 1 POWER\r\n",
                                 "INIT 8 FB S88 LPT1 3\r\n",
                                 "SET 1 POWER ON\r\n"};

TEST_F(SrcpWindow, ConnectProgramAndClose) {
  ASSERT_NO_FATAL_FAILURE(ChooseSrcpAndConnect(SrcpServer::kDdw08Greeting));

  EXPECT_EQ(Notifications().beeps, 2);
  EXPECT_FALSE(window->GroupBox1->isVisible());
  EXPECT_TRUE(window->GroupBox2->isVisible());
  EXPECT_FALSE(window->GroupBox5->isVisible());
  EXPECT_EQ(AwaitLines(0, kCommandHandshake.size()), kCommandHandshake);
  EXPECT_EQ(AwaitLines(1, 3),
            Lines({"SET PROTOCOL SRCP 0.8.2\r\n", "SET CONNECTIONMODE SRCP INFO\r\n", "GO\r\n"}));

  // Default inputs: turnouts 1, 2, 5, 2. The server knows no accessory yet, so each new one is
  // initialised after its "no data" reply; the fourth step's accessory is known by then.
  QTest::mouseClick(window->Button2, Qt::LeftButton);

  const Lines program = {"SET 6 GA 1 1 1 200\r\n", "INIT 6 GA 1 N\r\n", "SET 6 GA 1 1 1 200\r\n",
                         "SET 6 GA 2 1 1 200\r\n", "INIT 6 GA 2 N\r\n", "SET 6 GA 2 1 1 200\r\n",
                         "SET 6 GA 5 1 1 200\r\n", "INIT 6 GA 5 N\r\n", "SET 6 GA 5 1 1 200\r\n",
                         "SET 6 GA 2 1 1 200\r\n"};
  const Lines afterHandshake = AwaitLines(0, kCommandHandshake.size() + program.size());
  EXPECT_EQ(Lines(afterHandshake.begin() + kCommandHandshake.size(), afterHandshake.end()),
            program);
  EXPECT_EQ(window->Memo1->Lines(),
            QStringList({"Zet wisselnummer: 1", "Zet wisselnummer: 2", "Zet wisselnummer: 5",
                         "Zet wisselnummer: 2", kProgrammed}));
  EXPECT_TRUE(WaitFor([&] { return window->memo4->Text().contains("100 INFO 6 GA 5 1 1"); }));
  ASSERT_TRUE(window->Button3->isVisible());

  QTest::mouseClick(window->Button3, Qt::LeftButton);

  const Lines all = AwaitLines(0, kCommandHandshake.size() + program.size() + 2);
  EXPECT_EQ(Lines(all.end() - 2, all.end()), Lines({"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
  EXPECT_TRUE(WaitFor([&] { return server->ConnectionClosed(0) && server->ConnectionClosed(1); }));
  EXPECT_EQ(server->ReceivedLines(1).size(), 3u);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(Notifications().messages.isEmpty())
      << Notifications().messages.join('\n').toStdString();
}

TEST_F(SrcpWindow, ClosingByTheTitleBarSendsNothing) {
  ASSERT_NO_FATAL_FAILURE(ChooseSrcpAndConnect(SrcpServer::kDdw08Greeting));
  AwaitLines(0, kCommandHandshake.size());

  window->close();
  EXPECT_FALSE(window->isVisible());
  window.reset();

  ASSERT_TRUE(WaitFor([&] { return server->ConnectionClosed(0) && server->ConnectionClosed(1); }));
  EXPECT_EQ(server->ReceivedLines(0), kCommandHandshake);
  EXPECT_EQ(server->ReceivedLines(1).size(), 3u);
}

TEST_F(SrcpWindow, ServerGoneBeforeTheRunIsReportedNotProgrammed) {
  ASSERT_NO_FATAL_FAILURE(ChooseSrcpAndConnect(SrcpServer::kDdw08Greeting));
  AwaitLines(0, kCommandHandshake.size());
  server.reset();
  ASSERT_TRUE(WaitFor([&] { return !window->ClientSocket1->Active(); }));

  QTest::mouseClick(window->Button2, Qt::LeftButton);

  EXPECT_EQ(Notifications().messages.size(), 1);
  EXPECT_FALSE(window->Memo1->Lines().contains(kProgrammed));
  EXPECT_TRUE(window->Button3->isVisible());
}

// A current Linux server starts every bus without power and holds the commands for a bus
// without power: the link switches bus 6 on as well, and off again at the close.
TEST_F(SrcpWindow, PerBusServerGetsBusSixSwitchedOnAndCarriesTheRunOut) {
  StartServer(SrcpServer::kSrcpdGreeting);
  ASSERT_NO_FATAL_FAILURE(ChooseSrcpAndConnect("SRCP 0.8"));
  ASSERT_TRUE(WaitFor([&] { return !window->GroupBox1->isVisible(); }));
  EXPECT_TRUE(WaitFor([&] {
    const Lines lines = server->ReceivedLines(0);
    return std::count(lines.begin(), lines.end(), "SET 6 POWER ON\r\n") == 1;
  }));

  ASSERT_NO_FATAL_FAILURE(Program());
  EXPECT_TRUE(window->Memo1->Lines().contains(kProgrammed));
  for (const char* report : {"INFO 6 GA 1 1 1", "INFO 6 GA 2 1 1", "INFO 6 GA 5 1 1"})
    EXPECT_TRUE(window->memo4->Text().contains(report)) << report;

  QTest::mouseClick(window->Button3, Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return server->ConnectionClosed(0); }));
  const Lines all = server->ReceivedLines(0);
  EXPECT_EQ(Lines(all.end() - 3, all.end()),
            Lines({"SET 6 POWER OFF\r\n", "SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
}

TEST_F(SrcpWindow, ServerWithoutTheAccessoryBusStopsTheRunAtTheFirstStep) {
  StartServer(SrcpServer::kSrcpdGreeting);
  server->SetWithoutAccessoryBus(true);
  ASSERT_NO_FATAL_FAILURE(ChooseSrcpAndConnect("SRCP 0.8"));
  ASSERT_TRUE(WaitFor([&] { return !window->GroupBox1->isVisible(); }));

  ASSERT_NO_FATAL_FAILURE(Program());
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("stap 1 van 4"));
  EXPECT_TRUE(Notifications().messages.first().contains("412"));
  EXPECT_FALSE(window->Memo1->Lines().contains(kProgrammed));
}

TEST_F(SrcpWindow, FloodingServerCannotHideItsReplies) {
  ASSERT_NO_FATAL_FAILURE(ChooseSrcpAndConnect(SrcpServer::kDdw08Greeting));
  AwaitLines(0, kCommandHandshake.size());
  server->SetFlood(true);
  ASSERT_NO_FATAL_FAILURE(Program());
  server->SetFlood(false);
  // Either the run saw every "no data" reply (each new accessory initialised before its second
  // SET) and says so, or a reply drowned and the run says it stopped: never "programmed" for
  // commands the server did not take.
  const Lines lines = server->ReceivedLines(0);
  const auto inits = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("INIT 6 GA", 0) == 0;
  });
  if (window->Memo1->Lines().contains(kProgrammed)) {
    EXPECT_EQ(inits, 3);
    EXPECT_TRUE(Notifications().messages.isEmpty());
  } else {
    EXPECT_EQ(Notifications().messages.size(), 1)
        << Notifications().messages.join('\n').toStdString();
  }
}

TEST_F(SrcpWindow, ConnectWithoutAServerExplainsAndConnectsOnceOneRuns) {
  const int port = server->Port();
  server.reset();
  window->SrcpServerEdit->setText(QStringLiteral("127.0.0.1:%1").arg(port));
  window->RadioButton19->setChecked(true);
  ASSERT_TRUE(WaitFor([&] { return !Notifications().messages.isEmpty(); }));
  EXPECT_TRUE(Notifications().messages.first().contains("10061"));
  EXPECT_TRUE(Notifications().details.first().contains(QStringLiteral("127.0.0.1:%1").arg(port)));

  // "Verbinden" with nothing listening: no programming panel, no run.
  Notifications().Reset();
  QTest::mouseClick(window->Button1, Qt::LeftButton);
  EXPECT_FALSE(Notifications().messages.isEmpty());
  EXPECT_TRUE(window->GroupBox1->isVisible());
  EXPECT_FALSE(window->GroupBox2->isVisible());

  StartServer(SrcpServer::kDdw08Greeting, port);
  Notifications().Reset();
  QTest::mouseClick(window->Button1, Qt::LeftButton);
  EXPECT_EQ(AwaitLines(0, kCommandHandshake.size()), kCommandHandshake);
  EXPECT_FALSE(window->GroupBox1->isVisible());
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

TEST_F(SrcpWindow, EnteringAnotherAddressConnectsThere) {
  ChooseSrcp();
  ASSERT_TRUE(WaitFor([&] { return server->ConnectionCount() == 1; }));
  SrcpServer layout(SrcpServer::kSrcpdGreeting, 0);
  window->SrcpServerEdit->setText(QStringLiteral(" 127.0.0.1:%1 ").arg(layout.Port()));
  emit window->SrcpServerEdit->editingFinished();
  EXPECT_TRUE(WaitFor([&] { return window->Memo3->Text().contains("srcpd V2.1.3"); }));
  EXPECT_EQ(layout.ConnectionCount(), 1);
  emit window->SrcpServerEdit->editingFinished();  // the same address again: no new connection
  EXPECT_EQ(layout.ConnectionCount(), 1);
}

TEST_F(SrcpWindow, InvalidServerAddressIsRefusedWithoutAConnection) {
  window->RadioButton19->setChecked(true);
  Notifications().Reset();
  const int connections = server->ConnectionCount();
  window->SrcpServerEdit->setText(QStringLiteral("127.0.0.1:99999"));
  emit window->SrcpServerEdit->editingFinished();
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("geen geldig adres"));
  EXPECT_EQ(server->ConnectionCount(), connections);
}

}  // namespace
