// The decoder list as a spreadsheet file. Written with semicolons between the fields and UTF-8
// with a byte order mark, so that a Dutch spreadsheet opens it directly with one column per field,
// and a header row. Read as spreadsheets and people write it: semicolons, commas or tabs between
// the fields, UTF-8 with or without a byte order mark, UTF-16 with one, or Windows-1252.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <vector>

#include "window/DecoderList.h"

// A file larger than this, or with more rows, is far beyond any layout's list: it is refused
// before it is read into memory or before its rows are taken.
inline constexpr qint64 kMostDecoderCsvBytes = 10 * 1024 * 1024;
inline constexpr int kMostDecoderCsvRows = 10000;

QByteArray WriteDecoderCsv(const DecoderList& list);

struct DecoderCsvRead {
  std::vector<DecoderRow> rows;
  // One line per row that was not taken, in the window's language: its row number and why (a
  // missing column, an unknown mode, an address out of range, a quote that does not close).
  QStringList skipped;
  // Not empty when the file as a whole was not read: in the window's language, why (a header
  // without the needed columns, too many rows).
  QString refused;
};
// highestFirstAddress: rows above it are skipped as out of range.
DecoderCsvRead ReadDecoderCsv(const QByteArray& bytes, int highestFirstAddress);
