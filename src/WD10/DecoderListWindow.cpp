#include "WD10/DecoderListWindow.h"

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

#include "WD10/DecoderListColumns.h"
#include "WD10/DecoderListCsv.h"
#include "WD10/DecoderListDelegate.h"
#include "WD10/DecoderListModel.h"
#include "WD10/DecoderModel.h"
#include "platform/ExceptionDisplay.h"
#include "platform/KeepOnScreen.h"
#include "platform/UserNotifier.h"
#include "platform/WriteWholeFile.h"

namespace {

constexpr int kLastTurnoutOffset = 2 * DecoderModel::kGroupBOffset - 1;

QString DesktopFileName(QWidget* parent, bool forSaving) {
  const QString filter = QStringLiteral("Spreadsheet (*.csv);;Alle bestanden (*)");
  return forSaving
             ? QFileDialog::getSaveFileName(parent, QStringLiteral("Decoderlijst opslaan als"),
                                            QStringLiteral("decoderlijst.csv"), filter)
             : QFileDialog::getOpenFileName(parent, QStringLiteral("Decoderlijst openen"), {},
                                            filter);
}

DecoderListWindow::FileNameAsker& FileNameHook() {
  static DecoderListWindow::FileNameAsker hook;
  return hook;
}

QString AskFileName(QWidget* parent, bool forSaving) {
  return FileNameHook() ? FileNameHook()(parent, forSaving) : DesktopFileName(parent, forSaving);
}

// A count as Dutch says it: "1 rij", "3 rijen".
QString Counted(qsizetype count, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(count == 1 ? one : many));
}

QString NameOf(const DecoderRow& row) {
  return row.name.isEmpty() ? QStringLiteral("(zonder naam)") : row.name;
}

QString SeriesPrompt(const DecoderRow& row, int position, int count) {
  return QStringLiteral(
             "Decoder %1 van %2: %3\n"
             "Wisseladressen %4–%5 (decoder %6), Groep A: %7, Groep B: %8.\n\n"
             "Zet deze decoder in de leerstand: houd zijn programmeertoets ingedrukt tot de "
             "leds van Groep A en Groep B samen aangaan, en laat de toets dan los.\n"
             "Druk daarna op OK. Annuleren beëindigt de reeks.")
      .arg(position)
      .arg(count)
      .arg(NameOf(row))
      .arg(row.firstAddress)
      .arg(row.firstAddress + kLastTurnoutOffset)
      .arg(DecoderModel::DecoderNumber(row.firstAddress))
      .arg(DecoderModel::ModeCaption(row.modeA), DecoderModel::ModeCaption(row.modeB));
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
  setWindowTitle(QStringLiteral("Decoderlijst"));
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
  table->setAccessibleName(QStringLiteral("Decoders"));
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
  editNote->setAccessibleName(QStringLiteral("Toelichting bij het eerste wisseladres"));
  editNote->hide();
  connect(table, &QTableView::activated, this, [this] { RunGuarded([this] { ChooseRow(); }); });

  const auto button = [this](const char* caption, auto handler) {
    auto* made = new QPushButton(QString::fromUtf8(caption), this);
    connect(made, &QPushButton::clicked, this, [handler] { RunGuarded(handler); });
    return made;
  };
  addButton = button("Toevoegen", [this] { AddRow(); });
  removeButton = button("Verwijderen", [this] { RemoveRows(); });
  upButton = button("Omhoog", [this] { MoveRow(-1); });
  downButton = button("Omlaag", [this] { MoveRow(1); });
  chooseButton = button("Kies", [this] { ChooseRow(); });
  chooseButton->setAccessibleDescription(
      QStringLiteral("Zet het adres en de modes van deze decoder in het hoofdvenster"));
  seriesButton = button("Programmeer reeks", [this] { ProgramSeries(); });
  seriesButton->setAccessibleDescription(
      QStringLiteral("Programmeert de gekozen decoders, of alle die nog niet geprogrammeerd "
                     "zijn, een voor een"));
  openButton = button("Openen…", [this] { OpenSpreadsheet(); });
  saveAsButton = button("Opslaan als…", [this] { SaveSpreadsheet(); });
  closeButton = button("Sluiten", [this] { close(); });

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
    ShowMessage(
        QStringLiteral("De decoderlijst kon niet worden opgeslagen in %1.").arg(store_.FileName()),
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
  row.name = QStringLiteral("Decoder %1").arg(list_.Rows().size() + 1);
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
    ShowMessage(QStringLiteral(
        "Maak eerst verbinding met de Centrale in het hoofdvenster; daarna kan de reeks "
        "beginnen."));
    return;
  }
  const std::vector<QString> rows = SeriesRows();
  if (rows.empty()) {
    ShowMessage(QStringLiteral(
        "Alle decoders in de lijst zijn al geprogrammeerd. Kies de decoders die opnieuw "
        "geprogrammeerd moeten worden en druk dan op \"Programmeer reeks\"."));
    return;
  }
  seriesInProgress_ = true;
  UpdateButtons();
  const struct SeriesEnd {
    DecoderListWindow* window;
    ~SeriesEnd() {
      // The rows say what became of them; a selection left behind would make the next series
      // the last decoder's alone.
      window->table->clearSelection();
      window->seriesInProgress_ = false;
      window->UpdateButtons();
    }
  } end{this};
  for (std::size_t position = 0; position < rows.size(); ++position) {
    // Another window may have removed the row meanwhile: there is nothing left to program.
    const int index = RowOf(rows[position]);
    if (index < 0) continue;
    const DecoderRow row = list_.Rows()[std::size_t(index)];
    if (!host_.readyToProgram() ||
        !AskOkCancel(SeriesPrompt(row, int(position) + 1, int(rows.size()))))
      return;
    Select(index);
    chosen_ = index;
    std::optional<RunRecord> run = host_.program(row);
    if (!run) return;
    run->decoderName = row.name;
    // The main window's fields can be changed while a run goes on, and each step sends what its
    // field says when it comes: the decoder learnt the run's address and modes, which the row
    // then shows, never its old ones marked as programmed. A failed run taught nothing, and the
    // row keeps what it is still to be given.
    const bool learnt = run->result != RunRecord::Result::Failed;
    const bool changed = std::tie(run->firstAddress, run->modeA, run->modeB) !=
                         std::tie(row.firstAddress, row.modeA, row.modeB);
    if (learnt && changed) {
      DecoderRow sent = row;
      std::tie(sent.firstAddress, sent.modeA, sent.modeB) =
          std::tie(run->firstAddress, run->modeA, run->modeB);
      list_.Update(index, sent);
    }
    list_.Record(index, *run);
    model_->ShowChanges();
    Save();
    // A refused or lost step has been told in the run's own box, and the row says why.
    if (!learnt) return;
    ShowMessage(QStringLiteral("%1 (wisseladressen %2–%3) heeft zijn adres en modes ontvangen%4.\n"
                               "Druk nu op de programmeerknop van de WD10.")
                    .arg(NameOf(row))
                    .arg(run->firstAddress)
                    .arg(run->firstAddress + kLastTurnoutOffset)
                    .arg(run->result == RunRecord::Result::Unconfirmed
                             ? QStringLiteral(", maar de Centrale heeft niets bevestigd")
                             : QString()) +
                (changed
                     ? QStringLiteral("\nHet hoofdvenster is tijdens de run gewijzigd: de decoder "
                                      "heeft %1, Groep A: %2, Groep B: %3 geleerd, en dat staat "
                                      "nu in de lijst.")
                           .arg(run->firstAddress)
                           .arg(DecoderModel::ModeCaption(run->modeA),
                                DecoderModel::ModeCaption(run->modeB))
                     : QString()));
  }
}

