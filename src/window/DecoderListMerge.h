// Two windows on one decoder list: what this window changed since it last read or wrote the file
// (its base) is laid onto what the file holds now, so that the other window's changes stay.
// Rows are told apart by their id, wherever they stand:
// - a row this window removed goes, unless it is gone already;
// - a row this window edited is this window's, even where the other one edited it too (the later
//   save is the later edit);
// - a row this window added comes in before the row that follows it here, or at the end;
// - a row the other window removed stays removed, unless this window edited it since;
// - everything else is the file's, and so is the order, unless this window moved rows: then its
//   rows take its order, in the places they hold.
// A value of the file that did not read stays where it stood.
#pragma once

#include <QJsonValue>
#include <optional>
#include <vector>

#include "window/DecoderList.h"

// One entry of the file's list of rows: a row, or a value that did not read, kept as it stood.
struct StoredRow {
  std::optional<DecoderRow> row;
  QJsonValue asItStood;
};

std::vector<StoredRow> MergeRows(const std::vector<DecoderRow>& base,
                                 const std::vector<DecoderRow>& mine,
                                 std::vector<StoredRow> theirs);
