// Keeps the decoder table one line per decoder and each column as wide as its widest text, at any
// length of the list. The view's own fitting to contents asks every row of every column for its
// size through the delegate, again on each change: seconds for a list of 10,000 rows. Here a row
// is one line of the table's font, and a column's width comes from the widths of its texts, each
// text measured once.
#pragma once

#include <QFont>
#include <QHash>
#include <QObject>

class QTableView;

class DecoderListColumns : public QObject {
 public:
  // Follows the table's model from now on: its resets, its rows added or removed, its changed
  // cells, and the table's font.
  explicit DecoderListColumns(QTableView* table);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Every column to its widest text, narrower ones included.
  void FitAll();
  // The columns of the changed cells grow to their texts; they do not shrink until the next
  // FitAll, so an edit costs the cells it changed.
  void FitCells(int firstRow, int lastRow, int firstColumn, int lastColumn);
  int Width(const QString& text);
  void MeasureStyle();

  QTableView* table_;
  QHash<QString, int> widths_;
  QFont measuredIn_;
  // What the style adds to a text in a cell, and the height of a one-line row.
  int padding_ = 0;
  int rowHeight_ = 0;
};
