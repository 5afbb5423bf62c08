#include "window/DecoderListCsv.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <optional>

#include "platform/Language.h"
#include "window/DecoderModel.h"

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");
const QByteArray kUtf16LeByteOrderMark("\xFF\xFE");
const QByteArray kUtf16BeByteOrderMark("\xFE\xFF");

enum Column { kName, kFirstAddress, kTurnouts, kDecoderNumber, kModeA, kModeB, kLastResult };
// Written in the window's language; a file from a user of another language reads as well.
constexpr std::array<const char*, 7> kHeader{
    QT_TRANSLATE_NOOP("DecoderListCsv", "Naam"),
    QT_TRANSLATE_NOOP("DecoderListCsv", "Eerste wisseladres"),
    QT_TRANSLATE_NOOP("DecoderListCsv", "Wisselnummers"),
    QT_TRANSLATE_NOOP("DecoderListCsv", "Decoderadres"),
    QT_TRANSLATE_NOOP("DecoderListCsv", "Modus groep A"),
    QT_TRANSLATE_NOOP("DecoderListCsv", "Modus groep B"),
    QT_TRANSLATE_NOOP("DecoderListCsv", "Laatste resultaat"),
};
// What a row needs to be read back; the other columns only show what these imply.
constexpr std::array<Column, 4> kNeeded{kName, kFirstAddress, kModeA, kModeB};
// The separators spreadsheets write; the first is ours.
constexpr std::array<char16_t, 3> kSeparators{u';', u',', u'\t'};

QString Header(Column column) {
  return QCoreApplication::translate("DecoderListCsv", kHeader[column]);
}

// A spreadsheet evaluates a cell that starts with one of these as a formula. Such a text is
// written behind an apostrophe, as a spreadsheet's own "this is text" mark; an apostrophe of the
// text's own is doubled the same way, so that reading strips exactly one.
bool StartsAsFormula(const QString& text) {
  static const QString formulaStarts = QStringLiteral("=+-@\t\r'");
  return !text.isEmpty() && formulaStarts.contains(text.front());
}

QString ShownAsText(const QString& text) {
  return StartsAsFormula(text) ? u'\'' + text : text;
}

QString WithoutTextMark(const QString& cell) {
  return cell.startsWith(u'\'') && StartsAsFormula(cell.mid(1)) ? cell.mid(1) : cell;
}

// Besides the semicolon, a spreadsheet's import offers comma and tab as separators, ticked by
// default in some; a field holding one of them is quoted so that it stays one column there too.
QString Field(const QString& text) {
  static const QString special = QStringLiteral(";,\t\"\r\n");
  const QString shown = ShownAsText(text);
  if (std::none_of(shown.begin(), shown.end(), [](QChar c) { return special.contains(c); }))
    return shown;
  return u'"' + QString(shown).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The bytes 80 to 9F of Windows-1252; the rest of it is Latin-1. The five it leaves undefined
// stay the control characters they are in Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

QString FromWindows1252(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    text[i] = byte >= 0x80 && byte < 0xA0 ? QChar(kWindows1252High[byte - 0x80]) : QChar(byte);
  }
  return text;
}

// A Dutch spreadsheet on Windows saves "CSV (puntkomma)" in Windows-1252, without a mark; bytes
// that are not UTF-8 are read as that, so that é and ë stay what they were.
QString DecodedText(const QByteArray& bytes) {
  if (bytes.startsWith(kByteOrderMark)) return QString::fromUtf8(bytes.mid(kByteOrderMark.size()));
  for (const auto& [mark, encoding] : {std::pair{kUtf16LeByteOrderMark, QStringConverter::Utf16LE},
                                       std::pair{kUtf16BeByteOrderMark, QStringConverter::Utf16BE}})
    if (bytes.startsWith(mark)) {
      QStringDecoder decoder(encoding);
      return decoder(bytes.mid(mark.size()));
    }
  QStringDecoder utf8(QStringConverter::Utf8);
  QString text = utf8(bytes);
  return utf8.hasError() ? FromWindows1252(bytes) : text;
}

// One record of the file and the line it starts on; a quoted field may span lines.
struct Record {
  int line = 1;
  QStringList fields;
  // Its quotes do not pair up: nothing of it is taken.
  bool quotesBroken = false;
};

bool IsLineEnd(QChar c) {
  return c == u'\n' || c == u'\r';
}

