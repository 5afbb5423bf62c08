#include "serial/SerialTypes.h"

#include <array>

namespace {

constexpr std::array<int, 16> kBaudRates = {0,     110,    300,    600,   1200,  2400,
                                            4800,  9600,   14400,  19200, 38400, 56000,
                                            57600, 115200, 128000, 256000};

template <typename E, std::size_t N>
QString TextOf(const std::array<const char*, N>& texts, E value) {
  const auto index = static_cast<std::size_t>(value);
  return index < N ? QString::fromLatin1(texts[index]) : QString();
}

// The first text form that matches, ignoring case; the fallback when none does.
template <typename E, std::size_t N>
E ValueOf(const std::array<const char*, N>& texts, const QString& text, E fallback) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text.compare(QLatin1String(texts[i]), Qt::CaseInsensitive) == 0) return static_cast<E>(i);
  }
  return fallback;
}

constexpr std::array<const char*, 16> kBaudTexts = {
    "Custom", "110",   "300",   "600",   "1200",  "2400",   "4800",   "9600",
    "14400",  "19200", "38400", "56000", "57600", "115200", "128000", "256000"};
constexpr std::array<const char*, 3> kStopBitsTexts = {"1", "1.5", "2"};
constexpr std::array<const char*, 4> kDataBitsTexts = {"5", "6", "7", "8"};
constexpr std::array<const char*, 5> kParityTexts = {"None", "Odd", "Even", "Mark", "Space"};
constexpr std::array<const char*, 4> kFlowTexts = {"Hardware", "Software", "None", "Custom"};
constexpr std::array<const char*, 3> kDTRTexts = {"Disable", "Enable", "Handshake"};
constexpr std::array<const char*, 4> kRTSTexts = {"Disable", "Enable", "Handshake", "Toggle"};

}  // namespace

int BaudRateToInt(BaudRateSetting value) {
  const auto index = static_cast<std::size_t>(value);
  return index < kBaudRates.size() ? kBaudRates[index] : 0;
}

QString BaudRateToStr(BaudRateSetting value) {
  return TextOf(kBaudTexts, value);
}
QString StopBitsToStr(StopBitsSetting value) {
  return TextOf(kStopBitsTexts, value);
}
QString DataBitsToStr(DataBitsSetting value) {
  return TextOf(kDataBitsTexts, value);
}
QString ParityToStr(ParityBits value) {
  return TextOf(kParityTexts, value);
}
QString FlowControlToStr(FlowControlSetting value) {
  return TextOf(kFlowTexts, value);
}
QString DTRToStr(DtrControl value) {
  return TextOf(kDTRTexts, value);
}
QString RTSToStr(RtsControl value) {
  return TextOf(kRTSTexts, value);
}

BaudRateSetting StrToBaudRate(const QString& text) {
  return ValueOf(kBaudTexts, text, br9600);
}
StopBitsSetting StrToStopBits(const QString& text) {
  return ValueOf(kStopBitsTexts, text, sbOneStopBit);
}
DataBitsSetting StrToDataBits(const QString& text) {
  return ValueOf(kDataBitsTexts, text, dbEight);
}
ParityBits StrToParity(const QString& text) {
  return ValueOf(kParityTexts, text, prNone);
}
FlowControlSetting StrToFlowControl(const QString& text) {
  return ValueOf(kFlowTexts, text, fcCustom);
}
DtrControl StrToDTR(const QString& text) {
  return ValueOf(kDTRTexts, text, dtrDisable);
}
RtsControl StrToRTS(const QString& text) {
  return ValueOf(kRTSTexts, text, rtsDisable);
}
