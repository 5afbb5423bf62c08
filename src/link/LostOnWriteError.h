// A serial link's accessory command whose bytes the port would not take (an adapter pulled out,
// a port closed under the run) reached no station: it is lost, in the port's own words.
#pragma once

#include <QString>
#include <optional>

#include "CPort/EComPort.h"
#include "link/AccessoryOutcome.h"

// Runs writes; `what` names what they carry, as in "the switch request". Nothing when every
// write went out. Errors other than the port's pass to the caller.
template <typename Writes>
std::optional<AccessoryOutcome> LostOnWriteError(const QString& what, Writes&& writes) {
  try {
    writes();
  } catch (const EComPort& error) {
    return AccessoryOutcome::Lost(
        QStringLiteral("nothing: %1 could not be written (%2)").arg(what, error.Message()));
  }
  return std::nullopt;
}
