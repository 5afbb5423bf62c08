// The P50X link to an Intellibox or Twin-Center: one command at a time is written and its reply
// read and decoded before the next may start; a command that finds another one on the line waits
// for it to end. Every read has a time limit; a command whose reply does not come is given up
// whole, with a line in the connection log.
#pragma once

#include <QByteArray>
#include <chrono>
#include <functional>

#include "link/CommandStationLink.h"
#include "link/TrackPower.h"
#include "p50x/P50XCommandScope.h"
#include "p50x/P50XLinkOperations.h"

class LinkObserver;
class SerialPort;

class P50XLink final : public CommandStationLink, private P50XLinkOperations {
 public:
  P50XLink(SerialPort& port, LinkObserver& observer);
  ~P50XLink() override;
  P50XLink(const P50XLink&) = delete;
  P50XLink& operator=(const P50XLink&) = delete;

  // Two stop bits, 19200 baud until detection finds the rate, every command prefixed.
  Task<void> Attach() override;
  // Interface detection, then power on. False when no command station is ready for P50X.
  Task<bool> Connect() override;
  // Power off, after the command before it. Where that one was ended in its reply read, the
  // reply is let in and thrown away first, so that it cannot be read as the power-off's.
  Task<void> SwitchPowerOff() override;
  // Power on, once the station has reported the track off (its event poll, a power-on or
  // turnout reply); the run may start when the station answers it with 0x00.
  Task<AccessoryOutcome> PowerTrackForRun() override;
  // A port error is reported as a lost command, not raised.
  Task<AccessoryOutcome> SwitchAccessory(AccessoryCommand command) override;
  Task<AccessoryOutcome> OutcomeAtStepEnd(AccessoryOutcome returned) override;
  bool PollsEvents() const override { return true; }
  // The event query, unless a command has the line (that tick is left out).
  Task<void> PollEvents() override;

  // One command: binary (first byte 0x80 and up) in one write, its reply decoded before this
  // ends; ASCII (below 0x80) with CR, one byte a write, nothing read. False when the reply did
  // not come and the command was given up. Port errors pass to the caller.
  Task<bool> SendP50X(QByteArray command);
  // Output on, 200 ms, output off: each frame a command of its own, so that the event poll may
  // run in between; each reply decoded into the receive log. Stops after a reply that is missing
  // (lost) or that refuses the command, without sending the off frame. Port errors pass to the
  // caller.
  Task<AccessoryOutcome> SwitchTurnoutP50X(int address, int direction);
  // Finds the command station on the port (which it opens itself, with only the break and CTS
  // events, so that replies stay queued for the reads) and sets it up. True when one answered
  // and is ready for P50X commands; otherwise what went wrong is in the connection log and a
  // message box. An error opening the port passes to the caller.
  Task<bool> DetectP50XInterface();
  // A command has the line.
  bool P50XBusy() const { return scope_.Busy(); }

  // The bytes of the last read with a count above zero, and its first byte.
  const QByteArray& ReplyBuffer() const { return replyBuffer_; }
  unsigned char ReplyByte() const { return replyByte_; }
  // Every command that goes through SendP50X carries the prefix "x" while this is set.
  bool XPrefixMode() const { return xPrefixMode_; }
  void SetXPrefixMode(bool on) override { xPrefixMode_ = on; }

  // The fixed pauses of interface detection and of text commands, and the settle pauses of
  // decoders: given the pause the link means, the pause it takes. Empty: as meant. Tests shorten
  // them (and count them) here.
  void SetPauseLength(std::function<int(int)> length) { pauseLength_ = std::move(length); }

 private:
  class PortContext;

  // The command, which has the line (turn): a reply that did not come gives it up whole (false).
  Task<bool> Outcome(P50XCommandScope::Turn turn, Task<void> command);
  Task<void> WriteCommand(QByteArray command) override;
  Task<QByteArray> ReadUntilPrompt() override;
  Task<P50XInputWait> AwaitReply(int count,
                                 std::chrono::steady_clock::time_point deadline) override;
  Pause PauseLink(int milliseconds) const override;
  // Waits until count bytes are waiting and reads them into ReplyBuffer; P50XNoReply when they
  // do not come by the deadline.
  Task<void> ReadReplyBytes(int count, std::chrono::steady_clock::time_point deadline);
  // Bytes may still come for a command that was given up, ended in its read, or whose reply was
  // read only in part: before the next command goes out they are let in, until the line has been
  // quiet for as long as lateBytesQuiet_ says, and thrown away. Nothing to do while nothing is
  // owed.
  Task<void> LetLateBytesIn();

  SerialPort& port_;
  LinkObserver& observer_;
  P50XCommandScope scope_;
  QByteArray replyBuffer_;
  unsigned char replyByte_ = 0;
  // The main window's start-up chooses this central type once, which sets the prefix.
  bool xPrefixMode_ = true;
  std::chrono::milliseconds lateBytesQuiet_{0};
  TrackPower power_;
  quint64 stepMark_ = 0;
  std::function<int(int)> pauseLength_;
};
