// Drives the event loop until an operation of the program has finished, and gives its result (or
// raises what it raised), so a test reads as the sequence the user would see.
#pragma once

#include <stdexcept>
#include <utility>

#include "WaitFor.h"
#include "platform/Task.h"

template <typename T>
T Await(Task<T> task, int timeoutMs = 60000) {
  if (!WaitFor([&] { return task.Done(); }, timeoutMs, 0))
    throw std::runtime_error("the operation did not finish in time");
  return task.Result();
}
