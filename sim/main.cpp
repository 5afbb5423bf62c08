// sorvell-sim: a command station on this machine for trying the program without hardware. It
// simulates one central type, shows what the program sends as it arrives and, once the four
// programming commands are in, what a WD10 in learning mode would have learnt from them.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTime>
#include <exception>
#include <functional>
#include <memory>
#include <system_error>

#include "LenzSimulator.h"
#include "LocoNetSimulator.h"
#include "MaerklinSimulator.h"
#include "PublishedPort.h"
#include "ReportingP50XSimulator.h"
#include "SimulatedCentral.h"
#include "SrcpInfoListener.h"
#include "SrcpServer.h"
#include "StationLog.h"
#include "Wd10Learner.h"
#include "serial/SerialPort.h"

namespace {

struct CentralChoice {
  const char* argument;
  SimulatedCentral central;
  const char* programName;  // the central type as the program's window names it
  const char* description;
};

const CentralChoice kCentrals[] = {
    {"loconet", SimulatedCentral::LocoNet, "IB/TC /LocoNet",
     "Intellibox or Twin-Center, LocoNet messages"},
    {"p50x", SimulatedCentral::P50X, "IB/TC ", "Intellibox or Twin-Center, P50X protocol"},
    {"lenz", SimulatedCentral::Lenz, "Lenz/Multi-Maus",
     "Lenz computer interface (Lenz or Roco Multi-Maus)"},
    {"maerklin", SimulatedCentral::Maerklin, "Märklin (6050/6051)", "Märklin 6050/6051 interface"},
    {"srcp", SimulatedCentral::Srcp, "SRCP 0.8", "SRCP 0.8 server on 127.0.0.1"},
};

QTextStream& Out() {
  static QTextStream out(stdout);
  return out;
}

void PrintLine(const QString& line) {
  Out() << line << Qt::endl;
}

int Usage() {
  QTextStream err(stderr);
  err << "Usage: sorvell-sim <central>\n"
         "       sorvell-sim srcp [port]\n"
         "Simulates a command station for Sorvell; <central> is one of:\n";
  for (const CentralChoice& choice : kCentrals) {
    const QString programName = u'"' + QString::fromUtf8(choice.programName) + u'"';
    err << "  " << QString::fromLatin1(choice.argument).leftJustified(10)
        << programName.leftJustified(23) << QString::fromUtf8(choice.description) << "\n";
  }
  err << "The SRCP server listens on port " << SrcpServer::kDefaultPort
      << " unless another is given (0: any free port).\n";
  return 2;
}

// Shows the station's events with the time they arrived and follows the WD10's learning.
// Events come from the simulators' threads and are shown on the main thread, in order.
class Console : public QObject {
 public:
  void Follow(StationLog& log) {
    log.SetListener([this](const StationEvent& event) {
      QMetaObject::invokeMethod(
          this, [this, event] { Show(event); }, Qt::QueuedConnection);
    });
  }

 private:
  void Show(const StationEvent& event) {
    PrintLine(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + event.text);
    // The program switches the power on each time it connects: a new programming run.
    if (event.kind == StationEvent::Kind::PowerOn) learner_.Reset();
    if (event.kind != StationEvent::Kind::TurnoutOn) return;
    // Four commands later the user puts the next decoder in its learning mode ("Volgende
    // decoder"): what follows is that one's.
    if (learner_.Done()) learner_.Reset();
    learner_.Hear(event.turnout);
    if (const auto learnt = learner_.Learnt())
      for (const QString& line : DescribeLearnt(*learnt)) PrintLine(line);
  }

  Wd10Learner learner_;
};

// Ends the event loop on SIGINT, SIGTERM or SIGHUP, so that everything is cleaned up by the
// destructors. The signals must be blocked before any thread starts, or one of those threads
// could take them the default way.
class SignalQuit {
 public:
  SignalQuit() {
    sigemptyset(&signals_);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals_, signal);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
  }
  ~SignalQuit() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
  }

  void Watch(QCoreApplication& app) {
    fd_ = ::signalfd(-1, &signals_, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd_ < 0) {
      // Without the descriptor Ctrl+C must at least still end the tool, if less tidily.
      pthread_sigmask(SIG_UNBLOCK, &signals_, nullptr);
      return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, &app, [this, &app] {
      signalfd_siginfo info;
      [[maybe_unused]] auto read = ::read(fd_, &info, sizeof info);
      app.quit();
    });
  }

 private:
  sigset_t signals_;
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

