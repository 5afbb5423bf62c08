// The Märklin 6050/6051 interface takes single bytes: go, stop, and a turnout switched to green
// followed by the solenoids switched off.
#pragma once

namespace Maerklin {

inline constexpr char kGo = 0x60;
inline constexpr char kStop = 0x61;
inline constexpr char kTurnoutGreen = 0x22;
inline constexpr char kSolenoidsOff = 0x20;
// The turnout follows kTurnoutGreen as one byte: its low 8 bits go out.
inline constexpr int kTurnoutByteMask = 0xFF;
inline constexpr int kHighestTurnout = kTurnoutByteMask;
inline constexpr int kSolenoidPulseMs = 100;

}  // namespace Maerklin
