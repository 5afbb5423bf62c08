// Which handshake a server gets follows from its greeting, the first line of the command
// session. The two servers this program was made for name themselves ("DDW V 0.7",
// "DDW V 0.8"); a current SRCP server names only its protocol ("SRCP 0.8.4") and speaks to a
// client as a DDW 0.8 server does, so it gets the same handshake. It differs in one way that
// matters: it has a power switch per bus, and every bus starts without power, so the bus of
// the accessories has to be switched on too, and a command counts as carried out only once the
// server reports it on that bus.
#pragma once

#include <QString>

struct SrcpGreeting {
  bool ddw07 = false;        // info, then command mode on one connection; power left off
  bool ddw08 = false;        // a command and an information connection; power switched on
  bool powerPerBus = false;  // with ddw08: a server without a DDW name

  bool Recognised() const { return ddw07 || ddw08; }
};

SrcpGreeting RecogniseSrcpGreeting(const QString& greeting);
