// An Intellibox or Twin-Center speaking LocoNet on the master side of a pty. Everything put on
// LocoNet comes back to its sender, so every complete message the program sends is echoed; a
// message with a wrong check byte never makes it onto the net and is not. On request it sends
// slot data and peer transfer messages, as locomotive throttles on the net would cause.
#pragma once

#include <QByteArray>
#include <mutex>
#include <vector>

#include "PtyPeer.h"
#include "StationLog.h"

class LocoNetSimulator : public PtyPeer {
 public:
  LocoNetSimulator();
  ~LocoNetSimulator() override;

  // Sends the message with its check byte appended.
  void SendMessage(const QByteArray& bytesWithoutCheck);
  // Slot data, E7 0E slot status and ten more bytes describing a locomotive at address 3.
  void SendSlotData(int slot, int status);
  // A peer transfer E5, its length byte, then body.
  void SendPeerTransfer(const QByteArray& body);

  // The complete, valid messages heard so far, check bytes included.
  std::vector<QByteArray> MessagesHeard() const;
  StationLog& Log() { return log_; }

 protected:
  void OnReceived(const QByteArray& bytes) override;

 private:
  void Report(const QByteArray& message);

  mutable std::mutex mutex_;
  QByteArray pendingHex_;  // received bytes not yet framed, two hex digits a byte
  std::vector<QByteArray> messagesHeard_;
  StationLog log_;
};
