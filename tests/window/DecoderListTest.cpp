// The decoder list is the user's only record of what each WD10 learnt: its edits, its file in the
// user's data folder (whole or not at all, a damaged one kept) and its spreadsheet form.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <functional>

#include "window/DecoderList.h"
#include "window/DecoderListCsv.h"
#include "window/DecoderListJson.h"
#include "window/DecoderListStore.h"
#include "window/DecoderModel.h"

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

// Names a file format or a spreadsheet could trip over, and the cell each starts its row with in
// a spreadsheet: a name a spreadsheet would take for a formula goes out marked as text.
const std::pair<QString, QByteArray> kNames[] = {
    {"Sein 12\" links", "\"Sein 12\"\" links\";"},
    {"Station; Noord", "\"Station; Noord\";"},
    {"Brücke über Weiche 7, ÄÖÜ ß é ë ⇄", "\"Brücke über Weiche 7, ÄÖÜ ß é ë ⇄\";"},
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

// Every first address the window can send (the field takes any, not only a decoder's first),
// every pair of modes, every name of kNames, and with runs every result, of rows and of no row.
DecoderList EveryValue(bool withRuns) {
  DecoderList list;
  for (int address = DecoderModel::kMinAddress; address <= DecoderModel::kMaxAddress; ++address) {
    const std::size_t pair = std::size_t(address) % 49;
    const int modeA = DecoderModel::kModes[pair / 7].number;
    const int modeB = DecoderModel::kModes[pair % 7].number;
    list.Add(Row(kNames[std::size_t(address) % std::size(kNames)].first, address, modeA, modeB));
    if (!withRuns) continue;
    RunRecord run = MadeRun(RunRecord::Result(address % 3),
                            kNames[std::size_t(address + 1) % std::size(kNames)].first);
    run.firstAddress = address;
    run.modeA = modeB;
    run.modeB = modeA;
    if (address % 2)
      list.Record(address - 1, run);
    else
      list.RecordUnlisted(run);
  }
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

// --- The list's file ------------------------------------------------------------------------

// Every first address a run can go out with (the field takes any, not only a decoder's first),
// every pair of modes and every name of kNames, each kind of last run and runs of no row: saved
// across restarts in the user's data folder and read back as they were. The first start finds no
// file and says nothing; the first save makes the folder, the next replace the file whole.
TEST(DecoderListStore, EveryValueTheWindowCanSendSurvivesARestartInTheUsersDataFolder) {
  const QString folder = DecoderListStore::DefaultFolder();
  EXPECT_EQ(folder, QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/Sorvell");
  const DecoderList saved = EveryValue(true);
  for (int start = 0; start < 3; ++start) {
    DecoderListStore store;
    DecoderListStore::Loaded loaded = store.Load();
    EXPECT_EQ(store.FileName(), folder + "/decoders.json");
    EXPECT_EQ(loaded.problem, QString());
    EXPECT_EQ(Describe(loaded.list), Describe(start == 0 ? DecoderList() : saved));
    if (start == 0) loaded.list = saved;
    EXPECT_TRUE(
        std::ranges::equal(loaded.list.Rows(), saved.Rows(), {}, &DecoderRow::id, &DecoderRow::id));
    ASSERT_TRUE(store.Save(loaded.list));
  }
  // The time in the file names its offset: the same moment wherever it is read.
  EXPECT_TRUE(
      Contents(folder + "/decoders-history.jsonl").contains("2026-12-07T11:05:42.317+01:00"));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files),
            (QStringList{"decoders-history.jsonl", "decoders.json"}));
}

// A save that fails leaves the file of the last save as it was, and says why.
TEST(DecoderListStore, FailedSaveLeavesTheLastListWhole) {
  DecoderList big = LayoutList();
  for (int i = 0; i < 200; ++i) big.Add(Row(QStringLiteral("Decoder %1").arg(i), 1 + 8 * i));
  // More runs than fit: the history's append fails too, and takes back what it wrote.
  for (int i = 0; i < 40; ++i) big.RecordUnlisted(MadeRun(RunRecord::Result::Failed));
  const QTemporaryDir scratch;
  const QString notAFolder = scratch.filePath("layout.txt");
  Write(notAFolder, "the layout's notes");
  for (const bool diskFull : {true, false}) {
    SCOPED_TRACE(diskFull ? "disk full" : "folder is a file");
    const QString folder = diskFull ? DecoderListStore::DefaultFolder() : notAFolder;
    DecoderListStore store(folder);
    ASSERT_TRUE(store.Load().problem.isEmpty());
    if (diskFull) {
      DecoderList small = LayoutList();
      ASSERT_TRUE(store.Save(small));
    }
    const QByteArray last = Contents(store.FileName());
    const QByteArray lastHistory = Contents(store.HistoryFileName());
    const QStringList files = QDir(folder).entryList(QDir::Files);
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
    EXPECT_EQ(Contents(store.HistoryFileName()), lastHistory);
    EXPECT_EQ(Contents(notAFolder), "the layout's notes");
    // No half-written file left beside it either.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), files);
  }
}

TEST(DecoderListStore, DamagedFileIsKeptReportedAndTheListGoesOnBesideIt) {
  const QString valid = R"({"version":1,"decoders":[{"name":"a","firstAddress":9,"modeA":2,)"
                        R"("modeB":8}],"history":[]})";
  const auto decoders = [&](const QString& from, const QString& to) {
    return QString(valid).replace(from, to).toUtf8();
  };
  const std::tuple<const char*, QByteArray, const char*> cases[] = {
      {"bytes", QByteArray("\x00\xff{\x01\"version\"\n\xfe\x80", 12).repeated(300),
       "de inhoud is geen leesbare lijst (fout bij teken 1)."},
      {"decoders not a list", R"({"version":2,"decoders":{}})", "de inhoud is geen decoderlijst."},
      {"first version without its history", decoders("history", "runs"),
       "de inhoud is geen decoderlijst."},
      {"newer version", decoders("\"version\":1", "\"version\":3"),
       "het is versie 3 van de lijst; dit programma kent versie 2."},
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

    DecoderList list = LayoutList();
    const DecoderList expected = list;
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
    EXPECT_EQ(Describe(again.list), Describe(expected));
  }
}

// One value the reader does not take costs only its own row or run: the rest is read, the value
// is named, and it stays in the file where it stood through later saves.
TEST(DecoderListStore, AValueThatDoesNotReadIsNamedAndKeptWhereItStood) {
  const QString run = R"({"when":"2026-12-07T11:05:42+01:00","decoder":"d","firstAddress":5,)"
                      R"("modeA":2,"modeB":8,"central":"SRCP","result":"failed","stationSaid":""})";
  const auto row = [&](const char* name, const QString& from = {}, const QString& to = {}) {
    const QString made = QStringLiteral(R"({"name":"%1","firstAddress":12,"modeA":3,"modeB":7,)"
                                        R"("lastRun":%2})")
                             .arg(QLatin1String(name), run);
    return from.isEmpty() ? made : QString(made).replace(from, to);
  };
  // Each bad value, and the line that names it.
  const std::pair<QString, QString> bad[] = {
      {row("Nul", "s\":12", "s\":0"),
       R"(decoder 2 ("Nul") heeft een ongeldige waarde bij "firstAddress".)"},
      {row("Hoog", "s\":12", "s\":2041"),
       R"(decoder 3 ("Hoog") heeft een ongeldige waarde bij "firstAddress".)"},
      {row("Half", "\"modeA\":3", "\"modeA\":3.5"),
       R"(decoder 4 ("Half") heeft een ongeldige waarde bij "modeA".)"},
      {row("Negen", "\"modeB\":7", "\"modeB\":9"),
       R"(decoder 5 ("Negen") heeft een ongeldige waarde bij "modeB".)"},
      {row("", "\"name\":\"\"", "\"name\":7"),
       R"(decoder 6 heeft een ongeldige waarde bij "name".)"},
      {row("Oud", "failed", "misschien"),
       R"(decoder 7 ("Oud") heeft een ongeldige waarde bij "lastRun.result".)"},
      {row("Id", "{\"name", "{\"id\":4,\"name"),
       R"(decoder 8 ("Id") heeft een ongeldige waarde bij "id".)"},
      {R"("een regel tekst")", "decoder 9 is onleesbaar."},
  };
  // The two good rows carry one id, as a row copied by hand would: they stay two rows.
  QStringList rows{row("Goed 1", "{\"name", "{\"id\":\"x\",\"name")};
  QStringList lines;
  for (const auto& [value, line] : bad) rows.append(value), lines.append(line);
  rows.append(row("Goed 2", "s\":12", "s\":2040").replace("{\"name", "{\"id\":\"x\",\"name"));
  const QString folder = DecoderListStore::DefaultFolder();
  QDir().mkpath(folder);
  Write(folder + "/decoders.json",
        QStringLiteral(R"({"version":2,"decoders":[%1]})").arg(rows.join(',')).toUtf8());
  const QByteArray history =
      (run + '\n' + QString(run).replace("\"d\"", "null") + '\n' +
       QString(run).replace("5,", "2041,") + '\n' + run + '\n' + "[1,2]\n" + run.left(40))
          .toUtf8();
  Write(folder + "/decoders-history.jsonl", history);
  lines << R"(regel 2 van de geschiedenis heeft een ongeldige waarde bij "decoder".)"
        << R"(regel 3 van de geschiedenis heeft een ongeldige waarde bij "firstAddress".)"
        << "regel 5 van de geschiedenis is onleesbaar."
        << "regel 6 van de geschiedenis is afgebroken (een onderbroken schrijfbeurt).";

  DecoderListStore store;
  DecoderListStore::Loaded loaded = store.Load();
  const QString told =
      "Niet alles in de decoderlijst kan worden gelezen; al het andere is "
      "gelezen. Deze waarden blijven in " +
      folder + " zoals ze stonden:\n";
  EXPECT_EQ(loaded.problem.toStdString(), (told + lines.join('\n')).toStdString());
  ASSERT_EQ(loaded.list.Rows().size(), 2u);
  EXPECT_EQ(loaded.list.Rows()[0].name, "Goed 1");
  EXPECT_EQ(loaded.list.Rows()[1].firstAddress, 2040);
  EXPECT_NE(loaded.list.Rows()[0].id, loaded.list.Rows()[1].id);
  EXPECT_EQ(loaded.list.History().size(), 2u);

  // An edit and a run later, the bad values stand where they stood, and the torn line is ended
  // before the new run, which is read back.
  DecoderRow edited = loaded.list.Rows()[1];
  edited.name = "Goed 2 (nieuw)";
  loaded.list.Update(1, edited);
  loaded.list.Record(0, MadeRun(RunRecord::Result::Programmed));
  ASSERT_TRUE(store.Save(loaded.list));
  const QJsonArray stored =
      QJsonDocument::fromJson(Contents(folder + "/decoders.json")).object()["decoders"].toArray();
  ASSERT_EQ(stored.size(), rows.size());
  for (int i = 1; i <= int(std::size(bad)); ++i)
    EXPECT_EQ(stored[i], QJsonDocument::fromJson(("[" + rows[i] + "]").toUtf8()).array()[0]) << i;
  EXPECT_EQ(stored.last()["name"], "Goed 2 (nieuw)");
  EXPECT_TRUE(Contents(folder + "/decoders-history.jsonl").startsWith(history + '\n'));
  DecoderListStore next;
  const DecoderListStore::Loaded again = next.Load();
  EXPECT_EQ(again.list.History().size(), 3u);
  EXPECT_EQ(Describe(again.list.Rows()), Describe(loaded.list.Rows()));
  lines.last() = "regel 6 van de geschiedenis is onleesbaar.";
  EXPECT_EQ(again.problem.toStdString(), (told + lines.join('\n')).toStdString());
}

// A list of the first version, with its history inside, is carried over whole: its runs into
// the history file, its rows with ids; and the next start reads the same.
TEST(DecoderListStore, AListOfTheFirstVersionIsCarriedOverWhole) {
  DecoderList list = LayoutList();
  QJsonArray rows, runs;
  for (const DecoderRow& row : list.Rows()) {
    QJsonObject json = DecoderListJson::FromRow(row);
    json.remove("id");
    rows.append(json);
  }
  for (const RunRecord& run : list.History()) runs.append(DecoderListJson::FromRun(run));
  const QString folder = DecoderListStore::DefaultFolder();
  QDir().mkpath(folder);
  Write(folder + "/decoders.json",
        QJsonDocument(QJsonObject{{"version", 1}, {"decoders", rows}, {"history", runs}}).toJson());
  for (int start = 0; start < 2; ++start) {
    DecoderListStore store;
    const DecoderListStore::Loaded loaded = store.Load();
    EXPECT_EQ(loaded.problem, QString());
    EXPECT_EQ(Describe(loaded.list), Describe(list));
    const QJsonObject file = QJsonDocument::fromJson(Contents(store.FileName())).object();
    EXPECT_EQ(file["version"], 2);
    EXPECT_FALSE(file.contains("history"));
    EXPECT_EQ(file["decoders"][3]["id"], "row-4");
    EXPECT_EQ(Contents(store.HistoryFileName()).count('\n'), 5);
  }
}

// A file that cannot be read now is not damaged: it is left as it is for this start, nothing is
// written over it, and the next start reads it.
TEST(DecoderListStore, AFileThatCannotBeReadNowIsReadAgainAtTheNextStart) {
  const QString folder = DecoderListStore::DefaultFolder();
  // Reading the process's own memory from its start fails with an I/O error, even for root.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"decoders.json", "decoders-history.jsonl",
       "De decoderlijst kan nu niet worden gelezen: het bestand kan niet worden gelezen "
       "(Input/output error)"},
      {"decoders-history.jsonl", "decoders.json",
       "De geschiedenis kan nu niet worden gelezen: Input/output error"},
  };
  for (const auto& [file, otherFile, told] : cases) {
    SCOPED_TRACE(file);
    QDir(folder).removeRecursively();
    DecoderList list = LayoutList();
    ASSERT_TRUE(DecoderListStore().Save(list));
    const QString path = folder + '/' + file, other = folder + '/' + otherFile;
    const QByteArray kept = Contents(path), otherKept = Contents(other);
    QFile::rename(path, path + ".away");
    ASSERT_TRUE(QFile::link("/proc/self/mem", path));

    DecoderListStore store;
    DecoderListStore::Loaded loaded = store.Load();
    EXPECT_EQ(loaded.problem, QString::fromUtf8(told) +
                                  ".\nHet bestand blijft zoals het is: " + path +
                                  "\nWijzigingen worden deze keer niet bewaard; bij de volgende "
                                  "start probeert Sorvell het opnieuw.");
    EXPECT_EQ(store.FileName(), folder + "/decoders.json");
    loaded.list.Add(Row("Nieuw", 33));
    loaded.list.RecordUnlisted(MadeRun(RunRecord::Result::Failed));
    EXPECT_TRUE(store.Save(loaded.list));
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(Contents(other), otherKept);

    QFile::remove(path);
    QFile::rename(path + ".away", path);
    DecoderListStore next;
    const DecoderListStore::Loaded again = next.Load();
    EXPECT_EQ(again.problem, QString());
    EXPECT_EQ(Describe(again.list), Describe(LayoutList()));
    EXPECT_EQ(Contents(path), kept);
  }
}

