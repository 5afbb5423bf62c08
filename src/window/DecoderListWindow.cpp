#include "window/DecoderListWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "platform/DialogAnswer.h"
#include "platform/ExceptionDisplay.h"
#include "platform/KeepOnScreen.h"
#include "platform/UserNotifier.h"
#include "platform/WriteWholeFile.h"
#include "window/DecoderListColumns.h"
#include "window/DecoderListCsv.h"
#include "window/DecoderListDelegate.h"
#include "window/DecoderListModel.h"
#include "window/DecoderModel.h"

namespace {

Task<QString> DesktopFileName(QWidget* parent, bool forSaving) {
  QFileDialog dialog(
      parent,
      forSaving ? QCoreApplication::translate("DecoderListWindow", "Decoderlijst opslaan als")
                : QCoreApplication::translate("DecoderListWindow", "Decoderlijst openen"),
      {},
      QCoreApplication::translate("DecoderListWindow", "Spreadsheet (*.csv);;Alle bestanden (*)"));
  if (forSaving) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(QCoreApplication::translate("DecoderListWindow", "decoderlijst.csv"));
  } else {
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  const int answer = co_await AnswerOf(dialog);
  if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) co_return QString();
  co_return dialog.selectedFiles().constFirst();
}

DecoderListWindow::FileNameAsker& FileNameHook() {
  static DecoderListWindow::FileNameAsker hook;
  return hook;
}

Task<QString> AskFileName(QWidget* parent, bool forSaving) {
  if (FileNameHook()) co_return FileNameHook()(parent, forSaving);
  co_return co_await DesktopFileName(parent, forSaving);
}

constexpr const char* kDecoder = QT_TRANSLATE_NOOP("DecoderListWindow", "decoder");
constexpr const char* kDecoders = QT_TRANSLATE_NOOP("DecoderListWindow", "decoders");
constexpr const char* kRow = QT_TRANSLATE_NOOP("DecoderListWindow", "rij");
constexpr const char* kRows = QT_TRANSLATE_NOOP("DecoderListWindow", "rijen");
// The passive's helper verb ("... wordt vervangen") and the plain one ("... is overgeslagen").
constexpr const char* kIsMade = QT_TRANSLATE_NOOP("DecoderListWindow", "wordt");
constexpr const char* kAreMade = QT_TRANSLATE_NOOP("DecoderListWindow", "worden");
constexpr const char* kIs = QT_TRANSLATE_NOOP("DecoderListWindow", "is");
constexpr const char* kAre = QT_TRANSLATE_NOOP("DecoderListWindow", "zijn");

// A count with its word: "1 rij", "3 rijen".
QString Counted(qsizetype count, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(count).arg(
      QCoreApplication::translate("DecoderListWindow", count == 1 ? one : many));
}

// The verb of a sentence about count things: "wordt", "worden".
QString Verb(qsizetype count, const char* one, const char* many) {
  return QCoreApplication::translate("DecoderListWindow", count == 1 ? one : many);
}

}  // namespace

void DecoderListWindow::SetFileNameHook(FileNameAsker asker) {
  FileNameHook() = std::move(asker);
}

