#include "window/DecoderList.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <algorithm>

namespace {

bool Holds(const std::vector<DecoderRow>& rows, int index) {
  return index >= 0 && index < int(rows.size());
}

}  // namespace

void DecoderList::Add(DecoderRow row) {
  // 64 random bits: windows that add rows at the same moment never pick the same id.
  if (row.id.isEmpty())
    row.id = QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
  rows_.push_back(std::move(row));
}

void DecoderList::Update(int index, DecoderRow row) {
  if (!Holds(rows_, index)) return;
  row.id = rows_[index].id;
  rows_[index] = std::move(row);
}

void DecoderList::Remove(int index) {
  if (Holds(rows_, index)) rows_.erase(rows_.begin() + index);
}

void DecoderList::Move(int from, int to) {
  if (!Holds(rows_, from) || !Holds(rows_, to)) return;
  const auto first = rows_.begin();
  if (from < to)
    std::rotate(first + from, first + from + 1, first + to + 1);
  else
    std::rotate(first + to, first + from, first + from + 1);
}

void DecoderList::Record(int index, const RunRecord& run) {
  if (!Holds(rows_, index)) return;
  rows_[index].lastRun = run;
  history_.push_back(run);
}

void DecoderList::RecordUnlisted(const RunRecord& run) {
  history_.push_back(run);
}

bool DecoderList::SharesFirstAddress(int index) const {
  if (!Holds(rows_, index)) return false;
  const int address = rows_[index].firstAddress;
  return std::count_if(rows_.begin(), rows_.end(),
                       [&](const DecoderRow& row) { return row.firstAddress == address; }) > 1;
}

QString LastRunText(const std::optional<RunRecord>& run) {
  if (!run) return QCoreApplication::translate("DecoderList", "nog niet");
  const QString when = run->when.toLocalTime().toString(QStringLiteral("dd-MM-yyyy HH:mm"));
  switch (run->result) {
    case RunRecord::Result::Programmed:
      return QCoreApplication::translate("DecoderList", "geprogrammeerd op %1 via %2")
          .arg(when, run->central);
    case RunRecord::Result::Unconfirmed:
      return QCoreApplication::translate("DecoderList", "niet bevestigd op %1 via %2")
          .arg(when, run->central);
    case RunRecord::Result::Failed:
      break;
  }
  return QCoreApplication::translate("DecoderList", "mislukt op %1: %2")
      .arg(when, run->stationSaid);
}
