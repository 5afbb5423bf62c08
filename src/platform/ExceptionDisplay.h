// The application's exception display. No exception may cross the Qt event loop, so every
// handler that the toolkit calls runs inside RunGuarded, and every operation a handler starts
// inside Guarded: what escapes it is shown in a box and its remaining steps do not run.
#pragma once

#include <QString>
#include <exception>
#include <utility>

#include "platform/Task.h"

class Exception;

void ShowException(const std::exception& error);

// What a box says of an exception: its message, and the detail shown under it.
struct ErrorText {
  QString message;
  QString detail;
};
ErrorText DescribeException(const std::exception& error);

// The detail line for an exception with an OS error: the OS's own description and, for a
// permission error on a device, which group the user must join.
QString OsErrorDetail(const Exception& error);

template <typename F>
void RunGuarded(F&& handler) {
  try {
    std::forward<F>(handler)();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

// The operation, with what it raises shown once it has ended.
Task<void> Guarded(Task<void> operation);
