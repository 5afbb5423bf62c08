// A Lenz computer interface with its command station, on the master side of a pty. It frames
// what the program sends by the header's count of data bytes, answers as the interface does (the
// acknowledgement after an accessory operation, the track power broadcasts after resume and
// stop), sends feedback broadcasts on request, on request refuses accessory operations
// with one of the interface's error answers, and on request falls silent as a switched-off
// interface does. It keeps the track's power: a short or the stop key cuts it (broadcast to
// every device), and an accessory operation passed on while the track has none switches nothing.
#pragma once

#include <QByteArray>
#include <mutex>
#include <vector>

#include "FrameSplitter.h"
#include "InterfaceSilence.h"
#include "PtyPeer.h"
#include "StationLog.h"

class LenzSimulator : public PtyPeer {
 public:
  // The program adds this to every turnout number so that it lands where a Lenz system counts.
  static constexpr int kAddressOffset = 4;

  LenzSimulator();
  ~LenzSimulator() override;

  // A frame with its check byte appended: the exclusive-or of every byte before it.
  static QByteArray Frame(const QByteArray& bytesWithoutCheck);

  // Sends the feedback broadcast 42 address data check.
  void SendFeedback(int address, int data);
  // From now on every accessory operation is answered with errorAnswer (an error answer of the
  // interface, such as 01 05 04 when the command station gives it no time slot) and switches
  // nothing; an empty answer accepts them again.
  void RefuseAccessoryOperations(const QByteArray& errorAnswer);
  // A silent interface hears every frame and neither passes it on nor answers it.
  void SetSilent(bool silent);
  // After n more accessory commands (output on and off) the interface is silent for good.
  void FallSilentAfterAccessoryCommands(int n);

  // The track loses its power now, or once n more accessory commands have been carried out (a
  // short in the middle of a run): the command station broadcasts track power off 61 00 61, or
  // emergency stop 81 00 81, and switches no turnout until operations are resumed.
  void CutTrackPower(bool emergencyStop = false);
  void CutTrackPowerAfterAccessoryCommands(int n, bool emergencyStop = false);

  // The complete frames heard so far, check bytes included.
  std::vector<QByteArray> FramesHeard() const;
  StationLog& Log() { return log_; }

 protected:
  void OnReceived(const QByteArray& bytes) override;

 private:
  void Answer(const QByteArray& frame, const QByteArray& refusal);
  void SetTrackPowered(bool powered);
  bool TrackPowered() const;

  mutable std::mutex mutex_;
  FrameSplitter splitter_;
  std::vector<QByteArray> framesHeard_;
  QByteArray accessoryRefusal_;
  bool trackPowered_ = true;
  int accessoryCommandsBeforePowerCut_ = -1;  // -1: none planned
  bool plannedCutIsEmergencyStop_ = false;
  InterfaceSilence silence_;
  StationLog log_;
};
