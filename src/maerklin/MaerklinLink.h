// The link to a Märklin 6050/6051 interface. The interface answers nothing, so what arrives
// is only kept, and a command counts as carried out once its bytes are written.
#pragma once

#include <QByteArray>

#include "link/CommandStationLink.h"
#include "link/LinkObserver.h"
#include "link/ReceiveHexBuffer.h"

class TComPort;

class MaerklinLink final : public CommandStationLink {
 public:
  MaerklinLink(TComPort& port, LinkObserver& observer);

  void Attach() override;
  bool Connect() override;
  void SwitchPowerOff() override;
  AccessoryOutcome SwitchAccessory(const AccessoryCommand& command) override;
  void Received(const QByteArray& bytes) override;
  int HighestTurnout() const override;

  // One accessory command: the turnout to green (its low 8 bits), a 100 ms wait, the solenoids
  // off. Errors of the port pass to the caller.
  void MaerklinSwitch(int turnout);

  const QByteArray& ReceiveHexBuffer() const { return received_.text; }

 private:
  TComPort& port_;
  LinkObserver& observer_;
  ::ReceiveHexBuffer received_;
};
