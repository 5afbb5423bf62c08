// The command stations the simulators stand in for: one for each central type the program
// offers.
#pragma once

enum class SimulatedCentral { LocoNet, P50X, Lenz, Maerklin, Srcp };
inline constexpr int kSimulatedCentrals = 5;
