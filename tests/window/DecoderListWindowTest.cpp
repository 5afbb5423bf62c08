// The list window as the main window lends itself to it: choosing a row fills the panel, a run of
// the panel's own button counts for the chosen row only while it still is that row, the marks
// follow the chosen station, and a spreadsheet file replaces the rows after a question.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "support/AwaitTask.h"
#include "support/RecordingNotifier.h"
#include "support/TestedWindow.h"
#include "window/DecoderListCsv.h"
#include "window/DecoderListModel.h"

namespace {

class DecoderListWindowTest : public testing::Test {
 protected:
  DecoderListWindowTest() {
    for (int row = 0; row < 2; ++row) list.AddRow();
    model.setData(model.index(1, DecoderListModel::kModeB), 7);
    DecoderListWindow::SetFileNameHook([this](QWidget*, bool) { return file; });
  }
  ~DecoderListWindowTest() override { DecoderListWindow::SetFileNameHook(nullptr); }

  QString Cell(int row, int column) const { return model.index(row, column).data().toString(); }
  // A run of the panel's own button, as the main window hands it to the list.
  static RunRecord Programmed(int firstAddress, int modeB) {
    return {QDateTime::currentDateTime(),  {}, firstAddress, 2, modeB, "IB/TC",
            RunRecord::Result::Programmed, {}};
  }
  // The file the next open or save dialog names, with these bytes in it.
  void UseFile(const char* name, const QByteArray& bytes, bool append = false) {
    file = folder.filePath(name);
    QFile csv(file);
    ASSERT_TRUE(csv.open(append ? QIODevice::Append : QIODevice::WriteOnly));
    csv.write(bytes);
  }

  // The editor of a cell, opened as F2 opens it.
  QWidget* OpenEditor(const QModelIndex& index) {
    list.table->setCurrentIndex(index);
    list.table->edit(index);
    return list.table->indexWidget(index);
  }
  // Leaves the open editor as a click on another row does.
  void LeaveEditor() {
    const int elsewhere = list.table->currentIndex().row() == 0 ? 1 : 0;
    list.table->setCurrentIndex(model.index(elsewhere, DecoderListModel::kLastRun));
    QApplication::processEvents();
  }

  TestedWindow window;
  DecoderListWindow& list = window.ListWindow();
  QAbstractItemModel& model = *list.table->model();
  const QTemporaryDir folder;
  QString file = folder.filePath("lijst.csv");
};

// A run made with a chosen row counts for that row while the panel still holds its address and
// modes, wherever another Sorvell window's rows, shown at this window's next save, have moved it;
// the selected and the chosen row stay the ones the user picked.
TEST_F(DecoderListWindowTest, AChosenRowFillsThePanelAndOwnsTheRunsMadeWithIt) {
  DecoderListStore other;
  DecoderList theirs = other.Load().list;
  theirs.Add(DecoderRow{"Brug", 17, 4, 4, std::nullopt, {}});
  theirs.Move(2, 0);
  ASSERT_TRUE(other.Save(theirs));
  list.table->selectRow(1);
  list.ChooseRow();
  EXPECT_EQ(window.firstAddressEdit->Text(), "9");
  EXPECT_EQ(std::pair(window.ModeOfGroupA(), window.ModeOfGroupB()), std::pair(2, 7));
  model.setData(model.index(0, DecoderListModel::kName), "Eerste");
  EXPECT_EQ(QStringList({Cell(0, 0), Cell(1, 0), Cell(2, 0)}),
            QStringList({"Brug", "Eerste", "Decoder 2"}));
  EXPECT_EQ(list.table->currentIndex().row(), 2);
  EXPECT_EQ(list.table->selectionModel()->selectedRows().size(), 1);

  RunRecord run = Programmed(9, 7);
  list.RecordRun(run);
  EXPECT_TRUE(Cell(2, DecoderListModel::kLastRun).startsWith("geprogrammeerd op "));
  const std::optional<RunRecord> saved = other.Load().list.Rows()[2].lastRun;
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->decoderName, "Decoder 2");
  run.firstAddress = 17;  // the user changed the field after choosing
  list.RecordRun(run);
  EXPECT_EQ(Cell(0, DecoderListModel::kLastRun), "nog niet");
  ASSERT_EQ(list.List().History().size(), 2u);
  EXPECT_TRUE(list.List().History()[1].decoderName.isEmpty());
  // The decoder holds what it learnt; other modes in its row are not yet in it.
  model.setData(model.index(2, DecoderListModel::kModeA), 5);
  EXPECT_EQ(Cell(2, DecoderListModel::kLastRun), "nog niet");
}

