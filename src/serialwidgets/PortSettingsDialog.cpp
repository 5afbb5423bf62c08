#include "serialwidgets/PortSettingsDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "serialwidgets/PortSettingComboBox.h"

namespace {

constexpr int kComboWidth = 129;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

std::function<void(PortSettingsDialog&)>& Hook() {
  static std::function<void(PortSettingsDialog&)> hook;
  return hook;
}

// Gives a label an Alt+letter that moves to its box. The letter is taken from the translated
// text itself, the first one no other label has, so no catalogue has to provide it.
QString WithMnemonic(const QString& text, QString& lettersTaken) {
  if (text.contains(QLatin1Char('&'))) return text;
  for (int i = 0; i < text.size(); ++i) {
    const QChar letter = text[i].toLower();
    if (!letter.isLetter() || lettersTaken.contains(letter)) continue;
    lettersTaken += letter;
    return QString(text).insert(i, QLatin1Char('&'));
  }
  return text;
}

}  // namespace

void PortSettingsDialog::SetAnswerHook(std::function<void(PortSettingsDialog&)> hook) {
  Hook() = std::move(hook);
}

const std::function<void(PortSettingsDialog&)>& PortSettingsDialog::AnswerHook() {
  return Hook();
}

PortSettingsDialog::PortSettingsDialog(QWidget* parent) : QDialog(parent) {
  // The dialog's own texts are English and go through the catalogues; the list items are values,
  // not words, and stay as they are.
  setWindowTitle(tr("Setup"));

  selectionPanel = new QGroupBox(tr(" Settings "), this);
  auto* grid = new QGridLayout(selectionPanel);
  grid->setVerticalSpacing(2);
  struct Row {
    QLabel*& label;
    PortSettingComboBox*& combo;
    const char* text;
    PortSetting property;
  };
  const Row rows[] = {
      {portLabel, portCombo, QT_TR_NOOP("Port"), cpPort},
      {baudRateLabel, baudRateCombo, QT_TR_NOOP("Baud rate"), cpBaudRate},
      {dataBitsLabel, dataBitsCombo, QT_TR_NOOP("Data bits"), cpDataBits},
      {stopBitsLabel, stopBitsCombo, QT_TR_NOOP("Stop bits"), cpStopBits},
      {parityLabel, parityCombo, QT_TR_NOOP("Parity"), cpParity},
      {flowControlLabel, flowControlCombo, QT_TR_NOOP("Flow control"), cpFlowControl},
  };
  QString lettersTaken;
  QWidget* previous = nullptr;
  for (int row = 0; row < 6; ++row) {
    const Row& r = rows[row];
    r.combo = new PortSettingComboBox(selectionPanel);
    r.combo->setMinimumWidth(kComboWidth);
    // Watching from before the list is read, so that no adapter plugged in meanwhile is missed.
    if (r.property == cpPort) r.combo->SetWatchPorts(true);
    r.combo->SetComProperty(r.property);
    // As buddy the label also names its box in the accessibility tree.
    r.label = new QLabel(WithMnemonic(tr(r.text), lettersTaken), selectionPanel);
    r.label->setBuddy(r.combo);
    grid->addWidget(r.label, row, 0);
    grid->addWidget(r.combo, row, 1);
    if (previous) setTabOrder(previous, r.combo);
    previous = r.combo;
  }

  connectButton = new QPushButton(tr("OK"), this);
  connectButton->setDefault(true);
  programButton = new QPushButton(tr("Cancel"), this);
  for (QPushButton* button : {connectButton, programButton}) {
    button->setMinimumSize(kButtonWidth, kButtonHeight);
    setTabOrder(previous, button);
    previous = button;
  }
  connect(connectButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(programButton, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(5);
  buttons->addStretch();
  buttons->addWidget(connectButton);
  buttons->addWidget(programButton);

  // Layouts rather than fixed pixels: with a larger desktop font the texts must still fit.
  auto* form = new QVBoxLayout(this);
  form->setContentsMargins(8, 8, 6, 7);
  form->setSpacing(7);
  form->addWidget(selectionPanel);
  form->addLayout(buttons);
  form->setSizeConstraint(QLayout::SetFixedSize);

  portCombo->setFocus();
  adjustSize();
  if (const QScreen* desktop = screen())
    move(desktop->availableGeometry().center() - rect().center());
}
