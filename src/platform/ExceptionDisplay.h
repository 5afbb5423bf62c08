// The application's exception display. No exception may cross the Qt event loop, so every
// handler that the toolkit calls runs inside RunGuarded: what escapes it is shown in a modal
// box and the handler's remaining steps do not run.
#pragma once

#include <QString>
#include <exception>
#include <utility>

class Exception;

void ShowException(const std::exception& error);

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
