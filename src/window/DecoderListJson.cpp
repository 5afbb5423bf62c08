#include "window/DecoderListJson.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <climits>
#include <iterator>

#include "window/DecoderModel.h"

namespace DecoderListJson {
namespace {

constexpr std::pair<RunRecord::Result, const char*> kResultNames[]{
    {RunRecord::Result::Programmed, "programmed"},
    {RunRecord::Result::Unconfirmed, "unconfirmed"},
    {RunRecord::Result::Failed, "failed"},
};

// Reads one row or run; the first value it does not accept becomes the problem.
class Reader {
 public:
  QString problem;
  // Before a field's name in the problem: the run inside a row names its fields "lastRun.…".
  QString fieldPrefix;

  QJsonObject Object(const QJsonValue& value) {
    if (!value.isObject()) Fail(QCoreApplication::translate("DecoderListJson", "is onleesbaar"));
    return value.toObject();
  }
  QString Text(const QJsonObject& json, const char* field) {
    const QJsonValue value = json.value(QLatin1String(field));
    if (!value.isString()) Invalid(field);
    return value.toString();
  }
  int Whole(const QJsonObject& json, const char* field) {
    const QJsonValue value = json.value(QLatin1String(field));
    const double number = value.toDouble();
    const bool whole =
        value.isDouble() && number >= INT_MIN && number <= INT_MAX && number == double(int(number));
    if (!whole) Invalid(field);
    return whole ? int(number) : 0;
  }
  // Any first address a run can go out with, not only the ones a decoder starts at: the field
  // of the main window takes every one, and the record keeps what the decoder was sent.
  int Address(const QJsonObject& json) {
    const int address = Whole(json, "firstAddress");
    if (address < DecoderModel::kMinAddress || address > DecoderModel::kMaxAddress)
      Invalid("firstAddress");
    return address;
  }
  int Mode(const QJsonObject& json, const char* field) {
    const int mode = Whole(json, field);
    if (DecoderModel::ModeCaption(mode).isEmpty()) Invalid(field);
    return mode;
  }
  RunRecord Run(const QJsonValue& value) {
    const QJsonObject json = Object(value);
    RunRecord run;
    // An empty time is what a run of no known time is written as.
    const QString when = Text(json, "when");
    run.when = QDateTime::fromString(when, Qt::ISODateWithMs);
    if (!run.when.isValid() && !when.isEmpty()) Invalid("when");
    run.decoderName = Text(json, "decoder");
    run.firstAddress = Address(json);
    run.modeA = Mode(json, "modeA");
    run.modeB = Mode(json, "modeB");
    run.central = Text(json, "central");
    const QString result = Text(json, "result");
    const auto known = std::find_if(std::begin(kResultNames), std::end(kResultNames),
                                    [&](const auto& entry) { return result == entry.second; });
    if (known == std::end(kResultNames))
      Invalid("result");
    else
      run.result = known->first;
    run.stationSaid = Text(json, "stationSaid");
    return run;
  }

  void Invalid(const char* field) {
    Fail(QCoreApplication::translate("DecoderListJson", "heeft een ongeldige waarde bij \"%1%2\"")
             .arg(fieldPrefix, QLatin1String(field)));
  }

 private:
  void Fail(const QString& why) {
    if (problem.isEmpty()) problem = why;
  }
};

}  // namespace

QJsonObject FromRun(const RunRecord& run) {
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

QJsonObject FromRow(const DecoderRow& row) {
  QJsonObject json;
  if (!row.id.isEmpty()) json[QStringLiteral("id")] = row.id;
  json[QStringLiteral("name")] = row.name;
  json[QStringLiteral("firstAddress")] = row.firstAddress;
  json[QStringLiteral("modeA")] = row.modeA;
  json[QStringLiteral("modeB")] = row.modeB;
  if (row.lastRun) json[QStringLiteral("lastRun")] = FromRun(*row.lastRun);
  return json;
}

RunRead ToRun(const QJsonValue& value) {
  Reader reader;
  RunRead read{reader.Run(value), {}};
  read.problem = reader.problem;
  return read;
}

RowRead ToRow(const QJsonValue& value) {
  Reader reader;
  const QJsonObject json = reader.Object(value);
  RowRead read;
  if (json.contains(QStringLiteral("id"))) read.row.id = reader.Text(json, "id");
  read.row.name = reader.Text(json, "name");
  read.row.firstAddress = reader.Address(json);
  read.row.modeA = reader.Mode(json, "modeA");
  read.row.modeB = reader.Mode(json, "modeB");
  if (const QJsonValue lastRun = json.value(QStringLiteral("lastRun")); lastRun.isObject()) {
    reader.fieldPrefix = QStringLiteral("lastRun.");
    read.row.lastRun = reader.Run(lastRun);
  } else if (!lastRun.isUndefined()) {
    reader.Invalid("lastRun");
  }
  read.problem = reader.problem;
  return read;
}

QByteArray Compact(const QJsonValue& value) {
  if (value.isObject()) return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
  // A document holds only objects and arrays: a lone value goes out as the one item of an array.
  const QByteArray inArray = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  return inArray.mid(1, inArray.size() - 2);
}

}  // namespace DecoderListJson
