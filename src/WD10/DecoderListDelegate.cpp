#include "WD10/DecoderListDelegate.h"

#include <QComboBox>
#include <QSpinBox>

#include "WD10/DecoderListModel.h"
#include "WD10/DecoderModel.h"

QWidget* DecoderListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const {
  const auto* model = qobject_cast<const DecoderListModel*>(index.model());
  switch (index.column()) {
    case DecoderListModel::kAddress: {
      auto* spin = new QSpinBox(parent);
      spin->setRange(DecoderModel::kMinAddress,
                     model ? model->HighestFirstAddress() : DecoderModel::kMaxAddress);
      spin->setSingleStep(DecoderModel::kAddressStep);
      spin->setAccessibleName(QStringLiteral("Eerste wisseladres"));
      return spin;
    }
    case DecoderListModel::kModeA:
    case DecoderListModel::kModeB: {
      auto* combo = new QComboBox(parent);
      for (const DecoderModel::Mode& mode : DecoderModel::kModes)
        combo->addItem(QString::fromUtf8(mode.caption), mode.number);
      combo->setAccessibleName(index.column() == DecoderListModel::kModeA
                                   ? QStringLiteral("Mode van Groep A")
                                   : QStringLiteral("Mode van Groep B"));
      return combo;
    }
    default: {
      QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
      editor->setAccessibleName(QStringLiteral("Naam"));
      return editor;
    }
  }
}

void DecoderListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const int value = index.data(Qt::EditRole).toInt();
  if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
    spin->setValue(value);
  } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    combo->setCurrentIndex(std::max(0, combo->findData(value)));
  } else {
    QStyledItemDelegate::setEditorData(editor, index);
  }
}

void DecoderListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
  if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
    spin->interpretText();
    model->setData(index, spin->value());
  } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    model->setData(index, combo->currentData());
  } else {
    QStyledItemDelegate::setModelData(editor, model, index);
  }
}
