// The sorvell-sim tool run as the user runs it, with a runtime directory of the test's own so
// that its published ports stay out of the user's port list: for each central type the real
// window programs a WD10 through it, and the tool tells what the decoder learnt.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/WaitFor.h"
#include "support/WindowDriver.h"

namespace {

struct Central {
  const char* argument;
  const char* choice;  // as the tool names it to the user
  CentralType type;
  const char* heard;           // a line of the station's log the run must show
  QByteArray earlierRun = {};  // written before the window's run, which must be learnt afresh
};

class SimToolRun : public testing::TestWithParam<Central> {
 protected:
  ~SimToolRun() override {
    tool.kill();
    tool.waitForFinished();
  }
  bool Printed(const QString& text) {
    return WaitFor([&] { return output.contains(text); });
  }

  QTemporaryDir runtime;
  QProcess tool;
  QString output;
};

TEST_P(SimToolRun, TheWindowProgramsThroughTheToolAndTheToolTellsWhatWasLearnt) {
  const Central& central = GetParam();
  const bool srcp = QByteArray(central.argument) == "srcp";
  const QString link = runtime.path() + "/sorvell-ports/sorvell-sim-" + central.argument;
  // A link left by a simulator that did not end is replaced.
  ASSERT_TRUE(QDir().mkpath(runtime.path() + "/sorvell-ports"));
  ASSERT_TRUE(srcp || QFile::link("/dev/no-such-pty", link));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
  tool.setProcessEnvironment(environment);
  QObject::connect(&tool, &QProcess::readyReadStandardOutput,
                   [this] { output += QString::fromUtf8(tool.readAllStandardOutput()); });
  tool.start(SORVELL_SIM_PATH, srcp ? QStringList{"srcp", "0"} : QStringList{central.argument});
  ASSERT_TRUE(Printed(QStringLiteral("In Sorvell choose \"%1\"").arg(central.choice)));
  ASSERT_TRUE(Printed("Ctrl+C ends the simulator."));
  TestedWindow window;
  WindowDriver driver(window);
  if (srcp) {
    const QRegularExpressionMatch listening =
        QRegularExpression(R"(server on (127\.0\.0\.1:\d+)\n)").match(output);
    ASSERT_TRUE(listening.hasMatch()) << output.toStdString();
    window.SrcpServerEdit->setText(listening.captured(1));
  }
  driver.Choose(window.CentralButton(central.type));
  if (srcp) {
    ASSERT_TRUE(WaitFor([&] { return window.receiveLog->Text().contains("SRCP"); }));
  } else {
    ASSERT_TRUE(QFileInfo(link).symLinkTarget().startsWith(QLatin1String("/dev/pts/")));
    // The program looks where the tool published, in the same runtime directory.
    const QByteArray userRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QStringList ports;
    ListSerialPorts(ports);
    qputenv("XDG_RUNTIME_DIR", userRuntime);
    ASSERT_TRUE(ports.contains(link)) << ports.join(' ').toStdString();
    if (!central.earlierRun.isEmpty()) {
      const int fd = ::open(link.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
      ASSERT_EQ(::write(fd, central.earlierRun.constData(), 7), 7);
      ASSERT_TRUE(Printed(" solenoids off\n"));
      ::close(fd);
    }
    window.serialPort->SetPort(link);
  }
  driver.Click(window.connectButton);
  ASSERT_TRUE(WaitFor([&] { return window.Connected(); }, 15000));
  window.firstAddressEdit->SetValue(17);
  window.groupAModes[5]->setChecked(true);  // group A: mode 7
  window.groupBModes[2]->setChecked(true);  // group B: mode 4
  driver.Click(window.programButton);
  ASSERT_TRUE(WaitFor([&] { return window.closeButton->isVisible(); }, 15000));
  driver.Click(window.closeButton);
  ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));

  EXPECT_TRUE(
      Printed("A WD10 in learning mode has learnt:\n"
              "  first turnout address 17 (decoder number 5)\n"
              "  group A: mode 7 \"Sein met 4 begrippen\"\n"
              "  group B: turnout address 21, mode 4 \"4 uitgangen als aan/uit (K84)\"\n"))
      << output.toStdString();
  // What the close sent is printed as the tool reads it, maybe after the window has gone.
  EXPECT_TRUE(Printed(QString::fromUtf8(central.heard))) << central.heard;
  EXPECT_FALSE(output.contains("warning"));
  tool.terminate();  // as Ctrl+C does
  ASSERT_TRUE(WaitFor([&] { return tool.state() == QProcess::NotRunning; }));
  EXPECT_TRUE(tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0);
  EXPECT_TRUE(output.endsWith("sorvell-sim: ended\n"));
  EXPECT_FALSE(QFileInfo(link).isSymLink());
}

INSTANTIATE_TEST_SUITE_P(
    Centrals, SimToolRun,
    testing::Values(Central{"p50x", "IB/TC ", CentralType::P50X, " turnout 21 on\n"},
                    Central{"lenz", "Lenz/Multi-Maus", CentralType::Lenz,
                            " power off (stop all locomotives)\n"},
                    // A run broken off after two commands (turnouts 17 and 7) is forgotten.
                    Central{"maerklin", "Märklin (6050/6051)", CentralType::Maerklin,
                            " turnout 7 on (green)\n", QByteArray::fromHex("60221120220720")},
                    Central{"srcp", "SRCP 0.8", CentralType::Srcp,
                            " accessory 17 initialised (protocol N)\n"}),
    [](const testing::TestParamInfo<Central>& info) { return info.param.argument; });

}  // namespace
