#include "window/DecoderListStore.h"

#include <sys/stat.h>
#include <QCoreApplication>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>

#include "platform/WriteWholeFile.h"
#include "window/DecoderHistoryFile.h"
#include "window/DecoderListJson.h"
#include "window/DecoderListMerge.h"

namespace {

constexpr int kFormatVersion = 2;
constexpr int kOldFormatVersion = 1;
// Another window holds the lock for a few milliseconds; this long means it hangs.
constexpr int kLockWaitMs = 10000;
// A box lists this many values that did not read, and counts the rest.
constexpr int kProblemsListed = 20;

// The list's first file is decoders.json, number 1; a list that goes on beside a damaged one is
// decoders-2.json, decoders-3.json, … Any other name is 0.
int FileNumber(const QString& name) {
  static const QRegularExpression listFile(
      QStringLiteral("^decoders(?:-([2-9]|[1-9]\\d{1,5}))?\\.json$"));
  const QRegularExpressionMatch match = listFile.match(name);
  if (!match.hasMatch()) return 0;
  return match.hasCaptured(1) ? match.captured(1).toInt() : 1;
}

QString NumberedName(int number) {
  return number == 1 ? QStringLiteral("decoders.json")
                     : QStringLiteral("decoders-%1.json").arg(number);
}

// The list file in use: a damaged list goes on under the next number, so it is the
// highest-numbered one, and decoders.json when there is none yet.
int NewestFileNumber(const QString& folder) {
  int newest = 1;
  for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden))
    newest = std::max(newest, FileNumber(name));
  return newest;
}

QString Native(const QString& path) {
  return QDir::toNativeSeparators(path);
}

// The rows' file as it was read.
struct ListFile {
  enum class State { Missing, Read, Damaged, NotReadableNow };
  State state = State::Missing;
  QString why;  // damaged or not readable now: what is wrong, in Dutch
  std::vector<StoredRow> rows;
  QStringList problems;  // one line per row that did not read
  // A version-1 file's own history, still to be carried over into the history file.
  bool oldFormat = false;
  QJsonArray oldHistory;
};

QString RowPlace(int number, const QJsonValue& value) {
  const QJsonValue name = value.toObject().value(QStringLiteral("name"));
  if (!name.isString() || name.toString().isEmpty())
    return QCoreApplication::translate("DecoderListStore", "decoder %1").arg(number);
  return QCoreApplication::translate("DecoderListStore", "decoder %1 (\"%2\")")
      .arg(number)
      .arg(name.toString());
}

void ReadRows(const QJsonArray& values, ListFile& file) {
  QSet<QString> ids;
  for (int i = 0; i < values.size(); ++i) {
    DecoderListJson::RowRead read = DecoderListJson::ToRow(values[i]);
    if (!read.problem.isEmpty()) {
      file.problems.append(RowPlace(i + 1, values[i]) + u' ' + read.problem + u'.');
      file.rows.push_back({std::nullopt, values[i]});
      continue;
    }
    // A row without an id (a version-1 file) or with another row's id (copied by hand) is named
    // after its place, so that every window that reads this file names it alike.
    for (int extra = 0; read.row.id.isEmpty() || ids.contains(read.row.id); ++extra)
      read.row.id = QStringLiteral("row-%1").arg(i + 1) +
                    (extra ? QStringLiteral("-%1").arg(extra) : QString());
    ids.insert(read.row.id);
    file.rows.push_back({std::move(read.row), {}});
  }
}

