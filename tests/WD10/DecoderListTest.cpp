// The decoder list is the user's only record of what each WD10 learnt: its edits, its file in the
// user's data folder (whole or not at all, a damaged one kept) and its spreadsheet form.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "WD10/DecoderList.h"
#include "WD10/DecoderListCsv.h"
#include "WD10/DecoderListStore.h"
#include "WD10/DecoderModel.h"

// A failure shows a text as text.
static void PrintTo(const QString& text, std::ostream* out) {
  *out << testing::PrintToString(text.toStdString());
}

namespace {

RunRecord MadeRun(RunRecord::Result result, const QString& name = QStringLiteral("Station Noord")) {
  // An offset that is not the test machine's: the moment must survive, not only the wall time.
  const QDateTime when(QDate(2026, 12, 7), QTime(11, 5, 42, 317), Qt::OffsetFromUTC, 3600);
  const bool failed = result == RunRecord::Result::Failed;
  return RunRecord{
      when,   name,
      17,     4,
      8,      QStringLiteral("Lenz/Multi-Maus"),
      result, failed ? QStringLiteral("Stap 2 van 4 geweigerd; \"short\" op de baan") : ""};
}

DecoderRow Row(const QString& name, int firstAddress, int modeA = 2, int modeB = 2) {
  return DecoderRow{name, firstAddress, modeA, modeB, std::nullopt};
}

// Every field, the moment as one instant, so that two lists compare field by field and a
// difference shows in the failure.
QString Describe(const RunRecord& run) {
  return QStringList{run.when.toUTC().toString(Qt::ISODateWithMs),
                     run.decoderName,
                     QString::number(run.firstAddress),
                     QString::number(run.modeA),
                     QString::number(run.modeB),
                     run.central,
                     QString::number(int(run.result)),
                     run.stationSaid}
      .join('|');
}
QString Describe(const DecoderRow& row) {
  return QStringList{row.name, QString::number(row.firstAddress), QString::number(row.modeA),
                     QString::number(row.modeB), row.lastRun ? Describe(*row.lastRun) : "-"}
      .join('|');
}
template <typename Item>
QStringList Describe(const std::vector<Item>& items) {
  QStringList described;
  for (const Item& item : items) described.append(Describe(item));
  return described;
}
QStringList Describe(const DecoderList& list) {
  return Describe(list.Rows()) << "history:" << Describe(list.History());
}

// A layout's list as the user might keep it: names a spreadsheet or a file format could trip
// over, every mode, every kind of last run and a run of the main window's own.
DecoderList LayoutList(bool withRuns = true) {
  DecoderList list;
  list.Add(Row(QStringLiteral("Station Noord; seinen"), 1, 6, 7));
  list.Add(Row(QStringLiteral("Märklin-brug \"oud\""), 9, 2, 3));
  list.Add(Row(QStringLiteral("Emplacement\nzuid ⇄ oost"), 17, 4, 5));
  list.Add(Row(QString(), 2033, 8, 8));
  list.Add(Row(QStringLiteral("Remise, spoor 3"), 25));
  if (!withRuns) return list;
  list.Record(0, MadeRun(RunRecord::Result::Failed));
  list.Record(0, MadeRun(RunRecord::Result::Programmed));
  list.Record(1, MadeRun(RunRecord::Result::Unconfirmed, QStringLiteral("Märklin-brug \"oud\"")));
  list.Record(2, MadeRun(RunRecord::Result::Failed, QStringLiteral("Emplacement")));
  list.RecordUnlisted(MadeRun(RunRecord::Result::Programmed, QString()));
  return list;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// --- The list's edits -----------------------------------------------------------------------

TEST(DecoderList, EditsChangeTheirRowAndIgnoreAnIndexOutsideTheList) {
  const RunRecord run = MadeRun(RunRecord::Result::Programmed);
  const std::tuple<const char*, std::function<void(DecoderList&)>, QString, int> cases[] = {
      {"move down", [](DecoderList& l) { l.Move(0, 2); }, "bcad", 0},
      {"move up", [](DecoderList& l) { l.Move(3, 1); }, "adbc", 0},
      {"move to the end", [](DecoderList& l) { l.Move(1, 3); }, "acdb", 0},
      {"update", [](DecoderList& l) { l.Update(3, Row("x", 9)); }, "abcx", 0},
      {"remove", [](DecoderList& l) { l.Remove(0); }, "bcd", 0},
      {"record", [&](DecoderList& l) { l.Record(1, run); }, "ab*cd", 1},
      {"unlisted run", [&](DecoderList& l) { l.RecordUnlisted(run); }, "abcd", 1},
      {"outside",
       [&](DecoderList& l) {
         l.Move(-1, 0), l.Move(0, 4), l.Update(4, Row("x", 9)), l.Remove(-1), l.Remove(4);
         l.Record(-1, run), l.Record(4, run);
       },
       "abcd", 0},
  };
  for (const auto& [what, edit, names, runs] : cases) {
    SCOPED_TRACE(what);
    DecoderList list;
    for (const char* name : {"a", "b", "c", "d"})
      list.Add(Row(name, 1 + 8 * int(list.Rows().size())));
    edit(list);
    // Only a row's own run becomes its last (*); a run of the main window belongs to no row.
    QString after;
    for (const DecoderRow& row : list.Rows()) after += row.name + (row.lastRun ? "*" : "");
    EXPECT_EQ(after, names);
    EXPECT_EQ(int(list.History().size()), runs);
  }
}

TEST(DecoderList, RowsWithTheSameFirstAddressAreBothMarked) {
  DecoderList list;
  for (const int address : {9, 1, 9, 17, 25, 17}) list.Add(Row(QString(), address));
  std::vector<bool> marked;
  for (int i = -1; i <= 6; ++i) marked.push_back(list.SharesFirstAddress(i));
  EXPECT_EQ(marked, (std::vector<bool>{false, true, false, true, true, false, true, false}));
}

// --- The list's file ------------------------------------------------------------------------

TEST(DecoderListStore, ListAndHistorySurviveARestartInTheUsersDataFolder) {
  const QString folder = DecoderListStore::DefaultFolder();
  EXPECT_EQ(folder, QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/Sorvell");
  // The first start: no file, no complaint; the first save makes the folder, the second
  // replaces the file whole.
  const DecoderList saved = LayoutList();
  for (int start = 0; start < 3; ++start) {
    DecoderListStore store;
    const DecoderListStore::Loaded loaded = store.Load();
    EXPECT_EQ(store.FileName(), folder + "/decoders.json");
    EXPECT_EQ(loaded.problem, QString());
    EXPECT_EQ(Describe(loaded.list), Describe(start == 0 ? DecoderList() : saved));
    ASSERT_TRUE(store.Save(saved));
  }
  // The time in the file names its offset: the same moment wherever it is read.
  EXPECT_TRUE(Contents(folder + "/decoders.json").contains("2026-12-07T11:05:42.317+01:00"));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"decoders.json"});
}

// A save that fails leaves the file of the last save as it was, and says why.
TEST(DecoderListStore, FailedSaveLeavesTheLastListWhole) {
  DecoderList big = LayoutList();
  for (int i = 0; i < 200; ++i) big.Add(Row(QStringLiteral("Decoder %1").arg(i), 1 + 8 * i));
  const QTemporaryDir scratch;
  const QString notAFolder = scratch.filePath("layout.txt");
  Write(notAFolder, "the layout's notes");
  for (const bool diskFull : {true, false}) {
    SCOPED_TRACE(diskFull ? "disk full" : "folder is a file");
    const QString folder = diskFull ? DecoderListStore::DefaultFolder() : notAFolder;
    DecoderListStore store(folder);
    ASSERT_TRUE(store.Load().problem.isEmpty());
    if (diskFull) {
      ASSERT_TRUE(store.Save(LayoutList()));
    }
    const QByteArray last = Contents(store.FileName());
    ASSERT_LT(last.size(), 4096);
    // A full disk, as the file size limit makes it for this process: every byte past it fails.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit limited = before;
    if (diskFull) limited.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limited);
    QString why;
    const bool saved = store.Save(big, &why);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(why.startsWith("De decoderlijst kan niet worden bewaard in " +
                               QDir::toNativeSeparators(store.FileName())))
        << why.toStdString();
    EXPECT_EQ(Contents(store.FileName()), last);
    EXPECT_EQ(Contents(notAFolder), "the layout's notes");
    // No half-written file left beside it either.
    EXPECT_LE(QDir(folder).entryList(QDir::Files).size(), 1);
  }
}