// Reads records one at a time, so that a large file is never held twice as fields. A quote that
// does not close, or text after a closing quote, costs only the record it is in: reading goes on
// at the line after the one that record starts on.
class RecordReader {
 public:
  RecordReader(const QString& text, QChar separator, qsizetype from = 0, int line = 1)
      : text_(text), separator_(separator), at_(from), line_(line) {}

  // The next record that holds anything (a blank line holds no decoder); none at the end.
  std::optional<Record> Next() {
    while (at_ < text_.size() && IsLineEnd(text_[at_])) SkipLineEnd();
    if (at_ >= text_.size()) return std::nullopt;
    const qsizetype start = at_;
    Record record{line_, {}, false};
    while (true) {
      std::optional<QString> field = ReadField();
      if (!field) {
        Resume(start, record.line);
        return Record{record.line, {}, true};
      }
      record.fields.append(*field);
      if (at_ >= text_.size()) return record;
      if (text_[at_] != separator_) {
        SkipLineEnd();
        return record;
      }
      ++at_;
    }
  }

 private:
  // Up to the separator or the line end, which it leaves; none when the quotes do not pair up.
  std::optional<QString> ReadField() {
    QString field;
    if (at_ >= text_.size() || text_[at_] != u'"') {
      // A quote inside a field that does not start with one is part of the text, as the
      // spreadsheets read it: Sein 12" links.
      while (at_ < text_.size() && text_[at_] != separator_ && !IsLineEnd(text_[at_]))
        field += text_[at_++];
      return field;
    }
    ++at_;
    while (true) {
      if (at_ >= text_.size()) return std::nullopt;
      const QChar c = text_[at_++];
      if (c == u'"') {
        if (at_ < text_.size() && text_[at_] == u'"') {
          field += text_[at_++];
          continue;
        }
        break;
      }
      if (c == u'\n' || (c == u'\r' && (at_ >= text_.size() || text_[at_] != u'\n'))) ++line_;
      field += c;
    }
    while (at_ < text_.size() && text_[at_] == u' ' && separator_ != u' ') ++at_;
    if (at_ < text_.size() && text_[at_] != separator_ && !IsLineEnd(text_[at_]))
      return std::nullopt;
    return field;
  }

  // CRLF, LF or a lone CR.
  void SkipLineEnd() {
    if (text_[at_] == u'\r' && at_ + 1 < text_.size() && text_[at_ + 1] == u'\n') ++at_;
    ++at_;
    ++line_;
  }

  void Resume(qsizetype recordStart, int recordLine) {
    at_ = recordStart;
    line_ = recordLine;
    while (at_ < text_.size() && !IsLineEnd(text_[at_])) ++at_;
    if (at_ < text_.size()) SkipLineEnd();
  }

  const QString& text_;
  const QChar separator_;
  qsizetype at_;
  int line_;
};

// Where each column is in the header; -1 for one that is not there.
using ColumnPlaces = std::array<qsizetype, kHeader.size()>;

ColumnPlaces PlacesIn(const QStringList& header) {
  ColumnPlaces at;
  at.fill(-1);
  for (qsizetype i = 0; i < header.size(); ++i)
    for (size_t column = 0; column < kHeader.size(); ++column)
      for (const Language language : kLanguages)
        if (at[column] < 0 &&
            header[i].trimmed().compare(TextIn(language, "DecoderListCsv", kHeader[column]),
                                        Qt::CaseInsensitive) == 0)
          at[column] = i;
  return at;
}

// The separator under which the header names the most of our columns; a spreadsheet may also
// say it in a first line "sep=;".
struct Layout {
  QChar separator = kSeparators.front();
  qsizetype from = 0;
  int line = 1;
};
Layout LayoutOf(const QString& text) {
  Layout layout;
  const qsizetype firstLineEnd = text.indexOf(u'\n');
  QString firstLine = text.left(firstLineEnd);
  if (firstLine.endsWith(u'\r')) firstLine.chop(1);
  if (firstLine.size() == 5 && firstLine.startsWith(QStringLiteral("sep="), Qt::CaseInsensitive)) {
    return {firstLine[4], firstLineEnd < 0 ? text.size() : firstLineEnd + 1, 2};
  }
  long best = -1;
  for (const char16_t separator : kSeparators) {
    const std::optional<Record> header = RecordReader(text, separator).Next();
    if (!header) break;
    const ColumnPlaces at = PlacesIn(header->fields);
    const long found = std::ranges::count_if(at, [](qsizetype place) { return place >= 0; });
    if (found > best) {
      best = found;
      layout.separator = separator;
    }
  }
  return layout;
}

