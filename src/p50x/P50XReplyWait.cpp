#include "p50x/P50XReplyWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <optional>

#include "CPort/TComPort.h"
#include "p50x/P50XCommandScope.h"

P50XInputWait WaitForP50XInput(TComPort& port, P50XCommandScope& scope, int count,
                               std::chrono::steady_clock::time_point deadline) {
  const P50XCommandScope::EventWindow window(scope, true, count, deadline);
  QTimer wakeUp;
  wakeUp.setTimerType(Qt::PreciseTimer);
  wakeUp.start(1);
  std::optional<P50XInputWait> result;
  const auto done = [&] {
    if (window.Abandoned())
      result = P50XInputWait::Abandoned;
    else if (port.InputCount() >= count)
      result = P50XInputWait::Arrived;
    else if (std::chrono::steady_clock::now() >= deadline)
      result = P50XInputWait::TimedOut;
    return result.has_value();
  };
  constexpr QEventLoop::ProcessEventsFlags kNoUserInput = QEventLoop::ExcludeUserInputEvents;
  QCoreApplication::processEvents(kNoUserInput);
  while (!done()) QCoreApplication::processEvents(kNoUserInput | QEventLoop::WaitForMoreEvents);
  return *result;
}