TEST(DecoderListStore, DamagedFileIsKeptReportedAndTheListGoesOnBesideIt) {
  const QString valid = R"({"version":1,"decoders":[{"name":"a","firstAddress":9,"modeA":2,)"
                        R"("modeB":8}],"history":[%1,%2]})";
  const QString run = R"({"when":"2026-12-07T11:05:42+01:00","decoder":"","firstAddress":1,)"
                      R"("modeA":2,"modeB":2,"central":"SRCP","result":"failed","stationSaid":""})";
  const auto decoders = [&](const QString& from, const QString& to) {
    return QString(valid).replace(from, to).arg(run, run).toUtf8();
  };
  const auto secondRun = [&](const QString& from, const QString& to) {
    return valid.arg(run, QString(run).replace(from, to)).toUtf8();
  };
  const std::tuple<const char*, QByteArray, const char*> cases[] = {
      {"bytes", QByteArray("\x00\xff{\x01\"version\"\n\xfe\x80", 12).repeated(300),
       "de inhoud is geen leesbare lijst (fout bij teken 1)."},
      {"no decoders", decoders("decoders", "rows"), "de inhoud is geen decoderlijst."},
      {"no history", decoders("history", "runs"), "de inhoud is geen decoderlijst."},
      {"newer version", decoders("\"version\":1", "\"version\":2"),
       "het is versie 2 van de lijst; dit programma kent versie 1."},
      {"address off the grid", decoders("9", "10"),
       "decoder 1 heeft een ongeldige waarde bij \"firstAddress\"."},
      {"address too high", decoders("9", "2041"),
       "decoder 1 heeft een ongeldige waarde bij \"firstAddress\"."},
      {"fractional mode", decoders("8", "7.5"),
       "decoder 1 heeft een ongeldige waarde bij \"modeB\"."},
      {"row not an object", decoders("}],", "},\"b\"],"), "decoder 2 is onleesbaar."},
      {"unknown result", secondRun("failed", "maybe"),
       "regel 2 van de geschiedenis heeft een ongeldige waarde bij \"result\"."},
      {"a folder", {}, "op die plaats staat een map."},
  };
  const QString folder = DecoderListStore::DefaultFolder();
  const QString damaged = folder + "/decoders.json", renamed = folder + "/decoders-2.json";
  for (const auto& [what, content, why] : cases) {
    SCOPED_TRACE(what);
    QDir(folder).removeRecursively();
    QDir().mkpath(content.isNull() ? damaged + "/inside" : folder);
    if (!content.isNull()) Write(damaged, content);

    DecoderListStore store;
    const DecoderListStore::Loaded loaded = store.Load();
    EXPECT_EQ(Describe(loaded.list), Describe(DecoderList()));
    EXPECT_EQ(store.FileName(), renamed);
    EXPECT_EQ(loaded.problem,
              "De decoderlijst kan niet worden gelezen: " + QString::fromUtf8(why) +
                  "\nHet bestand blijft zoals het is: " + damaged +
                  "\nSorvell begint met een lege lijst en bewaart die voortaan als " + renamed +
                  ".");

    const DecoderList list = LayoutList();
    ASSERT_TRUE(store.Save(list));
    if (content.isNull())
      EXPECT_TRUE(QFileInfo::exists(damaged + "/inside"));
    else
      EXPECT_EQ(Contents(damaged), content);
    // The next start reads the list from where it went on, without a second box.
    DecoderListStore next;
    const DecoderListStore::Loaded again = next.Load();
    EXPECT_EQ(again.problem, QString());
    EXPECT_EQ(next.FileName(), renamed);
    EXPECT_EQ(Describe(again.list), Describe(list));
  }
}

