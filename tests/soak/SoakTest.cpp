// Complete programming runs of the real main window, the central types in turn, against
// simulated command stations with faults injected: reply bytes dropped, delayed, duplicated or
// corrupted, a station falling silent, the interface switched off mid-run, the adapter
// unplugged, an SRCP server that disconnects, floods or answers late. Every run must end with
// the decoder programmed (or, on a station that confirms nothing, the run told unchecked) or the
// user told what went wrong, within its time limit; and after all runs the process must hold no
// more file descriptors and threads than after the first round, with resident memory flat.
//
// SORVELL_SOAK_RUNS sets the number of runs (20 by default; the full soak is 200),
// SORVELL_SOAK_SEED the seed (1 by default), SORVELL_SOAK_REPORT a file for the counts, written
// as the Markdown that bench/README.md shows.
#include <gtest/gtest.h>
#include <malloc.h>

#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <array>
#include <map>
#include <numeric>

#include "ProgrammingRun.h"
#include "support/ResidentMemory.h"
#include "support/WaitFor.h"

namespace {

int EnvironmentNumber(const char* name, int fallback) {
  return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : fallback;
}

// What the process holds, as the kernel counts it; a run that leaks leaves more behind.
struct ProcessResources {
  int fileDescriptors = 0;
  int threads = 0;
  long residentKiB = 0;
};

int EntriesIn(const char* directory) {
  return static_cast<int>(QDir(QString::fromLatin1(directory))
                              .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                              .size());
}

// Threads that end on their own (a finished host lookup) are given a moment to go. Resident
// memory is read after freed heap has been handed back, so it tracks what is live; listing a
// directory opens one descriptor of its own, counted in every snapshot alike.
ProcessResources SettledResources(int expectedThreads) {
  WaitFor([&] { return EntriesIn("/proc/self/task") <= expectedThreads; }, 2000);
  ::malloc_trim(0);
  return {EntriesIn("/proc/self/fd"), EntriesIn("/proc/self/task"), ResidentKiB()};
}

// Runs and outcomes per central type, runs per kind of fault.
class Tally {
 public:
  void Add(const RunPlan& plan, const RunResult& result) {
    PerCentral& central = centrals_[plan.central];
    ++central.runs;
    ++central.outcomes[static_cast<int>(result.outcome)];
    central.overran += result.overran;
    central.longestSeconds = std::max(central.longestSeconds, result.seconds);
    ++faults_[plan.FaultName()][static_cast<int>(result.outcome)];
  }

  QString Markdown(const ProcessResources (&resources)[3], long firstQuarterKiB,
                   long lastQuarterKiB) const {
    QString text = QStringLiteral(
        "| central type | runs | programmed | went out, told unchecked | clear message | told "
        "programmed, station did not learn | no outcome | stopped at the run limit | longest run "
        "(s) |\n"
        "|---|---|---|---|---|---|---|---|---|\n");
    for (const auto& [central, counts] : centrals_) {
      text += QStringLiteral("| %1 | %2 |").arg(CentralName(central)).arg(counts.runs);
      for (int outcome : counts.outcomes) text += QStringLiteral(" %1 |").arg(outcome);
      text +=
          QStringLiteral(" %1 | %2 |\n").arg(counts.overran).arg(counts.longestSeconds, 0, 'f', 1);
    }
    text += QStringLiteral(
        "\n| fault | programmed | went out, told unchecked | clear message | told programmed, "
        "station did not learn | no outcome |\n|---|---|---|---|---|---|\n");
    for (const auto& [name, outcomes] : faults_) {
      text += QStringLiteral("| %1 |").arg(name);
      for (int outcome : outcomes) text += QStringLiteral(" %1 |").arg(outcome);
      text += u'\n';
    }
    text += QStringLiteral(
        "\n| process | at start | after the first round of central types | at the end |\n"
        "|---|---|---|---|\n");
    const auto row = [&](const char* name, auto field) {
      text += QStringLiteral("| %1 |").arg(QLatin1String(name));
      for (const ProcessResources& at : resources) text += QStringLiteral(" %1 |").arg(at.*field);
      text += u'\n';
    };
    row("file descriptors", &ProcessResources::fileDescriptors);
    row("threads", &ProcessResources::threads);
    row("resident memory (KiB)", &ProcessResources::residentKiB);
    return text + QStringLiteral(
                      "\nResident memory, mean over the first quarter of the runs: %1 KiB; over "
                      "the last quarter: %2 KiB.\n")
                      .arg(firstQuarterKiB)
                      .arg(lastQuarterKiB);
  }

