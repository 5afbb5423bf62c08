// Value types of the signal indicator: which port signal it shows, what it looks like, and
// whether it is lit.
#pragma once

#include <QObject>
#include <functional>

enum LineLedSignal { lsConn, lsCTS, lsDSR, lsRLSD, lsRing, lsRx, lsTx };
enum LedKind {
  lkRedLight,
  lkGreenLight,
  lkBlueLight,
  lkYellowLight,
  lkPurpleLight,
  lkBulb,
  lkCustom
};
enum LedState { lsOff, lsOn };

using LedStateHandler = std::function<void(QObject* Sender, LedState AState)>;
