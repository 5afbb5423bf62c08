// The programming run: four accessory commands, four seconds apart, from which a WD10 in
// learning mode takes its address and the modes of its two groups. The run goes on only while
// the command station carries the commands out: a decoder that learnt half its settings, or
// none, must not be reported as programmed.
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "WD10/DecoderListWindow.h"
#include "WD10/DecoderModel.h"
#include "WD10/LinkFactory.h"
#include "WD10/MainWindow.h"
#include "WD10/RunFailureMessage.h"
#include "WD10/TSpinEdit.h"
#include "link/CommandStationLink.h"
#include "platform/Exception.h"
#include "platform/ExceptionDisplay.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "platform/UserNotifier.h"

namespace {

constexpr int kSteps = 4;

// The window's connection watch leaves a line that drops during a run to the run's own verdict,
// and the decoder list neither starts a run nor changes the fields meanwhile.
struct RunInProgress {
  RunInProgress(bool& flag, DecoderListWindow* list) : flag_(flag), list_(list) {
    flag_ = true;
    if (list_) list_->SetRunInProgress(true);
  }
  ~RunInProgress() {
    flag_ = false;
    if (list_) list_->SetRunInProgress(false);
  }
  RunInProgress(const RunInProgress&) = delete;
  RunInProgress& operator=(const RunInProgress&) = delete;
  bool& flag_;
  DecoderListWindow* list_;
};

}  // namespace

void MainWindow::RunProgramming() {
  if (const std::optional<RunRecord> run = ProgramDecoder()) ListWindow().RecordRun(*run);
}

std::optional<RunRecord> MainWindow::ProgramDecoder() {
  LongHandler busy(*this);
  if (RefuseUnreachableAddresses()) return std::nullopt;
  CommandStationLink& link = *link_;
  programButton->setEnabled(false);
  connectionLog->Clear();
  ProcessMessages();
  const RunInProgress running(runInProgress_, listWindow_);
  // A track the station reported off since the connect (a short while the next decoder was
  // wired, its stop key) is switched on again first, as the connect did: the decoder learns only
  // from a powered track, and the station would still confirm every command sent to a dead one.
  const AccessoryOutcome power = GuardedStep([&] { return link.PowerTrackForRun(); });
  if (closeRequested_) return std::nullopt;
  if (power.Failed()) {
    ShowMessage(QStringLiteral("De Centrale meldt dat de baan geen spanning heeft. Sorvell heeft "
                               "de spanning weer ingeschakeld, maar de Centrale heeft dat niet "
                               "bevestigd; er is niets naar de decoder gestuurd.\nMelding: %1\n"
                               "Zoek naar kortsluiting (ook in de bedrading van de WD10), schakel "
                               "zo nodig de spanning aan de Centrale weer in en druk opnieuw op "
                               "\"Programmeer Kuehn WD10\".")
                    .arg(power.stationSaid));
    programButton->setEnabled(true);
    return std::nullopt;
  }
  if (!power.stationSaid.isEmpty()) {
    connectionLog->AddLine(QStringLiteral("De Centrale meldde dat de baan geen spanning had (%1); "
                                          "de spanning is weer ingeschakeld.")
                               .arg(power.stationSaid));
  }
  RunRecord run;
  run.central = FactsOf(central_).caption.trimmed();
  // What the decoder is sent, step by step; the steps not reached yet as the panel shows them.
  run.firstAddress = StepCommand(1).turnout;
  run.modeA = StepCommand(2).turnout;
  run.modeB = StepCommand(4).turnout;
  bool unconfirmed = false;
  for (int step = 1; step <= kSteps; ++step) {
    // Each step reads its field or mode when it comes: a mode changed during the run counts.
    const AccessoryCommand command = StepCommand(step);
    if (step == 1) run.firstAddress = command.turnout;
    if (step == 2) run.modeA = command.turnout;
    if (step == 4) run.modeB = command.turnout;
    connectionLog->AddLine(
        QStringLiteral("Zet wisselnummer: %1").arg(command.turnout + link.TurnoutOffset()));
    AccessoryOutcome outcome = GuardedStep([&] { return link.SwitchAccessory(command); });
    // A close request stops the run here: no further commands go out, and nothing is reported
    // for a run the user ended.
    if (closeRequested_) return std::nullopt;
    // The confirmation of a station that answers in its own time has the whole pause to come.
    if (!outcome.Failed()) {
      StepPause();
      if (closeRequested_) return std::nullopt;
      outcome = GuardedStep([&] { return link.OutcomeAtStepEnd(outcome); });
    }
    if (outcome.Failed()) {
      StopRun(step, command, outcome);
      run.when = QDateTime::currentDateTime();
      run.result = RunRecord::Result::Failed;
      run.stationSaid = RunFailureRecord(step, command.turnout + link.TurnoutOffset(), outcome);
      return run;
    }
    unconfirmed = unconfirmed || outcome.result == AccessoryOutcome::Result::Unconfirmed;
  }
  if (unconfirmed) connectionLog->AddLine(UnconfirmedRunLogLine());
  connectionLog->AddLine(QStringLiteral("Druk op de programmeerknop van de WD10"));
  ShowRunEnded();
  run.when = QDateTime::currentDateTime();
  run.result = unconfirmed ? RunRecord::Result::Unconfirmed : RunRecord::Result::Programmed;
  return run;
}