ListFile ReadListFile(const QString& fileName) {
  ListFile file;
  const QFileInfo info(fileName);
  if (!info.exists()) return file;
  file.state = ListFile::State::Damaged;
  if (info.isDir()) {
    file.why = QCoreApplication::translate("DecoderListStore", "op die plaats staat een map");
    return file;
  }
  QFile device(fileName);
  if (!device.open(QIODevice::ReadOnly)) {
    file.state = ListFile::State::NotReadableNow;
    file.why =
        QCoreApplication::translate("DecoderListStore", "het bestand kan niet worden geopend (%1)")
            .arg(device.errorString());
    return file;
  }
  const QByteArray bytes = device.readAll();
  if (device.error() != QFileDevice::NoError) {
    file.state = ListFile::State::NotReadableNow;
    file.why =
        QCoreApplication::translate("DecoderListStore", "het bestand kan niet worden gelezen (%1)")
            .arg(device.errorString());
    return file;
  }
  QJsonParseError parsed;
  const QJsonObject root = QJsonDocument::fromJson(bytes, &parsed).object();
  if (parsed.error != QJsonParseError::NoError) {
    file.why = QCoreApplication::translate("DecoderListStore",
                                           "de inhoud is geen leesbare lijst (fout bij teken %1)")
                   .arg(parsed.offset);
    return file;
  }
  const QJsonValue version = root.value(QStringLiteral("version"));
  const QJsonValue rows = root.value(QStringLiteral("decoders"));
  const QJsonValue history = root.value(QStringLiteral("history"));
  file.oldFormat = version.toDouble() == kOldFormatVersion;
  if (!version.isDouble() || !rows.isArray() || (file.oldFormat && !history.isArray())) {
    file.why = QCoreApplication::translate("DecoderListStore", "de inhoud is geen decoderlijst");
    return file;
  }
  if (!file.oldFormat && version.toDouble() != kFormatVersion) {
    file.why =
        QCoreApplication::translate("DecoderListStore",
                                    "het is versie %1 van de lijst; dit programma kent versie %2")
            .arg(version.toDouble())
            .arg(kFormatVersion);
    return file;
  }
  file.state = ListFile::State::Read;
  file.oldHistory = history.toArray();
  ReadRows(rows.toArray(), file);
  return file;
}

// What tells one version of the file from another without reading it: each save puts a new file
// in place (a new inode), and an edit in place changes its time or size.
QByteArray Stamp(const QString& fileName) {
  struct stat status {};
  if (::stat(QFile::encodeName(fileName).constData(), &status) != 0) return {};
  return QByteArray::number(qulonglong(status.st_dev)) + ':' +
         QByteArray::number(qulonglong(status.st_ino)) + ':' +
         QByteArray::number(qlonglong(status.st_size)) + ':' +
         QByteArray::number(qlonglong(status.st_mtim.tv_sec)) + '.' +
         QByteArray::number(qlonglong(status.st_mtim.tv_nsec));
}

QString WriteListFile(const QString& fileName, const std::vector<StoredRow>& rows) {
  QJsonArray values;
  for (const StoredRow& row : rows)
    values.append(row.row ? QJsonValue(DecoderListJson::FromRow(*row.row)) : row.asItStood);
  const QJsonObject root{{QStringLiteral("version"), kFormatVersion},
                         {QStringLiteral("decoders"), values}};
  return WriteWholeFile(fileName, QJsonDocument(root).toJson());
}

// Appends a version-1 file's history to the history file, every entry as it stood.
QString CarryOverHistory(const ListFile& file, DecoderHistoryFile& history) {
  QList<QByteArray> lines;
  for (const QJsonValue& run : file.oldHistory) lines.append(DecoderListJson::Compact(run));
  return history.Append(lines);
}

QString LockProblem(const QLockFile& lock) {
  switch (lock.error()) {
    case QLockFile::LockFailedError:
      return QCoreApplication::translate(
          "DecoderListStore", "een ander Sorvell-venster houdt de lijst al te lang vast");
    case QLockFile::PermissionError:
      return QCoreApplication::translate("DecoderListStore",
                                         "in de map mag niet worden geschreven");
    default:
      return QCoreApplication::translate("DecoderListStore",
                                         "de lijst kan niet worden vergrendeld");
  }
}

QString NotKeptThisTime(const QString& what, const QString& why, const QString& path) {
  return QCoreApplication::translate(
             "DecoderListStore",
             "%1: %2.\n"
             "Het bestand blijft zoals het is: %3\n"
             "Wijzigingen worden deze keer niet bewaard; bij de volgende start probeert Sorvell "
             "het "
             "opnieuw.")
      .arg(what, why, Native(path));
}

}  // namespace

