// Value types of the serial port component: enumerations with their device values and text
// forms, and the small sets built from them.
#pragma once

#include <QString>
#include <cstdint>

enum TBaudRate {
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
enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl { fcHardware, fcSoftware, fcNone, fcCustom };
enum TSyncMethod { smThreadSync, smWindowSync, smNone };
enum TComEvent {
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
enum TComSignal { csCTS, csDSR, csRing, csRLSD };
enum TComError {
  ceFrame,
  ceRxParity,
  ceOverrun,
  ceBreak,
  ceIO,
  ceMode,
  ceRxOver,
  ceTxFull
};

// A set over one of the enumerations above; bit n stands for the n-th value.
template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) bits_ |= Bit(v);
  }
  static constexpr TSet FromBits(std::uint32_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
  constexpr void Include(E v) { bits_ |= Bit(v); }
  constexpr void Exclude(E v) { bits_ &= ~Bit(v); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr std::uint32_t Bit(E v) { return 1u << static_cast<unsigned>(v); }
  std::uint32_t bits_ = 0;
};

using TComEvents = TSet<TComEvent>;
using TComSignals = TSet<TComSignal>;
using TComErrors = TSet<TComError>;

inline constexpr TComEvents kAllComEvents = TComEvents::FromBits(1023);

// The rate a TBaudRate stands for; brCustom has none of its own (0).
int BaudRateToInt(TBaudRate value);

// Text forms as the settings dialog shows them.
QString BaudRateToStr(TBaudRate value);
QString StopBitsToStr(TStopBits value);
QString DataBitsToStr(TDataBits value);
QString ParityToStr(TParityBits value);
QString FlowControlToStr(TFlowControl value);
QString DTRToStr(TDTRFlowControl value);
QString RTSToStr(TRTSFlowControl value);

// Text back to value, ignoring case; unknown texts give the fallback of each type
// (br9600, sbOneStopBit, dbEight, prNone, fcCustom, dtrDisable, rtsDisable).
TBaudRate StrToBaudRate(const QString& text);
TStopBits StrToStopBits(const QString& text);
TDataBits StrToDataBits(const QString& text);
TParityBits StrToParity(const QString& text);
TFlowControl StrToFlowControl(const QString& text);
TDTRFlowControl StrToDTR(const QString& text);
TRTSFlowControl StrToRTS(const QString& text);
