// A drop-down list bound to one setting of a port: it offers the setting's values, shows the
// port's current one, and writes the chosen one back on request (or at once with AutoApply).
#pragma once

#include <QComboBox>

#include "CPortCtl/TComSelect.h"

class TComComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TComComboBox(QWidget* parent = nullptr);

  TCustomComPort* ComPort() const { return select_.ComPort(); }
  void SetComPort(TCustomComPort* port);
  TComProperty ComProperty() const { return select_.ComProperty(); }
  // Refills the list; for cpPort the system's port list is read now (EComPort code 23).
  void SetComProperty(TComProperty value);
  bool AutoApply() const { return select_.AutoApply(); }
  void SetAutoApply(bool value) { select_.SetAutoApply(value); }
  // The selected item's text, empty when nothing is selected. Setting a text that is not an
  // item leaves the selection as it is.
  QString Text() const { return currentText(); }
  void SetText(const QString& value);

  // Selects the item that shows the bound port's current value.
  void UpdateSettings();
  // Writes the chosen value to the bound port; the port's setter may raise.
  void ApplySettings() { select_.Apply(); }

 private:
  void SelectQuietly(int index);
  void SelectFirstItem();
  void SelectionChanged(int index);
  void PortDestroyed();

  TComSelect select_;
  QMetaObject::Connection portDestroyed_;
};