// Two windows on one folder, each saving as it goes without reading the other's changes first:
// every edit and every run of each ends up in the file, and each window is shown the other's.
TEST(DecoderListStore, TwoWindowsOnOneFolderLoseNothing) {
  struct Window {
    DecoderListStore store;
    DecoderList list = store.Load().list;
    void Rename(int row, const QString& name) {
      DecoderRow changed = list.Rows()[std::size_t(row)];
      changed.name = name;
      list.Update(row, changed);
      Save();
    }
    void Run(int row, const QString& by) {
      RunRecord run = MadeRun(RunRecord::Result::Programmed, by);
      if (row < 0)
        list.RecordUnlisted(run);
      else
        list.Record(row, run);
      Save();
    }
    void Save() { ASSERT_TRUE(store.Save(list)); }
    QString Names() const {
      QString names;
      for (const DecoderRow& row : list.Rows())
        names += row.name + (row.lastRun ? "*" + row.lastRun->decoderName : "") + ' ';
      return names.trimmed();
    }
  };
  using Steps = std::function<void(Window & a, Window & b)>;
  const std::tuple<const char*, Steps, const char*, const char*> cases[] = {
      {"one row edited by both: the later edit wins, both runs stay",
       [](Window& a, Window& b) {
         a.Run(1, "a"), b.Run(1, "b"), a.Rename(0, "A"), b.Rename(0, "B");
       },
       "B b*b c d", "a b"},
      {"runs of rows and of no row, interleaved",
       [](Window& a, Window& b) {
         a.Run(0, "a1"), b.Run(-1, "b1"), b.Run(3, "b2"), a.Run(-1, "a2");
       },
       "a*a1 b c d*b2", "a1 b1 b2 a2"},
      {"a row removed, then edited by the other: the later edit keeps it",
       [](Window& a, Window& b) { a.list.Remove(1), a.Save(), b.Rename(1, "B"); }, "a B c d", ""},
      {"a row edited, then removed by the other",
       [](Window& a, Window& b) { b.Rename(1, "B"), a.list.Remove(1), a.Save(); }, "a c d", ""},
      {"the list replaced, while the other edits",
       [](Window& a, Window& b) {
         for (int i = 0; i < 4; ++i) a.list.Remove(0);
         a.list.Add(Row("p", 1)), a.list.Add(Row("q", 9)), a.Save();
         b.Rename(3, "D");
       },
       "p q D", ""},
  };
  const QString folder = DecoderListStore::DefaultFolder();
  for (const auto& [what, steps, names, runs] : cases) {
    SCOPED_TRACE(what);
    QDir(folder).removeRecursively();
    {
      Window first;
      for (const char* name : {"a", "b", "c", "d"})
        first.list.Add(Row(name, 1 + 8 * int(first.list.Rows().size())));
      first.Save();
    }
    Window a, b;
    steps(a, b);
    // Whichever saved last shows the other's changes; a window that starts now reads them all.
    Window late;
    EXPECT_EQ(late.Names(), names);
    QStringList history;
    for (const RunRecord& run : late.list.History()) history.append(run.decoderName);
    EXPECT_EQ(history.join(' '), runs);
    b.Save(), a.Save();
    EXPECT_EQ(a.Names(), names);
    EXPECT_EQ(b.Names(), names);
    EXPECT_EQ(a.list.History().size(), late.list.History().size());
    EXPECT_EQ(Describe(b.list.History()), Describe(late.list.History()));
  }
}

