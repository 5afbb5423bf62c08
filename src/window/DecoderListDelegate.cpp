#include "window/DecoderListDelegate.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QSpinBox>
#include <algorithm>
#include <optional>

#include "window/DecoderListModel.h"
#include "window/DecoderModel.h"

namespace {

constexpr int kStep = DecoderModel::kAddressStep;
constexpr int kFirst = DecoderModel::kMinAddress;

// The last address a decoder can start at that the station still reaches.
int HighestStart(int highestFirstAddress) {
  return kFirst + std::max(0, highestFirstAddress - kFirst) / kStep * kStep;
}

bool IsStart(int address) {
  return address >= kFirst && (address - kFirst) % kStep == 0;
}

// The first address of a row: the arrows go from one decoder's start to the next within the
// station's reach, and any number may be typed, so that one that is not a start can be explained
// rather than silently refused keystroke by keystroke.
class FirstAddressSpinBox final : public QSpinBox {
 public:
  FirstAddressSpinBox(int highestFirstAddress, QWidget* parent)
      : QSpinBox(parent),
        highestFirstAddress_(highestFirstAddress),
        highestStart_(HighestStart(highestFirstAddress)) {
    setRange(0, 9999);
    setAccessibleName(QCoreApplication::translate("DecoderListDelegate", "Eerste wisseladres"));
  }

  void SetRecorded(int address) {
    recorded_ = address;
    setMaximum(std::max(maximum(), address));
    setValue(address);
  }

  // What the user typed or stepped to; none when the field still holds the row's own address or
  // was emptied.
  std::optional<int> Changed() const {
    bool isNumber = false;
    const int typed = cleanText().trimmed().toInt(&isNumber);
    if (!isNumber || typed == recorded_) return std::nullopt;
    return typed;
  }

  // Why the changed address cannot be taken, in Dutch; empty when it can.
  QString Refusal() const {
    const std::optional<int> typed = Changed();
    if (!typed || (IsStart(*typed) && *typed <= highestStart_)) return {};
    const QString stays =
        QCoreApplication::translate("DecoderListDelegate", " Het eerste wisseladres blijft %1.")
            .arg(recorded_);
    if (*typed > highestFirstAddress_)
      return QCoreApplication::translate(
                 "DecoderListDelegate",
                 "De gekozen Centrale kan een decoder met eerste wisseladres %1 niet bereiken; "
                 "het hoogste eerste adres van een decoder is %2.")
                 .arg(*typed)
                 .arg(highestStart_) +
             stays;
    const int below = StepFrom(*typed, -1);
    const int above = StepFrom(*typed, 1);
    const QString nearest =
        below < *typed && above > *typed
            ? QCoreApplication::translate("DecoderListDelegate", "Het dichtstbij liggen %1 en %2.")
                  .arg(below)
                  .arg(above)
            : QCoreApplication::translate("DecoderListDelegate", "Het dichtstbij ligt %1.")
                  .arg(below < *typed ? below : above);
    return QCoreApplication::translate(
               "DecoderListDelegate",
               "%1 is geen eerste adres van een decoder: een WD10 beslaat acht wisseladressen en "
               "begint bij 1, 9, 17, 25, … ")
               .arg(*typed) +
           nearest + stays;
  }

 protected:
  void stepBy(int steps) override { setValue(StepFrom(value(), steps)); }

  StepEnabled stepEnabled() const override {
    StepEnabled enabled = StepNone;
    if (StepFrom(value(), 1) != value()) enabled |= StepUpEnabled;
    if (StepFrom(value(), -1) != value()) enabled |= StepDownEnabled;
    return enabled;
  }

 private:
  // steps starts up or down from address, within 1 and the station's reach; address itself when
  // there is none that way.
  int StepFrom(int address, int steps) const {
    const int last = (highestStart_ - kFirst) / kStep;
    const int below = address < kFirst ? -1 : (address - kFirst) / kStep;
    const int above = address < kFirst ? 0 : (address - kFirst + kStep - 1) / kStep;
    const int to = kFirst + std::clamp((steps > 0 ? below : above) + steps, 0, last) * kStep;
    return (steps > 0 ? to > address : to < address) ? to : address;
  }

  const int highestFirstAddress_;
  const int highestStart_;
  int recorded_ = 0;
};

}  // namespace

DecoderListDelegate::DecoderListDelegate(std::function<void(const QString&)> explain,
                                         QObject* parent)
    : QStyledItemDelegate(parent), explain_(std::move(explain)) {}

QWidget* DecoderListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const {
  const auto* model = qobject_cast<const DecoderListModel*>(index.model());
  explain_({});
  switch (index.column()) {
    case DecoderListModel::kAddress:
      return new FirstAddressSpinBox(
          model ? model->HighestFirstAddress() : DecoderModel::kMaxAddress, parent);
    case DecoderListModel::kModeA:
    case DecoderListModel::kModeB: {
      auto* combo = new QComboBox(parent);
      for (const DecoderModel::Mode& mode : DecoderModel::kModes)
        combo->addItem(DecoderModel::ModeCaption(mode.number), mode.number);
      combo->setAccessibleName(
          index.column() == DecoderListModel::kModeA
              ? QCoreApplication::translate("DecoderListDelegate", "Mode van Groep A")
              : QCoreApplication::translate("DecoderListDelegate", "Mode van Groep B"));
      return combo;
    }
    default: {
      QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
      editor->setAccessibleName(QCoreApplication::translate("DecoderListDelegate", "Naam"));
      return editor;
    }
  }
}

void DecoderListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const int value = index.data(Qt::EditRole).toInt();
  if (auto* spin = dynamic_cast<FirstAddressSpinBox*>(editor)) {
    spin->SetRecorded(value);
  } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    // A mode that is none of the captions shows none, rather than the first one it would become.
    combo->setCurrentIndex(combo->findData(value));
  } else {
    QStyledItemDelegate::setEditorData(editor, index);
  }
}

void DecoderListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
  if (const auto* spin = dynamic_cast<const FirstAddressSpinBox*>(editor)) {
    const QString refusal = spin->Refusal();
    if (!refusal.isEmpty())
      explain_(refusal);
    else if (const std::optional<int> address = spin->Changed())
      model->setData(index, *address);
  } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    if (combo->currentIndex() >= 0 && combo->currentData() != index.data(Qt::EditRole))
      model->setData(index, combo->currentData());
  } else {
    QStyledItemDelegate::setModelData(editor, model, index);
  }
}

bool DecoderListDelegate::eventFilter(QObject* object, QEvent* event) {
  if (const auto* spin = dynamic_cast<const FirstAddressSpinBox*>(object);
      spin && event->type() == QEvent::KeyPress) {
    const int key = static_cast<const QKeyEvent*>(event)->key();
    const bool leaves = key == Qt::Key_Enter || key == Qt::Key_Return || key == Qt::Key_Tab ||
                        key == Qt::Key_Backtab;
    if (const QString refusal = spin->Refusal(); leaves && !refusal.isEmpty()) {
      explain_(refusal);
      return true;
    }
  }
  return QStyledItemDelegate::eventFilter(object, event);
}
