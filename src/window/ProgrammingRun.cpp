#include "window/ProgrammingRun.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

#include "link/CommandStationLink.h"
#include "platform/Exception.h"
#include "platform/ExceptionDisplay.h"
#include "platform/LogPane.h"
#include "platform/UserNotifier.h"
#include "window/DecoderForm.h"
#include "window/LinkFactory.h"
#include "window/MainWindowWidgets.h"
#include "window/RunFailureMessage.h"
#include "window/StationChoice.h"
#include "window/StationConnection.h"

namespace {

constexpr int kSteps = 4;

// A port or connection that fails under the command (an adapter pulled out) ends the run as a
// lost command, with the system's own words for what failed.
AccessoryOutcome LostTo(const std::exception& error) {
  const ErrorText text = DescribeException(error);
  return AccessoryOutcome::Lost(text.detail.isEmpty() ? text.message
                                                      : text.message + u'\n' + text.detail);
}

}  // namespace

ProgrammingRun::ProgrammingRun(QWidget& window, MainWindowWidgets& widgets, DecoderForm& form,
                               StationChoice& station, StationConnection& connection)
    : w_(widgets),
      form_(form),
      station_(station),
      connection_(connection),
      stepPauseTimer_(new QTimer(&window)) {
  stepPauseTimer_->setObjectName(QStringLiteral("stepPauseTimer"));
  stepPauseTimer_->setInterval(4000);
  stepPauseTimer_->setSingleShot(true);
  QObject::connect(stepPauseTimer_, &QTimer::timeout, [this] { stepPauseEnded_.Notify(); });
}

void ProgrammingRun::Stop() {
  stopping_ = true;
  stepPauseTimer_->stop();
  stepPauseEnded_.Notify();
}

Task<std::optional<RunRecord>> ProgrammingRun::Program() {
  if (const QString refusal = station_.UnreachableAddressRefusal(form_.GroupBAddress());
      !refusal.isEmpty()) {
    ShowMessage(refusal);
    co_return std::nullopt;
  }
  CommandStationLink& link = station_.Link();
  stopping_ = false;
  w_.programButton->setEnabled(false);
  w_.connectionLog->Clear();
  // A track the station reported off since the connect (a short while the next decoder was
  // wired, its stop key) is switched on again first, as the connect did: the decoder learns only
  // from a powered track, and the station would still confirm every command sent to a dead one.
  AccessoryOutcome power = AccessoryOutcome::CarriedOut();
  try {
    power = co_await link.PowerTrackForRun();
  } catch (const std::exception& error) {
    power = LostTo(error);
  }
  if (stopping_) co_return std::nullopt;
  if (power.Failed()) {
    ShowMessage(QCoreApplication::translate(
                    "ProgrammingRun",
                    "De Centrale meldt dat de baan geen spanning heeft. Sorvell heeft "
                    "de spanning weer ingeschakeld, maar de Centrale heeft dat niet "
                    "bevestigd; er is niets naar de decoder gestuurd.\nMelding: %1\n"
                    "Zoek naar kortsluiting (ook in de bedrading van de WD10), schakel "
                    "zo nodig de spanning aan de Centrale weer in en druk opnieuw op "
                    "\"Programmeer Kuehn WD10\".")
                    .arg(power.stationSaid));
    w_.programButton->setEnabled(true);
    co_return std::nullopt;
  }
  if (!power.stationSaid.isEmpty()) {
    w_.connectionLog->AddLine(
        QCoreApplication::translate("ProgrammingRun",
                                    "De Centrale meldde dat de baan geen spanning had "
                                    "(%1); de spanning is weer ingeschakeld.")
            .arg(power.stationSaid));
  }
  RunRecord run;
  run.central = FactsOf(station_.Central()).caption.trimmed();
  // What the decoder is sent, step by step; the steps not reached yet as the panel shows them.
  run.firstAddress = form_.StepCommand(1).turnout;
  run.modeA = form_.StepCommand(2).turnout;
  run.modeB = form_.StepCommand(4).turnout;
  bool unconfirmed = false;
  for (int step = 1; step <= kSteps; ++step) {
    // Each step reads its field or mode when it comes: a mode changed during the run counts.
    const AccessoryCommand command = form_.StepCommand(step);
    if (step == 1) run.firstAddress = command.turnout;
    if (step == 2) run.modeA = command.turnout;
    if (step == 4) run.modeB = command.turnout;
    const int turnout = command.turnout + link.TurnoutOffset();
    w_.connectionLog->AddLine(
        QCoreApplication::translate("ProgrammingRun", "Zet wisselnummer: %1").arg(turnout));
    AccessoryOutcome outcome = AccessoryOutcome::CarriedOut();
    try {
      outcome = co_await link.SwitchAccessory(command);
      // The confirmation of a station that answers in its own time has the whole pause to come.
      if (!outcome.Failed() && !stopping_) {
        stepPauseTimer_->start();
        while (stepPauseTimer_->isActive()) co_await stepPauseEnded_.Ever();
        if (!stopping_) outcome = co_await link.OutcomeAtStepEnd(outcome);
      }
    } catch (const std::exception& error) {
      outcome = LostTo(error);
    }
    // Nothing is reported for a run the user ended.
    if (stopping_) co_return std::nullopt;
    if (outcome.Failed()) {
      StopRun(step, turnout, outcome);
      run.when = QDateTime::currentDateTime();
      run.result = RunRecord::Result::Failed;
      run.stationSaid = RunFailureRecord(step, turnout, outcome);
      co_return run;
    }
    unconfirmed = unconfirmed || outcome.result == AccessoryOutcome::Result::Unconfirmed;
  }
  if (unconfirmed) w_.connectionLog->AddLine(UnconfirmedRunLogLine());
  w_.connectionLog->AddLine(
      QCoreApplication::translate("ProgrammingRun", "Druk op de programmeerknop van de WD10"));
  ShowRunEnded();
  run.when = QDateTime::currentDateTime();
  run.result = unconfirmed ? RunRecord::Result::Unconfirmed : RunRecord::Result::Programmed;
  co_return run;
}

void ProgrammingRun::ReadyNextDecoder() {
  w_.connectionLog->Clear();
  form_.AdvanceToNextDecoder(station_.HighestFirstAddress());
  w_.programButton->setEnabled(true);
  w_.programButton->show();
  // The focus leaves the button that hides for the one the user presses next.
  w_.programButton->setFocus();
  w_.nextDecoderButton->hide();
  w_.closeButton->hide();
}

void ProgrammingRun::StopRun(int step, int turnout, const AccessoryOutcome& outcome) {
  // A line drop that stopped the run is told in the run's box; the connection watch would tell
  // it a second time once the run is over.
  connection_.StopLineWatch();
  w_.connectionLog->AddLine(RunFailureLogLine(step, turnout));
  ShowMessage(RunFailureMessage(step, turnout, outcome));
  ShowRunEnded();
}

void ProgrammingRun::ShowRunEnded() {
  w_.programButton->hide();
  w_.nextDecoderButton->show();
  w_.closeButton->show();
}