std::optional<RunRecord> MainWindow::ProgramListedDecoder(const DecoderRow& row) {
  if (row.firstAddress > HighestFirstAddress()) {
    ShowMessage(QStringLiteral("Deze Centrale kan het eerste wisseladres %1 niet bereiken.\n"
                               "Kies in de decoderlijst als eerste wisseladres %2 of lager.")
                    .arg(row.firstAddress)
                    .arg(HighestFirstAddress()));
    return std::nullopt;
  }
  // Between decoders as "Volgende decoder" goes on: the log cleared, the button usable again.
  if (programButton->isHidden()) ProgramNextDecoder();
  FillDecoder(row);
  return ProgramDecoder();
}

bool MainWindow::ReadyToProgram() const {
  return selectionPanel->isHidden() && !programmingPanel->isHidden() &&
         programmingPanel->isEnabled() && !runInProgress_ && !closingFlag_ && !closeRequested_;
}

void MainWindow::ProgramNextDecoder() {
  // The connection and the track power stay: the next decoder waits in learning mode on the same
  // track, and the station is told nothing until its run starts.
  connectionLog->Clear();
  firstAddressEdit->SetValue(
      DecoderModel::NextFirstAddress(firstAddressEdit->Text().toInt(), HighestFirstAddress()));
  programButton->setEnabled(true);
  programButton->show();
  // The focus leaves the button that hides for the one the user presses next.
  programButton->setFocus();
  nextDecoderButton->hide();
  closeButton->hide();
}

AccessoryCommand MainWindow::StepCommand(int step) const {
  switch (step) {
    case 1:
      return {firstAddressEdit->Text().toInt()};
    case 2:
      return {ModeOfGroupA()};
    case 3:
      return {groupBAddressEdit->Text().toInt()};
    default:
      return {ModeOfGroupB()};
  }
}

AccessoryOutcome MainWindow::GuardedStep(const std::function<AccessoryOutcome()>& step) {
  // A port or connection that fails under the command (an adapter pulled out) ends the run as a
  // lost command, with the system's own words for what failed.
  try {
    return step();
  } catch (const std::exception& error) {
    const auto* own = dynamic_cast<const Exception*>(&error);
    const QString detail = own ? OsErrorDetail(*own) : QString();
    return AccessoryOutcome::Lost(detail.isEmpty() ? MessageOf(error)
                                                   : MessageOf(error) + u'\n' + detail);
  }
}

void MainWindow::StopRun(int step, const AccessoryCommand& command,
                         const AccessoryOutcome& outcome) {
  const int turnout = command.turnout + link_->TurnoutOffset();
  // A line drop that stopped the run is told in the run's box; the connection watch would tell
  // it a second time once the run is over.
  connectionWatchTimer->SetEnabled(false);
  connectionLog->AddLine(RunFailureLogLine(step, turnout));
  ShowMessage(RunFailureMessage(step, turnout, outcome));
  ShowRunEnded();
}

void MainWindow::ShowRunEnded() {
  programButton->hide();
  nextDecoderButton->show();
  closeButton->show();
}

int MainWindow::HighestReachableFirstAddress() const {
  const CommandStationLink& link = *link_;
  return link.HighestTurnout() - link.TurnoutOffset() - DecoderModel::kGroupBOffset;
}

int MainWindow::HighestFirstAddress() const {
  return std::min(firstAddressEdit->MaxValue(), HighestReachableFirstAddress());
}

bool MainWindow::RefuseUnreachableAddresses() {
  const CommandStationLink& link = *link_;
  const int highestTurnout = groupBAddressEdit->Text().toInt() + link.TurnoutOffset();
  if (highestTurnout <= link.HighestTurnout()) return false;
  ShowMessage(QStringLiteral("Deze Centrale kan geen wisselnummers boven %1 "
                             "schakelen; met dit adres zou de decoder een verkeerd adres leren.\n"
                             "Kies als eerste wisseladres %2 of lager.")
                  .arg(link.HighestTurnout())
                  .arg(HighestReachableFirstAddress()));
  return true;
}

void MainWindow::StepPause() {
  stepFlag_ = false;
  stepPauseTimer->SetEnabled(true);
  WaitUntil([this] { return stepFlag_ || closeRequested_; });
}

void MainWindow::StepPauseElapsed() {
  stepPauseTimer->SetEnabled(false);
  stepFlag_ = true;
}
