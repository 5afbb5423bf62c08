#include "p50x/P50XReplyWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "CPort/TComPort.h"
#include "p50x/P50XCommandScope.h"

bool WaitForP50XInput(TComPort& port, int count, std::chrono::steady_clock::time_point deadline) {
  const P50XEventWindow window(true);
  QTimer wakeUp;
  wakeUp.setTimerType(Qt::PreciseTimer);
  wakeUp.start(1);
  bool arrived = false;
  const auto done = [&] {
    arrived = port.InputCount() >= count;
    return arrived || std::chrono::steady_clock::now() >= deadline;
  };
  constexpr QEventLoop::ProcessEventsFlags kNoUserInput = QEventLoop::ExcludeUserInputEvents;
  QCoreApplication::processEvents(kNoUserInput);
  while (!done()) QCoreApplication::processEvents(kNoUserInput | QEventLoop::WaitForMoreEvents);
  return arrived;
}
