// The Lenz interface's words this program uses: the headers and data bytes it sends, how a
// turnout number becomes an accessory address, and the interface's answers.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
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

// The interface answers every frame with 01, a code, and the check byte; code 04 says the
// command went on to the command station, the others that it did not.
inline constexpr char kInterfaceAnswerHeader = 0x01;
struct InterfaceError {
  char code;
  const char* meaning;
};
inline constexpr std::array<InterfaceError, 5> kInterfaceErrors = {{
    {0x01, "transfer error between the computer and the interface"},
    {0x02, "the command station did not answer the interface"},
    {0x03, "unknown communication error"},
    {0x05, "the command station gives the interface no time slot"},
    {0x06, "the interface's buffer is full"},
}};

// What an error answer of the interface means, or nothing for any other frame.
inline std::optional<QString> InterfaceErrorMeaning(const QByteArray& frame) {
  for (const InterfaceError& error : kInterfaceErrors) {
    const char answer[] = {kInterfaceAnswerHeader, error.code,
                           static_cast<char>(kInterfaceAnswerHeader ^ error.code)};
    if (frame == QByteArray(answer, sizeof answer)) return QString::fromLatin1(error.meaning);
  }
  return std::nullopt;
}

}  // namespace Lenz
