// The Lenz interface's words this program uses: the headers and data bytes it sends, how a
// turnout number becomes an accessory address, and the interface's answers.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace Lenz {

// A header's high four bits name the command, its low four bits count the data bytes.
inline constexpr int kHeaderResumeOperations = 0x21;
inline constexpr int kResumeOperations = 0x81;
inline constexpr int kHeaderStopAllLocomotives = 0x80;
inline constexpr int kHeaderAccessoryOperation = 0x52;

// Data byte 1000 DBBP of an accessory operation: D (0x08) switches on, BB picks one of the
// four turnouts of the address byte, P = 0 the first output of the pair.
inline constexpr int kAccessoryOutputOff = 0x80;
inline constexpr int kAccessoryOutputOn = 0x88;
inline constexpr int kTurnoutsPerAddress = 4;
inline constexpr int kOutputsPerTurnout = 2;

// A Lenz system counts its turnouts four above the decoder's own numbering, and an accessory
// frame carries (turnout - 1) div 4 in one byte.
inline constexpr int kAddressOffset = 4;
inline constexpr int kHighestTurnout = 1024;

// The interface answers every frame it takes with 01, a code, and the check byte; code 04 says
// the frame went on to the command station, the others that it did not.
inline constexpr char kInterfaceAnswerHeader = 0x01;
inline constexpr char kPassedOn = 0x04;

// A frame of two bytes and its check byte.
inline QByteArray ShortFrame(char header, char data) {
  const char frame[] = {header, data, static_cast<char>(header ^ data)};
  return QByteArray(frame, sizeof frame);
}

// The interface's answer that a frame went on to the command station: 01 04 05.
inline QByteArray PassedOnAnswer() {
  return ShortFrame(kInterfaceAnswerHeader, kPassedOn);
}

// What the interface or the command station says when a frame is not carried out: the
// interface's error answers, and the station's own broadcasts and answers that it cannot.
struct Refusal {
  char header;
  char data;
  const char* meaning;
};
inline constexpr Refusal kRefusals[] = {
    {kInterfaceAnswerHeader, 0x01, "transfer error between the computer and the interface"},
    {kInterfaceAnswerHeader, 0x02, "the command station did not answer the interface"},
    {kInterfaceAnswerHeader, 0x03, "unknown communication error"},
    {kInterfaceAnswerHeader, 0x05, "the command station gives the interface no time slot"},
    {kInterfaceAnswerHeader, 0x06, "the interface's buffer is full"},
    {0x61, static_cast<char>(0x81), "the command station is busy"},
    {0x61, static_cast<char>(0x82), "the command station does not know the command"},
    {0x61, 0x00, "the track power is off"},
    {static_cast<char>(0x81), 0x00, "the command station is in emergency stop"},
};

// The command station's broadcasts of the track's power: off, emergency stop, and normal
// operation resumed (which the answer to "resume operations" is as well).
inline QByteArray TrackPowerOffBroadcast() {
  return ShortFrame(0x61, 0x00);
}
inline QByteArray EmergencyStopBroadcast() {
  return ShortFrame(static_cast<char>(0x81), 0x00);
}
inline QByteArray NormalOperationResumedBroadcast() {
  return ShortFrame(0x61, 0x01);
}

// What a refusing frame means, or nothing for any other frame.
inline std::optional<QString> RefusalMeaning(const QByteArray& frame) {
  for (const Refusal& refusal : kRefusals)
    if (frame == ShortFrame(refusal.header, refusal.data))
      return QString::fromLatin1(refusal.meaning);
  return std::nullopt;
}

}  // namespace Lenz
