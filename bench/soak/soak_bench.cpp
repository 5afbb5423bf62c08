// Complete programming runs of the real main window, the central types in turn, against
// simulated command stations with faults injected: reply bytes dropped, delayed, duplicated or
// corrupted, a station falling silent, the interface switched off mid-run, the adapter
// unplugged, an SRCP server that disconnects, floods or answers late. Every run must end with
// the decoder programmed (or, on a station that confirmed nothing, the run told unchecked) or the
// user told what went wrong, within its time limit; and after all runs the process must hold no
// more file descriptors and threads than after the first round, with resident memory flat.
//
// Run: bench_soak [runs] [seed], 200 runs (the full soak) and seed 1 unless given.
// SORVELL_SOAK_REPORT names a file for the counts, written as the Markdown that bench/README.md
// shows. The exit status is 1 when a run ended without an outcome or in a false success, or
// when the process grew; each such finding has a line of its own on the error output.
#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ProgrammingRun.h"
#include "ResidentMemory.h"
#include "SoakPlan.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"

namespace {

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

// A finding that fails the soak, on a line of its own.
void Fail(bool& held, const std::string& finding) {
  std::fprintf(stderr, "soak failed: %s\n", finding.c_str());
  std::fflush(stderr);
  held = false;
}

// The whole soak; whether every run ended well and the process did not grow.
bool Soak(int runs, unsigned seed) {
  bool held = true;
  QElapsedTimer clock;
  clock.start();
  Tally tally;
  std::vector<long> residentKiB;
  ProcessResources resources[3] = {SettledResources(1 << 20)};  // start, settled, end
  for (int index = 0; index < runs; ++index) {
    const RunPlan plan = PlanRun(index, seed);
    // Named before it starts, so that a run that hangs for good is named where the soak stops.
    std::printf("%s\n", qPrintable(plan.Describe()));
    std::fflush(stdout);
    const RunResult result = RunProgramming(plan);
    tally.Add(plan, result);
    const std::string run = plan.Describe().toStdString() +
                            "\n  shown: " + result.shown.join(QStringLiteral(" | ")).toStdString();
    if (result.outcome == Outcome::Undefined) Fail(held, "no outcome: " + run);
    if (result.outcome == Outcome::FalseSuccess)
      Fail(held, "told programmed, station did not learn: " + run);
    const ProcessResources now =
        SettledResources(index < kSimulatedCentrals ? 1 << 20 : resources[1].threads);
    residentKiB.push_back(now.residentKiB);
    if (index == kSimulatedCentrals - 1) resources[1] = now;
  }
  resources[2] = SettledResources(resources[1].threads);
  if (resources[2].fileDescriptors > resources[1].fileDescriptors)
    Fail(held, "file descriptors leak: " + std::to_string(resources[1].fileDescriptors) +
                   " after the first round, " + std::to_string(resources[2].fileDescriptors) +
                   " at the end");
  if (resources[2].threads > resources[1].threads)
    Fail(held, "threads leak: " + std::to_string(resources[1].threads) +
                   " after the first round, " + std::to_string(resources[2].threads) +
                   " at the end");
  const std::size_t quarter = residentKiB.size() / 4;
  const long firstQuarterKiB = MeanKiB(residentKiB.begin(), quarter);
  const long lastQuarterKiB = MeanKiB(residentKiB.end() - static_cast<long>(quarter), quarter);
#ifndef __SANITIZE_ADDRESS__
  // AddressSanitizer holds freed memory back in its quarantine, so there resident memory grows
  // whatever the program does. Elsewhere memory may settle a little higher after the first runs
  // (the toolkit's and the font engine's caches); a leak of a window or a log per run grows far
  // past this over a soak.
  // A smoke run is too short for its quarters to leave the warm-up behind.
  constexpr long kResidentGrowthAllowanceKiB = 8 * 1024;
  if (!SmokeRun() && lastQuarterKiB > firstQuarterKiB + kResidentGrowthAllowanceKiB)
    Fail(held, "resident memory grows from run to run: mean " + std::to_string(firstQuarterKiB) +
                   " KiB over the first quarter of the runs, " + std::to_string(lastQuarterKiB) +
                   " KiB over the last, more than " + std::to_string(kResidentGrowthAllowanceKiB) +
                   " KiB apart");
#endif

  const QString report = QStringLiteral("%1 runs, seed %2, %3 s in all.\n\n")
                             .arg(runs)
                             .arg(seed)
                             .arg(clock.elapsed() / 1000.0, 0, 'f', 0) +
                         tally.Markdown(resources, firstQuarterKiB, lastQuarterKiB);
  std::printf("%s", qPrintable(report));
  std::fflush(stdout);
  if (const QString path = qEnvironmentVariable("SORVELL_SOAK_REPORT"); !path.isEmpty()) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(report.toUtf8()) != report.toUtf8().size())
      Fail(held, "the report could not be written to " + path.toStdString());
  }
  return held;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const FirstDayFolders firstDay;
  QApplication app(argc, argv);
  // The runs are judged by the boxes the program would have shown, which the recorder keeps.
  SetUserNotifier(&Notifications());
  const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
  const auto seed = static_cast<unsigned>(argc > 2 ? std::atoi(argv[2]) : 1);
  if (runs < 2 * kSimulatedCentrals) {
    std::fprintf(
        stderr, "bench_soak: a soak needs at least %d runs, a round to settle and one to compare\n",
        2 * kSimulatedCentrals);
    return 2;
  }
  const bool held = Soak(runs, seed);
  SetUserNotifier(nullptr);
  return held ? 0 : 1;
}
