// The decoder list's window at the sizes a user can make: 255 decoders (every first address a
// WD10 can have), 10,000 rows and 40,000 rows. For each: the window built from the saved list,
// shown and painted; one edit of a row's mode; one row added. And a spreadsheet of 10,000 rows
// opened into an empty list: its time and the peak resident memory while it is read.
// Each figure includes the list's save that the step makes, as the user waits for it.
// Run: bench_decoder_list_window [largest list], e.g. 300 for a brief smoke run.
#include "BenchSupport.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/UserNotifier.h"
#include "support/AwaitTask.h"
#include "window/DecoderListCsv.h"
#include "window/DecoderListModel.h"
#include "window/DecoderListStore.h"
#include "window/DecoderListWindow.h"
#include "window/DecoderModel.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The replace question is answered with OK; any other box is a fault of the run, counted.
class AnsweringNotifier final : public UserNotifier {
 public:
  void ShowMessage(const QString& text, const QString&) override {
    std::fprintf(stderr, "message box: %s\n", qPrintable(text));
    ++messages;
  }
  Task<bool> AskOkCancel(QString) override { co_return true; }
  Task<void> ShowMessageAndWait(QString text, QString detail) override {
    ShowMessage(text, detail);
    co_return;
  }
  void Beep() override {}
  int messages = 0;
};

// A layout's list as it grows past one decoder per address: names of varying length, every first
// address in turn (so that from 256 rows on some are shared and marked), every mode, and a
// programmed run for every other row.
DecoderList MadeList(int rows) {
  DecoderList list;
  const QDateTime when = QDateTime::currentDateTime();
  for (int i = 0; i < rows; ++i) {
    DecoderRow row;
    row.name = QStringLiteral("Wissel %1 %2").arg(i + 1).arg(QString(i % 23, u'x'));
    row.firstAddress = DecoderModel::kMinAddress + DecoderModel::kAddressStep * (i % 255);
    row.modeA = DecoderModel::kModes[std::size_t(i % 7)].number;
    row.modeB = DecoderModel::kModes[std::size_t((i / 7) % 7)].number;
    list.Add(row);
    if (i % 2 == 0)
      list.Record(i, RunRecord{when,
                               row.name,
                               row.firstAddress,
                               row.modeA,
                               row.modeB,
                               QStringLiteral("IB/TC /LocoNet"),
                               RunRecord::Result::Programmed,
                               {}});
  }
  return list;
}

DecoderListWindow::Host IdleHost() {
  return {[] { return DecoderModel::kMaxAddress; }, [](const DecoderRow&) {}, [] { return false; },
          [](std::vector<QString>) {}};
}

void Settle(QWidget& window) {
  QApplication::processEvents();
  window.repaint();
}

// Peak resident memory since the last reset, in KiB; the reset makes the figure the peak of one
// step alone.
long PeakKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return 0;
}
void ResetPeak() {
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

void MeasureSize(int rows) {
  {
    DecoderListStore store;
    store.Load();
    DecoderList list = MadeList(rows);
    if (!store.Save(list)) std::fprintf(stderr, "%d rows: the list was not saved\n", rows);
  }
  Clock::time_point start = Clock::now();
  DecoderListWindow window(IdleHost(), nullptr);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "window not exposed\n");
  Settle(window);
  const double layoutMs = MsSince(start);

  QAbstractItemModel& model = *window.table->model();
  const int middle = rows / 2;
  start = Clock::now();
  const int modeNow = model.index(middle, DecoderListModel::kModeA).data(Qt::EditRole).toInt();
  model.setData(model.index(middle, DecoderListModel::kModeA), modeNow == 8 ? 2 : modeNow + 1);
  Settle(window);
  const double editMs = MsSince(start);

  start = Clock::now();
  window.AddRow();
  Settle(window);
  const double addMs = MsSince(start);
  // The save each edit makes, alone: what of an edit is the file's and what the window's.
  DecoderListStore store;
  DecoderList list = store.Load().list;
  DecoderRow edited = list.Rows()[std::size_t(middle)];
  edited.name += QStringLiteral(" *");
  list.Update(middle, edited);
  start = Clock::now();
  store.Save(list);
  const double saveMs = MsSince(start);
  std::printf(
      "decoder list window, %d rows: layout %.1f ms, one edit %.1f ms, one added row %.1f "
      "ms; of each the list's save %.1f ms\n",
      rows, layoutMs, editMs, addMs, saveMs);
}

void MeasureImport(int rows, const QString& folder) {
  const QString file = folder + QStringLiteral("/import.csv");
  {
    QFile csv(file);
    if (!csv.open(QIODevice::WriteOnly) || csv.write(WriteDecoderCsv(MadeList(rows))) < 0)
      std::fprintf(stderr, "the spreadsheet was not written\n");
  }
  const long bytes = long(QFileInfo(file).size());
  DecoderList empty;
  DecoderListStore().Save(empty);
  DecoderListWindow window(IdleHost(), nullptr);
  window.show();
  Settle(window);
  DecoderListWindow::SetFileNameHook([&](QWidget*, bool) { return file; });
  const long before = PeakKiB();
  ResetPeak();
  const long baseline = PeakKiB();
  const Clock::time_point start = Clock::now();
  Await(window.OpenSpreadsheet());
  Settle(window);
  const double importMs = MsSince(start);
  const long peak = PeakKiB();
  DecoderListWindow::SetFileNameHook(nullptr);
  std::printf(
      "spreadsheet of %d rows (%.1f KiB) opened into the list: %.1f ms, peak resident "
      "memory %.1f MiB (%.1f MiB above the %.1f MiB before; %d rows read)\n",
      rows, bytes / 1024.0, importMs, peak / 1024.0, (peak - baseline) / 1024.0,
      std::max(before, baseline) / 1024.0, int(window.List().Rows().size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The user's own list is never touched: the bench keeps its lists in a folder of its own.
  const FirstDayFolders firstDay;
  const QTemporaryDir spreadsheets;
  QApplication app(argc, argv);
  AnsweringNotifier notifier;
  SetUserNotifier(&notifier);

  const int largest = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40000;
  std::vector<int> sizes;
  for (const int size : {255, 10000, 40000})
    if (sizes.empty() || std::min(size, largest) > sizes.back())
      sizes.push_back(std::min(size, largest));
  // The import first, while the process holds no larger list: its peak is its own.
  MeasureImport(std::min(10000, largest), spreadsheets.path());
  for (const int rows : sizes) MeasureSize(rows);
  SetUserNotifier(nullptr);
  return notifier.messages == 0 ? 0 : 1;
}
