// Value types of the serial port component: enumerations with their device values and text
// forms, and the small sets built from them.
#pragma once

#include <QString>
#include <cstdint>

enum BaudRateSetting {
  brCustom,
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br115200,
  br128000,
  br256000
};
enum StopBitsSetting { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum DataBitsSetting { dbFive, dbSix, dbSeven, dbEight };
enum ParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum DtrControl { dtrDisable, dtrEnable, dtrHandshake };
enum RtsControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum FlowControlSetting { fcHardware, fcSoftware, fcNone, fcCustom };
enum SerialEvent {
  evRxChar,
  evTxEmpty,
  evRxFlag,
  evRing,
  evBreak,
  evCTS,
  evDSR,
  evError,
  evRLSD,
  evRx80Full
};
enum LineSignal { csCTS, csDSR, csRing, csRLSD };
enum LineError { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };

// A set over one of the enumerations above; bit n stands for the n-th value.
template <typename E>
class FlagSet {
 public:
  constexpr FlagSet() = default;
  constexpr FlagSet(std::initializer_list<E> values) {
    for (E v : values) bits_ |= Bit(v);
  }
  static constexpr FlagSet FromBits(std::uint32_t bits) {
    FlagSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
  constexpr void Include(E v) { bits_ |= Bit(v); }
  constexpr void Exclude(E v) { bits_ &= ~Bit(v); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool operator==(const FlagSet&) const = default;

 private:
  static constexpr std::uint32_t Bit(E v) { return 1u << static_cast<unsigned>(v); }
  std::uint32_t bits_ = 0;
};

using SerialEvents = FlagSet<SerialEvent>;
using LineSignals = FlagSet<LineSignal>;
using LineErrors = FlagSet<LineError>;

inline constexpr SerialEvents kAllSerialEvents = SerialEvents::FromBits(1023);

// The rate a BaudRateSetting stands for; brCustom has none of its own (0).
int BaudRateToInt(BaudRateSetting value);

// Text forms as the settings dialog shows them.
QString BaudRateToStr(BaudRateSetting value);
QString StopBitsToStr(StopBitsSetting value);
QString DataBitsToStr(DataBitsSetting value);
QString ParityToStr(ParityBits value);
QString FlowControlToStr(FlowControlSetting value);
QString DTRToStr(DtrControl value);
QString RTSToStr(RtsControl value);

// Text back to value, ignoring case; unknown texts give the fallback of each type
// (br9600, sbOneStopBit, dbEight, prNone, fcCustom, dtrDisable, rtsDisable).
BaudRateSetting StrToBaudRate(const QString& text);
StopBitsSetting StrToStopBits(const QString& text);
DataBitsSetting StrToDataBits(const QString& text);
ParityBits StrToParity(const QString& text);
FlowControlSetting StrToFlowControl(const QString& text);
DtrControl StrToDTR(const QString& text);
RtsControl StrToRTS(const QString& text);