// --- The spreadsheet file -------------------------------------------------------------------

TEST(DecoderListCsv, WrittenForADutchSpreadsheet) {
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
}

// Every value the list can hold goes out to a spreadsheet and comes back the same.
TEST(DecoderListCsv, EveryValueTheListHoldsComesBackFromItsOwnSpreadsheet) {
  const DecoderList list = EveryValue(false);
  const QByteArray csv = WriteDecoderCsv(list);
  for (const auto& [name, cell] : kNames) {
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
      {"columns in another order, extra columns, numbers for modes, blank lines",
       "\xEF\xBB\xBFOpmerking;modus groep b; Naam ;Modus groep A;Eerste wisseladres;Laatste "
       "resultaat\r\n;8;Brug;3; 9 ;geprogrammeerd\r\n\r\nuit 1987;2;\"Station; Noord\";"
       "verlichtingsmode;2025;\r\n\r\n",
       two},
      {"commas, LF line ends",
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
    const DecoderCsvRead read =
        ReadDecoderCsv("Naam;Eerste wisseladres;Modus groep A;Modus groep B\r\n" +
                           QByteArray("Wissel;1;2;2\r\n").repeated(rows),
                       DecoderModel::kMaxAddress);
    const bool refused = rows > kMostDecoderCsvRows;
    EXPECT_EQ(read.rows.size(), refused ? 0u : std::size_t(rows));
    EXPECT_EQ(read.refused.startsWith("Niets gelezen: het bestand heeft meer dan 10.000 rijen"),
              refused);
  }
}

}  // namespace
