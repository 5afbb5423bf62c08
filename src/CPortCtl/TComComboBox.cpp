#include "CPortCtl/TComComboBox.h"

#include <QSignalBlocker>

#include "CPort/TComPort.h"
#include "platform/ExceptionDisplay.h"

TComComboBox::TComComboBox(QWidget* parent) : QComboBox(parent) {
  // currentIndexChanged rather than activated: a choice made with the keyboard, the mouse or
  // the Text property must all become the chosen value, or OK would write a stale one. Our own
  // refills and updates select quietly, so they never echo the port's value back to it.
  connect(this, &QComboBox::currentIndexChanged, this, &TComComboBox::SelectionChanged);
}

void TComComboBox::SetComProperty(TComProperty value) {
  const QStringList items = TComSelect::Items(value);
  select_.SetComProperty(value);
  {
    const QSignalBlocker quiet(this);
    clear();
    addItems(items);
  }
  if (count() == 0) return;
  if (ComPort())
    UpdateSettings();
  else
    SelectFirstItem();
}

void TComComboBox::SetComPort(TCustomComPort* port) {
  if (port == ComPort()) return;
  disconnect(portDestroyed_);
  portDestroyed_ = {};
  select_.SetComPort(port);
  if (!port) return;
  portDestroyed_ = connect(port, &QObject::destroyed, this, &TComComboBox::PortDestroyed);
  UpdateSettings();
}

void TComComboBox::PortDestroyed() {
  select_.SetComPort(nullptr);
  portDestroyed_ = {};
  if (count() > 0) SelectFirstItem();
}

void TComComboBox::SetText(const QString& value) {
  const int index = findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) setCurrentIndex(index);
}

void TComComboBox::UpdateSettings() {
  if (!ComPort() || ComProperty() == cpNone) return;
  const QString text = select_.PortValueText();
  int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0 && ComProperty() == cpPort && !text.isEmpty()) {
    // A port reached by a path the system's list lacks (a /dev/serial/by-id link, a pty) must
    // still show, or OK would replace it by whatever the box happens to hold.
    const QSignalBlocker quiet(this);
    insertItem(0, text);
    index = 0;
  }
  SelectQuietly(index);
  // The chosen value follows the port even when no item shows it, so that applying an
  // untouched box never writes something the user did not pick.
  select_.Choose(text);
}

void TComComboBox::SelectQuietly(int index) {
  const QSignalBlocker quiet(this);
  setCurrentIndex(index);
}

void TComComboBox::SelectFirstItem() {
  SelectQuietly(0);
  select_.Choose(itemText(0));
}

void TComComboBox::SelectionChanged(int index) {
  if (index < 0) return;
  RunGuarded([&] {
    select_.Choose(itemText(index));
    if (AutoApply()) select_.Apply();
  });
}
