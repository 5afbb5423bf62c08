// CPU time of the whole process while the 100 ms P50X event poll runs for 10 s against an idle
// simulated Intellibox on a pty (the simulator's reader thread included). Target: under 1 % of
// one core.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "About/TAboutBox.h"
#include "CPort/TComPort.h"
#include "P50XSimulator.h"
#include "p50x/P50XLink.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"

namespace {

constexpr int kRunMs = 10000;

double CpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  P50XSimulator station;
  station.SetBaudRate(19200);
  TComPort port;
  port.SetPort(station.SlavePath());
  port.SetBaudRate(br19200);
  port.SetStopBits(sbTwoStopBits);
  port.SetEvents({evBreak, evCTS});
  port.Open();
  TMemo memo1;
  TMemo memo3;
  TAboutBox about;
  bool xPrefixMode = true;
  P50XHost host;
  host.port = &port;
  host.memo1 = &memo1;
  host.memo3 = &memo3;
  host.about = &about;
  host.waitMs = [](int ms) { SleepMs(ms); };
  host.xPrefixMode = &xPrefixMode;
  SetP50XHost(host);

  // As the main window's Timer2 does it: off while the poll runs, so polls never overlap.
  TTimer poll(nullptr, 100, false);
  poll.OnTimer = [&poll](QObject*) {
    poll.SetEnabled(false);
    P50XEventPoll();
    poll.SetEnabled(true);
  };
  bool done = false;
  TTimer end(nullptr, kRunMs, false);
  end.OnTimer = [&](QObject*) { done = true; };

  const double cpuBefore = CpuMilliseconds();
  QElapsedTimer wall;
  wall.start();
  poll.SetEnabled(true);
  end.SetEnabled(true);
  WaitUntil([&] { return done; });
  const double cpu = CpuMilliseconds() - cpuBefore;
  const double share = 100.0 * cpu / static_cast<double>(wall.elapsed());
  std::printf(
      "Idle P50X event poll: %d event queries in %lld ms, CPU %.1f ms = %.2f %% of a core "
      "(target < 1 %%)\n",
      station.EventQueries(), static_cast<long long>(wall.elapsed()), cpu, share);
  SetP50XHost({});
  return share < 1.0 ? 0 : 1;
}
