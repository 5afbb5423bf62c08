#include "WD10/DecoderListCsv.h"

#include <algorithm>
#include <array>
#include <optional>

#include "WD10/DecoderModel.h"

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

enum Column { kName, kFirstAddress, kTurnouts, kDecoderNumber, kModeA, kModeB, kLastResult };
constexpr std::array<const char*, 7> kHeader{
    "Naam",          "Eerste wisseladres", "Wisselnummers",     "Decoderadres",
    "Modus groep A", "Modus groep B",      "Laatste resultaat",
};
// What a row needs to be read back; the other columns only show what these imply.
constexpr std::array<Column, 4> kNeeded{kName, kFirstAddress, kModeA, kModeB};

QString Header(Column column) {
  return QString::fromUtf8(kHeader[column]);
}

// Besides the semicolon, a spreadsheet's import offers comma and tab as separators, ticked by
// default in some; a field holding one of them is quoted so that it stays one column there too.
QString Field(const QString& text) {
  static const QString special = QStringLiteral(";,\t\"\r\n");
  if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
    return text;
  return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// One record of the file and the line it starts on; a quoted field may span lines.
struct Record {
  int line;
  QStringList fields;
};

// Line ends may be CRLF or LF (or a lone CR); inside a quoted field they count as LF.
std::vector<Record> Records(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  std::vector<Record> records;
  const QStringList empty{QString()};
  Record record{1, empty};
  int line = 1;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\n') ++line;
    if (quoted) {
      if (c != u'"')
        record.fields.back() += c;
      else if (i + 1 < text.size() && text[i + 1] == u'"')
        record.fields.back() += text[++i];
      else
        quoted = false;
    } else if (c == u'"') {
      quoted = true;
    } else if (c == u';') {
      record.fields.append(QString());
    } else if (c == u'\n') {
      // An empty line holds no decoder; a spreadsheet often leaves one at the end.
      if (record.fields != empty) records.push_back(record);
      record = {line, empty};
    } else {
      record.fields.back() += c;
    }
  }
  if (record.fields != empty) records.push_back(record);
  return records;
}

// A mode as its caption, or as its number for a hand-made file.
std::optional<int> ModeNumber(const QString& text) {
  const QString wanted = text.trimmed();
  for (const DecoderModel::Mode& mode : DecoderModel::kModes)
    if (wanted.compare(QString::fromUtf8(mode.caption), Qt::CaseInsensitive) == 0)
      return mode.number;
  bool isNumber = false;
  const int number = wanted.toInt(&isNumber);
  if (isNumber && !DecoderModel::ModeCaption(number).isEmpty()) return number;
  return std::nullopt;
}

}  // namespace

QByteArray WriteDecoderCsv(const DecoderList& list) {
  QStringList lines;
  QStringList header;
  for (const char* name : kHeader) header.append(QString::fromUtf8(name));
  lines.append(header.join(u';'));
  for (const DecoderRow& row : list.Rows()) {
    const int last = row.firstAddress + DecoderModel::kAddressStep - 1;
    lines.append(QStringList{Field(row.name), QString::number(row.firstAddress),
                             QStringLiteral("%1–%2").arg(row.firstAddress).arg(last),
                             QString::number(DecoderModel::DecoderNumber(row.firstAddress)),
                             Field(DecoderModel::ModeCaption(row.modeA)),
                             Field(DecoderModel::ModeCaption(row.modeB)),
                             Field(LastRunText(row.lastRun))}
                     .join(u';'));
  }
  return kByteOrderMark + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

// The last result is written for people to read, and a row read back has no last run: the
// list's own file keeps the runs, a spreadsheet does not.
DecoderCsvRead ReadDecoderCsv(const QByteArray& bytes, int highestFirstAddress) {
  DecoderCsvRead read;
  const QByteArray body = bytes.startsWith(kByteOrderMark) ? bytes.mid(3) : bytes;
  const std::vector<Record> records = Records(QString::fromUtf8(body));

  std::array<qsizetype, kHeader.size()> at;
  at.fill(-1);
  const QStringList header = records.empty() ? QStringList() : records.front().fields;
  for (qsizetype i = 0; i < header.size(); ++i)
    for (size_t column = 0; column < kHeader.size(); ++column)
      if (at[column] < 0 &&
          header[i].trimmed().compare(Header(Column(column)), Qt::CaseInsensitive) == 0)
        at[column] = i;
  QStringList missing;
  for (const Column column : kNeeded)
    if (at[column] < 0) missing.append(u'"' + Header(column) + u'"');
  if (!missing.isEmpty()) {
    read.skipped.append(QStringLiteral("Niets gelezen: de kopregel mist de kolom(men) %1.")
                            .arg(missing.join(", ")));
    return read;
  }

  for (size_t r = 1; r < records.size(); ++r) {
    const Record& record = records[r];
    QStringList problems;
    const auto cell = [&](Column column) -> std::optional<QString> {
      if (at[column] < record.fields.size()) return record.fields[at[column]];
      problems.append(QStringLiteral("kolom \"%1\" ontbreekt").arg(Header(column)));
      return std::nullopt;
    };
    DecoderRow row;
    row.name = cell(kName).value_or(QString());
    if (const std::optional<QString> address = cell(kFirstAddress)) {
      bool isNumber = false;
      row.firstAddress = address->trimmed().toInt(&isNumber);
      if (!isNumber)
        problems.append(QStringLiteral("eerste wisseladres \"%1\" is geen getal").arg(*address));
      else if (row.firstAddress < DecoderModel::kMinAddress ||
               row.firstAddress > highestFirstAddress)
        problems.append(QStringLiteral("eerste wisseladres %1 ligt buiten %2 tot en met %3")
                            .arg(row.firstAddress)
                            .arg(DecoderModel::kMinAddress)
                            .arg(highestFirstAddress));
      else if ((row.firstAddress - DecoderModel::kMinAddress) % DecoderModel::kAddressStep != 0)
        problems.append(
            QStringLiteral(
                "eerste wisseladres %1 is geen eerste adres van een decoder (1, 9, 17, …)")
                .arg(row.firstAddress));
    }
    for (const auto& [column, mode, group] :
         {std::tuple{kModeA, &row.modeA, 'A'}, std::tuple{kModeB, &row.modeB, 'B'}}) {
      const std::optional<QString> text = cell(column);
      const std::optional<int> number = text ? ModeNumber(*text) : std::nullopt;
      if (number)
        *mode = *number;
      else if (text)
        problems.append(
            QStringLiteral("onbekende modus \"%1\" in groep %2").arg(*text).arg(QChar(group)));
    }
    if (problems.isEmpty())
      read.rows.push_back(row);
    else
      read.skipped.append(QStringLiteral("Rij %1: %2.").arg(record.line).arg(problems.join("; ")));
  }
  return read;
}
