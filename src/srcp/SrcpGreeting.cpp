#include "srcp/SrcpGreeting.h"

SrcpGreeting RecogniseSrcpGreeting(const QString& receivedText) {
  SrcpGreeting greeting;
  greeting.ddw07 = receivedText.contains(QLatin1String("DDW V 0.7"));
  greeting.ddw08 = receivedText.contains(QLatin1String("DDW V 0.8"));
  if (!greeting.ddw07 && !greeting.ddw08)
    greeting.ddw08 = receivedText.contains(QLatin1String("SRCP 0.8"));
  return greeting;
}
