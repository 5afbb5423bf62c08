// CPU time of the program over a whole programming run (target: under 1 % of one core), for
// each central type: the main window as main.cpp builds it, with the program's own timings (the
// four-second steps, interface detection's pauses, the 100 ms P50X event poll), from the
// connect button to the window closed. The command station is sorvell-sim in a process of its
// own, so the figure is the program's alone. The port settings dialog is accepted as it stands.
// Run: bench_programming_cpu [central ...], centrals as sorvell-sim names them.
#include "BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <cstdio>

#include "platform/LogPane.h"
#include "platform/UserNotifier.h"
#include "serial/SerialPort.h"
#include "serialwidgets/PortSettingsDialog.h"
#include "support/TestedWindow.h"
#include "support/WaitFor.h"
#include "window/LinkFactory.h"

namespace {

// How often a wait looks at its condition besides after events: coarse, so that the waits
// inside a measured run add next to nothing to it.
constexpr int kPollMs = 50;

// A box that no one would answer would stop the run: count it and go on.
class CountingNotifier final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString&) override {
    std::fprintf(stderr, "message box: %s\n", qPrintable(text));
    ++messages;
  }
  // No run of this benchmark asks anything; a question would be a fault, counted as a box.
  Task<bool> AskOkCancel(QString text) override {
    ShowMessage(text, {});
    co_return false;
  }
  Task<void> ShowMessageAndWait(QString text, QString detail) override {
    ShowMessage(text, detail);
    co_return;
  }
  void Beep() override {}
  int messages = 0;
};

QRadioButton* CentralButton(TestedWindow& window, const QString& central) {
  return window.CentralButton(CentralTypeFromKey(central).value_or(CentralType::LocoNet));
}

// Starts sorvell-sim for the central type; the serial ones name their pty, the server (on a port
// of the system's choosing, so that another server on 4303 does not matter) its address.
bool StartStation(QProcess& station, const QString& central, QString& port) {
  const bool server = central == QLatin1String("srcp");
  station.start(QStringLiteral(SORVELL_SIM_PATH),
                server ? QStringList{central, QStringLiteral("0")} : QStringList{central});
  if (!station.waitForStarted(5000)) return false;
  static const QRegularExpression ptyPath(QStringLiteral(" on (/dev/pts/\\d+)"));
  static const QRegularExpression serverPort(QStringLiteral("^sorvell-sim: .*:(\\d+)$"),
                                             QRegularExpression::MultilineOption);
  const QRegularExpression& announced = server ? serverPort : ptyPath;
  QByteArray output;
  while (station.waitForReadyRead(5000)) {
    output += station.readAllStandardOutput();
    if (const auto match = announced.match(QString::fromLocal8Bit(output)); match.hasMatch()) {
      port = server ? QStringLiteral("127.0.0.1:") + match.captured(1) : match.captured(1);
      return true;
    }
  }
  return false;
}

bool MeasureRun(const QString& central, CountingNotifier& notifier) {
  QProcess station;
  QString port;
  if (!StartStation(station, central, port)) {
    std::fprintf(stderr, "%s: sorvell-sim did not start\n", qPrintable(central));
    return false;
  }
  TestedWindow window;
  // A smoke run shows that a run still goes through; the program's own pauses add nothing to that.
  if (SmokeRun()) window.stepPauseTimer->setInterval(100);
  window.show();
  if (central == QLatin1String("srcp")) window.SrcpServerEdit->setText(port);
  CentralButton(window, central)->setChecked(true);
  if (central == QLatin1String("srcp"))
    WaitFor([&] { return window.receiveLog->Text().contains(QLatin1String("SRCP")); }, 5000,
            kPollMs);
  else
    window.serialPort->SetPort(port);
  const int messagesBefore = notifier.messages;

  QElapsedTimer wall;
  wall.start();
  const double cpuBefore = ProcessCpuMilliseconds();
  QTest::mouseClick(window.connectButton, Qt::LeftButton);
  WaitFor([&] { return window.Connected(); }, 10000, kPollMs);
  QTest::mouseClick(window.programButton, Qt::LeftButton);
  WaitFor([&] { return window.closeButton->isVisible(); }, 30000, kPollMs);
  const bool programmed = window.connectionLog->Lines().contains(
      QStringLiteral("Druk op de programmeerknop van de WD10"));
  QTest::mouseClick(window.closeButton, Qt::LeftButton);
  WaitFor([&] { return !window.isVisible(); }, 10000, kPollMs);
  const double cpu = ProcessCpuMilliseconds() - cpuBefore;
  const qint64 elapsed = wall.elapsed();

  station.terminate();
  station.waitForFinished(5000);
  if (!programmed || notifier.messages != messagesBefore) {
    std::fprintf(stderr, "%s: the run did not program cleanly\n", qPrintable(central));
    return false;
  }
  std::printf("programming run %s: %lld ms, CPU %.1f ms = %.3f %% of a core (target < 1 %%)\n",
              qPrintable(central), static_cast<long long>(elapsed), cpu, 100.0 * cpu / elapsed);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const FirstDayFolders firstDay;
  QApplication app(argc, argv);
  CountingNotifier notifier;
  SetUserNotifier(&notifier);
  PortSettingsDialog::SetAnswerHook([](PortSettingsDialog& form) { form.accept(); });
  QStringList centrals = app.arguments().mid(1);
  if (centrals.isEmpty())
    centrals = {QStringLiteral("loconet"), QStringLiteral("p50x"), QStringLiteral("lenz"),
                QStringLiteral("maerklin"), QStringLiteral("srcp")};
  bool allRan = true;
  for (const QString& central : centrals) allRan = MeasureRun(central, notifier) && allRan;
  return allRan ? 0 : 1;
}
