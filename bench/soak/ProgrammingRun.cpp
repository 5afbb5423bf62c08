#include "ProgrammingRun.h"

#include <QElapsedTimer>
#include <QFile>

#include "LenzSimulator.h"
#include "LocoNetSimulator.h"
#include "MaerklinSimulator.h"
#include "ReportingP50XSimulator.h"
#include "SrcpInfoListener.h"
#include "SrcpServer.h"
#include "Wd10Learner.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"
#include "support/WindowDriver.h"
#include "window/RememberedSettings.h"
#include "window/RunFailureMessage.h"

namespace {

// A run that has not ended by then is stopped by closing the window (a P50X station that falls
// silent costs the longest: a second for every command).
constexpr int kRunLimitMs = 40000;
constexpr int kCloseLimitMs = 10000;

class Run {
 public:
  explicit Run(const RunPlan& plan) : plan_(plan) {}

  RunResult Go() {
    QElapsedTimer clock;
    clock.start();
    Notifications().Reset();
    SetUpStation();
    // Each run is a first start: what an earlier run's window remembered (its central type, a
    // server long gone) is not this run's plan.
    QFile::remove(RememberedSettings::FileName());
    window_ = std::make_unique<TestedWindow>();
    driver_ = std::make_unique<WindowDriver>(*window_);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [this] {
      overran_ = true;
      window_->close();
    });
    limit.start(kRunLimitMs);

    ChooseCentral();
    if (!overran_) Connect();
    if (!overran_ && window_->programmingPanel->isVisible()) Program();
    Close();
    RunResult result = Judge();
    result.seconds = clock.elapsed() / 1000.0;
    return result;
  }

 private:
  void SetUpStation() {
    if (plan_.central == SimulatedCentral::Srcp) {
      server_ = std::make_unique<SrcpServer>(SrcpServer::kDdw08Greeting, 0);
      listener_ = std::make_unique<SrcpInfoListener>(server_->Port());
      listener_->Start();
      WaitFor([this] { return listener_->InSession(); });
      stationLog_ = &listener_->Log();
      if (plan_.server.fault == ServerFault::Disconnect)
        server_->CloseOnLine(plan_.server.closeOnLine.toStdString());
      if (plan_.server.fault == ServerFault::Slow)
        server_->SetReplyDelay(std::chrono::milliseconds(plan_.server.replyDelayMs));
      return;
    }
    using Maker = std::unique_ptr<PtyPeer> (Run::*)();
    const Maker makers[] = {&Run::Station<LocoNetSimulator>, &Run::Station<ReportingP50XSimulator>,
                            &Run::Station<LenzSimulator>, &Run::Station<MaerklinSimulator>};
    station_ = (this->*makers[static_cast<int>(plan_.central)])();
    line_ = std::make_unique<FaultyLine>(station_->SlavePath(), plan_.line);
  }

  template <typename Simulator>
  std::unique_ptr<PtyPeer> Station() {
    auto station = std::make_unique<Simulator>();
    stationLog_ = &station->Log();
    return station;
  }

  void ChooseCentral() {
    const CentralType types[] = {CentralType::LocoNet, CentralType::P50X, CentralType::Lenz,
                                 CentralType::Maerklin, CentralType::Srcp};
    const bool srcp = plan_.central == SimulatedCentral::Srcp;
    if (srcp) window_->SrcpServerEdit->setText(QStringLiteral("127.0.0.1:%1").arg(server_->Port()));
    driver_->Choose(window_->CentralButton(types[static_cast<int>(plan_.central)]));
    if (!srcp) {
      window_->serialPort->SetPort(line_->SlavePath());
      return;
    }
    // As the user does: "Verbinden" once the server's greeting shows in the receive log.
    WaitFor([this] { return window_->receiveLog->Text().contains(QLatin1String("SRCP")); });
  }

