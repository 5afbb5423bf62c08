#include "window/DecoderListModel.h"

#include <QBrush>
#include <QColor>
#include <QCoreApplication>
#include <algorithm>
#include <tuple>

#include "window/DecoderModel.h"

namespace {

constexpr int kTurnoutsPerDecoder = 2 * DecoderModel::kGroupBOffset;

}  // namespace

DecoderListModel::DecoderListModel(DecoderList& list, std::function<int()> highestFirstAddress,
                                   std::function<void()> edited, QObject* parent)
    : QAbstractTableModel(parent),
      list_(list),
      highestFirstAddress_(std::move(highestFirstAddress)),
      edited_(std::move(edited)) {}

int DecoderListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(list_.Rows().size());
}

int DecoderListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

bool DecoderListModel::SharesFirstAddress(int row) const {
  if (!counted_) {
    rowsAtAddress_.clear();
    for (const DecoderRow& each : list_.Rows()) ++rowsAtAddress_[each.firstAddress];
    counted_ = true;
  }
  return rowsAtAddress_.value(list_.Rows()[std::size_t(row)].firstAddress) > 1;
}

QString DecoderListModel::AddressWarning(int row) const {
  const int first = list_.Rows()[std::size_t(row)].firstAddress;
  QStringList warnings;
  if (SharesFirstAddress(row))
    warnings << QCoreApplication::translate(
        "DecoderListModel", "Een andere decoder in de lijst heeft hetzelfde eerste adres.");
  if (first > HighestFirstAddress())
    warnings << QCoreApplication::translate(
                    "DecoderListModel",
                    "De gekozen Centrale kan dit adres niet bereiken; het hoogste "
                    "eerste adres is %1.")
                    .arg(HighestFirstAddress());
  return warnings.join(u'\n');
}

QString DecoderListModel::AddressText(int row) const {
  const int first = list_.Rows()[std::size_t(row)].firstAddress;
  QString text = QCoreApplication::translate("DecoderListModel", "%1–%2 (decoder %3)")
                     .arg(first)
                     .arg(first + kTurnoutsPerDecoder - 1)
                     .arg(DecoderModel::DecoderNumber(first));
  if (SharesFirstAddress(row)) text += QCoreApplication::translate("DecoderListModel", " (dubbel)");
  if (first > HighestFirstAddress())
    text += QCoreApplication::translate("DecoderListModel", " (onbereikbaar)");
  return text;
}

QVariant DecoderListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const DecoderRow& row = list_.Rows()[std::size_t(index.row())];
  const int column = index.column();
  if (role == Qt::EditRole) {
    switch (column) {
      case kName:
        return row.name;
      case kAddress:
        return row.firstAddress;
      case kModeA:
        return row.modeA;
      case kModeB:
        return row.modeB;
      default:
        return {};
    }
  }
  if (role == Qt::DisplayRole) {
    switch (column) {
      case kName:
        return row.name;
      case kAddress:
        return AddressText(index.row());
      case kModeA:
        return DecoderModel::ModeCaption(row.modeA);
      case kModeB:
        return DecoderModel::ModeCaption(row.modeB);
      default:
        return LastRunText(row.lastRun);
    }
  }
  const bool warned = column == kAddress && !AddressWarning(index.row()).isEmpty();
  if (role == Qt::ToolTipRole && warned) return AddressWarning(index.row());
  if (role == Qt::ToolTipRole && column == kLastRun) return LastRunText(row.lastRun);
  if (role == Qt::BackgroundRole && warned) return QBrush(QColor(255, 214, 204));
  if (role == Qt::ForegroundRole && warned) return QBrush(QColor(140, 0, 0));
  if (role == Qt::ForegroundRole && column == kLastRun && row.lastRun &&
      row.lastRun->result == RunRecord::Result::Failed)
    return QBrush(QColor(140, 0, 0));
  return {};
}

bool DecoderListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  DecoderRow row = list_.Rows()[std::size_t(index.row())];
  switch (index.column()) {
    case kName:
      row.name = value.toString().trimmed();
      break;
    case kAddress:
      row.firstAddress = value.toInt();
      break;
    case kModeA:
      row.modeA = value.toInt();
      break;
    case kModeB:
      row.modeB = value.toInt();
      break;
    default:
      return false;
  }
  const DecoderRow& before = list_.Rows()[std::size_t(index.row())];
  if (std::tie(row.name, row.firstAddress, row.modeA, row.modeB) ==
      std::tie(before.name, before.firstAddress, before.modeA, before.modeB))
    return true;
  // The decoder learnt the address and modes of its last run; other ones are not yet in it.
  if (std::tie(row.firstAddress, row.modeA, row.modeB) !=
      std::tie(before.firstAddress, before.modeA, before.modeB))
    row.lastRun.reset();
  const int addressBefore = before.firstAddress;
  const int addressAfter = row.firstAddress;
  list_.Update(index.row(), std::move(row));
  counted_ = false;
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), kColumns - 1));
  if (addressAfter != addressBefore) ShowAddressChange(index.row(), addressBefore, addressAfter);
  edited_();
  return true;
}

void DecoderListModel::ShowAddressChange(int row, int before, int after) {
  // Another row's "(dubbel)" comes or goes with the address it shares.
  int first = row;
  int last = row;
  for (int other = 0; other < rowCount(); ++other) {
    const int address = list_.Rows()[std::size_t(other)].firstAddress;
    if (address == before || address == after) {
      first = std::min(first, other);
      last = std::max(last, other);
    }
  }
  emit dataChanged(index(first, kAddress), index(last, kAddress));
}

Qt::ItemFlags DecoderListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() != kLastRun) flags |= Qt::ItemIsEditable;
  return flags;
}

QVariant DecoderListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  static const char* const captions[kColumns] = {
      QT_TR_NOOP("Naam"), QT_TR_NOOP("Eerste wisseladres"), QT_TR_NOOP("Groep A"),
      QT_TR_NOOP("Groep B"), QT_TR_NOOP("Laatste resultaat")};
  return tr(captions[section]);
}

void DecoderListModel::Refresh() {
  beginResetModel();
  counted_ = false;
  endResetModel();
}

void DecoderListModel::ShowChanges() {
  counted_ = false;
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}