TEST(DecoderListStore, SaveBeforeLoadStillKeepsADamagedFile) {
  const QString folder = DecoderListStore::DefaultFolder();
  QDir().mkpath(folder);
  Write(folder + "/decoders.json", "not a list");
  Write(folder + "/decoders-2.json", "not a list either");
  DecoderListStore store;
  ASSERT_TRUE(store.Save(LayoutList()));
  EXPECT_EQ(store.FileName(), folder + "/decoders-3.json");
  EXPECT_EQ(Contents(folder + "/decoders.json") + Contents(folder + "/decoders-2.json"),
            "not a listnot a list either");
}

// --- The spreadsheet file -------------------------------------------------------------------

TEST(DecoderListCsv, WrittenForADutchSpreadsheetAndReadBackTheSame) {
  RunRecord local = MadeRun(RunRecord::Result::Programmed);
  local.when = QDateTime(QDate(2026, 3, 9), QTime(8, 4));
  EXPECT_EQ(LastRunText(local), "geprogrammeerd op 09-03-2026 08:04 via Lenz/Multi-Maus");

  const QByteArray csv = WriteDecoderCsv(LayoutList());
  const QString expected = QString::fromUtf8(
      "\xEF\xBB\xBF"
      "Naam;Eerste wisseladres;Wisselnummers;Decoderadres;Modus groep A;Modus groep B;"
      "Laatste resultaat\r\n"
      "\"Station Noord; seinen\";1;1–8;1;Sein met 2 begrippen;Sein met 4 begrippen;"
      "geprogrammeerd op %1 via Lenz/Multi-Maus\r\n"
      "\"Märklin-brug \"\"oud\"\"\";9;9–16;3;4 uitgangen als impuls (LS100);"
      "4 uitgangen als impuls (K83);niet bevestigd op %1 via Lenz/Multi-Maus\r\n"
      "\"Emplacement\nzuid ⇄ oost\";17;17–24;5;4 uitgangen als aan/uit (K84);Verlichtingsmode;"
      "\"mislukt op %1: Stap 2 van 4 geweigerd; \"\"short\"\" op de baan\"\r\n"
      ";2033;2033–2040;509;NS-Sein met 4 begrippen;NS-Sein met 4 begrippen;nog niet\r\n"
      "\"Remise, spoor 3\";25;25–32;7;4 uitgangen als impuls (LS100);"
      "4 uitgangen als impuls (LS100);nog niet\r\n");
  const QString when = MadeRun(RunRecord::Result::Failed)
                           .when.toLocalTime()
                           .toString(QStringLiteral("dd-MM-yyyy HH:mm"));
  EXPECT_EQ(QString::fromUtf8(csv), expected.arg(when));

  const DecoderCsvRead read = ReadDecoderCsv(csv, 2033);
  EXPECT_EQ(read.skipped, QStringList());
  // A spreadsheet keeps no runs: the rows come back without their last run.
  EXPECT_EQ(Describe(read.rows), Describe(LayoutList(false).Rows()));
}

