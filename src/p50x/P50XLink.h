// The P50X link to an Intellibox or Twin-Center: one command at a time is written and its reply
// read and decoded before the next may start. Every read has a time limit; a command whose
// reply does not come is given up whole, with a line in the connection log.
#pragma once

#include <QByteArray>
#include <chrono>
#include <functional>

#include "link/CommandStationLink.h"
#include "link/TrackPower.h"
#include "p50x/P50XCommandScope.h"
#include "p50x/P50XLinkOperations.h"

class LinkObserver;
class TComPort;

class P50XLink final : public CommandStationLink, private P50XLinkOperations {
 public:
  P50XLink(TComPort& port, LinkObserver& observer);
  ~P50XLink() override;
  P50XLink(const P50XLink&) = delete;
  P50XLink& operator=(const P50XLink&) = delete;

  // Two stop bits, 19200 baud until detection finds the rate, every command prefixed.
  void Attach() override;
  // Interface detection, then power on. False when no command station is ready for P50X.
  bool Connect() override;
  // Power off; inside a command that waits for its reply, that command is given up first.
  void SwitchPowerOff() override;
  // Power on, once the station has reported the track off (its event poll, a power-on or
  // turnout reply); the run may start when the station answers it with 0x00.
  AccessoryOutcome PowerTrackForRun() override;
  // A port error is reported as a lost command, not raised.
  AccessoryOutcome SwitchAccessory(const AccessoryCommand& command) override;
  AccessoryOutcome OutcomeAtStepEnd(const AccessoryOutcome& returned) override;
  bool PollsEvents() const override { return true; }
  void PollEvents() override { P50XEventPoll(); }

  // Writes one command: binary (first byte 0x80 and up) in one write, its reply decoded before
  // this returns; ASCII (below 0x80) with CR, one byte a write, nothing read. False when the
  // command was refused because another one waits for its reply, or was given up.
  bool SendP50X(const QByteArray& command) override;
  // Waits (at most 1 s) until count bytes are waiting and reads them into ReplyBuffer. False
  // when the reply did not come and the command was given up.
  bool ReadP50XReply(int count);
  // Reads up to and including the prompt "]" (at most 2 s); a zero byte adds nothing.
  QByteArray ReadUntilPrompt() override;
  // Reads and decodes the reply to the binary command just written.
  void DispatchP50XReply(int commandByte);
  // Output on, the observer's 200 ms wait, output off; each reply decoded into the receive log.
  // Stops after a reply that is missing (lost) or that refuses the command, without sending
  // the off frame. Port errors pass to the caller.
  AccessoryOutcome SwitchTurnoutP50X(int address, int direction);
  void P50XPowerOff();
  // One tick of the event poll: the event query, unless a command is waiting for its reply.
  void P50XEventPoll();
  // A command is waiting for its reply (the window is processing events in the middle of it).
  bool P50XBusy() const { return scope_.Busy(); }
  // Finds the command station on the port (which it opens itself, with only the break and CTS
  // events, so that replies stay queued for the reads) and sets it up. True when one answered
  // and is ready for P50X commands; otherwise what went wrong is in the connection log and a
  // message box. An error opening the port passes to the caller.
  bool DetectP50XInterface();

  // The bytes of the last read with a count above zero, its first byte, and its count.
  const QByteArray& ReplyBuffer() const { return replyBuffer_; }
  unsigned char ReplyByte() const { return replyByte_; }
  int ReplyCount() const { return replyCount_; }
  // Every command that goes through SendP50X carries the prefix "x" while this is set.
  bool XPrefixMode() const { return xPrefixMode_; }
  void SetXPrefixMode(bool on) override { xPrefixMode_ = on; }

  // The fixed sleeps of the link and of interface detection; empty means the real SleepMs.
  // Tests shorten them here.
  void SetSleepFunction(std::function<void(int)> sleep) { sleep_ = std::move(sleep); }

 private:
  class PortContext;

  P50XCommandScope::Result RunCommand(const std::function<void()>& command);
  // Bytes may still come for a command that was given up or a reply read only in part: before
  // the next command goes out they are let in, until the line has been quiet for as long as
  // lateBytesQuiet_ says, and thrown away. Nothing to do while nothing is owed.
  void LetLateBytesIn();
  void ReadReplyBytes(int count, P50XCommandScope::EventWindow::Clock::time_point deadline);
  void SleepLink(int milliseconds) const override;

  TComPort& port_;
  LinkObserver& observer_;
  P50XCommandScope scope_;
  QByteArray replyBuffer_;
  unsigned char replyByte_ = 0;
  int replyCount_ = 0;
  // The main window's start-up chooses this central type once, which sets the prefix.
  bool xPrefixMode_ = true;
  std::chrono::milliseconds lateBytesQuiet_{0};
  TrackPower power_;
  quint64 stepMark_ = 0;
  std::function<void(int)> sleep_;
};
