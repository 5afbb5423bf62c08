// The words of the P50X protocol that the link and its decoders speak: the binary commands by
// their names in the protocol, the reply bytes of a turnout command, and the turnout frame.
#pragma once

#include <QByteArray>

namespace P50X {

// Every command goes out behind this byte; a command byte below 0x80 starts a text command.
inline constexpr unsigned char kPrefix = 'x';
inline constexpr unsigned char kFirstBinaryByte = 0x80;
// The end of a text command's reply.
inline constexpr char kPrompt = ']';
// Sent bare at each rate while the station's rate is sought; it answers at its own rate only.
inline constexpr unsigned char kBaudRateProbe = 0xC4;

inline constexpr unsigned char XTrnt = 0x90;
inline constexpr unsigned char XSensOff = 0x99;
inline constexpr unsigned char XVer = 0xA0;
inline constexpr unsigned char XP50XCh = 0xA2;
inline constexpr unsigned char XPwrOff = 0xA6;
inline constexpr unsigned char XPwrOn = 0xA7;
inline constexpr unsigned char XEvent = 0xC8;
inline constexpr unsigned char XEvtLok = 0xC9;
inline constexpr unsigned char XEvtTrn = 0xCA;
inline constexpr unsigned char XEvtSen = 0xCB;
inline constexpr unsigned char XEvtIR = 0xCC;
inline constexpr unsigned char XEvtPT = 0xCE;

// Replies to XTrnt.
inline constexpr unsigned char kTurnoutAccepted = 0x00;
inline constexpr unsigned char kTurnoutBadParameter = 0x02;
inline constexpr unsigned char kTurnoutFifoFull = 0x09;
inline constexpr unsigned char kTurnoutBadAddress = 0x0E;
inline constexpr unsigned char kTurnoutI2CFifoFull = 0x10;
inline constexpr unsigned char kTurnoutFifoNearlyFull = 0x40;  // 75 % full, still accepted
inline constexpr unsigned char kTurnoutPowerOff = 0xA6;

// XTrnt for a turnout (its number as the station counts it) and direction, output on or off.
inline QByteArray TurnoutFrame(int address, int direction, bool outputOn) {
  constexpr int kOutputOn = 0x40;
  QByteArray frame(3, '\0');
  frame[0] = static_cast<char>(XTrnt);
  frame[1] = static_cast<char>(address % 256);
  frame[2] = static_cast<char>((address / 256 + direction + (outputOn ? kOutputOn : 0)) % 256);
  return frame;
}

}  // namespace P50X
