// The list window as the main window lends itself to it: choosing a row fills the panel, a run of
// the panel's own button counts for the chosen row only while it still is that row, the marks
// follow the chosen station, and a spreadsheet file replaces the rows after a question.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

#include "WD10/DecoderListModel.h"
#include "WD10/DecoderListStore.h"
#include "WD10/DecoderListWindow.h"
#include "WD10/MainWindow.h"
#include "WD10/TSpinEdit.h"
#include "support/RecordingNotifier.h"

namespace {

class DecoderListWindowTest : public testing::Test {
 protected:
  DecoderListWindowTest() {
    for (int row = 0; row < 2; ++row) list.AddRow();
    model.setData(model.index(1, DecoderListModel::kModeB), 7);
  }
  ~DecoderListWindowTest() override { DecoderListWindow::SetFileNameHook(nullptr); }

  QString Cell(int row, int column) const { return model.index(row, column).data().toString(); }

  MainWindow window;
  DecoderListWindow& list = window.ListWindow();
  QAbstractItemModel& model = *list.table->model();
};

TEST_F(DecoderListWindowTest, AChosenRowFillsThePanelAndOwnsTheRunsMadeWithIt) {
  list.table->selectRow(1);
  list.ChooseRow();
  EXPECT_EQ(window.firstAddressEdit->Text(), "9");
  EXPECT_EQ(std::pair(window.ModeOfGroupA(), window.ModeOfGroupB()), std::pair(2, 7));

  RunRecord run;
  run.firstAddress = 9;
  run.modeB = 7;
  run.result = RunRecord::Result::Programmed;
  run.central = "IB/TC";
  list.RecordRun(run);
  EXPECT_TRUE(Cell(1, DecoderListModel::kLastRun).startsWith("geprogrammeerd op "));
  run.firstAddress = 17;  // the user changed the field after choosing
  list.RecordRun(run);
  EXPECT_EQ(Cell(0, DecoderListModel::kLastRun), "nog niet");
  ASSERT_EQ(list.List().History().size(), 2u);
  EXPECT_EQ(list.List().History()[0].decoderName, "Decoder 2");
  EXPECT_TRUE(list.List().History()[1].decoderName.isEmpty());
  // The decoder holds what it learnt; other modes in its row are not yet in it.
  model.setData(model.index(1, DecoderListModel::kModeA), 5);
  EXPECT_EQ(Cell(1, DecoderListModel::kLastRun), "nog niet");
}

TEST_F(DecoderListWindowTest, MarksAndTheAddressEditorFollowTheStation) {
  model.setData(model.index(1, DecoderListModel::kAddress), 1);
  model.setData(model.index(0, DecoderListModel::kAddress), 249);
  EXPECT_EQ(Cell(0, DecoderListModel::kAddress), "249–256 (decoder 63)");
  EXPECT_EQ(Cell(1, DecoderListModel::kAddress), "1–8 (decoder 1)");
  model.setData(model.index(1, DecoderListModel::kAddress), 249);
  EXPECT_EQ(Cell(1, DecoderListModel::kAddress), "249–256 (decoder 63) (dubbel)");
  window.CentralButton(CentralType::Maerklin)->setChecked(true);
  EXPECT_EQ(Cell(0, DecoderListModel::kAddress), "249–256 (decoder 63) (dubbel) (onbereikbaar)");
  EXPECT_FALSE(model.index(0, DecoderListModel::kAddress).data(Qt::ToolTipRole).isNull());
  const std::unique_ptr<QWidget> editor(list.table->itemDelegate()->createEditor(
      list.table->viewport(), {}, model.index(0, DecoderListModel::kAddress)));
  const auto* spin = qobject_cast<QSpinBox*>(editor.get());
  ASSERT_TRUE(spin);
  EXPECT_EQ(spin->maximum(), 248);
  EXPECT_EQ(spin->singleStep(), 8);
}

TEST_F(DecoderListWindowTest, ASpreadsheetSavedAndOpenedReplacesTheRowsAndSaysWhatItSkipped) {
  const QTemporaryDir folder;
  const QString file = folder.filePath("lijst.csv");
  DecoderListWindow::SetFileNameHook([&](QWidget*, bool) { return file; });
  list.SaveSpreadsheet();
  list.RemoveRows();
  list.AddRow();
  QFile csv(file);
  ASSERT_TRUE(csv.open(QIODevice::Append));
  csv.write("Buiten bereik;4001;;;2;2;\r\n");
  csv.close();
  Notifications().answer = [](const QString&) { return false; };
  list.OpenSpreadsheet();
  EXPECT_EQ(Notifications().questions.size(), 1);
  EXPECT_EQ(list.List().Rows().size(), 2u) << "Annuleren keeps the rows";
  Notifications().answer = nullptr;
  list.OpenSpreadsheet();
  ASSERT_EQ(list.List().Rows().size(), 2u);
  EXPECT_EQ(list.List().Rows()[1].modeB, 7);
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages[0].contains("1 rijen uit lijst.csv"));
}

// Another Sorvell window on the same list: its rows show at this window's next save, and the
// selected and the chosen row stay the ones the user picked, wherever they now stand.
TEST_F(DecoderListWindowTest, AnotherWindowsRowsShowAndTheChosenRowStaysChosen) {
  DecoderListStore other;
  DecoderList theirs = other.Load().list;
  theirs.Add(DecoderRow{"Brug", 17, 4, 4, std::nullopt, {}});
  theirs.Move(2, 0);
  ASSERT_TRUE(other.Save(theirs));
  list.table->selectRow(1);
  list.ChooseRow();
  model.setData(model.index(0, DecoderListModel::kName), "Eerste");
  EXPECT_EQ(QStringList({Cell(0, 0), Cell(1, 0), Cell(2, 0)}),
            QStringList({"Brug", "Eerste", "Decoder 2"}));
  EXPECT_EQ(list.table->currentIndex().row(), 2);
  EXPECT_EQ(list.table->selectionModel()->selectedRows().size(), 1);

  RunRecord run;
  run.firstAddress = 9;
  run.modeB = 7;
  run.result = RunRecord::Result::Programmed;
  list.RecordRun(run);
  EXPECT_TRUE(Cell(2, DecoderListModel::kLastRun).startsWith("geprogrammeerd op "));
  const std::optional<RunRecord> saved = other.Load().list.Rows()[2].lastRun;
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->decoderName, "Decoder 2");
}

}  // namespace
