// The sorvell-sim tool run as the user runs it, with a runtime directory of the test's own so
// that its published ports stay out of the user's port list: for each central type the real
// window programs a WD10 through it, and the tool tells what the decoder learnt.
#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "CPort/TComPort.h"
#include "ProgramSide.h"
#include "SrcpServer.h"
#include "WD10/TSpinEdit.h"
#include "support/WindowDriver.h"
#include "p50x/P50XLink.h"
#include "platform/TMemo.h"
#include "support/WaitFor.h"

namespace {

class SimTool {
 public:
  SimTool(const QString& runtimeDirectory, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDirectory);
    process.setProcessEnvironment(environment);
    QObject::connect(&process, &QProcess::readyReadStandardOutput,
                     [this] { output += QString::fromUtf8(process.readAllStandardOutput()); });
    process.start(QStringLiteral(SORVELL_SIM_PATH), arguments);
  }
  ~SimTool() {
    if (process.state() == QProcess::NotRunning) return;
    process.kill();
    process.waitForFinished();
  }
  bool Ended() {
    return WaitFor([&] { return process.state() == QProcess::NotRunning; });
  }
  bool Printed(const QString& text) {
    return WaitFor([&] { return output.contains(text); });
  }

  QProcess process;
  QString output;
};

struct Central {
  const char* argument;
  const char* choice;  // as the tool names it to the user
  QRadioButton* TFrm_WD10::*button;
  const char* heard;           // a line of the station's log the run must show
  QByteArray earlierRun = {};  // written before the window's run, which must be learnt afresh
};

class SimToolRun : public testing::TestWithParam<Central> {
 protected:
  QString Link() const {
    return runtime.path() + "/sorvell-ports/sorvell-sim-" + GetParam().argument;
  }
  bool Published() const {
    return QFileInfo(Link()).symLinkTarget().startsWith(QLatin1String("/dev/pts/"));
  }

  QTemporaryDir runtime;
};

TEST_P(SimToolRun, TheWindowProgramsThroughTheToolAndTheToolTellsWhatWasLearnt) {
  const Central& central = GetParam();
  const bool srcp = QByteArray(central.argument) == "srcp";
  // A link left by a simulator that did not end is replaced.
  ASSERT_TRUE(QDir().mkpath(runtime.path() + "/sorvell-ports"));
  ASSERT_TRUE(srcp || QFile::link("/dev/no-such-pty", Link()));
  SimTool tool(runtime.path(), srcp ? QStringList{"srcp", "0"} : QStringList{central.argument});
  ASSERT_TRUE(tool.Printed(QStringLiteral("In Sorvell choose \"%1\"").arg(central.choice)));
  ASSERT_TRUE(tool.Printed("Ctrl+C ends the simulator."));
  TFrm_WD10 window;
  WindowDriver driver(window);
  if (srcp) {
    const QRegularExpressionMatch listening =
        QRegularExpression(R"(server on (127\.0\.0\.1:\d+)\n)").match(tool.output);
    ASSERT_TRUE(listening.hasMatch()) << tool.output.toStdString();
    window.SrcpServerEdit->setText(listening.captured(1));
  }
  (window.*central.button)->setChecked(true);
  if (srcp) {
    ASSERT_TRUE(WaitFor([&] { return window.Memo3->Text().contains("SRCP"); }));
  } else {
    ASSERT_TRUE(Published());
    // The program looks where the tool published, in the same runtime directory.
    const QByteArray userRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QStringList ports;
    EnumComPorts(ports);
    qputenv("XDG_RUNTIME_DIR", userRuntime);
    ASSERT_TRUE(ports.contains(Link())) << ports.join(' ').toStdString();
    if (!central.earlierRun.isEmpty()) {
      ProgramSide(Link()).Write(central.earlierRun);
      ASSERT_TRUE(tool.Printed(" solenoids off\n"));
    }
    window.ComPort1->SetPort(Link());
  }
  if (auto* p50x = dynamic_cast<P50XLink*>(window.CurrentLink()))
    p50x->SetSleepFunction([](int ms) { SleepMs(std::min(ms, 40)); });

  driver.Click(window.Button1);
  ASSERT_FALSE(window.GroupBox1->isVisible());
  window.SpinEdit1->SetValue(17);
  window.RadioButton[6]->setChecked(true);   // group A: mode 7
  window.RadioButton[10]->setChecked(true);  // group B: mode 4
  driver.Click(window.Button2);
  ASSERT_TRUE(WaitFor([&] { return window.Button3->isVisible(); }, 15000));
  driver.Click(window.Button3);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));

  EXPECT_TRUE(
      tool.Printed("A WD10 in learning mode has learnt:\n"
                   "  first turnout address 17 (decoder number 5)\n"
                   "  group A: mode 7 \"Sein met 4 begrippen\"\n"
                   "  group B: turnout address 21, mode 4 \"4 uitgangen als aan/uit (K84)\"\n"))
      << tool.output.toStdString();
  EXPECT_TRUE(tool.output.contains(QString::fromUtf8(central.heard))) << central.heard;
  EXPECT_FALSE(tool.output.contains("warning"));
  tool.process.terminate();  // as Ctrl+C does
  ASSERT_TRUE(tool.Ended());
  EXPECT_EQ(tool.process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(tool.process.exitCode(), 0);
  EXPECT_TRUE(tool.output.endsWith("sorvell-sim: ended\n"));
  EXPECT_FALSE(QFileInfo(Link()).isSymLink());
}

