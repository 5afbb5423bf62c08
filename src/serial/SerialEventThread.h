// The line-event thread of an open port: waits on the device for the events of the port's
// Events set and hands each batch to the port's thread, waiting until it has run.
#pragma once

#include <QObject>
#include <QThread>
#include <exception>
#include <memory>

#include "serial/SerialDevice.h"
#include "serial/SerialEventTarget.h"
#include "serial/SerialTypes.h"

class BatchHandover;

class SerialEventThread : public QThread {
 public:
  // Sets the device's event mask to events (the port's Events), then starts.
  SerialEventThread(SerialEventTarget& port, SerialDevice& device, SerialEvents events);
  // Stops the thread and joins it. Call it on the port's thread, also from inside one of this
  // thread's own batches; a batch still queued for the port then never runs.
  ~SerialEventThread() override;

 protected:
  void run() override;

 private:
  // False when the thread is to end: a handler raised, or the thread was stopped meanwhile.
  bool HandOverBatch(SerialEvents events);

  SerialEventTarget& port_;
  QObject* context_;  // the port's object: where batches run
  SerialDevice* device_;
  std::shared_ptr<BatchHandover> handover_;
  std::exception_ptr fatal_;  // what a handler raised, which ended the thread
};

// The events in the order their handlers run.
inline constexpr SerialEvent kHandlerOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                                evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};
