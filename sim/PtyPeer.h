// The command-station side of a pseudo-terminal: the program opens the slave path as its serial
// port, the simulator reads and writes the master. A reader thread records every byte with its
// arrival time and hands it to the simulator's answer logic.
#pragma once

#include <termios.h>

#include <QByteArray>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

class PtyPeer {
 public:
  using Clock = std::chrono::steady_clock;
  struct ReceivedByte {
    unsigned char value;
    Clock::time_point at;
  };

  // A peer that only records what the program sends: its reader starts at once.
  PtyPeer();
  virtual ~PtyPeer();
  PtyPeer(const PtyPeer&) = delete;
  PtyPeer& operator=(const PtyPeer&) = delete;

  // The device path the program opens, e.g. /dev/pts/7.
  const QString& SlavePath() const { return slavePath_; }

  // Sends bytes to the program. Safe from any thread; ignored once unplugged.
  void Send(const QByteArray& bytes);

  // The line settings the program has put on its side of the pty.
  termios SlaveSettings() const;
  // The baud rate the program set (termios2 speed, so custom rates show too).
  int SlaveBaudRate() const;

  std::vector<ReceivedByte> Received() const;
  QByteArray ReceivedData() const;
  std::size_t ReceivedCount() const;
  void ClearReceived();

  // Closes the master as an unplugged adapter would: the program's port reads and writes fail
  // from the moment this returns. Safe from any thread, the reader's own included.
  void Unplug();
  bool Unplugged() const;

 protected:
  // A subclass passes this and calls StartReader() at the end of its own constructor: a reader
  // started earlier could call OnReceived while the object is still being built.
  enum class ReaderStart { Deferred };
  explicit PtyPeer(ReaderStart);
  void StartReader();

  // Runs on the reader thread for every chunk the program wrote; answer with Send().
  virtual void OnReceived(const QByteArray& bytes);
  // Subclasses call this first thing in their destructor, so the reader thread never calls
  // into a half-destroyed simulator.
  void StopReader();

 private:
  void ReadLoop();
  void WakeReader();
  void CloseMasterLocked();

  // Only the reader thread closes the master while it runs: it may be waiting on it.
  int master_ = -1;
  int slaveKeepAlive_ = -1;     // keeps the master from seeing a hang-up while the program reopens
  int wakePipe_[2] = {-1, -1};  // wakes the reader to stop or to unplug
  QString slavePath_;
  mutable std::mutex mutex_;
  std::condition_variable masterClosed_;
  std::vector<ReceivedByte> received_;
  bool unplugged_ = false;
  bool stopping_ = false;
  bool readerRunning_ = false;
  std::thread::id readerId_;
  std::thread reader_;
};
