#include "srcp/SrcpGreeting.h"

SrcpGreeting RecogniseSrcpGreeting(const QString& greeting) {
  SrcpGreeting recognised;
  recognised.ddw07 = greeting.contains(QLatin1String("DDW V 0.7"));
  recognised.ddw08 = greeting.contains(QLatin1String("DDW V 0.8"));
  if (!recognised.ddw07 && !recognised.ddw08 && greeting.contains(QLatin1String("SRCP 0.8"))) {
    recognised.ddw08 = true;
    recognised.powerPerBus = true;
  }
  return recognised;
}
