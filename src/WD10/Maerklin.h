// The Märklin 6050/6051 interface takes single bytes: go, stop, and a turnout switched to green
// followed by the solenoids switched off.
#pragma once

#include <functional>

class TComPort;

namespace Maerklin {

inline constexpr char kGo = 0x60;
inline constexpr char kStop = 0x61;
inline constexpr char kTurnoutGreen = 0x22;
inline constexpr char kSolenoidsOff = 0x20;
inline constexpr int kSolenoidPulseMs = 100;

}  // namespace Maerklin

// One accessory command: the turnout number goes out as its low 8 bits.
void MaerklinSwitch(TComPort& port, int turnout, const std::function<void(int)>& waitMs);
