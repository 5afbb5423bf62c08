#include <benchmark/benchmark.h>

#include "loconet/LocoNetMessage.h"
#include "loconet/LocoNetReceiver.h"

namespace {

constexpr qsizetype kBacklogBytes = 1024 * 1024;

QByteArray Hex(const QByteArray& bytes) {
  return bytes.toHex().toUpper();
}

// A megabyte of what a busy LocoNet carries: sensor and switch reports, power messages and
// slot data that is not answered.
QByteArray MessageBacklogHex() {
  const QByteArray mix =
      Hex(LocoNetMessage(QByteArray::fromHex("B2 15 40"))) +
      Hex(LocoNetMessage(QByteArray::fromHex("B1 07 30"))) +
      Hex(LocoNetMessage(QByteArray::fromHex("83"))) +
      Hex(LocoNetMessage(QByteArray::fromHex("E7 0E 05 01 00 00 00 00 00 00 00 00 00")));
  QByteArray backlog;
  backlog.reserve(2 * kBacklogBytes + mix.size());
  while (backlog.size() < 2 * kBacklogBytes) backlog += mix;
  return backlog;
}

void LocoNetBacklogInOneEvent(benchmark::State& state) {
  const QByteArray backlog = MessageBacklogHex();
  for (auto _ : state) {
    LocoNetParse parsed = ParseLocoNetBuffer(backlog);
    benchmark::DoNotOptimize(parsed.actions.data());
  }
  state.SetBytesProcessed(state.iterations() * backlog.size() / 2);
}
BENCHMARK(LocoNetBacklogInOneEvent)->Unit(benchmark::kMillisecond);

// The same megabyte arriving in events of `range(0)` bytes, each followed by a parse, as the
// receive handler runs it (the buffer moved in and out).
void LocoNetStreamInSmallEvents(benchmark::State& state) {
  const QByteArray backlog = MessageBacklogHex();
  const qsizetype eventHex = 2 * state.range(0);
  for (auto _ : state) {
    QByteArray buffer;
    std::size_t actions = 0;
    for (qsizetype at = 0; at < backlog.size(); at += eventHex) {
      buffer += QByteArrayView(backlog).sliced(at, std::min(eventHex, backlog.size() - at));
      LocoNetParse parsed = ParseLocoNetBuffer(std::move(buffer));
      buffer = std::move(parsed.rest);
      actions += parsed.actions.size();
    }
    benchmark::DoNotOptimize(actions);
  }
  state.SetBytesProcessed(state.iterations() * backlog.size() / 2);
}
BENCHMARK(LocoNetStreamInSmallEvents)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);

// A megabyte of bytes that start no message: each receive event drops one of them, so this
// is a million calls on a shrinking two-megabyte buffer. It must stay linear overall, which
// holds only if dropping a byte does not copy the rest.
void LocoNetGarbageBacklogDroppedByteByByte(benchmark::State& state) {
  const QByteArray garbage(2 * kBacklogBytes, '0');
  for (auto _ : state) {
    QByteArray buffer = garbage;
    buffer.detach();
    std::size_t calls = 0;
    while (!buffer.isEmpty()) {
      LocoNetParse parsed = ParseLocoNetBuffer(std::move(buffer));
      buffer = std::move(parsed.rest);
      ++calls;
    }
    benchmark::DoNotOptimize(calls);
  }
  state.SetBytesProcessed(state.iterations() * kBacklogBytes);
}
BENCHMARK(LocoNetGarbageBacklogDroppedByteByByte)->Unit(benchmark::kMillisecond);

}  // namespace
