// What a property combo box has chosen for one setting of a port, and how that choice is read
// from and written to the port.
#pragma once

#include <QString>
#include <QStringList>

#include "serial/SerialTypes.h"

class SerialPortBase;

enum PortSetting { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

class PortSettingChoice {
 public:
  // The values of a property, in the order offered; for cpPort the paths of ListSerialPortNames
  // (SerialPortError code 23 when the system cannot be asked), which a combo box shows by name.
  static QStringList Items(PortSetting property);

  PortSetting ComProperty() const { return comProperty_; }
  void SetComProperty(PortSetting value) { comProperty_ = value; }
  SerialPortBase* ComPort() const { return port_; }
  void SetComPort(SerialPortBase* port) { port_ = port; }
  bool AutoApply() const { return autoApply_; }
  void SetAutoApply(bool value) { autoApply_ = value; }

  // The text of the bound port's current value of the property; empty without a port.
  QString PortValueText() const;
  // Takes an item's text as the chosen value of the property.
  void Choose(const QString& text);
  // Writes the chosen value to the bound port; nothing without a port or for cpNone.
  void Apply() const;

 private:
  QString portName_;
  BaudRateSetting baudRate_ = brCustom;
  DataBitsSetting dataBits_ = dbFive;
  StopBitsSetting stopBits_ = sbOneStopBit;
  ParityBits parity_ = prNone;
  FlowControlSetting flowControl_ = fcHardware;
  PortSetting comProperty_ = cpNone;
  SerialPortBase* port_ = nullptr;
  bool autoApply_ = false;
};
