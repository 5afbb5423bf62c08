// The LocoNet link of an Intellibox or Twin-Center: global power on and off, the switch request
// of an accessory command, and the receive parser that logs, beeps and answers slot data.
// Everything put on LocoNet comes back to its sender: a step counts once each of its messages
// has come back, and a rejection, a power off or an emergency stop heard during it stops it.
#pragma once

#include <QByteArray>

#include "link/CommandStationLink.h"
#include "link/LinkObserver.h"
#include "link/ReceiveHexBuffer.h"
#include "link/StepWatch.h"

class SerialPort;

class LocoNetLink final : public CommandStationLink {
 public:
  LocoNetLink(SerialPort& port, LinkObserver& observer);

  Task<void> Attach() override;
  Task<bool> Connect() override;
  Task<void> SwitchPowerOff() override;
  // Global power on, once the station has reported the track off, and its echo awaited.
  Task<AccessoryOutcome> PowerTrackForRun() override;
  Task<AccessoryOutcome> SwitchAccessory(AccessoryCommand command) override;
  Task<AccessoryOutcome> OutcomeAtStepEnd(AccessoryOutcome returned) override;
  void Received(const QByteArray& bytes) override;
  int HighestTurnout() const override;

  // Appends the check byte and writes the message one byte a write. Errors of the port pass to
  // the caller.
  void SendLocoNet(const QByteArray& message);
  // One accessory command: output on, a 200 ms pause, output off (not when the on was refused
  // meanwhile). Errors of the port pass to the caller.
  Task<void> LocoNetSwitch(int turnout, int direction);
  // Consumes the complete messages at the front of the receive hex buffer, logs each, beeps
  // and answers where a message asks for it. A failed answer is shown in a message box once
  // every message of the call has been logged.
  void ParseLocoNet();

  const QByteArray& ReceiveHexBuffer() const { return received_.text; }

 private:
  // Sends the message, awaiting its echo.
  void SendEchoed(const QByteArray& message);
  void Hear(const QByteArray& message);

  SerialPort& port_;
  LinkObserver& observer_;
  ::ReceiveHexBuffer received_;
  StepWatch watch_{AccessoryOutcome::MissingConfirmation::LocoNetEcho};
};
