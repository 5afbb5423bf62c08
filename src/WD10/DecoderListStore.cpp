#include "WD10/DecoderListStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <climits>
#include <iterator>

#include "WD10/DecoderModel.h"
#include "platform/WriteWholeFile.h"

namespace {

constexpr int kFormatVersion = 1;

constexpr std::pair<RunRecord::Result, const char*> kResultNames[]{
    {RunRecord::Result::Programmed, "programmed"},
    {RunRecord::Result::Unconfirmed, "unconfirmed"},
    {RunRecord::Result::Failed, "failed"},
};

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

QJsonObject RunToJson(const RunRecord& run) {
  QJsonObject json;
  // With the offset, so that a time read on another machine or after a change of clocks still
  // names the same moment.
  json[QStringLiteral("when")] =
      run.when.toOffsetFromUtc(run.when.offsetFromUtc()).toString(Qt::ISODateWithMs);
  json[QStringLiteral("decoder")] = run.decoderName;
  json[QStringLiteral("firstAddress")] = run.firstAddress;
  json[QStringLiteral("modeA")] = run.modeA;
  json[QStringLiteral("modeB")] = run.modeB;
  json[QStringLiteral("central")] = run.central;
  for (const auto& [result, name] : kResultNames)
    if (result == run.result) json[QStringLiteral("result")] = QString::fromLatin1(name);
  json[QStringLiteral("stationSaid")] = run.stationSaid;
  return json;
}

QJsonObject RowToJson(const DecoderRow& row) {
  QJsonObject json;
  json[QStringLiteral("name")] = row.name;
  json[QStringLiteral("firstAddress")] = row.firstAddress;
  json[QStringLiteral("modeA")] = row.modeA;
  json[QStringLiteral("modeB")] = row.modeB;
  if (row.lastRun) json[QStringLiteral("lastRun")] = RunToJson(*row.lastRun);
  return json;
}

// Reads what Save wrote. The first value that is not what a saved list holds makes the file
// damaged; problem then holds the Dutch words for the user's box.
class Reader {
 public:
  QString problem;

  bool Read(const QJsonDocument& document, std::vector<DecoderRow>& rows,
            std::vector<RunRecord>& history) {
    const QJsonObject root = document.object();
    const QJsonValue version = root.value(QStringLiteral("version"));
    const QJsonValue rowValues = root.value(QStringLiteral("decoders"));
    const QJsonValue runValues = root.value(QStringLiteral("history"));
    if (!version.isDouble() || !rowValues.isArray() || !runValues.isArray()) {
      problem = QStringLiteral("de inhoud is geen decoderlijst");
      return false;
    }
    if (version.toDouble() != kFormatVersion) {
      problem = QStringLiteral("het is versie %1 van de lijst; dit programma kent versie %2")
                    .arg(version.toDouble())
                    .arg(kFormatVersion);
      return false;
    }
    for (const QJsonValue& value : rowValues.toArray()) {
      where_ = QStringLiteral("decoder %1").arg(rows.size() + 1);
      rows.push_back(Row(value));
    }
    for (const QJsonValue& value : runValues.toArray()) {
      where_ = QStringLiteral("regel %1 van de geschiedenis").arg(history.size() + 1);
      history.push_back(Run(value));
    }
    return problem.isEmpty();
  }

 private:
  void Fail(const QString& why) {
    if (problem.isEmpty()) problem = why;
  }
  void Invalid(const QString& field) {
    Fail(QStringLiteral("%1 heeft een ongeldige waarde bij \"%2\"").arg(where_, field));
  }

  QJsonObject Object(const QJsonValue& value) {
    if (!value.isObject()) Fail(where_ + QStringLiteral(" is onleesbaar"));
    return value.toObject();
  }
  QString Text(const QJsonObject& json, const char* field) {
    const QJsonValue value = json.value(QLatin1String(field));
    if (!value.isString()) Invalid(QLatin1String(field));
    return value.toString();
  }
  int Whole(const QJsonObject& json, const char* field) {
    const QJsonValue value = json.value(QLatin1String(field));
    const double number = value.toDouble();
    const bool whole =
        value.isDouble() && number >= INT_MIN && number <= INT_MAX && number == double(int(number));
    if (!whole) Invalid(QLatin1String(field));
    return whole ? int(number) : 0;
  }
  int Address(const QJsonObject& json) {
    const int address = Whole(json, "firstAddress");
    if (address < DecoderModel::kMinAddress || address > DecoderModel::kMaxAddress ||
        (address - DecoderModel::kMinAddress) % DecoderModel::kAddressStep != 0)
      Invalid(QStringLiteral("firstAddress"));
    return address;
  }
  int Mode(const QJsonObject& json, const char* field) {
    const int mode = Whole(json, field);
    if (DecoderModel::ModeCaption(mode).isEmpty()) Invalid(QLatin1String(field));
    return mode;
  }

