// What the benchmark programs share.
#pragma once

#include <QtGlobal>
#include <sys/resource.h>

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
