// A drop-down list bound to one setting of a port: it offers the setting's values, shows the
// port's current one, and writes the chosen one back on request (or at once with AutoApply).
#pragma once

#include <QComboBox>
#include <memory>

#include "serial/SerialPort.h"
#include "serialwidgets/PortSettingChoice.h"

class PortListWatcher;

class PortSettingComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit PortSettingComboBox(QWidget* parent = nullptr);
  ~PortSettingComboBox() override;

  SerialPortBase* ComPort() const { return select_.ComPort(); }
  void SetComPort(SerialPortBase* port);
  PortSetting ComProperty() const { return select_.ComProperty(); }
  // Refills the list; for cpPort the system's port list is read now (SerialPortError code 23).
  void SetComProperty(PortSetting value);
  bool AutoApply() const { return select_.AutoApply(); }
  void SetAutoApply(bool value) { select_.SetAutoApply(value); }
  // The selected item's text, empty when nothing is selected. Setting a text selects the item
  // that shows it, or else the port item whose path it is; any other text leaves the
  // selection as it is.
  QString Text() const { return currentText(); }
  void SetText(const QString& value);

  // For cpPort: the folder of stable adapter names that the list shows (udev's by default).
  // Setting it reads the list again, as RefreshPorts does.
  const QString& ByIdDir() const { return byIdDir_; }
  void SetByIdDir(const QString& folder);
  // For cpPort: while on, the list follows adapters that are plugged in or pulled out.
  bool WatchPorts() const { return watcher_ != nullptr; }
  void SetWatchPorts(bool on);
  // For cpPort: reads the port list again. The selected port stays selected; one that has
  // gone stays too, as the first item, shown by its path, as does the bound port's own.
  void RefreshPorts();

  // Selects the item that shows the bound port's current value.
  void UpdateSettings();
  // Writes the chosen value to the bound port; the port's setter may raise.
  void ApplySettings() { select_.Apply(); }

 private:
  // What choosing item index means for the setting: a port's path, else the item's text.
  QString ItemValue(int index) const;
  int FindValue(const QString& value) const;
  void AddPorts(const std::vector<SerialPortName>& ports);
  void KeepOffered(const QString& port);
  void SelectQuietly(int index);
  void SelectFirstItem();
  void SelectionChanged(int index);
  void PortDestroyed();

  PortSettingChoice select_;
  QMetaObject::Connection portDestroyed_;
  QString byIdDir_ = kSerialByIdDir;
  std::unique_ptr<PortListWatcher> watcher_;
};