  DecoderRow Row(const QJsonValue& value) {
    const QJsonObject json = Object(value);
    DecoderRow row;
    row.name = Text(json, "name");
    row.firstAddress = Address(json);
    row.modeA = Mode(json, "modeA");
    row.modeB = Mode(json, "modeB");
    if (json.contains(QStringLiteral("lastRun"))) row.lastRun = Run(json.value("lastRun"));
    return row;
  }

  RunRecord Run(const QJsonValue& value) {
    const QJsonObject json = Object(value);
    RunRecord run;
    run.when = QDateTime::fromString(Text(json, "when"), Qt::ISODateWithMs);
    if (!run.when.isValid()) Invalid(QStringLiteral("when"));
    run.decoderName = Text(json, "decoder");
    run.firstAddress = Address(json);
    run.modeA = Mode(json, "modeA");
    run.modeB = Mode(json, "modeB");
    run.central = Text(json, "central");
    const QString result = Text(json, "result");
    const auto known = std::find_if(std::begin(kResultNames), std::end(kResultNames),
                                    [&](const auto& entry) { return result == entry.second; });
    if (known == std::end(kResultNames))
      Invalid(QStringLiteral("result"));
    else
      run.result = known->first;
    run.stationSaid = Text(json, "stationSaid");
    return run;
  }

  QString where_;
};

}  // namespace

DecoderListStore::DecoderListStore(QString folder)
    : folder_(std::move(folder)),
      fileName_(QDir(folder_).filePath(NumberedName(NewestFileNumber(folder_)))) {}

QString DecoderListStore::DefaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/Sorvell");
}

DecoderListStore::Loaded DecoderListStore::Load() {
  Loaded loaded;
  checked_ = true;
  const QFileInfo info(fileName_);
  if (!info.exists()) return loaded;
  QString why;
  QFile file(fileName_);
  if (info.isDir()) {
    why = QStringLiteral("op die plaats staat een map");
  } else if (!file.open(QIODevice::ReadOnly)) {
    why = QStringLiteral("het bestand kan niet worden geopend (%1)").arg(file.errorString());
  } else {
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parsed);
    Reader reader;
    if (parsed.error != QJsonParseError::NoError)
      why =
          QStringLiteral("de inhoud is geen leesbare lijst (fout bij teken %1)").arg(parsed.offset);
    else if (!reader.Read(document, loaded.list.rows_, loaded.list.history_))
      why = reader.problem;
  }
  if (why.isEmpty()) return loaded;

  const QString damaged = fileName_;
  fileName_ = QDir(folder_).filePath(NumberedName(NewestFileNumber(folder_) + 1));
  loaded.list = DecoderList();
  loaded.problem =
      QStringLiteral(
          "De decoderlijst kan niet worden gelezen: %1.\n"
          "Het bestand blijft zoals het is: %2\n"
          "Sorvell begint met een lege lijst en bewaart die voortaan als %3.")
          .arg(why, QDir::toNativeSeparators(damaged), QDir::toNativeSeparators(fileName_));
  return loaded;
}

bool DecoderListStore::Save(const DecoderList& list, QString* why) {
  if (!checked_) Load();
  QJsonArray rows;
  for (const DecoderRow& row : list.Rows()) rows.append(RowToJson(row));
  QJsonArray history;
  for (const RunRecord& run : list.History()) history.append(RunToJson(run));
  const QJsonObject root{{QStringLiteral("version"), kFormatVersion},
                         {QStringLiteral("decoders"), rows},
                         {QStringLiteral("history"), history}};

  const QByteArray bytes = QJsonDocument(root).toJson();
  const QString failure = QDir().mkpath(folder_)
                              ? WriteWholeFile(fileName_, bytes)
                              : QStringLiteral("de map %1 kan niet worden gemaakt").arg(folder_);
  if (failure.isEmpty()) return true;
  if (why)
    *why = QStringLiteral("De decoderlijst kan niet worden bewaard in %1: %2.")
               .arg(QDir::toNativeSeparators(fileName_), failure);
  return false;
}
