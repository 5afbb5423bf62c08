// What became of an accessory command, as far as the command station lets the link know.
#pragma once

#include <QString>
#include <utility>

struct AccessoryOutcome {
  enum class Result {
    CarriedOut,   // the station confirmed it (a reply, an echo, an acknowledge)
    Unconfirmed,  // it went out, but this station has confirmed nothing since the connect
    Refused,      // the station answered that it will not carry the command out
    Lost,         // no answer, a confirmation that did not come, or the connection is gone
  };

  // For a command lost because the confirmation its station always gives did not come: which
  // one, so that the user is told what to check.
  enum class MissingConfirmation {
    None,
    InterfaceAnswer,     // Lenz: the interface's 01 04 05 for each frame
    LocoNetEcho,         // LocoNet: the echo of each message put on the bus
    BytesNotSent,        // Märklin: the bytes still wait in the port's output queue
    ClearToSendDropped,  // Märklin: the interface dropped CTS during the step
  };

  Result result = Result::CarriedOut;
  // The station's own words (a reply line, a reply byte in hex), or what was missing; English.
  QString stationSaid;
  MissingConfirmation missing = MissingConfirmation::None;

  static AccessoryOutcome CarriedOut(QString said = {}) {
    return {Result::CarriedOut, std::move(said)};
  }
  static AccessoryOutcome Unconfirmed() { return {Result::Unconfirmed, {}}; }
  static AccessoryOutcome Refused(QString said) { return {Result::Refused, std::move(said)}; }
  static AccessoryOutcome Lost(QString said) { return {Result::Lost, std::move(said)}; }
  static AccessoryOutcome NotConfirmed(MissingConfirmation missing, QString said = {}) {
    return {Result::Lost, std::move(said), missing};
  }

  bool Failed() const { return result == Result::Refused || result == Result::Lost; }
};