 private:
  struct PerCentral {
    int runs = 0;
    std::array<int, 5> outcomes = {};  // by Outcome
    int overran = 0;
    double longestSeconds = 0;
  };
  std::map<SimulatedCentral, PerCentral> centrals_;
  std::map<QString, std::array<int, 5>> faults_;  // by Outcome
};

long MeanKiB(std::vector<long>::const_iterator first, std::size_t count) {
  return std::accumulate(first, first + static_cast<long>(count), 0L) / static_cast<long>(count);
}

TEST(Soak, EveryRunEndsProgrammedOrWithAClearMessage) {
  const int runs = EnvironmentNumber("SORVELL_SOAK_RUNS", 20);
  const auto seed = static_cast<unsigned>(EnvironmentNumber("SORVELL_SOAK_SEED", 1));
  ASSERT_GE(runs, 2 * kSimulatedCentrals) << "a soak needs a round to settle and one to compare";
  QElapsedTimer clock;
  clock.start();
  Tally tally;
  std::vector<long> residentKiB;
  ProcessResources resources[3] = {SettledResources(1 << 20)};  // start, settled, end
  for (int index = 0; index < runs; ++index) {
    const RunPlan plan = PlanRun(index, seed);
    // Named before it starts, so that a run that hangs for good is named where the test stops.
    std::printf("%s\n", qPrintable(plan.Describe()));
    std::fflush(stdout);
    const RunResult result = RunProgramming(plan);
    tally.Add(plan, result);
    const std::string run = plan.Describe().toStdString() +
                            "\n  shown: " + result.shown.join(QStringLiteral(" | ")).toStdString();
    EXPECT_NE(result.outcome, Outcome::Undefined) << run;
    EXPECT_NE(result.outcome, Outcome::FalseSuccess) << run;
    const ProcessResources now =
        SettledResources(index < kSimulatedCentrals ? 1 << 20 : resources[1].threads);
    residentKiB.push_back(now.residentKiB);
    if (index == kSimulatedCentrals - 1) resources[1] = now;
  }
  resources[2] = SettledResources(resources[1].threads);
  EXPECT_LE(resources[2].fileDescriptors, resources[1].fileDescriptors) << "file descriptors leak";
  EXPECT_LE(resources[2].threads, resources[1].threads) << "threads leak";
  const std::size_t quarter = residentKiB.size() / 4;
  const long firstQuarterKiB = MeanKiB(residentKiB.begin(), quarter);
  const long lastQuarterKiB = MeanKiB(residentKiB.end() - static_cast<long>(quarter), quarter);
#ifndef __SANITIZE_ADDRESS__
  // AddressSanitizer holds freed memory back in its quarantine, so there resident memory grows
  // whatever the program does. Elsewhere memory may settle a little higher after the first runs
  // (the toolkit's and the font engine's caches); a leak of a window or a log per run grows far
  // past this over a soak.
  constexpr long kResidentGrowthAllowanceKiB = 8 * 1024;
  EXPECT_LE(lastQuarterKiB, firstQuarterKiB + kResidentGrowthAllowanceKiB)
      << "resident memory grows from run to run";
#endif

  const QString report = QStringLiteral("%1 runs, seed %2, %3 s in all.\n\n")
                             .arg(runs)
                             .arg(seed)
                             .arg(clock.elapsed() / 1000.0, 0, 'f', 0) +
                         tally.Markdown(resources, firstQuarterKiB, lastQuarterKiB);
  std::printf("%s", qPrintable(report));
  if (const QString path = qEnvironmentVariable("SORVELL_SOAK_REPORT"); !path.isEmpty()) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(report.toUtf8());
  }
}

}  // namespace
