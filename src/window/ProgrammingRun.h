// The programming run: four accessory commands, four seconds apart, from which a WD10 in
// learning mode takes its address and the modes of its two groups. The run goes on only while
// the command station carries the commands out: a decoder that learnt half its settings, or
// none, must not be reported as programmed.
#pragma once

#include <QObject>
#include <optional>

#include "platform/Task.h"
#include "platform/Wakeup.h"
#include "window/DecoderList.h"

class DecoderForm;
class QTimer;
class QWidget;
class StationChoice;
class StationConnection;
struct MainWindowWidgets;

class ProgrammingRun {
 public:
  ProgrammingRun(QWidget& window, MainWindowWidgets& widgets, DecoderForm& form,
                 StationChoice& station, StationConnection& connection);

  // The run of the address and modes the form shows: what it came to, or nothing when it did
  // not start or was stopped.
  Task<std::optional<RunRecord>> Program();
  // The user is leaving: the run stops once the command under way has been carried out (a
  // solenoid switched on is switched off again), its step pause cut short; nothing more is sent.
  void Stop();
  // The panel made ready for the next decoder on the same connection: the connection and the
  // track power stay, and the station is told nothing until its run starts.
  void ReadyNextDecoder();

 private:
  void StopRun(int step, int turnout, const struct AccessoryOutcome& outcome);
  void ShowRunEnded();

  MainWindowWidgets& w_;
  DecoderForm& form_;
  StationChoice& station_;
  StationConnection& connection_;
  QTimer* stepPauseTimer_;
  Wakeup stepPauseEnded_;
  bool stopping_ = false;
};