// A mode as its caption in any of the languages, or as its number for a hand-made file.
std::optional<int> ModeNumber(const QString& text) {
  const QString wanted = text.trimmed();
  for (const DecoderModel::Mode& mode : DecoderModel::kModes)
    for (const Language language : kLanguages)
      if (wanted.compare(TextIn(language, "DecoderModel", mode.caption), Qt::CaseInsensitive) == 0)
        return mode.number;
  bool isNumber = false;
  const int number = wanted.toInt(&isNumber);
  if (isNumber && !DecoderModel::ModeCaption(number).isEmpty()) return number;
  return std::nullopt;
}

// A row from its record, or what keeps it out.
std::optional<DecoderRow> RowOf(const Record& record, const ColumnPlaces& at,
                                int highestFirstAddress, QStringList& problems) {
  if (record.quotesBroken) {
    problems.append(QCoreApplication::translate("DecoderListCsv",
                                                "de aanhalingstekens in deze rij kloppen niet"));
    return std::nullopt;
  }
  const auto cell = [&](Column column) -> std::optional<QString> {
    if (at[column] < record.fields.size()) return record.fields[at[column]];
    problems.append(QCoreApplication::translate("DecoderListCsv", "kolom \"%1\" ontbreekt")
                        .arg(Header(column)));
    return std::nullopt;
  };
  DecoderRow row;
  row.name = WithoutTextMark(cell(kName).value_or(QString()));
  if (const std::optional<QString> address = cell(kFirstAddress)) {
    bool isNumber = false;
    row.firstAddress = address->trimmed().toInt(&isNumber);
    // Any first address the station reaches: the main window's own runs record others than 1,
    // 9, 17, … too, and the list keeps what was sent.
    if (!isNumber)
      problems.append(
          QCoreApplication::translate("DecoderListCsv", "eerste wisseladres \"%1\" is geen getal")
              .arg(*address));
    else if (row.firstAddress < DecoderModel::kMinAddress || row.firstAddress > highestFirstAddress)
      problems.append(QCoreApplication::translate(
                          "DecoderListCsv", "eerste wisseladres %1 ligt buiten %2 tot en met %3")
                          .arg(row.firstAddress)
                          .arg(DecoderModel::kMinAddress)
                          .arg(highestFirstAddress));
  }
  for (const auto& [column, mode, group] :
       {std::tuple{kModeA, &row.modeA, 'A'}, std::tuple{kModeB, &row.modeB, 'B'}}) {
    const std::optional<QString> text = cell(column);
    const std::optional<int> number = text ? ModeNumber(*text) : std::nullopt;
    if (number)
      *mode = *number;
    else if (text)
      problems.append(
          QCoreApplication::translate("DecoderListCsv", "onbekende modus \"%1\" in groep %2")
              .arg(*text)
              .arg(QChar(group)));
  }
  if (!problems.isEmpty()) return std::nullopt;
  return row;
}

}  // namespace

QByteArray WriteDecoderCsv(const DecoderList& list) {
  QStringList lines;
  QStringList header;
  for (std::size_t column = 0; column < kHeader.size(); ++column)
    header.append(Header(Column(column)));
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
  const QString text = DecodedText(bytes);
  const Layout layout = LayoutOf(text);
  RecordReader records(text, layout.separator, layout.from, layout.line);

  const std::optional<Record> header = records.Next();
  const ColumnPlaces at = PlacesIn(header ? header->fields : QStringList());
  QStringList missing;
  for (const Column column : kNeeded)
    if (at[column] < 0) missing.append(u'"' + Header(column) + u'"');
  if (!missing.isEmpty()) {
    read.refused = QCoreApplication::translate("DecoderListCsv",
                                               "Niets gelezen: de kopregel mist de kolom(men) %1.")
                       .arg(missing.join(", "));
    return read;
  }

  int count = 0;
  while (const std::optional<Record> record = records.Next()) {
    if (++count > kMostDecoderCsvRows) {
      read = {};
      read.refused = QCoreApplication::translate(
                         "DecoderListCsv",
                         "Niets gelezen: het bestand heeft meer dan %1 rijen, meer decoders dan "
                         "een baan kan hebben.")
                         .arg(WindowLocale().toString(kMostDecoderCsvRows));
      return read;
    }
    QStringList problems;
    if (std::optional<DecoderRow> row = RowOf(*record, at, highestFirstAddress, problems))
      read.rows.push_back(std::move(*row));
    else
      read.skipped.append(QCoreApplication::translate("DecoderListCsv", "Rij %1: %2.")
                              .arg(record->line)
                              .arg(problems.join("; ")));
  }
  return read;
}
