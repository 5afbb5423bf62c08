// One programming run of the real main window against a simulated command station that has
// the plan's fault: the user's whole way through the window, from choosing the central type to
// closing it. The run is judged by what the user is left with: the decoder programmed (and the
// station really heard the four commands), or a message saying what went wrong.
#pragma once

#include <QStringList>

#include "SoakPlan.h"

enum class Outcome {
  Programmed,
  // The run went out whole on a station that confirmed nothing, and the log says so.
  Unchecked,
  ClearMessage,
  // Told "programmed" while the station did not hear the decoder's settings.
  FalseSuccess,
  // Neither programmed nor told why not, or the window did not close.
  Undefined,
};

struct RunResult {
  Outcome outcome = Outcome::Undefined;
  // The run reached its time limit and was stopped by closing the window.
  bool overran = false;
  double seconds = 0;
  // What the user saw: the connection log and the message boxes.
  QStringList shown;
};

RunResult RunProgramming(const RunPlan& plan);
