#include <benchmark/benchmark.h>

#include "lenz/LenzFrames.h"

namespace {

constexpr qsizetype kBacklogBytes = 1024 * 1024;

// A megabyte of feedback broadcasts and short replies of a Lenz interface.
QByteArray FrameBacklogHex() {
  const QByteArray mix =
      "420189CA"
      "610160"
      "4201"
      "8AC9"
      "8080";
  QByteArray backlog;
  backlog.reserve(2 * kBacklogBytes + mix.size());
  while (backlog.size() < 2 * kBacklogBytes) backlog += mix;
  return backlog;
}

void LenzBacklogInOneEvent(benchmark::State& state) {
  const QByteArray backlog = FrameBacklogHex();
  for (auto _ : state) {
    LenzParse parsed = ParseLenzBuffer(backlog);
    benchmark::DoNotOptimize(parsed.lines.size());
  }
  state.SetBytesProcessed(state.iterations() * backlog.size() / 2);
}
BENCHMARK(LenzBacklogInOneEvent)->Unit(benchmark::kMillisecond);

void LenzStreamInSmallEvents(benchmark::State& state) {
  const QByteArray backlog = FrameBacklogHex();
  const qsizetype eventHex = 2 * state.range(0);
  for (auto _ : state) {
    QByteArray buffer;
    qsizetype lines = 0;
    for (qsizetype at = 0; at < backlog.size(); at += eventHex) {
      buffer += QByteArrayView(backlog).sliced(at, std::min(eventHex, backlog.size() - at));
      LenzParse parsed = ParseLenzBuffer(std::move(buffer));
      buffer = std::move(parsed.rest);
      lines += parsed.lines.size();
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * backlog.size() / 2);
}
BENCHMARK(LenzStreamInSmallEvents)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);

}  // namespace
