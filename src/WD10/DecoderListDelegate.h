// Edits a decoder list row in place: the first address in steps of a decoder's eight turnouts,
// up to what the chosen station reaches, and each group's mode by its caption.
#pragma once

#include <QStyledItemDelegate>

class DecoderListDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
};
