// The sorvell-sim tool end to end: the port it publishes, what it prints as the program's bytes
// arrive, what the WD10 learnt, and a clean end.
#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "CPort/TComPort.h"
#include "LenzSimulator.h"
#include "ProgramSide.h"
#include "SimTool.h"
#include "WD10/TSpinEdit.h"
#include "support/WindowDriver.h"
#include "platform/TMemo.h"

namespace {

class SimToolTest : public testing::Test {
 protected:
  QString Link(const QString& central) const {
    return runtime.path() + QStringLiteral("/sorvell-ports/sorvell-sim-") + central;
  }
  bool Published(const QString& central) const {
    return QFileInfo(Link(central)).symLinkTarget().startsWith(QLatin1String("/dev/pts/"));
  }

  QTemporaryDir runtime;
  SimTool tool{runtime.path()};
};

TEST_F(SimToolTest, UsageNamesEveryCentralType) {
  for (const QStringList& arguments : {QStringList{}, QStringList{"dcc"}}) {
    SimTool wrong(runtime.path());
    wrong.Start(arguments);
    ASSERT_TRUE(wrong.Finished());
    EXPECT_EQ(wrong.ExitCode(), 2);
    const QString usage = wrong.ErrorOutput();
    EXPECT_TRUE(usage.startsWith("Usage: sorvell-sim <central>"));
    for (const char* name :
         {"loconet", "\"IB/TC /LocoNet\"", "p50x", "\"IB/TC \"", "lenz", "\"Lenz/Multi-Maus\"",
          "maerklin", "\"Märklin (6050/6051)\"", "srcp", "\"SRCP 0.8\""})
      EXPECT_TRUE(usage.contains(QString::fromUtf8(name))) << name;
  }
}

TEST_F(SimToolTest, ShowsWhatArrivesAndWhatTheDecoderLearnt) {
  tool.Start({"maerklin"});
  ASSERT_TRUE(WaitFor([&] { return Published("maerklin"); }));
  ASSERT_TRUE(tool.WaitForOutput("Ctrl+C ends the simulator."));
  EXPECT_TRUE(
      tool.Output().contains("In Sorvell choose \"Märklin (6050/6051)\", press \"Kies "
                             "Compoort\" and pick the port " +
                             Link("maerklin")));
  {
    ProgramSide program(Link("maerklin"));
    program.Write(QByteArray::fromHex("60 221120 220720 221520 220820"));
    ASSERT_TRUE(
        tool.WaitForOutput("  group B: turnout address 21, mode 8 \"NS-Sein met 4 begrippen\""));
  }
  const QString output = tool.Output();
  for (const char* line : {" power on (go)\n", " turnout 17 on (green)\n", " solenoids off\n",
                           " turnout 7 on (green)\n",
                           "A WD10 in learning mode has learnt:\n"
                           "  first turnout address 17 (decoder number 5)\n"
                           "  group A: mode 7 \"Sein met 4 begrippen\"\n"})
    EXPECT_TRUE(output.contains(QString::fromUtf8(line))) << line;

  ASSERT_TRUE(tool.End());
  EXPECT_EQ(tool.ExitStatus(), QProcess::NormalExit);
  EXPECT_EQ(tool.ExitCode(), 0);
  EXPECT_TRUE(tool.Output().endsWith("sorvell-sim: ended\n"));
  EXPECT_FALSE(QFileInfo(Link("maerklin")).isSymLink());
}

TEST_F(SimToolTest, EachConnectionStartsANewLearningRound) {
  tool.Start({"lenz"});
  ASSERT_TRUE(WaitFor([&] { return Published("lenz"); }));
  ProgramSide program(Link("lenz"));
  const auto frames = [](std::initializer_list<const char*> commands) {
    QByteArray bytes;
    for (const char* command : commands)
      bytes += LenzSimulator::Frame(QByteArray::fromHex(command));
    return bytes;
  };
  // Two runs of the program, the first broken off after two commands: turnouts 1, 2, then
  // 1, 2, 5, 2 (each + 4 on the wire).
  program.Write(frames({"2181", "520188", "52018A"}));
  program.Write(frames({"2181", "520188", "52018A", "520288", "52018A"}));
  ASSERT_TRUE(tool.WaitForOutput("A WD10 in learning mode has learnt:"));
  EXPECT_TRUE(tool.WaitForOutput("  group B: turnout address 5, mode 2"));
  EXPECT_FALSE(tool.Output().contains("warning"));
  EXPECT_TRUE(tool.End());
}

TEST_F(SimToolTest, ReplacesAStaleLinkAndRefusesASecondSimulator) {
  ASSERT_TRUE(QDir().mkpath(runtime.path() + "/sorvell-ports"));
  ASSERT_TRUE(QFile::link("/dev/no-such-pty", Link("loconet")));
  tool.Start({"loconet"});
  ASSERT_TRUE(WaitFor([&] { return Published("loconet"); }));
  const QString target = QFileInfo(Link("loconet")).symLinkTarget();

  SimTool second(runtime.path());
  second.Start({"loconet"});
  ASSERT_TRUE(second.Finished());
  EXPECT_EQ(second.ExitCode(), 1);
  EXPECT_EQ(second.ErrorOutput(),
            "sorvell-sim: another simulator is running as " + Link("loconet") + "\n");
  EXPECT_EQ(QFileInfo(Link("loconet")).symLinkTarget(), target);

  ASSERT_TRUE(tool.End());
  EXPECT_FALSE(QFileInfo(Link("loconet")).isSymLink());
}

TEST_F(SimToolTest, TheProgramFindsThePublishedPortAndProgramsThroughIt) {
  tool.Start({"lenz"});
  ASSERT_TRUE(WaitFor([&] { return Published("lenz"); }));
  // The program looks where the tool published, in the same runtime directory.
  const QByteArray userRuntime = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  QStringList ports;
  EnumComPorts(ports);
  qputenv("XDG_RUNTIME_DIR", userRuntime);
  ASSERT_TRUE(ports.contains(Link("lenz"))) << ports.join(' ').toStdString();

  TFrm_WD10 window;
  WindowDriver driver(window);
  window.RadioButton17->setChecked(true);
  window.ComPort1->SetPort(Link("lenz"));
  driver.Click(window.Button1);
  ASSERT_TRUE(WaitFor([&] { return window.Memo3->Lines().contains("61 01 60 "); }));
  window.SpinEdit1->SetValue(33);
  window.RadioButton[5]->setChecked(true);
  window.RadioButton[14]->setChecked(true);
  driver.Click(window.Button2);
  ASSERT_TRUE(WaitFor([&] { return window.Button3->isVisible(); }));
  driver.Click(window.Button3);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));

  ASSERT_TRUE(
      tool.WaitForOutput("A WD10 in learning mode has learnt:\n"
                         "  first turnout address 33 (decoder number 9)\n"
                         "  group A: mode 6 \"Sein met 2 begrippen\"\n"
                         "  group B: turnout address 37, mode 8 \"NS-Sein met 4 begrippen\"\n"));
  EXPECT_TRUE(tool.WaitForOutput(" power off (stop all locomotives)\n"));
  ASSERT_TRUE(tool.End());
  EXPECT_EQ(tool.ExitCode(), 0);
}

}  // namespace
