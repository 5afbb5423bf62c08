#include "WD10/Maerklin.h"

#include <QByteArray>

#include "CPort/TComPort.h"

void MaerklinSwitch(TComPort& port, int turnout, const std::function<void(int)>& waitMs) {
  port.WriteStr(QByteArray(1, Maerklin::kTurnoutGreen));
  port.WriteStr(QByteArray(1, static_cast<char>(turnout & 0xFF)));
  waitMs(Maerklin::kSolenoidPulseMs);
  port.WriteStr(QByteArray(1, Maerklin::kSolenoidsOff));
}