DecoderListStore::DecoderListStore(QString folder)
    : folder_(std::move(folder)),
      fileName_(QDir(folder_).filePath(NumberedName(NewestFileNumber(folder_)))) {}

QString DecoderListStore::DefaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/Sorvell");
}

QString DecoderListStore::HistoryFileName() const {
  return fileName_.chopped(int(QStringLiteral(".json").size())) + QStringLiteral("-history.jsonl");
}

DecoderListStore::Loaded DecoderListStore::Load() {
  Loaded loaded;
  state_ = State::Keeping;
  base_.clear();
  baseEntries_.clear();
  baseStamp_.clear();
  knownRuns_ = 0;
  historyEnd_ = 0;
  // Without the lock (a folder of someone else's), the list is still read.
  QLockFile lock(fileName_ + QStringLiteral(".lock"));
  const bool locked = QFileInfo(folder_).isDir() && lock.tryLock(kLockWaitMs);
  const QByteArray stamp = Stamp(fileName_);
  ListFile file = ReadListFile(fileName_);
  if (file.state == ListFile::State::Damaged) {
    const QString damaged = fileName_;
    fileName_ = QDir(folder_).filePath(NumberedName(NewestFileNumber(folder_) + 1));
    loaded.problem = QCoreApplication::translate(
                         "DecoderListStore",
                         "De decoderlijst kan niet worden gelezen: %1.\n"
                         "Het bestand blijft zoals het is: %2\n"
                         "Sorvell begint met een lege lijst en bewaart die voortaan als %3.")
                         .arg(file.why, Native(damaged), Native(fileName_));
    return loaded;
  }
  if (file.state == ListFile::State::NotReadableNow) {
    state_ = State::NotKeeping;
    loaded.problem =
        NotKeptThisTime(QCoreApplication::translate("DecoderListStore",
                                                    "De decoderlijst kan nu niet worden gelezen"),
                        file.why, fileName_);
    return loaded;
  }

  DecoderHistoryFile history(HistoryFileName());
  QStringList notices;
  if (file.oldFormat) {
    const qint64 before = history.Size();
    QString why = locked ? CarryOverHistory(file, history) : LockProblem(lock);
    if (why.isEmpty()) why = WriteListFile(fileName_, file.rows);
    if (!why.isEmpty()) {
      history.TruncateTo(before);
      state_ = State::NotKeeping;
      notices.append(NotKeptThisTime(
          QCoreApplication::translate("DecoderListStore",
                                      "De decoderlijst kan niet in de nieuwe vorm worden bewaard"),
          why, fileName_));
    }
  }
  DecoderHistoryFile::Read runs = history.ReadFrom(0);
  if (!runs.error.isEmpty()) {
    state_ = State::NotKeeping;
    notices.append(
        NotKeptThisTime(QCoreApplication::translate("DecoderListStore",
                                                    "De geschiedenis kan nu niet worden gelezen"),
                        runs.error, history.FileName()));
  }
  if (state_ == State::NotKeeping && file.oldFormat) {
    // Not carried over: the runs are still the old file's own.
    for (const QJsonValue& value : file.oldHistory)
      if (DecoderListJson::RunRead run = DecoderListJson::ToRun(value); run.problem.isEmpty())
        runs.runs.push_back(std::move(run.run));
  }

  for (const StoredRow& row : file.rows)
    if (row.row) loaded.list.rows_.push_back(*row.row);
  // A version-1 file was written anew, and is read again at the first save.
  if (!file.oldFormat) {
    baseEntries_ = std::move(file.rows);
    baseStamp_ = stamp;
  }
  loaded.list.history_ = std::move(runs.runs);
  base_ = loaded.list.rows_;
  knownRuns_ = loaded.list.history_.size();
  historyEnd_ = runs.end;

  QStringList unread = file.problems;
  for (const QString& line : runs.problems) unread.append(line + u'.');
  if (!unread.isEmpty()) {
    const qsizetype more = unread.size() - kProblemsListed;
    if (more > 0) {
      unread.resize(kProblemsListed);
      unread.append(QCoreApplication::translate("DecoderListStore", "… en nog %1.").arg(more));
    }
    notices.append(QCoreApplication::translate(
                       "DecoderListStore",
                       "Niet alles in de decoderlijst kan worden gelezen; al het andere "
                       "is gelezen. Deze waarden blijven in %1 zoals ze stonden:\n")
                       .arg(Native(folder_)) +
                   unread.join(u'\n'));
  }
  loaded.problem = notices.join(QStringLiteral("\n\n"));
  return loaded;
}

