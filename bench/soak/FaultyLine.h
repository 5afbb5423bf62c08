// A faulty cable between the program and a simulated command station. It is a pty of its own:
// the program opens its slave path, and it passes everything on to the station's pty and back.
// The station's replies can be dropped, delayed, duplicated or corrupted byte by byte, the
// station can fall silent after some bytes, and the adapter can be unplugged once the program
// has written a number of times. The program's own bytes reach the station, at the line speed
// the program set, so the station hears what a real one would, until the interface is switched
// off: from then on nothing passes either way, while the port stays open.
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <mutex>
#include <random>
#include <thread>

#include "PtyPeer.h"

enum class LineFault { None, Drop, Delay, Duplicate, Corrupt, Silence, Unplug, InterfaceOff };

struct LineFaultPlan {
  LineFault fault = LineFault::None;
  std::uint32_t seed = 0;
  // Drop, Delay, Duplicate, Corrupt: reply bytes passed on untouched first, then the share of
  // reply bytes hit, in percent.
  int bytesBeforeFaults = 0;
  int percentHit = 0;
  // Delay: the longest stall before a byte hit, in milliseconds.
  int longestDelayMs = 0;
  // Silence: reply bytes passed on before the station falls silent.
  int bytesBeforeSilence = 0;
  // Unplug: writes of the program passed on before the adapter goes.
  int writesBeforeUnplug = 0;
  // InterfaceOff: how long after the programming button the interface is switched off.
  int interfaceOffAfterMs = 0;
};

class FaultyLine : public PtyPeer {
 public:
  FaultyLine(const QString& stationPath, const LineFaultPlan& plan);
  ~FaultyLine() override;

  // Nothing passes from now on, in either direction; callable from any thread.
  void SwitchInterfaceOff() { interfaceOff_ = true; }

 protected:
  void OnReceived(const QByteArray& bytes) override;

 private:
  void ForwardReplies();
  // Returns what the program gets for one reply byte.
  QByteArray Spoil(char byte);
  bool Hit();
  void MatchStationSpeed();

  const LineFaultPlan plan_;
  int station_ = -1;
  int stopPipe_[2] = {-1, -1};
  std::mt19937 random_;
  int repliesPassed_ = 0;  // on the forwarding thread only
  int writesPassed_ = 0;   // counted on the reader thread only
  std::atomic<bool> interfaceOff_ = false;
  std::thread forwarder_;
};
