// Figures of the serial port on a pty: how soon a received byte reaches OnRxChar (target: a
// median under 2 ms), how much CPU an open port costs while nothing happens (target: near zero),
// and how long a Close takes to stop and join the event thread (target: under 1 ms).
// Run: bench_serial [samples] [idle seconds].
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#include "BenchSupport.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "serial/SerialPort.h"
#include "support/WaitFor.h"

namespace {

using Clock = std::chrono::steady_clock;

// Nothing but the port may wake the loop while it is measured.
constexpr int kNoPolling = 0;

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int samples = argc > 1 ? std::atoi(argv[1]) : 500;
  const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 3;

  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::fprintf(stderr, "no pty\n");
    return 1;
  }
  SerialPort port;
  port.SetPort(QString::fromLocal8Bit(ptsname(master)));
  Clock::time_point arrived;
  bool got = false;
  port.OnRxChar = [&](QObject*, int count) {
    arrived = Clock::now();
    QByteArray bytes;
    port.ReadStr(bytes, count);
    got = true;
  };
  try {
    port.Open();
  } catch (const SerialPortError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }

  std::vector<double> latencies;
  for (int i = 0; i < samples; ++i) {
    got = false;
    const auto sent = Clock::now();
    if (write(master, "\x55", 1) != 1) return 1;
    if (!WaitFor([&] { return got; }, 2000, kNoPolling)) {
      std::fprintf(stderr, "byte %d never reached OnRxChar\n", i);
      return 1;
    }
    latencies.push_back(std::chrono::duration<double, std::milli>(arrived - sent).count());
    std::this_thread::sleep_for(std::chrono::milliseconds(1));  // a fresh arrival, not a burst
  }
  std::sort(latencies.begin(), latencies.end());
  auto at = [&](double q) { return latencies[static_cast<size_t>(q * (latencies.size() - 1))]; };
  std::printf("received byte to OnRxChar, %d samples: median %.3f ms, p95 %.3f ms, max %.3f ms\n",
              samples, at(0.5), at(0.95), latencies.back());

  const double cpuBefore = ProcessCpuMilliseconds();
  WaitFor([] { return false; }, idleSeconds * 1000, kNoPolling);
  const double cpu = ProcessCpuMilliseconds() - cpuBefore;
  std::printf("open idle port (all events), %d s: process CPU %.2f ms (%.3f %% of a core)\n",
              idleSeconds, cpu, cpu / (idleSeconds * 10.0));
  port.Close();

  std::vector<double> closes;
  for (int i = 0; i < 50; ++i) {
    port.Open();
    const auto start = Clock::now();
    port.Close();
    closes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(closes.begin(), closes.end());
  std::printf(
      "close of an open idle port (thread stopped and joined), %zu samples: median %.3f ms, "
      "max %.3f ms\n",
      closes.size(), closes[closes.size() / 2], closes.back());
  close(master);
  return 0;
}
