// The LocoNet words this program speaks and listens for. A message is an opcode, data bytes
// with bit 7 clear and a check byte (LocoNetMessage.h); the opcode's top bit marks the start.
#pragma once

#include <QByteArray>

namespace LocoNet {

inline constexpr unsigned char kGlobalPowerOff = 0x82;
inline constexpr unsigned char kGlobalPowerOn = 0x83;
// Every locomotive stopped and the track idle: LocoNet's emergency stop.
inline constexpr unsigned char kForceIdle = 0x85;
inline constexpr unsigned char kSwitchRequest = 0xB0;
inline constexpr unsigned char kLongAcknowledge = 0xB4;
inline constexpr unsigned char kMoveSlots = 0xBA;
inline constexpr unsigned char kPeerTransfer = 0xE5;
inline constexpr unsigned char kSlotData = 0xE7;

// Third byte of a switch request, beside the turnout's top four address bits.
inline constexpr int kSwitchOutputOn = 0x10;
inline constexpr int kSwitchDirectionZero = 0x20;
// A switch request carries the turnout less one in eleven bits: seven low, four high.
inline constexpr int kTurnoutLowBits = 0x7F;
inline constexpr int kTurnoutsPerHighStep = 128;
inline constexpr int kHighestTurnout = 2048;

// A peer transfer of this length whose byte 5 holds kBeepingPeerByte asks for the beep.
inline constexpr int kBeepingPeerLength = 0x0F;
inline constexpr int kBeepingPeerByte = 0x11;

// A long acknowledge names the opcode it answers with its top bit cleared; its third byte 0
// says the command station will not carry that command out.
inline constexpr int kAcknowledgedOpcodeMask = 0x7F;
inline constexpr int kAcknowledgeRejected = 0x00;

// What a message means that says the track has no power from now on; nothing for any other.
inline const char* TrackOffMeaning(const QByteArray& message) {
  if (message.size() != 2) return nullptr;
  switch (static_cast<unsigned char>(message[0])) {
    case kGlobalPowerOff:
      return "global power off";
    case kForceIdle:
      return "emergency stop (force idle)";
    default:
      return nullptr;
  }
}

inline bool IsGlobalPowerOn(const QByteArray& message) {
  return message.size() == 2 && static_cast<unsigned char>(message[0]) == kGlobalPowerOn;
}

// What a message heard during a switch request means when it says the request will not be
// carried out, given its bytes with a check byte already found right; nothing for any other.
// Such are the long acknowledge that rejects a switch request (B4 30 00 7B), global power off
// (82 7D) and the emergency stop (85 7A), after which no turnout switches.
inline const char* RefusalMeaning(const QByteArray& message) {
  if (message.size() == 4 && static_cast<unsigned char>(message[0]) == kLongAcknowledge &&
      message[1] == (kSwitchRequest & kAcknowledgedOpcodeMask) &&
      message[2] == kAcknowledgeRejected)
    return "long acknowledge, the switch request is rejected";
  return TrackOffMeaning(message);
}

}  // namespace LocoNet