TEST_F(DecoderListWindowTest, MarksFollowTheAddressesAndTheStation) {
  model.setData(model.index(1, DecoderListModel::kAddress), 1);
  model.setData(model.index(0, DecoderListModel::kAddress), 249);
  EXPECT_EQ(Cell(0, DecoderListModel::kAddress), "249–256 (decoder 63)");
  EXPECT_EQ(Cell(1, DecoderListModel::kAddress), "1–8 (decoder 1)");
  model.setData(model.index(1, DecoderListModel::kAddress), 249);
  EXPECT_EQ(Cell(0, DecoderListModel::kAddress), "249–256 (decoder 63) (dubbel)");
  EXPECT_EQ(Cell(1, DecoderListModel::kAddress), "249–256 (decoder 63) (dubbel)");
  model.setData(model.index(1, DecoderListModel::kAddress), 17);
  EXPECT_EQ(Cell(0, DecoderListModel::kAddress), "249–256 (decoder 63)");
  list.AddRow();
  model.setData(model.index(2, DecoderListModel::kAddress), 17);
  EXPECT_EQ(Cell(1, DecoderListModel::kAddress), "17–24 (decoder 5) (dubbel)");
  list.table->selectRow(2);
  list.RemoveRows();
  EXPECT_EQ(Cell(1, DecoderListModel::kAddress), "17–24 (decoder 5)");
  window.CentralButton(CentralType::Maerklin)->setChecked(true);
  EXPECT_EQ(Cell(0, DecoderListModel::kAddress), "249–256 (decoder 63) (onbereikbaar)");
  EXPECT_FALSE(model.index(0, DecoderListModel::kAddress).data(Qt::ToolTipRole).isNull());
  EXPECT_TRUE(model.index(1, DecoderListModel::kAddress).data(Qt::ToolTipRole).isNull());
}

