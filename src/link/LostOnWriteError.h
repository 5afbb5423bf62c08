// A serial link's accessory command whose bytes the port would not take (an adapter pulled out,
// a port closed under the run) reached no station: it is lost, in the port's own words.
#pragma once

#include <QString>
#include <optional>
#include <type_traits>

#include "link/AccessoryOutcome.h"
#include "platform/Task.h"
#include "serial/SerialPortError.h"

// Runs the writes, and awaits them when they pause between bytes (they return a task); `what`
// names what they carry, as in "the switch request". Nothing when every write went out. Errors
// other than the port's pass to the caller.
template <typename Writes>
Task<std::optional<AccessoryOutcome>> LostOnWriteError(QString what, Writes writes) {
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Writes&>>)
      writes();
    else
      co_await writes();
  } catch (const SerialPortError& error) {
    co_return AccessoryOutcome::Lost(
        QStringLiteral("nothing: %1 could not be written (%2)").arg(what, error.Message()));
  }
  co_return std::nullopt;
}
