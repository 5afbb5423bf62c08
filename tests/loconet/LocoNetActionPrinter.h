// Readable test failures: an action shows as its kind and its bytes.
#pragma once

#include <ostream>

#include "loconet/LocoNetReceiver.h"

inline void PrintTo(const LocoNetAction& action, std::ostream* out) {
  switch (action.kind) {
    case LocoNetAction::Kind::LogLine:
      *out << "log " << action.bytes.constData();
      break;
    case LocoNetAction::Kind::Beep:
      *out << "beep";
      break;
    case LocoNetAction::Kind::Send:
      *out << "send " << action.bytes.toHex(' ').constData();
      break;
  }
}
