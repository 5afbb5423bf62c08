// What the line-event thread asks of the port it serves, so that it does not need the port
// itself.
#pragma once

#include <QObject>

#include "serial/SerialDevice.h"
#include "serial/SerialTypes.h"

class SerialEventTarget {
 public:
  // The object whose thread runs the batches; asked once, when the thread starts.
  virtual QObject* EventContext() = 0;
  virtual bool Connected() const = 0;
  // The line-event handlers, run in their fixed order. Once stopped is set (a handler closed
  // the port), the rest of the batch belongs to a connection that has ended and is left out.
  virtual void HandleEvents(SerialEvents events, const StopSignal& stopped) = 0;

 protected:
  ~SerialEventTarget() = default;
};
