// A serial line in memory, for tests that must see what a pty cannot show: line lines, break,
// line errors, queue sizes, the settings a port applied, and failures of any operation.
//
//   auto line = std::make_shared<MemoryLine>();
//   port.UseDevice(std::make_unique<MemoryDevice>(line));
//   port.Open();
//   line->Receive("\x01\x02");          // the far end sends; the port sees evRxChar
//   line->SetSignal(csCTS, true);       // evCTS
//   EXPECT_EQ(line->TakeWritten(), "...");
//   line->AnswerWrites({"\x00"});       // the far end answers the next write
//
// The line is thread-safe: the port's event thread waits on it while a test drives it.
#pragma once

#include <QByteArray>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "serial/SerialDevice.h"

class MemoryLine {
 public:
  enum class Op {
    kOpen,
    kSetQueueSizes,
    kSetLineSettings,
    kSetTimeouts,
    kWrite,
    kRead,
    kClearErrors,
    kModemStatus,
    kSetBreak,
    kPurge,
    kSetEventMask,
    kWaitEvent,
  };

  MemoryLine();
  ~MemoryLine();
  MemoryLine(const MemoryLine&) = delete;
  MemoryLine& operator=(const MemoryLine&) = delete;

  // --- the far end ---------------------------------------------------------------------
  // Bytes arrive, as the driver would take them in: NULs dropped under DiscardNull, bytes past
  // the input queue size lost with an overrun (ceRxOver, evError); raises evRxChar, evRxFlag
  // for the event character and evRx80Full on passing 80 % of the queue. Bytes sent to a
  // line that is not open are lost, as on a wire.
  void Receive(const QByteArray& bytes);
  // Everything the port sent on the line, in order; TakeWritten forgets it too.
  QByteArray Written() const;
  QByteArray TakeWritten();
  // Each write that goes out on the line brings the next of these replies in, as a command
  // station answers a command once it has it (and not before).
  void AnswerWrites(const std::vector<QByteArray>& replies);
  // CTS, DSR and RLSD raise their change event when they change; Ring raises evRing when it
  // comes on. With CTS output flow on, nothing is sent while CTS is off: written bytes wait in
  // the output queue and go out when CTS comes on.
  void SetSignal(LineSignal signal, bool on);
  // Line errors as the driver notices them: the flags that LastErrors reads, evError for
  // framing, parity and overrun errors, evBreak for a break.
  void RaiseErrors(LineErrors errors);
  // Any line events (those in the port's event mask reach it).
  void RaiseEvents(SerialEvents events);

  // --- failures --------------------------------------------------------------------------
  // Every later call of op fails with error (an errno) until Fail(op, 0).
  void Fail(Op op, int error);

  // --- what the port did -----------------------------------------------------------------
  bool IsOpen() const;
  QString OpenedName() const;
  int OpenCount() const;
  int InputQueueSize() const;
  int OutputQueueSize() const;
  SerialLineSettings LineSettings() const;
  int LineSettingsCount() const;  // how often line settings were applied
  SerialTimeouts Timeouts() const;
  bool BreakOn() const;
  std::vector<int> Purges() const;  // the flags of each purge, in order
  SerialEvents EventMask() const;
  int InputCount() const;   // bytes received and not yet read
  int OutputCount() const;  // bytes written and not yet sent
  int Deliveries() const;   // waits that returned events to the event thread

 private:
  friend class MemoryDevice;

  int FailureLocked(Op op) const;
  void RaiseLocked(SerialEvents events);
  void ReceiveLocked(const QByteArray& bytes);
  void SendLocked(const QByteArray& bytes);
  bool SendingHeldLocked() const;

  mutable std::mutex mutex_;
  std::condition_variable received_;
  WakeFd wake_;  // wakes the event thread's WaitEvent
  int failures_[static_cast<int>(Op::kWaitEvent) + 1] = {};
  bool open_ = false;
  QString name_;
  int openCount_ = 0;
  int inputSize_ = 0;
  int outputSize_ = 0;
  SerialLineSettings settings_;
  int settingsCount_ = 0;
  SerialTimeouts timeouts_;
  QByteArray input_;
  QByteArray written_;
  QByteArray output_;  // written, held back by CTS flow control
  std::deque<QByteArray> answers_;
  LineSignals lines_;
  LineErrors errors_;
  bool breakOn_ = false;
  std::vector<int> purges_;
  SerialEvents mask_;
  SerialEvents pending_;
  int deliveries_ = 0;
};

class MemoryDevice final : public SerialDevice {
 public:
  explicit MemoryDevice(std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>());
  ~MemoryDevice() override;

  const std::shared_ptr<MemoryLine>& Line() const { return line_; }

  int Open(const QString& name) override;
  void Close() override;
  bool IsOpen() const override;
  int SetQueueSizes(int inputSize, int outputSize) override;
  int SetLineSettings(const SerialLineSettings& settings) override;
  int SetTimeouts(const SerialTimeouts& timeouts) override;
  int Write(const char* data, int count, int& written) override;
  int Read(char* data, int count, int& read) override;
  int ClearErrors(LineErrors& errors, int& inputCount) override;
  int OutputCount(int& count) override;
  int ModemStatus(LineSignals& lines) override;
  int SetBreak(bool on) override;
  int Purge(int flags) override;
  int SetEventMask(SerialEvents mask) override;
  int WaitEvent(const StopSignal& stop, SerialEvents& events) override;

 private:
  // 0 when the call may go ahead; else the error it fails with.
  int Refusal(MemoryLine::Op op) const;

  std::shared_ptr<MemoryLine> line_;
  bool open_ = false;  // this device holds the line open
};
