#include "window/DecoderListMerge.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <utility>

namespace {

// The ids of rows that base and mine both hold, in the order of rows.
QStringList SharedOrder(const std::vector<DecoderRow>& rows, const QHash<QString, int>& other) {
  QStringList ids;
  for (const DecoderRow& row : rows)
    if (other.contains(row.id)) ids.append(row.id);
  return ids;
}

QHash<QString, int> Positions(const std::vector<DecoderRow>& rows) {
  QHash<QString, int> positions;
  positions.reserve(qsizetype(rows.size()));
  for (int i = 0; i < int(rows.size()); ++i) positions.insert(rows[std::size_t(i)].id, i);
  return positions;
}

}  // namespace

std::vector<StoredRow> MergeRows(const std::vector<DecoderRow>& base,
                                 const std::vector<DecoderRow>& mine,
                                 std::vector<StoredRow> theirs) {
  const QHash<QString, int> inBase = Positions(base);
  const QHash<QString, int> inMine = Positions(mine);
  const auto editedHere = [&](const DecoderRow& row) {
    const auto before = inBase.find(row.id);
    return before == inBase.end() || base[std::size_t(*before)] != row;
  };

  std::vector<StoredRow> kept;
  kept.reserve(theirs.size() + mine.size());
  QSet<QString> inFile;
  for (StoredRow& entry : theirs) {
    if (!entry.row) {
      kept.push_back(std::move(entry));
      continue;
    }
    const QString id = entry.row->id;
    inFile.insert(id);
    const auto here = inMine.find(id);
    if (here == inMine.end()) {
      if (!inBase.contains(id)) kept.push_back(std::move(entry));
      continue;
    }
    const DecoderRow& mineRow = mine[std::size_t(*here)];
    if (editedHere(mineRow)) entry.row = mineRow;
    kept.push_back(std::move(entry));
  }

  // This window's rows the file does not hold, each group before the row that follows it here.
  QHash<QString, std::vector<DecoderRow>> before;
  std::vector<DecoderRow> pending;
  for (const DecoderRow& row : mine) {
    if (inFile.contains(row.id)) {
      if (!pending.empty()) before.insert(row.id, std::exchange(pending, {}));
    } else if (!inBase.contains(row.id) || editedHere(row)) {
      pending.push_back(row);
    }
  }
  std::vector<StoredRow> merged;
  merged.reserve(kept.size() + mine.size());
  for (StoredRow& entry : kept) {
    if (entry.row)
      for (DecoderRow& row : before.take(entry.row->id)) merged.push_back({std::move(row), {}});
    merged.push_back(std::move(entry));
  }
  for (DecoderRow& row : pending) merged.push_back({std::move(row), {}});

  if (SharedOrder(base, inMine) == SharedOrder(mine, inBase)) return merged;
  // This window moved rows: its rows take its order in the places they hold.
  QHash<QString, int> slotOf;
  for (int i = 0; i < int(merged.size()); ++i)
    if (merged[std::size_t(i)].row && inMine.contains(merged[std::size_t(i)].row->id))
      slotOf.insert(merged[std::size_t(i)].row->id, i);
  std::vector<int> places;
  std::vector<DecoderRow> rows;
  for (const DecoderRow& row : mine) {
    if (const auto slot = slotOf.find(row.id); slot != slotOf.end()) {
      places.push_back(*slot);
      rows.push_back(*merged[std::size_t(*slot)].row);
    }
  }
  std::sort(places.begin(), places.end());
  for (std::size_t i = 0; i < places.size(); ++i) merged[std::size_t(places[i])].row = rows[i];
  return merged;
}
