// An Intellibox or Twin-Center in its P50X protocol, on the master side of a pty. It hears only
// what the program sends at its own rate with two stop bits (the probe included), keeps the
// special options So1 and So26, follows a baud command while its rate is fixed, answers the
// text commands with a prompt "]" and the binary commands (prefixed with "x") with their
// replies, and reports scripted events through the event query. Every setter is safe while the
// program talks to it.
#pragma once

#include <QByteArray>
#include <deque>
#include <map>
#include <mutex>

#include "PtyPeer.h"

class P50XSimulator : public PtyPeer {
 public:
  P50XSimulator();
  ~P50XSimulator() override;

  // The rate the command station listens at (2400 after a long break by default).
  void SetBaudRate(int rate);
  int BaudRate() const;
  // What it sends back to a probe 0xC4 heard at its own rate (two bytes by default).
  void SetProbeAnswer(const QByteArray& answer);
  // How many probes it answers at all (no limit by default).
  void SetProbeAnswerLimit(int probes);
  // So1: the default rate (0 = 2400 … 3 = 19200); So26: 0 fixed rate, 1 reset on long break.
  void SetOptions(int so1, int so26);
  // The answer to "x\r" (CR "]" by default) and to "xZzA0\r".
  void SetPromptReply(const QByteArray& reply);
  void SetModeReply(const QByteArray& reply);
  // The answer to a text command line (without "x" and CR), replacing the built-in one.
  void SetTextReply(const QByteArray& line, const QByteArray& reply);
  // The answer to the binary command byte from now on, and a one-time answer that goes first.
  void SetReply(unsigned char command, const QByteArray& reply);
  void QueueReply(unsigned char command, const QByteArray& reply);

  // The track loses its power now, or once n more turnout commands (on and off) have been
  // carried out (a short in the middle of a run): the next event query reports the power off,
  // and turnout commands are answered 0xA6 (the power is off) until a power on.
  void CutTrackPower();
  void CutTrackPowerAfterAccessoryCommands(int n);

  // Events reported through the next event queries, in the order scripted.
  void ReportPowerOff();
  void ReportEventFlags(const QByteArray& eventReply);
  // records: module, low byte, high byte per record.
  void ReportFeedback(const QByteArray& records);
  // reply: the whole programming-track event reply (length byte, result code, value bytes).
  void ReportProgrammingResult(const QByteArray& reply);
  // records: 5 bytes per locomotive record.
  void ReportLocomotiveEvents(const QByteArray& records);

  // A silent command station hears everything and answers nothing.
  void SetSilent(bool silent);
  // Every answer goes out this long after its command arrived.
  void SetReplyDelay(int milliseconds);
  int EventQueries() const;

 protected:
  // For a subclass, which starts the reader at the end of its own constructor.
  explicit P50XSimulator(ReaderStart);
  void OnReceived(const QByteArray& bytes) override;
  // Whether bytes sent at this rate and stop bits are understood by the station as it is now.
  bool HeardAt(int slaveRate, bool twoStopBits) const;
  bool SlaveTwoStopBits() const;

 private:
  enum class State { Idle, AfterPrefix, TextLine, TurnoutArguments };

  QByteArray AnswerBinary(unsigned char command);
  QByteArray AnswerText(const QByteArray& line);
  QByteArray AnswerTurnout(const QByteArray& arguments);
  void CutTrackPowerLocked();

  mutable std::mutex mutex_;
  State state_ = State::Idle;
  QByteArray pending_;
  int rate_ = 2400;
  QByteArray probeAnswer_;
  int probeAnswersLeft_ = -1;  // -1: no limit
  int so1_ = 3;
  int so26_ = 1;
  QByteArray promptReply_;
  QByteArray modeReply_;
  std::map<QByteArray, QByteArray> textReplies_;
  std::map<unsigned char, QByteArray> replies_;
  std::map<unsigned char, std::deque<QByteArray>> queuedReplies_;
  bool silent_ = false;
  int replyDelayMs_ = 0;
  int eventQueries_ = 0;
  bool trackPowered_ = true;
  int accessoryCommandsBeforePowerCut_ = -1;  // -1: none planned
};