DecoderListWindow::DecoderListWindow(Host host, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(std::move(host)) {
  DecoderListStore::Loaded loaded = store_.Load();
  list_ = std::move(loaded.list);
  BuildWindow();
  if (!loaded.problem.isEmpty()) ShowMessage(loaded.problem);
}

DecoderListWindow::~DecoderListWindow() {
  // An editor still open commits into the list when the table goes; the list must still be there.
  delete table;
}

void DecoderListWindow::BuildWindow() {
  setWindowTitle(QCoreApplication::translate("DecoderListWindow", "Decoderlijst"));
  model_ = new DecoderListModel(
      list_, [this] { return host_.highestFirstAddress(); }, [this] { Save(); }, this);
  table = new QTableView(this);
  table->setModel(model_);
  table->setItemDelegate(new DecoderListDelegate(
      [this](const QString& why) {
        editNote->setText(why);
        editNote->setVisible(!why.isEmpty());
      },
      table));
  table->setAccessibleName(QCoreApplication::translate("DecoderListWindow", "Decoders"));
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // Enter and a double click choose the row; F2, typing or a click on a chosen cell edits it.
  table->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                         QAbstractItemView::SelectedClicked);
  table->setTabKeyNavigation(false);
  // One line per decoder, each column as wide as its widest text; a long answer of the station
  // scrolls rather than making every row several lines high.
  table->setWordWrap(false);
  new DecoderListColumns(table);
  editNote = new QLabel(this);
  editNote->setWordWrap(true);
  editNote->setAccessibleName(
      QCoreApplication::translate("DecoderListWindow", "Toelichting bij het eerste wisseladres"));
  editNote->hide();
  connect(table, &QTableView::activated, this, [this] { RunGuarded([this] { ChooseRow(); }); });

  const auto button = [this](const char* caption, auto handler) {
    auto* made = new QPushButton(tr(caption), this);
    connect(made, &QPushButton::clicked, this, [handler] { RunGuarded(handler); });
    return made;
  };
  addButton = button(QT_TR_NOOP("Toevoegen"), [this] { AddRow(); });
  removeButton = button(QT_TR_NOOP("Verwijderen"), [this] { RemoveRows(); });
  upButton = button(QT_TR_NOOP("Omhoog"), [this] { MoveRow(-1); });
  downButton = button(QT_TR_NOOP("Omlaag"), [this] { MoveRow(1); });
  chooseButton = button(QT_TR_NOOP("Kies"), [this] { ChooseRow(); });
  chooseButton->setAccessibleDescription(QCoreApplication::translate(
      "DecoderListWindow", "Zet het adres en de modes van deze decoder in het hoofdvenster"));
  seriesButton = button(QT_TR_NOOP("Programmeer reeks"), [this] { ProgramSeries(); });
  seriesButton->setAccessibleDescription(QCoreApplication::translate(
      "DecoderListWindow",
      "Programmeert de gekozen decoders, of alle die nog niet geprogrammeerd "
      "zijn, een voor een"));
  // One file at a time: a click while a file dialog or its question is open does nothing.
  openButton = button(QT_TR_NOOP("Openen…"), [this] {
    if (fileOperation_.Done()) fileOperation_ = Guarded(OpenSpreadsheet());
  });
  saveAsButton = button(QT_TR_NOOP("Opslaan als…"), [this] {
    if (fileOperation_.Done()) fileOperation_ = Guarded(SaveSpreadsheet());
  });
  closeButton = button(QT_TR_NOOP("Sluiten"), [this] { close(); });

  auto* buttons = new QGridLayout;
  int column = 0;
  for (QPushButton* first : {addButton, removeButton, upButton, downButton, chooseButton})
    buttons->addWidget(first, 0, column++);
  column = 0;
  for (QPushButton* second : {seriesButton, openButton, saveAsButton})
    buttons->addWidget(second, 1, column++);
  buttons->addWidget(closeButton, 1, 4);
  // The table and the buttons fill the window; on a screen too small for the buttons (an 800 x
  // 480 touch screen at a large font) the window keeps to the screen and its contents scroll.
  auto* contents = new QWidget;
  auto* layout = new QVBoxLayout(contents);
  layout->addWidget(table, 1);
  layout->addWidget(editNote);
  layout->addLayout(buttons);
  auto* scroller = new QScrollArea(this);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setFocusPolicy(Qt::NoFocus);
  scroller->setWidgetResizable(true);
  scroller->setWidget(contents);
  auto* windowLayout = new QVBoxLayout(this);
  windowLayout->setContentsMargins(0, 0, 0, 0);
  windowLayout->addWidget(scroller);
  resize(1000, 360);
  KeepWholeOnScreen(*this);
  UpdateButtons();
}