// Every value the list can hold, as the window and the list editor produce them, goes out to a
// spreadsheet and comes back the same: any first address the station reaches (the main window
// records others than 1, 9, 17, …), every pair of modes, and names a spreadsheet or a CSV reader
// could trip over. A name a spreadsheet would take for a formula goes out marked as text.
TEST(DecoderListCsv, EveryValueTheListHoldsComesBackFromItsOwnSpreadsheet) {
  const std::pair<QString, QByteArray> names[] = {
      {"Sein 12\" links", "\"Sein 12\"\" links\";"},
      {"Station; Noord", "\"Station; Noord\";"},
      {"Brücke über Weiche 7, ÄÖÜ ß é ë", "\"Brücke über Weiche 7, ÄÖÜ ß é ë\";"},
      {"=SOM(A1:A9)", "'=SOM(A1:A9);"},
      {"+31 spoor", "'+31 spoor;"},
      {"-2 kruising", "'-2 kruising;"},
      {"@remise", "'@remise;"},
      {"\tingesprongen", "\"'\tingesprongen\";"},
      {"\rterug", "\"'\rterug\";"},
      {"'=al gemerkt", "''=al gemerkt;"},
      {"'t Harde", "''t Harde;"},
      {"Emplacement\nzuid", "\"Emplacement\nzuid\";"},
      {"", ";"},
      {" spatie ", " spatie ;"},
  };
  DecoderList list;
  for (int address = DecoderModel::kMinAddress; address <= DecoderModel::kMaxAddress; ++address) {
    const std::size_t pair = std::size_t(address) % (7 * 7);
    list.Add(Row(names[std::size_t(address) % std::size(names)].first, address,
                 DecoderModel::kModes[pair / 7].number, DecoderModel::kModes[pair % 7].number));
  }
  const QByteArray csv = WriteDecoderCsv(list);
  for (const auto& [name, cell] : names) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(csv.contains("\r\n" + cell));
  }
  const DecoderCsvRead read = ReadDecoderCsv(csv, DecoderModel::kMaxAddress);
  EXPECT_EQ(read.skipped, QStringList());
  EXPECT_EQ(read.refused, QString());
  EXPECT_EQ(Describe(read.rows), Describe(list.Rows()));
}

