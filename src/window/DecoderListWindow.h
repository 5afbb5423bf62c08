// The window "Decoderlijst": the layout's decoders, one row each, kept in the user's data folder
// with the history of every run. The user edits the rows, chooses one for the main window,
// programs a series of them one after another, and opens or saves the list as a spreadsheet.
// It drives the main window only through what the main window lends it (Host).
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Task.h"
#include "window/DecoderList.h"
#include "window/DecoderListStore.h"

class DecoderListModel;
class QLabel;
class QPushButton;
class QTableView;

class DecoderListWindow : public QWidget {
  Q_OBJECT

 public:
  struct Host {
    // The last first address the chosen station reaches.
    std::function<int()> highestFirstAddress;
    // Fills the main window's first address and the modes of both groups.
    std::function<void(const DecoderRow&)> choose;
    // Connected, and no run under way: a series may begin.
    std::function<bool()> readyToProgram;
    // Programs the rows of these ids one after another (DecoderSeries).
    std::function<void(std::vector<QString> ids)> programSeries;
  };

  // Asks for the file to open (forSaving false) or to save to, as the desktop's file dialog does;
  // empty when the user cancelled. Tests answer at once.
  using FileNameAsker = std::function<QString(QWidget* parent, bool forSaving)>;
  // Replaces the desktop's file dialog (nullptr: the desktop's again).
  static void SetFileNameHook(FileNameAsker asker);

  // Reads the list from the user's data folder; a list that cannot be read is reported once.
  DecoderListWindow(Host host, QWidget* parent);
  ~DecoderListWindow() override;

  const DecoderList& List() const { return list_; }

  // A run of the main window's own button: the chosen row's, when the address and modes are
  // still the row's, otherwise one of no row.
  void RecordRun(const RunRecord& run);
  // While a run is under way, the list neither starts another nor changes what the main window
  // is sending.
  void SetRunInProgress(bool running);
  // Another station was chosen: the addresses it cannot reach are marked anew.
  void StationChanged();

  // What a series needs of the list: the rows by id (each save may bring another window's rows
  // in and move these), the row it programs shown as chosen, and what each run came to. A row
  // the decoder learnt other values for than it holds (the main window was changed during the
  // run) takes the values learnt.
  std::optional<DecoderRow> RowWithId(const QString& id) const;
  void ChooseRowWithId(const QString& id);
  void RecordSeriesRun(const QString& id, const std::optional<DecoderRow>& learnt,
                       const RunRecord& run);
  void SetSeriesInProgress(bool inProgress);

  // --- handlers ---------------------------------------------------------------------------
  void AddRow();
  void RemoveRows();
  void MoveRow(int by);
  void ChooseRow();
  void ProgramSeries();
  Task<void> OpenSpreadsheet();
  Task<void> SaveSpreadsheet();

  // --- components -------------------------------------------------------------------------
  QTableView* table;
  // Why a typed first address was not taken, under the table while there is something to say.
  QLabel* editNote;
  QPushButton* addButton;
  QPushButton* removeButton;
  QPushButton* upButton;
  QPushButton* downButton;
  QPushButton* chooseButton;
  QPushButton* seriesButton;
  QPushButton* openButton;
  QPushButton* saveAsButton;
  QPushButton* closeButton;

 private:
  void BuildWindow();
  // Writes the list, and shows what other windows on the same list changed meanwhile.
  void Save();
  void ShowMergedRows(const std::vector<DecoderRow>& shown);
  void Select(int row);
  int CurrentRow() const;
  // The ids of the rows a series programs, in the list's order.
  std::vector<QString> SeriesRows() const;
  // Where the row of this id stands now; -1 when it is gone.
  int RowOf(const QString& id) const;
  void UpdateButtons();

  Host host_;
  DecoderListStore store_;
  DecoderList list_;
  DecoderListModel* model_ = nullptr;
  // The row whose address and modes the main window was last given.
  std::optional<int> chosen_;
  bool runInProgress_ = false;
  bool seriesInProgress_ = false;
  // Opening or saving a spreadsheet, from the file dialog to the last box.
  Task<void> fileOperation_;
};
