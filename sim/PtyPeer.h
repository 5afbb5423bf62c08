// The command-station side of a pseudo-terminal: the program opens the slave path as its serial
// port, the simulator reads and writes the master. A reader thread records every byte with its
// arrival time and hands it to the simulator's answer logic.
#pragma once

#include <termios.h>

#include <QByteArray>
#include <QString>
#include <chrono>
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

  // Closes the master as an unplugged adapter would: the program's port reads and writes fail.
  void Unplug();
  bool Unplugged() const;

 protected:
  // Runs on the reader thread for every chunk the program wrote; answer with Send().
  virtual void OnReceived(const QByteArray& bytes);
  // Subclasses call this first thing in their destructor, so the reader thread never calls
  // into a half-destroyed simulator.
  void StopReader();

 private:
  void ReadLoop();

  int master_ = -1;
  int slaveKeepAlive_ = -1;  // keeps the master from seeing a hang-up while the program reopens
  int stopPipe_[2] = {-1, -1};
  QString slavePath_;
  mutable std::mutex mutex_;
  std::vector<ReceivedByte> received_;
  bool unplugged_ = false;
  std::thread reader_;
};
