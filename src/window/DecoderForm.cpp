#include "window/DecoderForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <algorithm>

#include "window/AddressSpinBox.h"
#include "window/DecoderModel.h"
#include "window/MainWindowWidgets.h"

namespace {

int ModeOf(const std::array<QRadioButton*, 7>& modes) {
  for (std::size_t i = 0; i < modes.size(); ++i)
    if (modes[i]->isChecked()) return DecoderModel::kModes[i].number;
  return DecoderModel::kModes[0].number;
}

}  // namespace

DecoderForm::DecoderForm(MainWindowWidgets& widgets) : w_(widgets) {
  w_.firstAddressEdit->OnChange = [this](QObject*) { FirstAddressChanged(); };
}

void DecoderForm::ApplyStartDefaults() {
  for (std::size_t i = 0; i < w_.groupAModes.size(); ++i) {
    const QString caption = DecoderModel::ModeCaption(DecoderModel::kModes[i].number);
    for (QRadioButton* button : {w_.groupAModes[i], w_.groupBModes[i]}) {
      button->setText(caption);
      // 200 pixels as designed, wider where this desktop's font needs it to show the caption.
      button->resize(std::max(200, button->sizeHint().width()), button->height());
    }
  }
  w_.groupAModes[1]->setChecked(true);
  w_.groupAModes[0]->setChecked(true);
  w_.groupBModes[1]->setChecked(true);
  w_.groupBModes[0]->setChecked(true);
  w_.firstAddressEdit->SetValue(2);
  w_.firstAddressEdit->SetValue(1);
}

AccessoryCommand DecoderForm::StepCommand(int step) const {
  switch (step) {
    case 1:
      return {w_.firstAddressEdit->Text().toInt()};
    case 2:
      return {ModeOf(w_.groupAModes)};
    case 3:
      return {GroupBAddress()};
    default:
      return {ModeOf(w_.groupBModes)};
  }
}

int DecoderForm::GroupBAddress() const {
  return w_.groupBAddressEdit->Text().toInt();
}

int DecoderForm::FieldHighestAddress() const {
  return w_.firstAddressEdit->MaxValue();
}

void DecoderForm::SetFieldHighestAddress(int highest) {
  w_.firstAddressEdit->SetMaxValue(highest);
}

void DecoderForm::Fill(const DecoderRow& row) {
  w_.firstAddressEdit->SetText(QString::number(row.firstAddress));
  for (std::size_t i = 0; i < w_.groupAModes.size(); ++i) {
    if (DecoderModel::kModes[i].number == row.modeA) w_.groupAModes[i]->setChecked(true);
    if (DecoderModel::kModes[i].number == row.modeB) w_.groupBModes[i]->setChecked(true);
  }
}

void DecoderForm::AdvanceToNextDecoder(int highestFirstAddress) {
  w_.firstAddressEdit->SetValue(
      DecoderModel::NextFirstAddress(w_.firstAddressEdit->Text().toInt(), highestFirstAddress));
}

void DecoderForm::FirstAddressChanged() {
  bool ok = false;
  const int address = w_.firstAddressEdit->Text().trimmed().toInt(&ok);
  if (!ok) {
    w_.firstAddressEdit->SetValue(1);
    return;
  }
  w_.decoderNumberLabel->setText(QCoreApplication::translate("DecoderForm", "Decoderadres: %1")
                                     .arg(DecoderModel::DecoderNumber(address)));
  w_.groupBAddressEdit->SetText(QString::number(address + DecoderModel::kGroupBOffset));
}
