// Edits a decoder list row in place: the first address among the ones a decoder starts at (1, 9,
// 17, … up to what the chosen station reaches), each group's mode by its caption, and the name.
// An editor that is left as it was opened writes nothing, so a row keeps an address the editor
// would not offer (a run of the main window may have recorded 12 or 2040) and its last result.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

class DecoderListDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // explain: a typed first address was not taken, with why in Dutch and which ones would be;
  // called with an empty text when there is nothing (more) to explain.
  DecoderListDelegate(std::function<void(const QString&)> explain, QObject* parent);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 protected:
  // Enter or Tab on a first address that cannot be taken leaves the editor open to mend it.
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  std::function<void(const QString&)> explain_;
};
