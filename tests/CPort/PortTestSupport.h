// What the serial port tests share: a pty pair whose master plays the far end, and waits that
// give up after a deadline, so that a failing test fails instead of hanging (WaitFor for what
// the event loop brings, SleepUntil for what other threads do).
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "support/WaitFor.h"

class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const QString& SlavePath() const { return slavePath_; }
  int Master() const { return master_; }

  void Write(const QByteArray& bytes);
  // What the master can read within timeoutMs, until count bytes have come.
  QByteArray Read(int count, int timeoutMs = 2000);
  void CloseMaster();

  // The slave's line settings as the master reads them with TCGETS2: the rate in bits per
  // second, whatever rate code was used.
  unsigned OutputSpeed() const;

 private:
  int master_ = -1;
  QString slavePath_;
};

// Sleeps in steps of a millisecond, processing no events, until done() holds or timeoutMs has
// passed: for conditions that other threads make true.
bool SleepUntil(const std::function<bool()>& done, int timeoutMs = 5000);