// What a spreadsheet or a person wrote is read as far as it can be; what is not is said, with
// the line it starts on. A quote problem costs its own row and no other.
TEST(DecoderListCsv, ReadsWhatASpreadsheetOrAPersonWroteAndListsWhatItSkipped) {
  const std::vector<DecoderRow> two{Row("Brug", 9, 3, 8), Row("Station; Noord", 2025, 5, 2)};
  const QString missing = R"(Niets gelezen: de kopregel mist de kolom(men) %1.)";
  const QString all = R"("Naam", "Eerste wisseladres", "Modus groep A", "Modus groep B")";
  const QString quotes = QStringLiteral("Rij %1: de aanhalingstekens in deze rij kloppen niet.");
  // A little-endian machine's char16_t is UTF-16LE.
  static constexpr char16_t kUtf16[] =
      u"Naam\tEerste wisseladres\tModus groep A\tModus groep B\r\nBrück\t17\t2\t2\r\n";
  struct Case {
    const char* what;
    QByteArray csv;
    std::vector<DecoderRow> rows;
    QStringList skipped = {};
    QString refused = {};
  };
  const Case cases[] = {
      {"LF, no byte order mark",
       "Naam;Eerste wisseladres;Modus groep A;Modus groep B\nBrug;9;4 uitgangen als impuls (K83);"
       "NS-Sein met 4 begrippen\n\"Station; Noord\";2025;Verlichtingsmode;4 uitgangen als impuls "
       "(LS100)\n",
       two},
      {"columns in another order, extra columns, numbers for modes, blank lines",
       "\xEF\xBB\xBFOpmerking;modus groep b; Naam ;Modus groep A;Eerste wisseladres;Laatste "
       "resultaat\r\n;8;Brug;3; 9 ;geprogrammeerd\r\n\r\nuit 1987;2;\"Station; Noord\";"
       "verlichtingsmode;2025;\r\n\r\n",
       two},
      {"commas",
       "Naam,Eerste wisseladres,Modus groep A,Modus groep B\nBrug,9,3,8\n\"Station; Noord\",2025,"
       "5,2\n",
       two},
      {"tabs, and a spreadsheet's own separator line",
       "sep=\t\r\nNaam\tEerste wisseladres\tModus groep A\tModus groep B\r\nBrug\t9\t3\t8\r\n"
       "Station; Noord\t2025\t5\t2\r\nTe hoog\t2033\t2\t2\r\n",
       two,
       {"Rij 5: eerste wisseladres 2033 ligt buiten 1 tot en met 2025."}},
      {"Windows-1252, as \"CSV (puntkomma)\" on Windows",
       "Naam;Eerste wisseladres;Modus groep A;Modus groep B\r\nCaf\xE9 \xEBn \x80 \x96 "
       "\x93\x81\xA0;9;2;2\r\n",
       {Row(QStringLiteral("Café ën € – “\u0081\u00A0"), 9)}},
      {"UTF-16 with its mark, as \"Unicode-tekst\"",
       QByteArray("\xFF\xFE") +
           QByteArray(reinterpret_cast<const char*>(kUtf16), sizeof kUtf16 - sizeof kUtf16[0]),
       {Row(QStringLiteral("Brück"), 17)}},
      {"bad rows",
       "\xEF\xBB\xBFNaam;Eerste wisseladres;Modus groep A;Modus groep B\r\n"
       "Goed 1;1;2;8\r\nKort;9;2\r\nOnbekend;17;Knipperlicht;2\r\nTe hoog;2033;2;2\r\n"
       "Nul;0;2;2\r\nScheef;10;2;2\r\n\"Twee\nregels\";geen;9;2\r\n"
       "Goed 2;241;4 uitgangen als aan/uit (K84);7\r\n",
       {Row("Goed 1", 1, 2, 8), Row("Scheef", 10), Row("Goed 2", 241, 4, 7)},
       {
           "Rij 3: kolom \"Modus groep B\" ontbreekt.",
           "Rij 4: onbekende modus \"Knipperlicht\" in groep A.",
           "Rij 5: eerste wisseladres 2033 ligt buiten 1 tot en met 2025.",
           "Rij 6: eerste wisseladres 0 ligt buiten 1 tot en met 2025.",
           "Rij 8: eerste wisseladres \"geen\" is geen getal; onbekende modus \"9\" in groep A.",
       }},
      {"quotes",
       "Naam;Eerste wisseladres;Modus groep A;Modus groep B\n"
       "Sein 12\" links;1;2;2\n"     // a quote inside the text is the text's
       "\"Sein 12\" rechts;9;2;2\n"  // text after a closing quote
       "Brug;17;2;2\n"
       "\"Open;25;2;2\nRemise;33;2;2\n"  // a quote that never closes
       "\"Lang\r\n\"\"oud\"\"\";41;2;2\n"
       "Kort;49;2\n",
       {Row("Sein 12\" links", 1), Row("Brug", 17), Row("Remise", 33), Row("Lang\r\n\"oud\"", 41)},
       {quotes.arg(3), quotes.arg(5), "Rij 9: kolom \"Modus groep B\" ontbreekt."}},
      {"columns missing",
       "Naam;Adres;Modus groep A\r\nBrug;9;2\r\n",
       {},
       {},
       missing.arg(R"("Eerste wisseladres", "Modus groep B")")},
      {"empty", "", {}, {}, missing.arg(all)},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.what);
    // A limit below the decoders' own: rows are judged by the one the caller gives.
    const DecoderCsvRead read = ReadDecoderCsv(each.csv, 2025);
    EXPECT_EQ(Describe(read.rows), Describe(each.rows));
    EXPECT_EQ(read.skipped, each.skipped);
    EXPECT_EQ(read.refused, each.refused);
  }
}

// A file with more rows than any layout has decoders is refused as a whole, not read up to some
// row; one at the limit is read.
TEST(DecoderListCsv, MoreRowsThanAnyLayoutHasAreRefused) {
  for (const int rows : {kMostDecoderCsvRows, kMostDecoderCsvRows + 1}) {
    SCOPED_TRACE(rows);
    QByteArray csv = "Naam;Eerste wisseladres;Modus groep A;Modus groep B\r\n";
    for (int row = 0; row < rows; ++row) csv += "Wissel;1;2;2\r\n";
    const DecoderCsvRead read = ReadDecoderCsv(csv, DecoderModel::kMaxAddress);
    const bool refused = rows > kMostDecoderCsvRows;
    EXPECT_EQ(read.rows.size(), refused ? 0u : std::size_t(rows));
    EXPECT_EQ(read.refused, refused ? QStringLiteral("Niets gelezen: het bestand heeft meer dan "
                                                     "10.000 rijen, meer decoders dan een baan "
                                                     "kan hebben.")
                                    : QString());
  }
}

}  // namespace