template <class Simulator>
int RunSerial(QCoreApplication& app, const CentralChoice& choice, Console& console) {
  Simulator simulator;
  console.Follow(simulator.Log());
  const PublishedPort port(PublishedPortsDir(),
                           QStringLiteral("sorvell-sim-") + QString::fromLatin1(choice.argument),
                           simulator.SlavePath());
  PrintLine(QStringLiteral("sorvell-sim: %1 on %2")
                .arg(QString::fromUtf8(choice.description), simulator.SlavePath()));
  PrintLine(QStringLiteral("In Sorvell choose \"%1\", press \"Kies Compoort\" and pick the port %2")
                .arg(QString::fromUtf8(choice.programName), port.LinkPath()));
  PrintLine(
      QStringLiteral("Each power on starts a new learning round. Ctrl+C ends the simulator."));
  return app.exec();
}

int RunSrcp(QCoreApplication& app, const CentralChoice& choice, Console& console, int port) {
  std::unique_ptr<SrcpServer> server;
  try {
    server = std::make_unique<SrcpServer>(SrcpServer::kDdw08Greeting, port);
  } catch (const std::system_error& error) {
    if (error.code() != std::errc::address_in_use) throw;
    QTextStream(stderr) << "sorvell-sim: port " << port
                        << " on 127.0.0.1 is in use, perhaps by another SRCP server; end that "
                           "one first\n";
    return 1;
  }
  SrcpInfoListener listener(server->Port());
  console.Follow(listener.Log());
  listener.Start();
  PrintLine(QStringLiteral("sorvell-sim: %1:%2")
                .arg(QString::fromUtf8(choice.description))
                .arg(server->Port()));
  PrintLine(QStringLiteral("In Sorvell choose \"%1\" and press \"Verbinden\"")
                .arg(QString::fromUtf8(choice.programName)));
  PrintLine(
      QStringLiteral("Each power on starts a new learning round. Ctrl+C ends the simulator."));
  return app.exec();
}

int Run(QCoreApplication& app, const CentralChoice& choice, int srcpPort) {
  Console console;
  switch (choice.central) {
    case SimulatedCentral::LocoNet:
      return RunSerial<LocoNetSimulator>(app, choice, console);
    case SimulatedCentral::P50X:
      return RunSerial<ReportingP50XSimulator>(app, choice, console);
    case SimulatedCentral::Lenz:
      return RunSerial<LenzSimulator>(app, choice, console);
    case SimulatedCentral::Maerklin:
      return RunSerial<MaerklinSimulator>(app, choice, console);
    case SimulatedCentral::Srcp:
      return RunSrcp(app, choice, console, srcpPort);
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  SignalQuit signalQuit;
  QCoreApplication app(argc, argv);
  signalQuit.Watch(app);
  const QStringList arguments = app.arguments();
  if (arguments.size() < 2) return Usage();
  for (const CentralChoice& choice : kCentrals) {
    if (arguments[1] != QLatin1String(choice.argument)) continue;
    // Only the server takes a port; a serial station is found by its published port.
    int srcpPort = SrcpServer::kDefaultPort;
    if (arguments.size() > 2) {
      bool number = false;
      srcpPort = arguments[2].toInt(&number);
      if (choice.central != SimulatedCentral::Srcp || arguments.size() > 3 || !number ||
          srcpPort < 0 || srcpPort > 65535)
        return Usage();
    }
    try {
      const int status = Run(app, choice, srcpPort);
      PrintLine(QStringLiteral("sorvell-sim: ended"));
      return status;
    } catch (const std::exception& error) {
      QTextStream(stderr) << "sorvell-sim: " << error.what() << "\n";
      return 1;
    }
  }
  return Usage();
}