void DecoderListWindow::Save() {
  const std::vector<DecoderRow> shown = list_.Rows();
  QString why;
  const bool saved = store_.Save(list_, &why);
  if (list_.Rows() != shown) ShowMergedRows(shown);
  if (!saved)
    ShowMessage(QCoreApplication::translate("DecoderListWindow",
                                            "De decoderlijst kon niet worden opgeslagen in %1.")
                    .arg(store_.FileName()),
                why);
}

void DecoderListWindow::ShowMergedRows(const std::vector<DecoderRow>& shown) {
  // The table still shows the rows as they were: the selection, the current and the chosen row
  // are found again by their ids, wherever the other window's changes put them.
  const auto idOf = [&](int row) {
    return row >= 0 && row < int(shown.size()) ? shown[std::size_t(row)].id : QString();
  };
  QSet<QString> selected;
  for (const QModelIndex& index : table->selectionModel()->selectedRows())
    selected.insert(idOf(index.row()));
  const QString current = idOf(CurrentRow());
  const QString chosen = idOf(chosen_.value_or(-1));
  model_->Refresh();
  chosen_.reset();
  QItemSelection selection;
  for (int row = 0; row < int(list_.Rows().size()); ++row) {
    const QString& id = list_.Rows()[std::size_t(row)].id;
    if (id == chosen) chosen_ = row;
    if (selected.contains(id))
      selection.select(model_->index(row, 0), model_->index(row, DecoderListModel::kColumns - 1));
    if (id == current)
      table->selectionModel()->setCurrentIndex(model_->index(row, DecoderListModel::kName),
                                               QItemSelectionModel::NoUpdate);
  }
  table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

int DecoderListWindow::CurrentRow() const {
  return table->currentIndex().isValid() ? table->currentIndex().row() : -1;
}

void DecoderListWindow::Select(int row) {
  table->setCurrentIndex(model_->index(row, DecoderListModel::kName));
  table->selectRow(row);
}

void DecoderListWindow::UpdateButtons() {
  const bool idle = !runInProgress_ && !seriesInProgress_;
  table->setEnabled(idle);
  for (QPushButton* button :
       {addButton, removeButton, upButton, downButton, chooseButton, seriesButton, openButton})
    button->setEnabled(idle);
}

void DecoderListWindow::SetRunInProgress(bool running) {
  runInProgress_ = running;
  UpdateButtons();
}

void DecoderListWindow::StationChanged() {
  model_->ShowChanges();
}

void DecoderListWindow::AddRow() {
  DecoderRow row;
  row.name =
      QCoreApplication::translate("DecoderListWindow", "Decoder %1").arg(list_.Rows().size() + 1);
  // The eight turnouts after the highest decoder in the list are the ones most likely free.
  if (!list_.Rows().empty()) {
    const int last = std::ranges::max(list_.Rows(), {}, &DecoderRow::firstAddress).firstAddress;
    row.firstAddress = DecoderModel::NextFirstAddress(last, model_->HighestFirstAddress());
  }
  list_.Add(row);
  chosen_.reset();
  model_->Refresh();
  Save();
  const int added = int(list_.Rows().size()) - 1;
  Select(added);
  table->edit(model_->index(added, DecoderListModel::kName));
}

void DecoderListWindow::RemoveRows() {
  std::vector<int> rows;
  for (const QModelIndex& index : table->selectionModel()->selectedRows())
    rows.push_back(index.row());
  if (rows.empty() && CurrentRow() >= 0) rows.push_back(CurrentRow());
  if (rows.empty()) return;
  std::ranges::sort(rows, std::greater<>());
  for (int row : rows) list_.Remove(row);
  chosen_.reset();
  model_->Refresh();
  Save();
  if (!list_.Rows().empty()) Select(std::min(rows.back(), int(list_.Rows().size()) - 1));
}

void DecoderListWindow::MoveRow(int by) {
  const int from = CurrentRow();
  const int to = from + by;
  if (from < 0 || to < 0 || to >= int(list_.Rows().size())) return;
  list_.Move(from, to);
  chosen_.reset();
  model_->Refresh();
  Save();
  Select(to);
}

void DecoderListWindow::ChooseRow() {
  const int row = CurrentRow();
  if (row < 0 || runInProgress_ || seriesInProgress_) return;
  chosen_ = row;
  host_.choose(list_.Rows()[std::size_t(row)]);
}

void DecoderListWindow::RecordRun(const RunRecord& run) {
  RunRecord named = run;
  const bool chosenRow = chosen_ && *chosen_ < int(list_.Rows().size()) && [&] {
    const DecoderRow& row = list_.Rows()[std::size_t(*chosen_)];
    return row.firstAddress == run.firstAddress && row.modeA == run.modeA && row.modeB == run.modeB;
  }();
  if (chosenRow) {
    named.decoderName = list_.Rows()[std::size_t(*chosen_)].name;
    list_.Record(*chosen_, named);
  } else {
    list_.RecordUnlisted(named);
  }
  model_->ShowChanges();
  Save();
}

std::vector<QString> DecoderListWindow::SeriesRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : table->selectionModel()->selectedRows())
    rows.push_back(index.row());
  std::ranges::sort(rows);
  if (rows.empty()) {
    for (int row = 0; row < int(list_.Rows().size()); ++row) {
      const std::optional<RunRecord>& last = list_.Rows()[std::size_t(row)].lastRun;
      if (!last || last->result == RunRecord::Result::Failed) rows.push_back(row);
    }
  }
  // By id: each save may bring another window's rows in and move these.
  std::vector<QString> ids;
  for (int row : rows) ids.push_back(list_.Rows()[std::size_t(row)].id);
  return ids;
}

