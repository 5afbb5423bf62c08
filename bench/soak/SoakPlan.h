// What each run of the soak does: the central types take turns, each one going through its
// faults in turn, and everything else about a run (how hard the fault strikes, the decoder's
// address and modes) is drawn from the soak's seed, so any run comes again with the same seed.
#pragma once

#include <QString>
#include <cstdint>

#include "FaultyLine.h"
#include "SimulatedCentral.h"

// The ways an SRCP server lets the program down.
enum class ServerFault { None, Disconnect, Flood, Slow };

struct ServerFaultPlan {
  ServerFault fault = ServerFault::None;
  // Disconnect: the command connection is closed on the first line the program sends that
  // starts with this.
  QString closeOnLine;
  // Flood: starts this long after the connect button is pressed and lasts this long.
  int floodAfterMs = 0;
  int floodForMs = 0;
  // Slow: every reply of the command session comes this late.
  int replyDelayMs = 0;
};

struct RunPlan {
  int index = 0;
  std::uint32_t seed = 0;
  SimulatedCentral central = SimulatedCentral::LocoNet;
  LineFaultPlan line;      // serial central types
  ServerFaultPlan server;  // SRCP
  int address = 1;         // the first turnout address entered
  int modeA = 0;           // group A's mode button, counted from 0
  int modeB = 0;           // group B's

  // The fault's name as the report counts it, e.g. "corrupted reply bytes".
  QString FaultName() const;
  // What the run does, and what repeats it.
  QString Describe() const;
};

RunPlan PlanRun(int index, std::uint32_t seed);

QString CentralName(SimulatedCentral central);
