// The decoder list's file under a long history: the time of one save after a row was edited and
// after a run was recorded, the size of what lies in the data folder, and the time of a load, for
// a list of 255 rows (every first address a WD10 can have) and one of 10,000 rows.
// Run: bench_decoder_store [runs in the history] [saves per figure]; a small number of runs
// (e.g. 100 1) makes a brief smoke run.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "window/DecoderList.h"
#include "window/DecoderListStore.h"
#include "window/DecoderModel.h"

namespace {

RunRecord Run(int index, const DecoderRow& row) {
  RunRecord run;
  run.when = QDateTime(QDate(2026, 1, 1), QTime(8, 0)).addSecs(index * 60);
  run.decoderName = row.name;
  run.firstAddress = row.firstAddress;
  run.modeA = row.modeA;
  run.modeB = row.modeB;
  run.central = QStringLiteral("IB/TC /LocoNet");
  run.result = index % 7 == 0 ? RunRecord::Result::Failed : RunRecord::Result::Programmed;
  if (run.result == RunRecord::Result::Failed)
    run.stationSaid = QStringLiteral("Stap 3 van 4: geen bevestiging van de Centrale");
  return run;
}

DecoderList MadeList(int rows, int runs) {
  DecoderList list;
  for (int i = 0; i < rows; ++i) {
    DecoderRow row;
    row.name = QStringLiteral("Decoder %1 spoor %2").arg(i + 1).arg(i % 12);
    row.firstAddress = 1 + (i * DecoderModel::kAddressStep) % DecoderModel::kMaxAddress;
    row.modeA = DecoderModel::kModes[std::size_t(i) % DecoderModel::kModes.size()].number;
    row.modeB = DecoderModel::kModes[std::size_t(i + 3) % DecoderModel::kModes.size()].number;
    list.Add(row);
  }
  for (int i = 0; i < runs; ++i) list.Record(i % rows, Run(i, list.Rows()[std::size_t(i % rows)]));
  return list;
}

qint64 FolderBytes(const QString& folder) {
  qint64 bytes = 0;
  for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) bytes += file.size();
  return bytes;
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

bool Measure(int rows, int runs, int saves) {
  const QTemporaryDir folder;
  DecoderList list = MadeList(rows, runs);
  {
    DecoderListStore first(folder.path());
    first.Load();
    if (!first.Save(list)) return false;
  }
  DecoderListStore store(folder.path());
  QElapsedTimer clock;
  clock.start();
  DecoderListStore::Loaded loaded = store.Load();
  const double loadMs = clock.nsecsElapsed() / 1e6;
  if (!loaded.problem.isEmpty() || loaded.list.Rows().size() != std::size_t(rows)) return false;
  list = std::move(loaded.list);

  std::vector<double> editMs, runMs;
  for (int i = 0; i < saves; ++i) {
    DecoderRow row = list.Rows()[std::size_t(i % rows)];
    row.name += QStringLiteral(" *");
    list.Update(i % rows, row);
    clock.restart();
    if (!store.Save(list)) return false;
    editMs.push_back(clock.nsecsElapsed() / 1e6);

    list.Record(i % rows, Run(runs + i, list.Rows()[std::size_t(i % rows)]));
    clock.restart();
    if (!store.Save(list)) return false;
    runMs.push_back(clock.nsecsElapsed() / 1e6);
  }
  std::printf(
      "rows %d, runs %d: save after an edit %.1f ms, save after a run %.1f ms, "
      "load %.1f ms, files %.2f MB\n",
      rows, runs, Median(editMs), Median(runMs), loadMs, FolderBytes(folder.path()) / 1e6);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  const int saves = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
  for (const int rows : {255, 10000}) {
    if (!Measure(rows, runs, saves)) {
      std::fprintf(stderr, "the list of %d rows was not saved and read back whole\n", rows);
      return 1;
    }
  }
  return 0;
}