  void Connect() {
    if (plan_.central == SimulatedCentral::Srcp && plan_.server.fault == ServerFault::Flood) {
      QTimer::singleShot(plan_.server.floodAfterMs, window_.get(), [this] {
        server_->SetFlood(true);
        QTimer::singleShot(plan_.server.floodForMs, window_.get(),
                           [this] { server_->SetFlood(false); });
      });
    }
    driver_->Click(window_->connectButton);
    // The connect has ended, connected or not, once its button takes clicks again.
    WaitFor([this] { return overran_ || window_->connectButton->isEnabled(); }, kRunLimitMs);
  }

  void Program() {
    window_->firstAddressEdit->SetValue(plan_.address);
    window_->groupAModes[plan_.modeA]->setChecked(true);
    window_->groupBModes[plan_.modeB]->setChecked(true);
    if (plan_.line.fault == LineFault::InterfaceOff) {
      QTimer::singleShot(plan_.line.interfaceOffAfterMs, window_.get(),
                         [this] { line_->SwitchInterfaceOff(); });
    }
    if (!window_->programButton->isVisible() || !window_->programButton->isEnabled()) return;
    driver_->Click(window_->programButton);
    // The run has ended when it offers the next decoder, or left nothing sent.
    WaitFor(
        [this] {
          return overran_ || window_->closeButton->isVisible() ||
                 window_->programButton->isEnabled();
        },
        kRunLimitMs);
  }

  void Close() {
    if (!window_->isVisible()) return;
    if (window_->closeButton->isVisible() && window_->closeButton->isEnabled())
      driver_->Click(window_->closeButton);
    else
      window_->close();
    WaitFor([this] { return !window_->isVisible(); }, kCloseLimitMs);
  }

  // What a WD10 would have learnt from the first four accessory "on" commands the station
  // heard, by the decoder's own reckoning: the address entered, and the modes whose names the
  // user picked.
  bool StationLearntTheSettings() {
    Wd10Learner decoder;
    WaitFor(
        [&] { return stationLog_->TurnoutsSwitchedOn().size() >= Wd10Learner::kCommandsLearnt; },
        2000);
    for (int turnout : stationLog_->TurnoutsSwitchedOn()) decoder.Hear(turnout);
    const std::optional<Wd10Learnt> learnt = decoder.Learnt();
    return learnt && learnt->firstAddress == plan_.address && learnt->groupBAddressAsExpected &&
           learnt->modeAName == window_->groupAModes[plan_.modeA]->text() &&
           learnt->modeBName == window_->groupBModes[plan_.modeB]->text();
  }

  RunResult Judge() {
    RunResult result;
    result.overran = overran_;
    result.shown = window_->connectionLog->Lines();
    for (const QString& message : Notifications().messages)
      result.shown.append(QStringLiteral("[message box] ") + message);
    // A box, or the connection log's own words for a failure.
    const bool told = !Notifications().messages.isEmpty() ||
                      result.shown.contains(QLatin1String("No reply from the command station")) ||
                      !result.shown.filter(QLatin1String("Opdracht overgeslagen")).isEmpty();
    if (window_->isVisible())
      result.outcome = Outcome::Undefined;
    else if (result.shown.contains(kProgrammed) && result.shown.contains(UnconfirmedRunLogLine()))
      result.outcome = Outcome::Unchecked;
    else if (result.shown.contains(kProgrammed))
      result.outcome = StationLearntTheSettings() ? Outcome::Programmed : Outcome::FalseSuccess;
    else
      result.outcome = told ? Outcome::ClearMessage : Outcome::Undefined;
    return result;
  }

  const RunPlan plan_;
  // Destroyed in reverse: the window (and its port and connections) before what it talks to.
  std::unique_ptr<PtyPeer> station_;
  std::unique_ptr<FaultyLine> line_;
  std::unique_ptr<SrcpServer> server_;
  std::unique_ptr<SrcpInfoListener> listener_;
  StationLog* stationLog_ = nullptr;
  std::unique_ptr<TestedWindow> window_;
  std::unique_ptr<WindowDriver> driver_;
  bool overran_ = false;
};

}  // namespace

RunResult RunProgramming(const RunPlan& plan) {
  return Run(plan).Go();
}
