// Value types of the signal indicator: which port signal it shows, what it looks like, and
// whether it is lit.
#pragma once

#include <QObject>
#include <functional>

enum TComLedSignal { lsConn, lsCTS, lsDSR, lsRLSD, lsRing, lsRx, lsTx };
enum TLedKind {
  lkRedLight,
  lkGreenLight,
  lkBlueLight,
  lkYellowLight,
  lkPurpleLight,
  lkBulb,
  lkCustom
};
enum TLedState { lsOff, lsOn };

using TLedStateEvent = std::function<void(QObject* Sender, TLedState AState)>;
