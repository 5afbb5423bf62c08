// CPU time the process spends in a four-second pause (the run's step pause) with the main window
// up: the operation is suspended, and the event loop sleeps until the pause's deadline instead
// of spinning. Target: under 20 ms.
#include "BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "platform/Pause.h"
#include "support/AwaitTask.h"
#include "support/TestedWindow.h"

namespace {

Task<void> Rest(int milliseconds) {
  co_await Pause(milliseconds);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const FirstDayFolders firstDay;
  QApplication app(argc, argv);
  TestedWindow window;
  window.show();
  QApplication::processEvents();

  const double cpuBefore = ProcessCpuMilliseconds();
  QElapsedTimer wall;
  wall.start();
  Await(Rest(SmokeRun() ? 200 : 4000));
  const double cpu = ProcessCpuMilliseconds() - cpuBefore;
  std::printf("Pause(4000): wall %lld ms, CPU %.1f ms (target < 20 ms)\n",
              static_cast<long long>(wall.elapsed()), cpu);
  return TargetVerdict(cpu < 20.0);
}
