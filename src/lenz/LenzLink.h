// The link to a Lenz or Roco system through a Lenz computer interface: resume operations and
// stop, the accessory frames of a turnout command, and the receive parser that logs every
// frame and hears the interface's answers: a step counts once the interface has passed each of
// its frames on, and a refusal of the interface or the command station, a power off or an
// emergency stop stops it.
#pragma once

#include <QByteArray>

#include "lenz/LenzFrames.h"
#include "link/CommandStationLink.h"
#include "link/LinkObserver.h"
#include "link/ReceiveHexBuffer.h"
#include "link/StepWatch.h"

class SerialPort;

class LenzLink final : public CommandStationLink {
 public:
  LenzLink(SerialPort& port, LinkObserver& observer);

  Task<void> Attach() override;
  Task<bool> Connect() override;
  Task<void> SwitchPowerOff() override;
  // Resume operations, once the station has reported the track off or in emergency stop, and
  // its broadcast that normal operation resumed awaited.
  Task<AccessoryOutcome> PowerTrackForRun() override;
  Task<AccessoryOutcome> SwitchAccessory(AccessoryCommand command) override;
  Task<AccessoryOutcome> OutcomeAtStepEnd(AccessoryOutcome returned) override;
  void Received(const QByteArray& bytes) override;
  int TurnoutOffset() const override;
  int HighestTurnout() const override;

  // One write of the frame the frame table describes. Errors of the port pass to the caller.
  void SendLenz();
  // Logs the complete frames at the front of the receive hex buffer and cuts them off.
  void ParseLenz();
  // One accessory command for turnout (counted from 1, offset included): the turnout's first
  // output on, a 250 ms pause, what arrived by then heard, the output off (not when the on was
  // refused meanwhile). Errors of the port pass to the caller.
  Task<void> LenzSwitch(int turnout);

  const QByteArray& ReceiveHexBuffer() const { return received_.text; }

 private:
  void SendResumeOperations();
  void SendAccessoryOperation(int address, int data);
  void Hear(const QString& loggedFrame);

  SerialPort& port_;
  LinkObserver& observer_;
  LenzFrameBuffer LenzFrameTable{};
  ::ReceiveHexBuffer received_;
  StepWatch watch_{AccessoryOutcome::MissingConfirmation::InterfaceAnswer};
};