// The address editor as the user meets it: the arrows go from one decoder's first address to the
// next within the chosen station's reach, and a typed address that is none of them is explained
// under the table instead of taken; Enter then leaves the editor open to mend it.
TEST_F(DecoderListWindowTest, TheAddressEditorOffersTheStartsAndExplainsWhatItDoesNotTake) {
  const QString notAStart = QStringLiteral(
      "%1 is geen eerste adres van een decoder: een WD10 beslaat acht wisseladressen en begint "
      "bij 1, 9, 17, 25, … Het dichtstbij %2. Het eerste wisseladres blijft %3.");
  const QString unreachable = QStringLiteral(
      "De gekozen Centrale kan een decoder met eerste wisseladres %1 niet bereiken; het hoogste "
      "eerste adres van een decoder is %2. Het eerste wisseladres blijft %3.");
  const struct {
    CentralType central;
    int highestStart;
    const char* typed;
    QString explained;
  } cases[] = {
      {CentralType::LocoNet, 2033, "12", notAStart.arg(12).arg("liggen 9 en 17").arg(1)},
      {CentralType::LocoNet, 2033, "2036", notAStart.arg(2036).arg("ligt 2033").arg(1)},
      {CentralType::LocoNet, 2033, "0", notAStart.arg(0).arg("ligt 1").arg(1)},
      {CentralType::Lenz, 1009, "1012", notAStart.arg(1012).arg("ligt 1009").arg(1)},
      {CentralType::Lenz, 1009, "1017", unreachable.arg(1017).arg(1009).arg(1)},
      {CentralType::Maerklin, 241, "249", unreachable.arg(249).arg(241).arg(1)},
  };
  list.show();
  const QModelIndex address = model.index(0, DecoderListModel::kAddress);
  for (const auto& [central, highestStart, typed, explained] : cases) {
    SCOPED_TRACE(typed);
    window.CentralButton(central)->setChecked(true);
    auto* spin = qobject_cast<QSpinBox*>(OpenEditor(address));
    ASSERT_TRUE(spin);
    for (const auto& [key, expected] :
         {std::pair{Qt::Key_Up, 9}, std::pair{Qt::Key_Up, 17}, std::pair{Qt::Key_Down, 9},
          std::pair{Qt::Key_Down, 1}, std::pair{Qt::Key_Down, 1}}) {
      QTest::keyClick(spin, key);
      EXPECT_EQ(spin->value(), expected);
    }
    spin->setValue(highestStart - 8);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->value(), highestStart) << "the arrows stop at the station's last decoder";

    spin->selectAll();
    QTest::keyClicks(spin, typed);
    QTest::keyClick(spin, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(list.table->indexWidget(address), spin) << "still open to be mended";
    EXPECT_TRUE(list.editNote->isVisibleTo(&list));
    EXPECT_EQ(list.editNote->text(), explained);
    LeaveEditor();
    EXPECT_EQ(list.List().Rows()[0].firstAddress, 1);
    EXPECT_EQ(list.editNote->text(), explained) << "said again when the editor is left";
  }

  auto* spin = qobject_cast<QSpinBox*>(OpenEditor(address));
  ASSERT_TRUE(spin);
  EXPECT_FALSE(list.editNote->isVisibleTo(&list));
  spin->selectAll();
  QTest::keyClicks(spin, "233");
  QTest::keyClick(spin, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(list.List().Rows()[0].firstAddress, 233);
  EXPECT_EQ(list.table->indexWidget(address), nullptr);
}

// A row may hold what no editor offers: the main window's runs record any first address it
// sends, and another station may have been chosen since. Opening an editor and leaving it
// changes neither the row nor its last result.
TEST_F(DecoderListWindowTest, AnEditorLeftAsItWasOpenedChangesNothing) {
  list.show();
  for (const auto& [row, address] : {std::pair{0, 2033}, std::pair{1, 12}}) {
    model.setData(model.index(row, DecoderListModel::kAddress), address);
    list.table->selectRow(row);
    list.ChooseRow();
    list.RecordRun(Programmed(address, row == 1 ? 7 : 2));
  }
  window.CentralButton(CentralType::Lenz)->setChecked(true);
  const auto describe = [&](int row) {
    QStringList cells;
    for (int column = 0; column < DecoderListModel::kColumns; ++column) cells << Cell(row, column);
    return cells;
  };
  for (int row = 0; row < 2; ++row) {
    const QStringList before = describe(row);
    ASSERT_TRUE(before.last().startsWith("geprogrammeerd op ")) << before.last().toStdString();
    for (const int column : {DecoderListModel::kName, DecoderListModel::kAddress,
                             DecoderListModel::kModeA, DecoderListModel::kModeB}) {
      SCOPED_TRACE(testing::Message() << "row " << row << ", column " << column);
      ASSERT_TRUE(OpenEditor(model.index(row, column)));
      LeaveEditor();
      EXPECT_EQ(describe(row), before);
      EXPECT_FALSE(list.editNote->isVisibleTo(&list));
    }
  }
}

// Opening a spreadsheet replaces the rows after a question (Annuleren keeps them) that says how
// many go and how many come, in Dutch counts, and says what it skipped; a file that yields none,
// or is far too large to be a layout's list, leaves the list as it was without asking.
TEST_F(DecoderListWindowTest, OpeningASpreadsheetSaysWhatComesInAndReplacesNothingWithNothing) {
  const auto names = [&] {
    QStringList names;
    for (const DecoderRow& row : list.List().Rows()) names << row.name;
    return names;
  };

  // The list's own spreadsheet, with a row no station reaches, read over a changed row.
  Await(list.SaveSpreadsheet());
  UseFile("lijst.csv", "Buiten bereik;4001;;;2;2;\r\n", true);
  model.setData(model.index(1, DecoderListModel::kModeB), 2);
  Notifications().answer = [](const QString&) { return false; };
  Await(list.OpenSpreadsheet());
  EXPECT_EQ(list.List().Rows()[1].modeB, 2) << "Annuleren keeps the rows";
  Notifications().answer = nullptr;
  Await(list.OpenSpreadsheet());
  EXPECT_EQ(list.List().Rows()[1].modeB, 7);
  EXPECT_EQ(Notifications().questions.size(), 2);
  EXPECT_EQ(Notifications().messages, QStringList{"1 rij uit lijst.csv is overgeslagen:"});
  Notifications().Reset();

  UseFile("komma.csv", "Naam,Eerste wisseladres,Modus groep A,Modus groep B\nBrug,9,2,2\n");
  Await(list.OpenSpreadsheet());
  ASSERT_EQ(Notifications().questions.size(), 1);
  EXPECT_EQ(Notifications().questions[0],
            "De 2 decoders in de lijst worden vervangen door de 1 decoder uit komma.csv. De "
            "geschiedenis van de runs blijft bewaard.");
  EXPECT_EQ(names(), QStringList{"Brug"});

  UseFile("drie.csv",
          "Naam;Eerste wisseladres;Modus groep A;Modus groep B\nA;1;2;2\nB;9;2;2\nC;2041;2;2\n"
          "D;17;2\nE;25;2;2\nF;geen;2;2\n");
  Await(list.OpenSpreadsheet());
  ASSERT_EQ(Notifications().questions.size(), 2);
  EXPECT_EQ(Notifications().questions[1],
            "De 1 decoder in de lijst wordt vervangen door de 3 decoders uit drie.csv. 3 rijen uit "
            "het bestand worden overgeslagen. De geschiedenis van de runs blijft bewaard.");
  EXPECT_EQ(names(), (QStringList{"A", "B", "E"}));
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_EQ(Notifications().messages[0], "3 rijen uit drie.csv zijn overgeslagen:");
  EXPECT_EQ(Notifications().details[0].count(u'\n'), 2) << "every one of them listed";

  Notifications().Reset();
  // Said with its reason as the detail, or none for a file refused unread.
  const auto expectUnchanged = [&](const QString& message, const QString& why) {
    EXPECT_TRUE(Notifications().questions.isEmpty());
    ASSERT_EQ(Notifications().messages.size(), 1);
    EXPECT_EQ(Notifications().messages[0], message);
    EXPECT_TRUE(why.isEmpty() ? Notifications().details[0].isEmpty()
                              : Notifications().details[0].startsWith(why))
        << Notifications().details[0].toStdString();
    EXPECT_EQ(names(), (QStringList{"A", "B", "E"}));
    Notifications().Reset();
  };
  UseFile("leeg.csv",
          "Naam;Eerste wisseladres;Modus groep A;Modus groep B\r\nTe hoog;4001;2;2\r\n");
  Await(list.OpenSpreadsheet());
  expectUnchanged("Uit leeg.csv is geen enkele decoder gelezen. De lijst blijft zoals hij was.",
                  "Rij 2: eerste wisseladres 4001 ligt buiten 1 tot en met ");
  UseFile("anders.csv", "Wissel;Adres\r\nBrug;9\r\n");
  Await(list.OpenSpreadsheet());
  expectUnchanged("Uit anders.csv is geen enkele decoder gelezen. De lijst blijft zoals hij was.",
                  "Niets gelezen: de kopregel mist de kolom(men) ");
  UseFile("groot.csv", "Naam;Eerste wisseladres;Modus groep A;Modus groep B\r\n");
  {
    QFile large(file);
    ASSERT_TRUE(large.resize(kMostDecoderCsvBytes + 1));
  }
  Await(list.OpenSpreadsheet());
  expectUnchanged(
      "groot.csv is groter dan 10 MB, veel groter dan de decoderlijst van een baan; er is niets "
      "uit gelezen. De lijst blijft zoals hij was.",
      {});
}

}  // namespace
