#include "window/DecoderListColumns.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QtMath>
#include <algorithm>

DecoderListColumns::DecoderListColumns(QTableView* table) : QObject(table), table_(table) {
  QAbstractItemModel* model = table->model();
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  const auto fitAll = [this] { FitAll(); };
  connect(model, &QAbstractItemModel::modelReset, this, fitAll);
  connect(model, &QAbstractItemModel::layoutChanged, this, fitAll);
  connect(model, &QAbstractItemModel::rowsInserted, this, fitAll);
  connect(model, &QAbstractItemModel::rowsRemoved, this, fitAll);
  connect(model, &QAbstractItemModel::dataChanged, this,
          [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
            FitCells(topLeft.row(), bottomRight.row(), topLeft.column(), bottomRight.column());
          });
  table->installEventFilter(this);
  FitAll();
}

bool DecoderListColumns::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ &&
      (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
    FitAll();
  return QObject::eventFilter(watched, event);
}

void DecoderListColumns::MeasureStyle() {
  if (measuredIn_ == table_->font() && rowHeight_ > 0) return;
  widths_.clear();
  measuredIn_ = table_->font();
  // A cell as the delegate lays one out: the style's margins around one line of text.
  QStyleOptionViewItem option;
  option.initFrom(table_->viewport());
  option.font = table_->font();
  option.fontMetrics = QFontMetrics(option.font);
  option.features = QStyleOptionViewItem::HasDisplay;
  option.text = QStringLiteral("Mg");
  const QSize cell =
      table_->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), table_);
  const int grid = table_->showGrid() ? 1 : 0;
  padding_ = cell.width() - qCeil(QFontMetricsF(option.font).horizontalAdvance(option.text)) + grid;
  rowHeight_ = cell.height() + grid;
}

int DecoderListColumns::Width(const QString& text) {
  const auto known = widths_.constFind(text);
  if (known != widths_.constEnd()) return *known;
  // Rounded up as the style lays a line of text out, so that no fraction of a pixel elides it.
  const int width = qCeil(QFontMetricsF(measuredIn_).horizontalAdvance(text));
  return *widths_.insert(text, width + padding_);
}

void DecoderListColumns::FitAll() {
  MeasureStyle();
  table_->verticalHeader()->setDefaultSectionSize(rowHeight_);
  QHeaderView* header = table_->horizontalHeader();
  const QAbstractItemModel* model = table_->model();
  for (int column = 0; column < model->columnCount(); ++column) {
    int widest = header->sectionSizeHint(column);
    for (int row = 0; row < model->rowCount(); ++row)
      widest = std::max(widest, Width(model->index(row, column).data().toString()));
    header->resizeSection(column, widest);
  }
}

void DecoderListColumns::FitCells(int firstRow, int lastRow, int firstColumn, int lastColumn) {
  const QAbstractItemModel* model = table_->model();
  if (firstRow <= 0 && lastRow >= model->rowCount() - 1) return FitAll();
  MeasureStyle();
  QHeaderView* header = table_->horizontalHeader();
  for (int column = firstColumn; column <= lastColumn; ++column) {
    int widest = header->sectionSize(column);
    for (int row = firstRow; row <= lastRow; ++row)
      widest = std::max(widest, Width(model->index(row, column).data().toString()));
    header->resizeSection(column, widest);
  }
}
