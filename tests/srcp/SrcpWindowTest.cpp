#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "Port4303.h"
#include "ScktComp/TClientSocket.h"
#include "SrcpServer.h"
#include "WD10/TFrm_WD10.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"

namespace {

using Lines = std::vector<std::string>;

// The real main window against the SRCP server simulator on port 4303.
class SrcpWindow : public testing::Test {
 protected:
  SrcpWindow() {
    // The four-second step pause is the program's; only this window gets a short one.
    window->Timer4->SetInterval(20);
    window->show();
  }

  void ChooseSrcpAndConnect(const char* greeting) {
    window->RadioButton19->setChecked(true);
    ASSERT_EQ(window->Button1->text(), "Verbinden");
    ASSERT_TRUE(WaitFor([&] { return window->Memo3->Text().contains(greeting); }));
    QTest::mouseClick(window->Button1, Qt::LeftButton);
  }

  Lines AwaitLines(int connection, std::size_t count) {
    WaitFor([&] { return server->ReceivedLines(connection).size() >= count; });
    return server->ReceivedLines(connection);
  }

  std::unique_ptr<SrcpServer> server = Port4303::Server(SrcpServer::kDdw08Greeting);
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
                         "Zet wisselnummer: 2", "Druk op de programmeerknop van de WD10"}));
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
  EXPECT_FALSE(window->Memo1->Lines().contains("Druk op de programmeerknop van de WD10"));
  EXPECT_TRUE(window->Button3->isVisible());
}

}  // namespace
