// What the benchmark programs share.
#pragma once

#include <sys/resource.h>
#include <QTemporaryDir>
#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <vector>

// A benchmark measures the program as on its first day: the settings and the decoder list of
// whoever runs it are neither read (a remembered central type or port would change the run) nor
// written. Made before the application, it holds for every process the benchmark starts.
class FirstDayFolders {
 public:
  FirstDayFolders() {
    qputenv("XDG_CONFIG_HOME", configuration_.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
    // Where sorvell-sim publishes its ports: another one running beside the benchmark keeps its
    // own.
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
  }

 private:
  QTemporaryDir configuration_;
  QTemporaryDir data_;
  QTemporaryDir runtime_;
};

// CI's smoke run (SORVELL_BENCH_SMOKE set): every benchmark once and briefly, to show that it
// still builds and runs. Its figures mean nothing, so its targets are not held against it.
inline bool SmokeRun() {
  return qEnvironmentVariableIsSet("SORVELL_BENCH_SMOKE");
}

// The exit status of a benchmark that has a target.
inline int TargetVerdict(bool met) {
  return met || SmokeRun() ? 0 : 1;
}

// CPU time of this process so far, user and system together, in milliseconds.
inline double ProcessCpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The value below which this fraction of the samples lies (0.5: the median, 1.0: the worst).
inline double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * double(values.size() - 1))];
}
