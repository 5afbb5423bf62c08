// What the serial port component needs from the operating system, as one small interface:
// the port never calls termios itself. TermiosDevice drives real ports and pseudo-terminals;
// MemoryDevice stands in for a line in tests.
#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "serial/SerialTypes.h"

// The line settings the port hands to its device, field for field what the Windows
// device-control block carries.
struct SerialLineSettings {
  int baudRate = 9600;
  DataBitsSetting dataBits = dbEight;
  ParityBits parity = prNone;
  StopBitsSetting stopBits = sbOneStopBit;
  bool binary = true;
  bool parityCheck = false;
  bool errorCharReplace = false;  // bytes with a parity error become errorChar
  unsigned char errorChar = 0;
  bool outCTSFlow = false;
  bool outDSRFlow = false;
  DtrControl dtrControl = dtrDisable;
  RtsControl rtsControl = rtsDisable;
  bool dsrSensitivity = false;
  bool txContinueOnXoff = false;
  bool xonXoffOut = false;
  bool xonXoffIn = false;
  unsigned char xonChar = 17;
  unsigned char xoffChar = 19;
  int xonLimit = 256;
  int xoffLimit = 256;
  bool discardNull = false;
  unsigned char eventChar = 0;
  bool abortOnError = false;

  bool operator==(const SerialLineSettings&) const = default;
};

// The five transfer timeouts in milliseconds, unsigned as the device reads them: a
// readInterval of kNoLimit with both read totals 0 means "return at once with what is there".
struct SerialTimeouts {
  static constexpr std::uint32_t kNoLimit = 0xFFFFFFFFu;
  std::uint32_t readInterval = kNoLimit;
  std::uint32_t readTotalMultiplier = 0;
  std::uint32_t readTotalConstant = 0;
  std::uint32_t writeTotalMultiplier = 100;
  std::uint32_t writeTotalConstant = 1000;

  bool operator==(const SerialTimeouts&) const = default;
};

// Flags of SerialDevice::Purge.
enum SerialPurge : int {
  kPurgeTxAbort = 1,
  kPurgeRxAbort = 2,
  kPurgeTxClear = 4,
  kPurgeRxClear = 8,
};

// An eventfd that wakes a poll(): Signal makes it readable until Drain.
class WakeFd {
 public:
  WakeFd();
  ~WakeFd();
  WakeFd(const WakeFd&) = delete;
  WakeFd& operator=(const WakeFd&) = delete;

  void Signal();
  void Drain();
  int Fd() const { return fd_; }

 private:
  int fd_;
};

// The event thread's stop signal. It stays set, so a device can wait on Fd() beside its own
// descriptors with one poll().
class StopSignal {
 public:
  void Set();
  bool IsSet() const { return set_.load(); }
  // Blocks until the signal is set or milliseconds have passed; tells whether it is set.
  bool Wait(int milliseconds) const;
  int Fd() const { return wake_.Fd(); }

 private:
  WakeFd wake_;
  std::atomic<bool> set_{false};
};

// Every operation returns 0 or the OS error number (errno) of its failure. Operations on a
// device that is not open fail with EBADF. The user-interface thread makes every call except
// SetEventMask, WaitEvent and Purge, which the event thread makes too; implementations guard
// what the two threads share.
class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // Opens the named device exclusively; a second opener gets an error.
  virtual int Open(const QString& name) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  virtual int SetQueueSizes(int inputSize, int outputSize) = 0;
  virtual int SetLineSettings(const SerialLineSettings& settings) = 0;
  virtual int SetTimeouts(const SerialTimeouts& timeouts) = 0;

  // Blocks until every byte is accepted or the write timeouts expire; written tells how many.
  virtual int Write(const char* data, int count, int& written) = 0;
  // Reads at most count bytes, waiting as the read timeouts say.
  virtual int Read(char* data, int count, int& read) = 0;

  // Reads and clears the line-error flags, and counts the bytes waiting in the input queue.
  virtual int ClearErrors(LineErrors& errors, int& inputCount) = 0;
  // The bytes written and not yet sent on the line (held back by flow control, or still going
  // out); a pty, which sends at once, has none.
  virtual int OutputCount(int& count) = 0;
  // A device without modem lines (a pty) reads all lines off.
  virtual int ModemStatus(LineSignals& lines) = 0;
  virtual int SetBreak(bool on) = 0;
  virtual int Purge(int flags) = 0;

  virtual int SetEventMask(SerialEvents mask) = 0;
  // Blocks until some events of the mask have happened since the last call, or until stop is
  // set (events then comes back empty). Never returns empty-handed otherwise.
  virtual int WaitEvent(const StopSignal& stop, SerialEvents& events) = 0;
};

// --- helpers both devices share -----------------------------------------------------------

using SerialClock = std::chrono::steady_clock;

// When a write of count bytes must have ended; none when both write timeouts are 0.
std::optional<SerialClock::time_point> WriteDeadline(const SerialTimeouts& timeouts, int count,
                                                     SerialClock::time_point start);

// The read rules of the timeouts, apart from how a device takes bytes and waits:
//   take(buffer, max) moves up to max received bytes into buffer, returning the count or
//     -errno;
//   wait(deadline) blocks until more bytes may have arrived or the deadline (none: no limit)
//     has passed.
// A failure after some bytes were read ends the read with those bytes; the next read reports it.
using SerialTake = std::function<int(char* buffer, int max)>;
using SerialWait = std::function<void(std::optional<SerialClock::time_point> deadline)>;
int ReadUnderTimeouts(const SerialTimeouts& timeouts, char* data, int count, int& read,
                      const SerialTake& take, const SerialWait& wait);