int DecoderListWindow::RowOf(const QString& id) const {
  const auto found = std::ranges::find(list_.Rows(), id, &DecoderRow::id);
  return found == list_.Rows().end() ? -1 : int(found - list_.Rows().begin());
}

void DecoderListWindow::ProgramSeries() {
  if (!host_.readyToProgram()) {
    ShowMessage(QCoreApplication::translate(
        "DecoderListWindow",
        "Maak eerst verbinding met de Centrale in het hoofdvenster; daarna kan de reeks "
        "beginnen."));
    return;
  }
  std::vector<QString> rows = SeriesRows();
  if (rows.empty()) {
    ShowMessage(QCoreApplication::translate(
        "DecoderListWindow",
        "Alle decoders in de lijst zijn al geprogrammeerd. Kies de decoders die opnieuw "
        "geprogrammeerd moeten worden en druk dan op \"Programmeer reeks\"."));
    return;
  }
  host_.programSeries(std::move(rows));
}

std::optional<DecoderRow> DecoderListWindow::RowWithId(const QString& id) const {
  const int index = RowOf(id);
  if (index < 0) return std::nullopt;
  return list_.Rows()[std::size_t(index)];
}

void DecoderListWindow::ChooseRowWithId(const QString& id) {
  const int index = RowOf(id);
  if (index < 0) return;
  Select(index);
  chosen_ = index;
}

void DecoderListWindow::RecordSeriesRun(const QString& id, const std::optional<DecoderRow>& learnt,
                                        const RunRecord& run) {
  const int index = RowOf(id);
  if (index < 0) return;
  if (learnt) list_.Update(index, *learnt);
  list_.Record(index, run);
  model_->ShowChanges();
  Save();
}

void DecoderListWindow::SetSeriesInProgress(bool inProgress) {
  seriesInProgress_ = inProgress;
  // The rows say what became of them; a selection left behind would make the next series the
  // last decoder's alone.
  if (!inProgress) table->clearSelection();
  UpdateButtons();
}