void DecoderListWindow::OpenSpreadsheet() {
  const QString fileName = AskFileName(this, false);
  if (fileName.isEmpty()) return;
  const QString name = QFileInfo(fileName).fileName();
  const QString unchanged = QStringLiteral(" De lijst blijft zoals hij was.");
  const auto refuseLarge = [&] {
    ShowMessage(QStringLiteral("%1 is groter dan %2 MB, veel groter dan de decoderlijst van een "
                               "baan; er is niets uit gelezen.")
                    .arg(name)
                    .arg(kMostDecoderCsvBytes / (1024 * 1024)) +
                unchanged);
  };
  QFile file(fileName);
  const bool opened = file.open(QIODevice::ReadOnly);
  if (opened && file.size() > kMostDecoderCsvBytes) return refuseLarge();
  // Read no further than a layout's list can reach: a device that never ends is refused too,
  // before it fills the memory.
  const QByteArray bytes = opened ? file.read(kMostDecoderCsvBytes + 1) : QByteArray();
  if (!opened || file.error() != QFileDevice::NoError) {
    ShowMessage(QStringLiteral("%1 kon niet worden gelezen.").arg(fileName) + unchanged,
                file.errorString());
    return;
  }
  if (bytes.size() > kMostDecoderCsvBytes) return refuseLarge();
  const DecoderCsvRead read = ReadDecoderCsv(bytes, model_->HighestFirstAddress());
  const qsizetype skipped = read.skipped.size();
  if (read.rows.empty()) {
    ShowMessage(QStringLiteral("Uit %1 is geen enkele decoder gelezen.").arg(name) + unchanged,
                read.refused.isEmpty() ? read.skipped.join(u'\n') : read.refused);
    return;
  }
  const qsizetype before = qsizetype(list_.Rows().size());
  const qsizetype coming = qsizetype(read.rows.size());
  if (before > 0 &&
      !AskOkCancel(
          QStringLiteral("De %1 in de lijst %2 vervangen door de %3 uit %4.")
              .arg(Counted(before, "decoder", "decoders"), before == 1 ? "wordt" : "worden",
                   Counted(coming, "decoder", "decoders"), name) +
          (skipped > 0
               ? QStringLiteral(" %1 uit het bestand %2 overgeslagen.")
                     .arg(Counted(skipped, "rij", "rijen"), skipped == 1 ? "wordt" : "worden")
               : QString()) +
          QStringLiteral(" De geschiedenis van de runs blijft bewaard.")))
    return;
  while (!list_.Rows().empty()) list_.Remove(int(list_.Rows().size()) - 1);
  for (const DecoderRow& row : read.rows) list_.Add(row);
  chosen_.reset();
  model_->Refresh();
  Save();
  if (skipped > 0)
    ShowMessage(QStringLiteral("%1 uit %2 %3 overgeslagen:")
                    .arg(Counted(skipped, "rij", "rijen"), name, skipped == 1 ? "is" : "zijn"),
                read.skipped.join(u'\n'));
}

void DecoderListWindow::SaveSpreadsheet() {
  const QString fileName = AskFileName(this, true);
  if (fileName.isEmpty()) return;
  if (const QString failure = WriteWholeFile(fileName, WriteDecoderCsv(list_)); !failure.isEmpty())
    ShowMessage(QStringLiteral("De decoderlijst kon niet worden opgeslagen als %1.").arg(fileName),
                failure);
}
