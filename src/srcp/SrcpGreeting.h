// Which handshake a server gets follows from its greeting, as far as it has arrived in the
// receive log. The two servers this program was made for name themselves ("DDW V 0.7",
// "DDW V 0.8"); a current SRCP server names only its protocol ("SRCP 0.8.4") and speaks to a
// client exactly as a DDW 0.8 server does, so it gets the same handshake. Without this it would
// get none, and every programming command would go to a session that never began.
#pragma once

#include <QString>

struct SrcpGreeting {
  bool ddw07 = false;  // info, then command mode on one connection; power left off
  bool ddw08 = false;  // a command and an information connection; power switched on
};

SrcpGreeting RecogniseSrcpGreeting(const QString& receivedText);
