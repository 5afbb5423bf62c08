// The soak's counts: runs per central type and their outcomes, runs and injected faults per
// kind of fault, and what the process held before, once settled, and at the end. Written out
// as the Markdown that bench/README.md shows.
#pragma once

#include <QString>
#include <map>
#include <vector>

#include "ProcessResources.h"
#include "ProgrammingRun.h"

class SoakTally {
 public:
  void Add(const RunPlan& plan, const RunResult& result);
  void SetResources(const ProcessResources& start, const ProcessResources& settled,
                    const ProcessResources& end);
  void AddResidentSample(long residentKiB) { resident_.push_back(residentKiB); }

  // Mean resident memory of the first and the last quarter of the runs, in KiB.
  long FirstQuarterKiB() const;
  long LastQuarterKiB() const;

  QString Markdown(int runs, unsigned seed, double seconds) const;

 private:
  struct PerCentral {
    int runs = 0;
    std::map<Outcome, int> outcomes;
    int overran = 0;
    double longestSeconds = 0;
  };
  struct PerFault {
    int runs = 0;
    int injected = 0;
  };
  long QuarterMean(bool last) const;

  std::map<SimulatedCentral, PerCentral> centrals_;
  std::map<QString, PerFault> faults_;
  std::vector<long> resident_;
  ProcessResources start_, settled_, end_;
};
