// The link to a Märklin 6050/6051 interface. The interface answers nothing (what arrives is
// only kept); all it shows is CTS, which it holds low while it cannot take a byte. So a command
// counts as carried out when, by the end of its step, its bytes have left the port and CTS,
// once seen on, stayed on throughout. A port that never showed CTS on since the connect (a pty,
// an adapter without the line) confirms nothing: its commands are unconfirmed.
#pragma once

#include <QByteArray>

#include "link/CommandStationLink.h"
#include "link/LinkObserver.h"
#include "link/ReceiveHexBuffer.h"

class SerialPort;

class MaerklinLink final : public CommandStationLink {
 public:
  // The interface says nothing worth a line: the observer is not used.
  MaerklinLink(SerialPort& port, LinkObserver& observer);

  Task<void> Attach() override;
  Task<bool> Connect() override;
  Task<void> SwitchPowerOff() override;
  // Writes the command; what it comes to is settled at the end of the step.
  Task<AccessoryOutcome> SwitchAccessory(AccessoryCommand command) override;
  Task<AccessoryOutcome> OutcomeAtStepEnd(AccessoryOutcome returned) override;
  void Received(const QByteArray& bytes) override;
  void ClearToSendChanged(bool on) override;
  int HighestTurnout() const override;

  // One accessory command: the turnout to green (its low 8 bits), a 100 ms pause, the solenoids
  // off. Errors of the port pass to the caller.
  Task<void> MaerklinSwitch(int turnout);

  const QByteArray& ReceiveHexBuffer() const { return received_.text; }

 private:
  SerialPort& port_;
  ::ReceiveHexBuffer received_;
  bool clearToSend_ = false;
  bool clearToSendSeen_ = false;  // CTS was on at some time since the connect
  bool clearToSendHeld_ = false;  // CTS has been on since the current step began
};
