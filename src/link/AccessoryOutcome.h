// What became of an accessory command, as far as the command station lets the link know.
#pragma once

#include <QString>
#include <utility>

struct AccessoryOutcome {
  enum class Result {
    CarriedOut,  // accepted, or the station says nothing back and the bytes went out
    Refused,     // the station answered that it will not carry the command out
    Lost,        // no answer, or the connection or port is gone
  };

  Result result = Result::CarriedOut;
  // The station's own words (a reply line, a reply byte in hex), or what was missing; English.
  QString stationSaid;

  static AccessoryOutcome CarriedOut(QString said = {}) {
    return {Result::CarriedOut, std::move(said)};
  }
  static AccessoryOutcome Refused(QString said) { return {Result::Refused, std::move(said)}; }
  static AccessoryOutcome Lost(QString said) { return {Result::Lost, std::move(said)}; }

  bool Failed() const { return result != Result::CarriedOut; }
};