Task<void> DecoderListWindow::OpenSpreadsheet() {
  const QString fileName = co_await AskFileName(this, false);
  if (fileName.isEmpty()) co_return;
  const QString name = QFileInfo(fileName).fileName();
  const QString unchanged =
      QCoreApplication::translate("DecoderListWindow", " De lijst blijft zoals hij was.");
  const auto refuseLarge = [&] {
    ShowMessage(QCoreApplication::translate(
                    "DecoderListWindow",
                    "%1 is groter dan %2 MB, veel groter dan de decoderlijst van een "
                    "baan; er is niets uit gelezen.")
                    .arg(name)
                    .arg(kMostDecoderCsvBytes / (1024 * 1024)) +
                unchanged);
  };
  QFile file(fileName);
  const bool opened = file.open(QIODevice::ReadOnly);
  if (opened && file.size() > kMostDecoderCsvBytes) {
    refuseLarge();
    co_return;
  }
  // Read no further than a layout's list can reach: a device that never ends is refused too,
  // before it fills the memory.
  const QByteArray bytes = opened ? file.read(kMostDecoderCsvBytes + 1) : QByteArray();
  if (!opened || file.error() != QFileDevice::NoError) {
    ShowMessage(QCoreApplication::translate("DecoderListWindow", "%1 kon niet worden gelezen.")
                        .arg(fileName) +
                    unchanged,
                file.errorString());
    co_return;
  }
  if (bytes.size() > kMostDecoderCsvBytes) {
    refuseLarge();
    co_return;
  }
  const DecoderCsvRead read = ReadDecoderCsv(bytes, model_->HighestFirstAddress());
  const qsizetype skipped = read.skipped.size();
  if (read.rows.empty()) {
    ShowMessage(
        QCoreApplication::translate("DecoderListWindow", "Uit %1 is geen enkele decoder gelezen.")
                .arg(name) +
            unchanged,
        read.refused.isEmpty() ? read.skipped.join(u'\n') : read.refused);
    co_return;
  }
  const qsizetype before = qsizetype(list_.Rows().size());
  const qsizetype coming = qsizetype(read.rows.size());
  const QString question =
      (QCoreApplication::translate("DecoderListWindow",
                                   "De %1 in de lijst %2 vervangen door de %3 uit %4.")
           .arg(Counted(before, kDecoder, kDecoders), Verb(before, kIsMade, kAreMade),
                Counted(coming, kDecoder, kDecoders), name) +
       (skipped > 0 ? QCoreApplication::translate("DecoderListWindow",
                                                  " %1 uit het bestand %2 overgeslagen.")
                          .arg(Counted(skipped, kRow, kRows), Verb(skipped, kIsMade, kAreMade))
                    : QString()) +
       QCoreApplication::translate("DecoderListWindow",
                                   " De geschiedenis van de runs blijft bewaard."));
  // Asked only when there is something to replace.
  bool replace = true;
  if (before > 0) replace = co_await AskOkCancel(question);
  if (!replace) co_return;
  while (!list_.Rows().empty()) list_.Remove(int(list_.Rows().size()) - 1);
  for (const DecoderRow& row : read.rows) list_.Add(row);
  chosen_.reset();
  model_->Refresh();
  Save();
  if (skipped > 0)
    ShowMessage(QCoreApplication::translate("DecoderListWindow", "%1 uit %2 %3 overgeslagen:")
                    .arg(Counted(skipped, kRow, kRows), name, Verb(skipped, kIs, kAre)),
                read.skipped.join(u'\n'));
}

Task<void> DecoderListWindow::SaveSpreadsheet() {
  const QString fileName = co_await AskFileName(this, true);
  if (fileName.isEmpty()) co_return;
  if (const QString failure = WriteWholeFile(fileName, WriteDecoderCsv(list_)); !failure.isEmpty())
    ShowMessage(QCoreApplication::translate("DecoderListWindow",
                                            "De decoderlijst kon niet worden opgeslagen als %1.")
                    .arg(fileName),
                failure);
}