bool DecoderListStore::Save(DecoderList& list, QString* why) {
  if (state_ == State::Unread) Load();
  if (state_ == State::NotKeeping) return true;
  const auto fail = [&](const QString& reason) {
    if (why)
      *why = QCoreApplication::translate("DecoderListStore",
                                         "De decoderlijst kan niet worden bewaard in %1: %2.")
                 .arg(Native(fileName_), reason);
    return false;
  };
  if (!QDir().mkpath(folder_))
    return fail(QCoreApplication::translate("DecoderListStore", "de map %1 kan niet worden gemaakt")
                    .arg(folder_));
  QLockFile lock(fileName_ + QStringLiteral(".lock"));
  if (!lock.tryLock(kLockWaitMs)) return fail(LockProblem(lock));

  // Unchanged since this store read or wrote it (no other window saved): nothing to read.
  ListFile file;
  if (const QByteArray stamp = Stamp(fileName_); !stamp.isEmpty() && stamp == baseStamp_) {
    file.state = ListFile::State::Read;
    file.rows = baseEntries_;
  } else {
    file = ReadListFile(fileName_);
  }
  if (file.state == ListFile::State::Damaged || file.state == ListFile::State::NotReadableNow)
    return fail(file.why +
                QCoreApplication::translate("DecoderListStore", "; het blijft zoals het is"));
  DecoderHistoryFile history(HistoryFileName());
  const qint64 before = history.Size();
  // A version-1 file put back since (a copy kept by the user): its runs join the history, where
  // this store reads them as another window's.
  const auto undoCarryOver = [&] {
    if (file.oldFormat) history.TruncateTo(before);
  };
  if (file.oldFormat)
    if (const QString failure = CarryOverHistory(file, history); !failure.isEmpty())
      return fail(failure);
  const DecoderHistoryFile::Read others = history.ReadFrom(historyEnd_);
  if (!others.error.isEmpty()) {
    undoCarryOver();
    return fail(others.error);
  }
  const std::size_t known = std::min(knownRuns_, list.history_.size());
  QList<QByteArray> lines;
  for (auto run = list.history_.begin() + std::ptrdiff_t(known); run != list.history_.end(); ++run)
    lines.append(DecoderListJson::Compact(DecoderListJson::FromRun(*run)));
  if (const QString failure = history.Append(lines); !failure.isEmpty()) {
    undoCarryOver();
    return fail(failure);
  }

  std::vector<StoredRow> merged = MergeRows(base_, list.rows_, std::move(file.rows));
  const QString written = WriteListFile(fileName_, merged);
  if (!written.isEmpty() && file.oldFormat) {
    undoCarryOver();
    return fail(written);
  }
  // This window's runs are in the history now, whether or not the rows could be written.
  list.history_.insert(list.history_.begin() + std::ptrdiff_t(known), others.runs.begin(),
                       others.runs.end());
  knownRuns_ = list.history_.size();
  historyEnd_ = history.Size();
  if (!written.isEmpty()) return fail(written);
  list.rows_.clear();
  for (const StoredRow& row : merged)
    if (row.row) list.rows_.push_back(*row.row);
  base_ = list.rows_;
  baseEntries_ = std::move(merged);
  baseStamp_ = Stamp(fileName_);
  return true;
}
