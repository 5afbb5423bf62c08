// The SRCP central type end to end on ports of the system's choosing: the real window programs
// a WD10 through the SRCP server simulator, and through the sorvell-sim tool as a user would run
// it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "SimTool.h"
#include "SrcpInfoListener.h"
#include "SrcpServer.h"
#include "WD10/TSpinEdit.h"
#include "Wd10Learner.h"
#include "support/WindowDriver.h"
#include "platform/TMemo.h"
#include "support/WaitFor.h"

namespace {

// Address 17, group A "Sein met 4 begrippen" (7), group B "4 uitgangen als aan/uit (K84)" (4).
void EnterDecoderSettings(TFrm_WD10& window) {
  window.SpinEdit1->SetValue(17);
  window.RadioButton[6]->setChecked(true);
  window.RadioButton[10]->setChecked(true);
}

// Chooses SRCP at the server's address, connects once the greeting is in, programs and closes.
void ProgramThroughSrcp(TFrm_WD10& window, WindowDriver& driver, int port) {
  window.SrcpServerEdit->setText(QStringLiteral("127.0.0.1:%1").arg(port));
  window.RadioButton19->setChecked(true);
  ASSERT_TRUE(WaitFor([&] { return window.Memo3->Text().contains("DDW V 0.8"); }));
  driver.Click(window.Button1);
  EnterDecoderSettings(window);
  driver.Click(window.Button2);
  ASSERT_TRUE(WaitFor([&] { return window.Button3->isVisible(); }, 15000));
  EXPECT_EQ(window.Memo1->Lines(),
            QStringList({"Zet wisselnummer: 17", "Zet wisselnummer: 7", "Zet wisselnummer: 21",
                         "Zet wisselnummer: 4", "Druk op de programmeerknop van de WD10"}));
  driver.Click(window.Button3);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
}

TEST(SrcpLearn, TheDecoderLearnsTheEnteredAddressAndModes) {
  SrcpServer server(SrcpServer::kDdw08Greeting, 0);
  SrcpInfoListener listener(server.Port());
  listener.Start();
  ASSERT_TRUE(WaitFor([&] { return listener.InSession(); }));
  TFrm_WD10 window;
  WindowDriver driver(window);

  ProgramThroughSrcp(window, driver, server.Port());

  // Each SET of a new accessory is refused once and repeated after INIT: only one reaches
  // the track.
  ASSERT_TRUE(WaitFor([&] { return listener.Log().TurnoutsSwitchedOn().size() >= 4; }));
  Wd10Learner learner;
  for (int turnout : listener.Log().TurnoutsSwitchedOn()) learner.Hear(turnout);
  ASSERT_TRUE(learner.Learnt());
  const Wd10Learnt learnt = *learner.Learnt();
  EXPECT_EQ(learnt.firstAddress, 17);
  EXPECT_EQ(learnt.decoderNumber, 5);
  EXPECT_EQ(learnt.modeAName, "Sein met 4 begrippen");
  EXPECT_EQ(learnt.groupBAddress, 21);
  EXPECT_TRUE(learnt.groupBAddressAsExpected);
  EXPECT_EQ(learnt.modeBName, "4 uitgangen als aan/uit (K84)");
  EXPECT_EQ(listener.Log().TurnoutsSwitchedOn().size(), 4u);
}

TEST(SrcpSimTool, ProgramsThroughTheToolAsTheUserDoes) {
  QTemporaryDir runtime;
  SimTool tool(runtime.path());
  tool.Start({"srcp", "0"});
  ASSERT_TRUE(tool.WaitForOutput("In Sorvell choose \"SRCP 0.8\" and press \"Verbinden\""));
  const QRegularExpressionMatch listening =
      QRegularExpression(QStringLiteral("server on 127\\.0\\.0\\.1:(\\d+)\n")).match(tool.Output());
  ASSERT_TRUE(listening.hasMatch()) << tool.Output().toStdString();
  TFrm_WD10 window;
  WindowDriver driver(window);

  ProgramThroughSrcp(window, driver, listening.captured(1).toInt());

  ASSERT_TRUE(tool.WaitForOutput(
      "  group B: turnout address 21, mode 4 \"4 uitgangen als aan/uit (K84)\""));
  EXPECT_TRUE(
      tool.Output().contains("A WD10 in learning mode has learnt:\n"
                             "  first turnout address 17 (decoder number 5)\n"
                             "  group A: mode 7 \"Sein met 4 begrippen\"\n"));
  EXPECT_TRUE(tool.Output().contains(" power on (SRCP bus 1)\n"));
  EXPECT_TRUE(tool.Output().contains(" accessory 17 initialised (protocol N)\n"));
  ASSERT_TRUE(tool.End());
  EXPECT_EQ(tool.ExitCode(), 0);
}

TEST(SrcpSimTool, RefusesToStartWhenThePortIsTaken) {
  SrcpServer server(SrcpServer::kDdw08Greeting, 0);
  QTemporaryDir runtime;
  SimTool tool(runtime.path());
  tool.Start({"srcp", QString::number(server.Port())});
  ASSERT_TRUE(tool.Finished());
  EXPECT_EQ(tool.ExitCode(), 1);
  EXPECT_EQ(tool.ErrorOutput(), QStringLiteral("sorvell-sim: port %1 on 127.0.0.1 is in use, "
                                               "perhaps by another SRCP server; end that one "
                                               "first\n")
                                    .arg(server.Port()));
}

}  // namespace
