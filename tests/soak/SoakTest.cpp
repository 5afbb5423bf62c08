// Complete programming runs of the real main window, the central types in turn, against
// simulated command stations with faults injected: reply bytes dropped, delayed, duplicated or
// corrupted, a station falling silent, the adapter unplugged, an SRCP server that disconnects,
// floods or answers late. Every run must end with the decoder programmed or the user told what
// went wrong, within its time limit; and after all runs the process must hold no more file
// descriptors and threads than after the first round, with resident memory flat.
//
// SORVELL_SOAK_RUNS sets the number of runs (20 by default; the full soak is 200),
// SORVELL_SOAK_SEED the seed (1 by default), SORVELL_SOAK_REPORT a file for the counts.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

#include "ProcessResources.h"
#include "ProgrammingRun.h"
#include "SoakPlan.h"
#include "SoakTally.h"
#include "support/WaitFor.h"

namespace {

int EnvironmentNumber(const char* name, int fallback) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok ? value : fallback;
}

// Threads that end on their own (a finished host lookup) are given a moment to go.
ProcessResources SettledResources(int expectedThreads) {
  WaitFor([&] { return ProcessResources::Now().threads <= expectedThreads; }, 2000);
  return ProcessResources::Now();
}

TEST(Soak, EveryRunEndsProgrammedOrWithAClearMessage) {
  const int runs = EnvironmentNumber("SORVELL_SOAK_RUNS", 20);
  const auto seed = static_cast<unsigned>(EnvironmentNumber("SORVELL_SOAK_SEED", 1));
  ASSERT_GE(runs, 2 * kSimulatedCentrals) << "a soak needs a round to settle and one to compare";
  QElapsedTimer clock;
  clock.start();
  SoakTally tally;
  const ProcessResources start = ProcessResources::Now();
  ProcessResources settled;
  for (int index = 0; index < runs; ++index) {
    const RunPlan plan = PlanRun(index, seed);
    const RunResult result = RunProgramming(plan);
    tally.Add(plan, result);
    const std::string run = plan.Describe().toStdString() +
                            "\n  shown: " + result.shown.join(QStringLiteral(" | ")).toStdString();
    EXPECT_NE(result.outcome, Outcome::Undefined) << run;
    EXPECT_NE(result.outcome, Outcome::FalseSuccess) << run;
    const ProcessResources now =
        SettledResources(index < kSimulatedCentrals ? 1 << 20 : settled.threads);
    tally.AddResidentSample(now.residentKiB);
    if (index == kSimulatedCentrals - 1) settled = now;
  }
  const ProcessResources end = SettledResources(settled.threads);
  tally.SetResources(start, settled, end);

  EXPECT_LE(end.fileDescriptors, settled.fileDescriptors) << "file descriptors leak";
  EXPECT_LE(end.threads, settled.threads) << "threads leak";
#ifndef __SANITIZE_ADDRESS__
  // AddressSanitizer holds freed memory back in its quarantine, so there resident memory grows
  // whatever the program does. Elsewhere memory may settle a little higher after the first runs
  // (the toolkit's and the font engine's caches); a leak of a window or a log per run grows far
  // past this over a soak.
  constexpr long kResidentGrowthAllowanceKiB = 8 * 1024;
  EXPECT_LE(tally.LastQuarterKiB(), tally.FirstQuarterKiB() + kResidentGrowthAllowanceKiB)
      << "resident memory grows from run to run";
#endif

  const QString report = tally.Markdown(runs, seed, clock.elapsed() / 1000.0);
  std::printf("%s", qPrintable(report));
  if (const QString path = qEnvironmentVariable("SORVELL_SOAK_REPORT"); !path.isEmpty()) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(report.toUtf8());
  }
}

}  // namespace