INSTANTIATE_TEST_SUITE_P(
    Centrals, SimToolRun,
    testing::Values(Central{"loconet", "IB/TC /LocoNet", &TFrm_WD10::RadioButton15,
                            " turnout 21 on (closed)\n"},
                    Central{"p50x", "IB/TC ", &TFrm_WD10::RadioButton16, " turnout 21 on\n"},
                    Central{"lenz", "Lenz/Multi-Maus", &TFrm_WD10::RadioButton17,
                            " power off (stop all locomotives)\n"},
                    // A run broken off after two commands (turnouts 17 and 7) is forgotten.
                    Central{"maerklin", "Märklin (6050/6051)", &TFrm_WD10::RadioButton18,
                            " turnout 7 on (green)\n", QByteArray::fromHex("60221120220720")},
                    Central{"srcp", "SRCP 0.8", &TFrm_WD10::RadioButton19,
                            " accessory 17 initialised (protocol N)\n"}),
    [](const testing::TestParamInfo<Central>& info) { return info.param.argument; });

TEST(SimTool, RefusesAnUnknownCentralATakenPortAndASecondSimulator) {
  QTemporaryDir runtime;
  SrcpServer server(SrcpServer::kDdw08Greeting, 0);
  SimTool first(runtime.path(), {"loconet"});
  const QString link = runtime.path() + "/sorvell-ports/sorvell-sim-loconet";
  ASSERT_TRUE(WaitFor([&] { return QFileInfo(link).isSymLink(); }));
  const QString target = QFileInfo(link).symLinkTarget();
  const struct {
    QStringList arguments;
    int exitCode;
    QString error;
  } cases[] = {
      {{}, 2, "Usage: sorvell-sim <central>"},
      {{"dcc"}, 2, "Usage: sorvell-sim <central>"},
      {{"loconet"}, 1, "sorvell-sim: another simulator is running as " + link + "\n"},
      {{"srcp", QString::number(server.Port())},
       1,
       QStringLiteral("sorvell-sim: port %1 on 127.0.0.1 is in use, perhaps by another SRCP "
                      "server; end that one first\n")
           .arg(server.Port())},
  };
  for (const auto& c : cases) {
    SimTool tool(runtime.path(), c.arguments);
    ASSERT_TRUE(tool.Ended());
    EXPECT_EQ(tool.process.exitCode(), c.exitCode);
    const QString error = QString::fromUtf8(tool.process.readAllStandardError());
    EXPECT_TRUE(error.startsWith(c.error)) << error.toStdString();
    if (c.exitCode != 2) continue;
    for (const char* name :
         {"loconet", "\"IB/TC /LocoNet\"", "p50x", "\"IB/TC \"", "lenz", "\"Lenz/Multi-Maus\"",
          "maerklin", "\"Märklin (6050/6051)\"", "srcp", "\"SRCP 0.8\""})
      EXPECT_TRUE(error.contains(QString::fromUtf8(name))) << name;
  }
  EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
}

}  // namespace
