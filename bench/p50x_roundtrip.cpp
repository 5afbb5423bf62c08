// Round trip of one P50X binary command (power on, 78 A7, one reply byte) against the simulated
// Intellibox on a pty at 19200 baud: from SendP50X to the decoded reply. A pty carries the bytes
// at once, so the figure is what the program adds to the wire time. Target: median under 2 ms.
#include "BenchSupport.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "OpenAsAfterDetection.h"
#include "P50XSimulator.h"

namespace {

constexpr int kRoundTrips = 1000;
// Two bytes out, one back, 8 data bits and two stop bits with the start bit: 11 bits a byte.
constexpr double kWireMs = 3 * 11 * 1000.0 / 19200;

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  P50XSimulator station;
  station.SetBaudRate(19200);
  P50XTestLink link;
  OpenAsAfterDetection(link, station.SlavePath(), br19200);

  std::vector<double> times;
  const int roundTrips = SmokeRun() ? 20 : kRoundTrips;
  times.reserve(roundTrips);
  for (int i = 0; i < roundTrips; ++i) {
    link.memo3.SetText({});
    const auto start = std::chrono::steady_clock::now();
    Await(link->SendP50X(QByteArray(1, '\xA7')));
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (link.memo3.Text() != QLatin1String("Power On")) {
      std::fprintf(stderr, "round trip %d: no reply decoded\n", i);
      return 1;
    }
    times.push_back(took.count());
  }
  const double median = Percentile(times, 0.5);
  std::printf(
      "P50X round trip over a pty, %d commands: median %.3f ms, 90th percentile %.3f ms, "
      "worst %.3f ms\n(wire time at 19200 baud would add %.2f ms; target: median under 2 ms "
      "over it)\n",
      roundTrips, median, Percentile(times, 0.9), Percentile(times, 1.0), kWireMs);
  return TargetVerdict(median < 2.0);
}
