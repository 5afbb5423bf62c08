// The line-event thread of an open port: waits on the device for the events of the port's
// Events set and hands each batch to the port's thread, as the port's SyncMethod says.
#pragma once

#include <QObject>
#include <QThread>
#include <exception>
#include <memory>

#include "CPort/CPortTypes.h"
#include "CPort/SerialDevice.h"
#include "CPort/TComEventTarget.h"

class BatchHandover;

class TComThread : public QThread {
 public:
  // Sets the device's event mask to events (the port's Events), then starts. syncWindow
  // receives the messages of smWindowSync (nullptr for the other methods).
  TComThread(TComEventTarget& port, SerialDevice& device, TComEvents events, QObject* syncWindow);
  // Stops the thread and joins it. Call it on the port's thread, also from inside one of this
  // thread's own batches; a batch still queued for the port then never runs. With smNone the
  // handlers run on this thread and must leave the port alone.
  ~TComThread() override;

 protected:
  void run() override;

 private:
  // False when the thread is to end: a handler raised, or the thread was stopped meanwhile.
  bool Dispatch(TComEvents events);
  bool HandOverBatch(TComEvents events);
  bool PostWindowMessages(TComEvents events);

  TComEventTarget& port_;
  QObject* context_;  // the port's object: where batches run
  // The port's, which cannot change while it is open: the thread asks the port nothing itself,
  // as the port may be on its way out.
  TSyncMethod syncMethod_;
  SerialDevice* device_;
  QObject* syncWindow_;
  std::shared_ptr<BatchHandover> handover_;
  std::exception_ptr fatal_;  // what a handler raised, which ended the thread
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
