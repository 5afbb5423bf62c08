// What the benchmark programs share.
#pragma once

#include <sys/resource.h>

// CPU time of this process so far, user and system together, in milliseconds.
inline double ProcessCpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}
