// The decoder list as the list window's table shows it: one row per decoder, its name, its
// addresses, the modes of its two groups and what its last run came to. A shared first address
// and one the chosen station cannot reach are marked in words as well as in colour, so that a
// screen reader tells them too.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <functional>

#include "window/DecoderList.h"

class DecoderListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kName, kAddress, kModeA, kModeB, kLastRun, kColumns };

  // highestFirstAddress: the last first address the chosen station reaches. edited: a row was
  // changed in place.
  DecoderListModel(DecoderList& list, std::function<int()> highestFirstAddress,
                   std::function<void()> edited, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Rows were added, removed, moved or replaced underneath.
  void Refresh();
  // What the rows show changed, not how many there are: a run was recorded, another station was
  // chosen (its marks). An edit through setData shows its own changes.
  void ShowChanges();
  int HighestFirstAddress() const { return highestFirstAddress_(); }

 private:
  QString AddressText(int row) const;
  QString AddressWarning(int row) const;
  bool SharesFirstAddress(int row) const;
  // The rows whose marks an edit of row from the address before to the one after may change.
  void ShowAddressChange(int row, int before, int after);

  DecoderList& list_;
  std::function<int()> highestFirstAddress_;
  std::function<void()> edited_;
  // How many rows have each first address, counted again after the rows change: the mark of one
  // row is then one look-up instead of a pass over a list that may hold thousands.
  mutable QHash<int, int> rowsAtAddress_;
  mutable bool counted_ = false;
};
