// The decoder list as a spreadsheet file: semicolons between the fields and UTF-8 with a byte
// order mark, so that a Dutch spreadsheet opens it directly with one column per field, and a
// header row.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <vector>

#include "WD10/DecoderList.h"

QByteArray WriteDecoderCsv(const DecoderList& list);

struct DecoderCsvRead {
  std::vector<DecoderRow> rows;
  // One line per row that was skipped, in Dutch: its row number and why (a missing column, an
  // unknown mode, an address out of range).
  QStringList skipped;
};
// highestFirstAddress: rows above it are skipped as out of range.
DecoderCsvRead ReadDecoderCsv(const QByteArray& bytes, int highestFirstAddress);
