// What the line-event thread and its hidden sync window ask of the port they serve, so that
// neither needs the port itself.
#pragma once

#include <QObject>

#include "CPort/CPortTypes.h"
#include "CPort/SerialDevice.h"

class TComEventTarget {
 public:
  // The object whose thread runs the smThreadSync batches, and how batches reach it; both asked
  // once, when the thread starts.
  virtual QObject* EventContext() = 0;
  virtual TSyncMethod SyncMethod() const = 0;
  virtual bool Connected() const = 0;
  // The line-event handlers, run in their fixed order. Once stopped is set (a handler closed
  // the port), the rest of the batch belongs to a connection that has ended and is left out.
  virtual void HandleEvents(TComEvents events, const StopSignal& stopped) = 0;

 protected:
  ~TComEventTarget() = default;
};
