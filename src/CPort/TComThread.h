// The line-event thread of an open port: waits on the device for the events of the port's
// Events set and hands each batch to the port's thread, as the port's SyncMethod says.
#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <exception>
#include <memory>

#include "CPort/CPortTypes.h"
#include "CPort/SerialDevice.h"
#include "CPort/TComEventTarget.h"

class TComThread : public QThread {
 public:
  // Sets the device's event mask to events (the port's Events), then starts. syncWindow
  // receives the messages of smWindowSync (nullptr for the other methods).
  TComThread(TComEventTarget& port, SerialDevice& device, TComEvents events, QObject* syncWindow);
  // Stops the thread and waits for it; on the port's thread, batches it has queued meanwhile
  // still run, so the two never wait for each other.
  ~TComThread() override;

  // Stops a thread whose own batch is running further up the caller's stack, without waiting
  // for it: that wait could never end. The thread ends as soon as that batch returns and
  // touches the device no more; it may be destroyed once its batch is over.
  void Abandon();
  // True while one of this thread's smThreadSync batches runs on the port's thread.
  bool BatchRunning() const { return batchRunning_; }
  // What a handler raised and so ended the thread; null while none did.
  std::exception_ptr FatalException() const { return fatal_; }

 protected:
  void run() override;

 private:
  // False when a handler raised: the thread then ends quietly.
  bool Dispatch(TComEvents events);
  void PostWindowMessages(TComEvents events);

  TComEventTarget& port_;
  QObject* context_;  // the port's object: where batches run and whom a Close waits on
  SerialDevice* device_;
  QObject* syncWindow_;
  StopSignal stop_;
  std::atomic<bool> ended_{false};
  std::atomic<bool> abandoned_{false};
  bool batchRunning_ = false;  // the port's thread only
  std::exception_ptr fatal_;
};

// The hidden receiver of smWindowSync: message 1025 carries one event's platform flag; it is
// answered at once, so the event thread goes on waiting, and its handler then runs if the
// port is still open.
class TComSyncWindow : public QObject {
 public:
  static constexpr int kMessage = 1025;

  explicit TComSyncWindow(TComEventTarget& port) : port_(port) {}
  bool event(QEvent* event) override;

 private:
  TComEventTarget& port_;
};

// The platform flag of a line event (evRxChar 1, evRxFlag 2, evTxEmpty 4, ...).
std::uint32_t ComEventFlag(TComEvent event);
// The events in the order their handlers run.
inline constexpr TComEvent kHandlerOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                              evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};
