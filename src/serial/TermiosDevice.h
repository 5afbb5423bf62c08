// The serial device of real ports (/dev/ttyUSB0, /dev/ttyACM0, /dev/ttyS0) and
// pseudo-terminals, on termios.
#pragma once

#include <deque>
#include <mutex>

#include "serial/SerialDevice.h"

class TermiosDevice final : public SerialDevice {
 public:
  TermiosDevice();
  ~TermiosDevice() override;

  int Open(const QString& name) override;
  void Close() override;
  bool IsOpen() const override { return fd_ >= 0; }
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

  // The kernel's counters of line transitions and errors (TIOCGICOUNT).
  struct LineCounters {
    int cts = 0, dsr = 0, rng = 0, dcd = 0, brk = 0, frame = 0, overrun = 0, parity = 0,
        bufOverrun = 0;
  };

 private:
  enum class Puller { kEventThread, kCaller };

  int PullInputLocked(Puller puller);
  int TakeLocked(char* data, int max);
  void RaiseLocked(SerialEvents events);
  void WatchLinesLocked();
  void CheckTxEmptyLocked();
  int WaitTimeoutLocked() const;
  void WaitForReadable(std::optional<SerialClock::time_point> deadline);
  void WaitForOutputDrained(int limitMs);
  int CharTimeUs() const;

  // Written by Open and Close only, while no event thread runs.
  int fd_ = -1;
  QString name_;
  bool hasModemLines_ = false;
  bool hasCounters_ = false;
  WakeFd wake_;  // wakes the event thread: new events, room in the input queue, a write
  WakeFd rx_;    // wakes a waiting Read when the event thread has queued input
  SerialTimeouts timeouts_;

  // Shared by the user-interface thread and the event thread.
  mutable std::mutex mutex_;
  std::deque<char> input_;  // received bytes taken from the kernel, at most inputCap_
  int inputCap_ = 4096;
  bool discardNull_ = false;
  unsigned char eventChar_ = 0;
  int baudRate_ = 9600;
  SerialEvents mask_;
  SerialEvents pending_;
  bool txPending_ = false;
  bool hungUp_ = false;
  bool linesReadable_ = false;  // counters or modem lines can still be read
  LineCounters eventCounters_;
  LineCounters errorCounters_;
  int lastModemLines_ = 0;
};
