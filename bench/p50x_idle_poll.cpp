// CPU time of the whole process while the 100 ms P50X event poll runs for 10 s against an idle
// simulated Intellibox on a pty (the simulator's reader thread included). Target: under 1 % of
// one core.
#include "BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "OpenAsAfterDetection.h"
#include "P50XSimulator.h"

namespace {

constexpr int kRunMs = 10000;
constexpr int kSmokeRunMs = 300;

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  P50XSimulator station;
  station.SetBaudRate(19200);
  P50XTestLink link;
  OpenAsAfterDetection(link, station.SlavePath(), br19200);

  // As the main window's event poll does it: a tick that finds the last poll still waiting for
  // its reply is left out, so polls never overlap.
  QTimer poll;
  poll.setInterval(100);
  Task<void> polling;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (polling.Done()) polling = link->PollEvents();
  });
  bool done = false;
  QTimer end;
  end.setSingleShot(true);
  end.setInterval(SmokeRun() ? kSmokeRunMs : kRunMs);
  QObject::connect(&end, &QTimer::timeout, [&] { done = true; });

  const double cpuBefore = ProcessCpuMilliseconds();
  QElapsedTimer wall;
  wall.start();
  poll.start();
  end.start();
  WaitFor([&] { return done; }, kRunMs * 2, 0);
  const double cpu = ProcessCpuMilliseconds() - cpuBefore;
  const double share = 100.0 * cpu / static_cast<double>(wall.elapsed());
  std::printf(
      "Idle P50X event poll: %d event queries in %lld ms, CPU %.1f ms = %.2f %% of a core "
      "(target < 1 %%)\n",
      station.EventQueries(), static_cast<long long>(wall.elapsed()), cpu, share);
  return TargetVerdict(share < 1.0);
}
