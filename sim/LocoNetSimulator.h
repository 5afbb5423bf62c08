// An Intellibox or Twin-Center speaking LocoNet on the master side of a pty. Everything put on
// LocoNet comes back to its sender, so every complete message the program sends is echoed; a
// message with a wrong check byte, or cut short by the next opcode, never makes it onto the
// net and is not. On request it sends slot data and peer transfer messages, as locomotive
// throttles on the net would cause, rejects switch requests as a command station that
// cannot take them does, and falls silent as a switched-off Intellibox does. It keeps the
// track's power: a short or the stop key cuts it (global power off on the net), and a switch
// request sent while the track has none crosses the net but switches no turnout.
#pragma once

#include <QByteArray>
#include <mutex>
#include <vector>

#include "InterfaceSilence.h"
#include "PtyPeer.h"
#include "StationLog.h"

class LocoNetSimulator : public PtyPeer {
 public:
  LocoNetSimulator();
  ~LocoNetSimulator() override;

  // The message with its check byte appended.
  static QByteArray Message(const QByteArray& bytesWithoutCheck);
  // Sends the message with its check byte appended.
  void SendMessage(const QByteArray& bytesWithoutCheck);
  // Slot data, E7 0E slot status and ten more bytes describing a locomotive at address 3.
  void SendSlotData(int slot, int status);
  // A peer transfer E5, its length byte, then body.
  void SendPeerTransfer(const QByteArray& body);
  // From now on (until called with false) every switch request is echoed and then answered
  // with the long acknowledge that rejects it, B4 30 00 7B; no turnout is switched.
  void RefuseSwitchRequests(bool refuse);
  // A silent station hears every message and neither echoes nor carries out any.
  void SetSilent(bool silent);
  // After n more accessory commands (switch requests on and off) the station is silent for
  // good.
  void FallSilentAfterAccessoryCommands(int n);

  // The track loses its power now, or once n more accessory commands have been carried out (a
  // short in the middle of a run): the station puts the message on the net, global power off
  // 82 7D, or emergency stop 85 7A, and switches no turnout until a global power on.
  void CutTrackPower(bool emergencyStop = false);
  void CutTrackPowerAfterAccessoryCommands(int n, bool emergencyStop = false);

  // The complete, valid messages heard so far, check bytes included.
  std::vector<QByteArray> MessagesHeard() const;
  StationLog& Log() { return log_; }

 protected:
  void OnReceived(const QByteArray& bytes) override;

 private:
  // The complete messages with a right check byte that bytes finish, as the net carries them.
  std::vector<QByteArray> Frame(const QByteArray& bytes);
  void Report(const QByteArray& message);
  // Runs with mutex_ held: the message that cuts the power, which the caller sends.
  QByteArray PowerCut(bool emergencyStop);

  mutable std::mutex mutex_;
  QByteArray pending_;  // the message begun and not yet complete
  std::vector<QByteArray> messagesHeard_;
  bool refuseSwitchRequests_ = false;
  bool trackPowered_ = true;
  int accessoryCommandsBeforePowerCut_ = -1;  // -1: none planned
  bool plannedCutIsEmergencyStop_ = false;
  InterfaceSilence silence_;
  StationLog log_;
};
