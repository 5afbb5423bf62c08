// The whole window in the language the desktop asks for (ctest runs this under LANG=de_DE.UTF-8,
// en_GB.UTF-8, nl_NL.UTF-8 and C.UTF-8): a connect, a run against the simulated Lenz interface,
// a refusal, the decoder list and a series, each in the words of that language.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QComboBox>
#include <QTableView>

#include "SerialRun.h"
#include "platform/Language.h"
#include "window/DecoderListCsv.h"
#include "window/DecoderListModel.h"
#include "window/DecoderListWindow.h"

namespace {

struct Words {
  Language language;
  const char* languageName;
  const char* connectCaption;
  const char* programmed;      // the connection log's last line after a run
  const char* refusalStart;    // the box for an address the station cannot reach
  const char* nameColumn;      // the list's first column
  const char* lastResult;      // the row's result after a run
  const char* seriesQuestion;  // the series' question before its first decoder
  const char* csvHeader;
  const char* modeCaption;  // mode 4, the group's third button
};

const Words kWords[] = {
    {Language::Dutch, "Nederlands", "Kies Compoort", "Druk op de programmeerknop van de WD10",
     "Deze Centrale kan geen wisselnummers boven", "Naam", "geprogrammeerd op",
     "Decoder 1 van 1: Decoder 1\nWisseladressen 1–8", "Naam;Eerste wisseladres;Wisselnummers",
     "4 uitgangen als aan/uit (K84)"},
    {Language::English, "English", "Choose port", "Press the programming button of the WD10",
     "This command station cannot switch turnout numbers above", "Name", "programmed on",
     "Decoder 1 of 1: Decoder 1\nTurnout addresses 1–8", "Name;First turnout address;Turnout",
     "4 outputs on/off (K84)"},
    {Language::German, "Deutsch", "Schnittstelle wählen",
     "Drücken Sie die Programmiertaste des WD10", "Diese Zentrale kann keine Weichennummern über",
     "Name", "programmiert am", "Decoder 1 von 1: Decoder 1\nWeichenadressen 1–8",
     "Name;Erste Weichenadresse;Weichennummern", "4 Ausgänge Ein/Aus (K84)"},
};

const Words& Expected() {
  for (const Words& words : kWords)
    if (words.language == DesktopLanguage()) return words;
  return kWords[0];
}

using LenzInLanguage = SerialRun<LenzSimulator>;

TEST_F(LenzInLanguage, ConnectRunRefusalListAndSeries) {
  const Words& words = Expected();
  EXPECT_EQ(LanguageInUse(), words.language);
  EXPECT_EQ(window.findChild<QComboBox*>("languageBox")->currentText(), words.languageName);
  EXPECT_EQ(window.connectButton->text(), words.connectCaption);
  EXPECT_EQ(window.groupAModes[2]->text(), words.modeCaption);

  ASSERT_NO_FATAL_FAILURE(Connect());
  driver.Click(window.programButton);
  ASSERT_TRUE(WaitFor([&] { return window.closeButton->isVisible(); }, 10000));
  EXPECT_EQ(window.connectionLog->Lines().last(), words.programmed);
  // The station's own words stay as it says them.
  EXPECT_EQ(window.receiveLog->Lines().first(), "61 01 60 ");

  driver.Click(window.nextDecoderButton);
  window.firstAddressEdit->SetValue(1017);
  const std::size_t heardBefore = station.ReceivedCount();
  driver.Click(window.programButton);
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages[0].startsWith(words.refusalStart))
      << Notifications().messages[0].toStdString();
  // Refused before anything is sent: a frame written now would reach the simulator well within.
  WaitFor([] { return false; }, 100);
  EXPECT_EQ(station.ReceivedCount(), heardBefore);
  window.firstAddressEdit->SetValue(1);

  driver.Click(window.decoderListButton);
  DecoderListWindow& list = window.ListWindow();
  driver.Click(list.addButton);
  QAbstractItemModel& model = *list.table->model();
  model.setData(model.index(0, DecoderListModel::kModeA), 4);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), words.nameColumn);
  EXPECT_EQ(model.index(0, DecoderListModel::kModeA).data().toString(), words.modeCaption);
  list.table->clearSelection();
  Notifications().Reset();
  driver.Click(list.seriesButton);
  ASSERT_TRUE(WaitFor([&] { return list.seriesButton->isEnabled(); }, 20000));
  ASSERT_EQ(Notifications().questions.size(), 1);
  EXPECT_TRUE(Notifications().questions[0].startsWith(words.seriesQuestion))
      << Notifications().questions[0].toStdString();
  EXPECT_TRUE(
      model.index(0, DecoderListModel::kLastRun).data().toString().startsWith(words.lastResult));

  const QByteArray csv = WriteDecoderCsv(list.List());
  EXPECT_TRUE(csv.contains(words.csvHeader)) << csv.toStdString();
  EXPECT_TRUE(csv.contains(words.modeCaption));
  const DecoderCsvRead readBack = ReadDecoderCsv(csv, 2040);
  ASSERT_EQ(readBack.rows.size(), 1u);
  EXPECT_EQ(readBack.rows[0].modeA, 4);
}

}  // namespace
