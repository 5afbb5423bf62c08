// What a WD10 learns from the programming run: its first turnout address, the derived address
// of group B, the decoder number shown to the user and the seven operating modes of a group.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <array>

namespace DecoderModel {

inline constexpr int kMinAddress = 1;
inline constexpr int kMaxAddress = 2040;
inline constexpr int kMaxAddressMaerklin = 248;
inline constexpr int kAddressStep = 8;
inline constexpr int kGroupBOffset = 4;

// The decoder number for a first turnout address: the block of four turnouts that begins there.
constexpr int DecoderNumber(int firstAddress) {
  return (firstAddress + 1) / 4 + 1;
}

// The first address offered for the decoder after the one at firstAddress: the eight turnouts
// after its own. Past highest the station would teach a wrong address, so the field stays where
// it is and the user picks one.
constexpr int NextFirstAddress(int firstAddress, int highest) {
  return firstAddress + kAddressStep <= highest ? firstAddress + kAddressStep : firstAddress;
}

struct Mode {
  int number;
  const char* caption;  // Dutch, the catalogues' source
};

// In the order of the radio buttons of a group.
inline constexpr std::array<Mode, 7> kModes{{
    {2, QT_TRANSLATE_NOOP("DecoderModel", "4 uitgangen als impuls (LS100)")},
    {3, QT_TRANSLATE_NOOP("DecoderModel", "4 uitgangen als impuls (K83)")},
    {4, QT_TRANSLATE_NOOP("DecoderModel", "4 uitgangen als aan/uit (K84)")},
    {5, QT_TRANSLATE_NOOP("DecoderModel", "Verlichtingsmode")},
    {6, QT_TRANSLATE_NOOP("DecoderModel", "Sein met 2 begrippen")},
    {7, QT_TRANSLATE_NOOP("DecoderModel", "Sein met 4 begrippen")},
    {8, QT_TRANSLATE_NOOP("DecoderModel", "NS-Sein met 4 begrippen")},
}};

// The caption of a mode number in the window's language; empty when the number is not a mode.
QString ModeCaption(int modeNumber);

}  // namespace DecoderModel
