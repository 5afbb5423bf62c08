// What the user is told when a programming run stops because the command station did not carry
// a step out: which step, which turnout, what the station said or left unsaid, what to do now.
#pragma once

#include <QString>

#include "link/AccessoryOutcome.h"

QString RunFailureMessage(int step, int turnout, const AccessoryOutcome& outcome);
// The same stop in a line, as the decoder list keeps it: the step, and what the station said or
// left unsaid.
QString RunFailureRecord(int step, int turnout, const AccessoryOutcome& outcome);
// The connection log's line for the same stop.
QString RunFailureLogLine(int step, int turnout);
// The connection log's line after a run that went out whole on a station that confirmed none of
// it: the user must know the result is unchecked.
QString UnconfirmedRunLogLine();
