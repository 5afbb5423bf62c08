// The decoder list is the user's only record of what each WD10 learnt: its edits, its file in the
// user's data folder (whole or not at all, a damaged one kept) and its spreadsheet form.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "WD10/DecoderList.h"
#include "WD10/DecoderListCsv.h"
#include "WD10/DecoderListStore.h"

namespace {

RunRecord MadeRun(RunRecord::Result result, const QString& name = QStringLiteral("Station Noord")) {
  RunRecord run;
  // An offset that is not the test machine's: the moment must survive, not only the wall time.
  run.when = QDateTime(QDate(2026, 12, 7), QTime(11, 5, 42, 317), Qt::OffsetFromUTC, 3600);
  run.decoderName = name;
  run.firstAddress = 17;
  run.modeA = 4;
  run.modeB = 8;
  run.central = QStringLiteral("Lenz/Multi-Maus");
  run.result = result;
  if (result == RunRecord::Result::Failed)
    run.stationSaid = QStringLiteral("Stap 2 van 4 geweigerd; \"short\" op de baan");
  return run;
}

DecoderRow Row(const QString& name, int firstAddress, int modeA = 2, int modeB = 2) {
  return DecoderRow{name, firstAddress, modeA, modeB, std::nullopt};
}

// Everything a run holds, the moment as one instant, so that two lists compare field by field
// and a difference shows in the failure.
QString Describe(const RunRecord& run) {
  return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
      .arg(run.when.toUTC().toString(Qt::ISODateWithMs), run.decoderName)
      .arg(run.firstAddress)
      .arg(run.modeA)
      .arg(run.modeB)
      .arg(run.central)
      .arg(int(run.result))
      .arg(run.stationSaid);
}
QStringList Describe(const std::vector<DecoderRow>& rows) {
  QStringList described;
  for (const DecoderRow& row : rows)
    described.append(QStringLiteral("%1|%2|%3|%4|")
                         .arg(row.name)
                         .arg(row.firstAddress)
                         .arg(row.modeA)
                         .arg(row.modeB) +
                     (row.lastRun ? Describe(*row.lastRun) : QStringLiteral("-")));
  return described;
}
QStringList Describe(const std::vector<RunRecord>& runs) {
  QStringList described;
  for (const RunRecord& run : runs) described.append(Describe(run));
  return described;
}

QStringList Names(const DecoderList& list) {
  QStringList names;
  for (const DecoderRow& row : list.Rows()) names.append(row.name);
  return names;
}

// A layout's list as the user might keep it: names a spreadsheet or a file format could trip
// over, every mode, every kind of last run and a run of the main window's own.
DecoderList LayoutList() {
  DecoderList list;
  list.Add(Row(QStringLiteral("Station Noord; seinen"), 1, 6, 7));
  list.Add(Row(QStringLiteral("Märklin-brug \"oud\""), 9, 2, 3));
  list.Add(Row(QStringLiteral("Emplacement\nzuid ⇄ oost"), 17, 4, 5));
  list.Add(Row(QString(), 2033, 8, 8));
  list.Add(Row(QStringLiteral("Remise, spoor 3"), 25));
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
  struct Case {
    const char* what;
    std::function<void(DecoderList&)> edit;
    QStringList names;
    int runs;
  };
  const RunRecord run = MadeRun(RunRecord::Result::Programmed);
  const Case cases[] = {
      {"move down", [](DecoderList& l) { l.Move(0, 2); }, {"b", "c", "a", "d"}, 0},
      {"move up", [](DecoderList& l) { l.Move(3, 1); }, {"a", "d", "b", "c"}, 0},
      {"move to the end", [](DecoderList& l) { l.Move(1, 3); }, {"a", "c", "d", "b"}, 0},
      {"move in place", [](DecoderList& l) { l.Move(2, 2); }, {"a", "b", "c", "d"}, 0},
      {"move from outside", [](DecoderList& l) { l.Move(-1, 0); }, {"a", "b", "c", "d"}, 0},
      {"move past the end", [](DecoderList& l) { l.Move(0, 4); }, {"a", "b", "c", "d"}, 0},
      {"update", [](DecoderList& l) { l.Update(3, Row("x", 9)); }, {"a", "b", "c", "x"}, 0},
      {"update outside", [](DecoderList& l) { l.Update(4, Row("x", 9)); }, {"a", "b", "c", "d"}, 0},
      {"remove", [](DecoderList& l) { l.Remove(0); }, {"b", "c", "d"}, 0},
      {"remove outside",
       [](DecoderList& l) { l.Remove(-1), l.Remove(4); },
       {"a", "b", "c", "d"},
       0},
      {"record", [&](DecoderList& l) { l.Record(1, run); }, {"a", "b", "c", "d"}, 1},
      {"record outside", [&](DecoderList& l) { l.Record(4, run); }, {"a", "b", "c", "d"}, 0},
      {"unlisted run", [&](DecoderList& l) { l.RecordUnlisted(run); }, {"a", "b", "c", "d"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DecoderList list;
    for (const char* name : {"a", "b", "c", "d"})
      list.Add(Row(name, 1 + 8 * int(list.Rows().size())));
    c.edit(list);
    EXPECT_EQ(Names(list), c.names);
    ASSERT_EQ(int(list.History().size()), c.runs);
    // Only a row's own run becomes its last; a run of the main window belongs to no row.
    for (const DecoderRow& row : list.Rows())
      EXPECT_EQ(row.lastRun.has_value(), std::string(c.what) == "record" && row.name == "b");
  }
}

TEST(DecoderList, RowsWithTheSameFirstAddressAreBothMarked) {
  DecoderList list;
  for (const int address : {9, 1, 9, 17, 25, 17}) list.Add(Row(QString(), address));
  std::vector<bool> marked;
  for (int i = -1; i <= 6; ++i) marked.push_back(list.SharesFirstAddress(i));
  EXPECT_EQ(marked, (std::vector<bool>{false, true, false, true, true, false, true, false}));
}

TEST(DecoderList, LastRunInTheUsersWords) {
  const QDateTime local(QDate(2026, 3, 9), QTime(8, 4));
  const std::pair<std::optional<RunRecord>, QString> cases[] = {
      {std::nullopt, "nog niet"},
      {MadeRun(RunRecord::Result::Programmed),
       "geprogrammeerd op 09-03-2026 08:04 via Lenz/Multi-Maus"},
      {MadeRun(RunRecord::Result::Unconfirmed),
       "niet bevestigd op 09-03-2026 08:04 via Lenz/Multi-Maus"},
      {MadeRun(RunRecord::Result::Failed),
       "mislukt op 09-03-2026 08:04: Stap 2 van 4 geweigerd; \"short\" op de baan"},
  };
  for (auto [run, text] : cases) {
    if (run) run->when = local;
    EXPECT_EQ(LastRunText(run), text);
  }
}

// --- The list's file ------------------------------------------------------------------------

TEST(DecoderListStore, ListAndHistorySurviveARestartInTheUsersDataFolder) {
  EXPECT_EQ(DecoderListStore::DefaultFolder(),
            QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/Sorvell");
  // The first start: no file, no complaint; the first save makes the folder, the second
  // replaces the file whole.
  const DecoderList saved = LayoutList();
  for (int start = 0; start < 2; ++start) {
    DecoderListStore store;
    const DecoderListStore::Loaded loaded = store.Load();
    EXPECT_EQ(loaded.problem, QString());
    EXPECT_EQ(loaded.list.Rows().size(), start == 0 ? 0 : saved.Rows().size());
    ASSERT_TRUE(store.Save(saved));
  }
  DecoderListStore store;
  const DecoderListStore::Loaded loaded = store.Load();
  EXPECT_EQ(store.FileName(), DecoderListStore::DefaultFolder() + "/decoders.json");
  EXPECT_EQ(loaded.problem, QString());
  EXPECT_EQ(Describe(loaded.list.Rows()), Describe(saved.Rows()));
  EXPECT_EQ(Describe(loaded.list.History()), Describe(saved.History()));
  // The time in the file names its offset: the same moment wherever it is read.
  EXPECT_TRUE(Contents(store.FileName()).contains("2026-12-07T11:05:42.317+01:00"));
  EXPECT_EQ(QDir(DecoderListStore::DefaultFolder()).entryList(QDir::Files),
            QStringList{"decoders.json"});
}

// A save that fails leaves the file of the last save as it was, and says why.
TEST(DecoderListStore, FailedSaveLeavesTheLastListWhole) {
  DecoderList big = LayoutList();
  for (int i = 0; i < 200; ++i) big.Add(Row(QStringLiteral("Decoder %1").arg(i), 1 + 8 * i));
  const QTemporaryDir scratch;
  const QString notAFolder = scratch.filePath("layout.txt");
  Write(notAFolder, "the layout's notes");
  struct Case {
    const char* what;
    QString folder;
    std::function<bool(DecoderListStore&, QString*)> save;
  };
  const Case cases[] = {
      // A full disk, as the file size limit makes it for this process: every byte past it fails.
      {"disk full", DecoderListStore::DefaultFolder(),
       [&](DecoderListStore& store, QString* why) {
         rlimit before{};
         getrlimit(RLIMIT_FSIZE, &before);
         const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
         rlimit small = before;
         small.rlim_cur = 4096;
         setrlimit(RLIMIT_FSIZE, &small);
         const bool saved = store.Save(big, why);
         setrlimit(RLIMIT_FSIZE, &before);
         std::signal(SIGXFSZ, oldHandler);
         return saved;
       }},
      {"folder is a file", notAFolder,
       [&](DecoderListStore& store, QString* why) { return store.Save(big, why); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DecoderListStore store(c.folder);
    ASSERT_TRUE(store.Load().problem.isEmpty());
    if (c.folder == DecoderListStore::DefaultFolder()) {
      ASSERT_TRUE(store.Save(LayoutList()));
      ASSERT_LT(Contents(store.FileName()).size(), 4096);
    }
    const QByteArray last = Contents(store.FileName());
    QString why;
    EXPECT_FALSE(c.save(store, &why));
    EXPECT_TRUE(why.startsWith("De decoderlijst kan niet worden bewaard in " +
                               QDir::toNativeSeparators(store.FileName())))
        << why.toStdString();
    EXPECT_EQ(Contents(store.FileName()), last);
    EXPECT_EQ(Contents(notAFolder), "the layout's notes");
    // No half-written file left beside it either.
    EXPECT_LE(QDir(c.folder).entryList(QDir::Files).size(), 1);
  }
}

TEST(DecoderListStore, DamagedFileIsKeptReportedAndTheListGoesOnBesideIt) {
  const QString valid = QString::fromUtf8(
      R"({"version":1,"decoders":[{"name":"a","firstAddress":9,"modeA":2,"modeB":8}],)"
      R"("history":[]})");
  const QString run = QString::fromUtf8(
      R"({"when":"2026-12-07T11:05:42+01:00","decoder":"","firstAddress":1,"modeA":2,"modeB":2,)"
      R"("central":"SRCP","result":"failed","stationSaid":""})");
  const auto history = [&](const QString& second) {
    return QStringLiteral(R"({"version":1,"decoders":[],"history":[%1,%2]})")
        .arg(run, second)
        .toUtf8();
  };
  struct Case {
    const char* what;
    QByteArray content;
    const char* why;
  };
  const Case cases[] = {
      {"bytes", QByteArray("\x00\xff{\x01\"version\"\n\xfe\x80", 12).repeated(300),
       "de inhoud is geen leesbare lijst (fout bij teken "},
      {"empty", "", "de inhoud is geen leesbare lijst (fout bij teken "},
      {"cut short", valid.left(valid.size() - 2).toUtf8(),
       "de inhoud is geen leesbare lijst (fout bij teken "},
      {"an array", "[1, 2, 3]", "de inhoud is geen decoderlijst."},
      {"no history", R"({"version":1,"decoders":[]})", "de inhoud is geen decoderlijst."},
      {"no decoders", R"({"version":1,"history":[]})", "de inhoud is geen decoderlijst."},
      {"newer version", R"({"version":2,"decoders":[],"history":[]})",
       "het is versie 2 van de lijst; dit programma kent versie 1."},
      {"address off the grid", QString(valid).replace("9", "10").toUtf8(),
       "decoder 1 heeft een ongeldige waarde bij \"firstAddress\"."},
      {"address too high", QString(valid).replace("9", "2041").toUtf8(),
       "decoder 1 heeft een ongeldige waarde bij \"firstAddress\"."},
      {"unknown mode", QString(valid).replace("8", "9").toUtf8(),
       "decoder 1 heeft een ongeldige waarde bij \"modeB\"."},
      {"fractional mode", QString(valid).replace("8", "7.5").toUtf8(),
       "decoder 1 heeft een ongeldige waarde bij \"modeB\"."},
      {"name a number", QString(valid).replace("\"a\"", "7").toUtf8(),
       "decoder 1 heeft een ongeldige waarde bij \"name\"."},
      {"row not an object", QString(valid).replace("}]", "},\"b\"]").toUtf8(),
       "decoder 2 is onleesbaar."},
      {"unknown result", history(QString(run).replace("failed", "maybe")),
       "regel 2 van de geschiedenis heeft een ongeldige waarde bij \"result\"."},
      {"no time", history(QString(run).replace("2026-12-07T11:05:42+01:00", "gisteren")),
       "regel 2 van de geschiedenis heeft een ongeldige waarde bij \"when\"."},
      {"a folder", {}, "op die plaats staat een map."},
  };
  const QString folder = DecoderListStore::DefaultFolder();
  for (const auto& [what, content, why] : cases) {
    SCOPED_TRACE(what);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString damaged = folder + "/decoders.json";
    if (std::string(what) == "a folder")
      QDir().mkpath(damaged + "/inside");
    else
      Write(damaged, content);

    DecoderListStore store;
    const DecoderListStore::Loaded loaded = store.Load();
    EXPECT_TRUE(loaded.list.Rows().empty() && loaded.list.History().empty());
    const QString renamed = folder + "/decoders-2.json";
    EXPECT_EQ(store.FileName(), renamed);
    EXPECT_TRUE(loaded.problem.startsWith(
        QStringLiteral("De decoderlijst kan niet worden gelezen: ") + QString::fromUtf8(why)))
        << loaded.problem.toStdString();
    EXPECT_TRUE(loaded.problem.contains("Het bestand blijft zoals het is: " + damaged));
    EXPECT_TRUE(loaded.problem.contains("bewaart die voortaan als " + renamed));
    EXPECT_EQ(loaded.problem.count('\n'), 2) << "one box's worth";

    const DecoderList list = LayoutList();
    ASSERT_TRUE(store.Save(list));
    if (std::string(what) == "a folder")
      EXPECT_TRUE(QFileInfo::exists(damaged + "/inside"));
    else
      EXPECT_EQ(Contents(damaged), content);
    // The next start reads the list from where it went on, without a second box.
    DecoderListStore next;
    const DecoderListStore::Loaded again = next.Load();
    EXPECT_EQ(again.problem, QString());
    EXPECT_EQ(next.FileName(), renamed);
    EXPECT_EQ(Describe(again.list.Rows()), Describe(list.Rows()));
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
  EXPECT_EQ(Contents(folder + "/decoders.json"), "not a list");
  EXPECT_EQ(Contents(folder + "/decoders-2.json"), "not a list either");
}

// --- The spreadsheet file -------------------------------------------------------------------

TEST(DecoderListCsv, WrittenForADutchSpreadsheetAndReadBackTheSame) {
  const DecoderList list = LayoutList();
  const QByteArray csv = WriteDecoderCsv(list);
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
      "\"Remise, spoor 3\";25;25–32;7;4 uitgangen als impuls (LS100);4 uitgangen als impuls "
      "(LS100);"
      "nog niet\r\n");
  const QString when = MadeRun(RunRecord::Result::Failed)
                           .when.toLocalTime()
                           .toString(QStringLiteral("dd-MM-yyyy HH:mm"));
  EXPECT_EQ(QString::fromUtf8(csv), expected.arg(when));

  const DecoderCsvRead read = ReadDecoderCsv(csv, 2033);
  EXPECT_EQ(read.skipped, QStringList());
  // A spreadsheet keeps no runs: the rows come back without their last run.
  DecoderList withoutRuns;
  for (DecoderRow row : list.Rows()) {
    row.lastRun.reset();
    withoutRuns.Add(row);
  }
  EXPECT_EQ(Describe(read.rows), Describe(withoutRuns.Rows()));
}

TEST(DecoderListCsv, ReadsWhatASpreadsheetOrAPersonWrote) {
  const std::vector<DecoderRow> wanted{Row("Brug", 9, 3, 8), Row("Station; Noord", 2025, 5, 2)};
  const std::pair<const char*, QByteArray> cases[] = {
      {"LF, no byte order mark",
       "Naam;Eerste wisseladres;Modus groep A;Modus groep B\nBrug;9;4 uitgangen als impuls (K83);"
       "NS-Sein met 4 begrippen\n\"Station; Noord\";2025;Verlichtingsmode;4 uitgangen als impuls "
       "(LS100)\n"},
      {"columns in another order, extra columns, numbers for modes, blank lines",
       "\xEF\xBB\xBFOpmerking;modus groep b; Naam ;Modus groep A;Eerste wisseladres;Laatste "
       "resultaat\r\n;8;Brug;3; 9 ;geprogrammeerd\r\n\r\nuit 1987;2;\"Station; Noord\";"
       "verlichtingsmode;2025;\r\n\r\n"},
  };
  for (const auto& [what, csv] : cases) {
    SCOPED_TRACE(what);
    const DecoderCsvRead read = ReadDecoderCsv(csv, 2033);
    EXPECT_EQ(read.skipped, QStringList());
    EXPECT_EQ(Describe(read.rows), Describe(wanted));
  }
}

TEST(DecoderListCsv, BadRowsAreListedAndTheRestIsRead) {
  const QByteArray csv =
      "\xEF\xBB\xBFNaam;Eerste wisseladres;Modus groep A;Modus groep B\r\n"
      "Goed 1;1;2;8\r\n"
      "Kort;9;2\r\n"
      "Onbekend;17;Knipperlicht;2\r\n"
      "Te hoog;249;2;2\r\n"
      "Nul;0;2;2\r\n"
      "Scheef;10;2;2\r\n"
      "\"Twee\nregels\";geen;9;2\r\n"
      "Goed 2;241;4 uitgangen als aan/uit (K84);7\r\n";
  const DecoderCsvRead read = ReadDecoderCsv(csv, 248);
  EXPECT_EQ(Describe(read.rows),
            Describe(std::vector<DecoderRow>{Row("Goed 1", 1, 2, 8), Row("Goed 2", 241, 4, 7)}));
  EXPECT_EQ(
      read.skipped,
      (QStringList{
          "Rij 3: kolom \"Modus groep B\" ontbreekt.",
          "Rij 4: onbekende modus \"Knipperlicht\" in groep A.",
          "Rij 5: eerste wisseladres 249 ligt buiten 1 tot en met 248.",
          "Rij 6: eerste wisseladres 0 ligt buiten 1 tot en met 248.",
          "Rij 7: eerste wisseladres 10 is geen eerste adres van een decoder (1, 9, 17, …).",
          "Rij 8: eerste wisseladres \"geen\" is geen getal; onbekende modus \"9\" in groep A.",
      }));
}

TEST(DecoderListCsv, FileWithoutTheNeededColumnsGivesNoRowsAndSaysWhichAreMissing) {
  const std::pair<QByteArray, QString> cases[] = {
      {"Naam;Adres;Modus groep A\r\nBrug;9;2\r\n",
       R"(Niets gelezen: de kopregel mist de kolom(men) "Eerste wisseladres", "Modus groep B".)"},
      {"Naam,Eerste wisseladres,Modus groep A,Modus groep B\nBrug,9,2,2\n",
       R"(Niets gelezen: de kopregel mist de kolom(men) "Naam", "Eerste wisseladres", )"
       R"("Modus groep A", "Modus groep B".)"},
      {"", R"(Niets gelezen: de kopregel mist de kolom(men) "Naam", "Eerste wisseladres", )"
           R"("Modus groep A", "Modus groep B".)"},
  };
  for (const auto& [csv, line] : cases) {
    const DecoderCsvRead read = ReadDecoderCsv(csv, 2033);
    EXPECT_TRUE(read.rows.empty());
    EXPECT_EQ(read.skipped, QStringList{line});
  }
}

}  // namespace
