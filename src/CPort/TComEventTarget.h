// What the line-event thread and its hidden sync window ask of the port they serve, so that
// neither needs the port itself.
#pragma once

#include <QObject>

#include "CPort/CPortTypes.h"

class TComEventTarget {
 public:
  // The object whose thread runs the smThreadSync batches and whose event loop a Close waits
  // in; asked once, when the thread starts.
  virtual QObject* EventContext() = 0;
  virtual TSyncMethod SyncMethod() const = 0;
  virtual bool Connected() const = 0;
  // The line-event handlers, run in their fixed order.
  virtual void HandleEvents(TComEvents events) = 0;

 protected:
  ~TComEventTarget() = default;
};
