#include "SoakTally.h"

#include <algorithm>
#include <numeric>

void SoakTally::Add(const RunPlan& plan, const RunResult& result) {
  PerCentral& central = centrals_[plan.central];
  ++central.runs;
  ++central.outcomes[result.outcome];
  central.overran += result.overran;
  central.longestSeconds = std::max(central.longestSeconds, result.seconds);
  PerFault& fault = faults_[plan.FaultName()];
  ++fault.runs;
  fault.injected += result.faultsInjected;
}

void SoakTally::SetResources(const ProcessResources& start, const ProcessResources& settled,
                             const ProcessResources& end) {
  start_ = start;
  settled_ = settled;
  end_ = end;
}

long SoakTally::QuarterMean(bool last) const {
  const std::size_t quarter = std::max<std::size_t>(1, resident_.size() / 4);
  if (resident_.size() < quarter) return 0;
  const auto first = last ? resident_.end() - static_cast<long>(quarter) : resident_.begin();
  return std::accumulate(first, first + static_cast<long>(quarter), 0L) /
         static_cast<long>(quarter);
}

long SoakTally::FirstQuarterKiB() const {
  return QuarterMean(false);
}

long SoakTally::LastQuarterKiB() const {
  return QuarterMean(true);
}

QString SoakTally::Markdown(int runs, unsigned seed, double seconds) const {
  QString text = QStringLiteral("%1 runs, seed %2, %3 s in all.\n\n")
                     .arg(runs)
                     .arg(seed)
                     .arg(seconds, 0, 'f', 0);
  text += QStringLiteral(
      "| central type | runs | programmed | clear message | told programmed, station did not "
      "learn | no outcome | stopped at the run limit | longest run (s) |\n"
      "|---|---|---|---|---|---|---|---|\n");
  for (const auto& [central, counts] : centrals_) {
    const auto count = [&](Outcome outcome) {
      const auto found = counts.outcomes.find(outcome);
      return found == counts.outcomes.end() ? 0 : found->second;
    };
    text += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 |\n")
                .arg(CentralName(central))
                .arg(counts.runs)
                .arg(count(Outcome::Programmed))
                .arg(count(Outcome::ClearMessage))
                .arg(count(Outcome::FalseSuccess))
                .arg(count(Outcome::Undefined))
                .arg(counts.overran)
                .arg(counts.longestSeconds, 0, 'f', 1);
  }
  text += QStringLiteral("\n| fault | runs | injected |\n|---|---|---|\n");
  for (const auto& [name, counts] : faults_)
    text += QStringLiteral("| %1 | %2 | %3 |\n").arg(name).arg(counts.runs).arg(counts.injected);
  text += QStringLiteral(
              "\n| process | at start | after the first round of central types | at the end "
              "|\n|---|---|---|---|\n| file descriptors | %1 | %2 | %3 |\n| threads | %4 | %5 | "
              "%6 |\n| resident memory (KiB) | %7 | %8 | %9 |\n")
              .arg(start_.fileDescriptors)
              .arg(settled_.fileDescriptors)
              .arg(end_.fileDescriptors)
              .arg(start_.threads)
              .arg(settled_.threads)
              .arg(end_.threads)
              .arg(start_.residentKiB)
              .arg(settled_.residentKiB)
              .arg(end_.residentKiB);
  text += QStringLiteral(
              "\nResident memory, mean over the first quarter of the runs: %1 KiB; over the last "
              "quarter: %2 KiB.\n")
              .arg(FirstQuarterKiB())
              .arg(LastQuarterKiB());
  return text;
}
