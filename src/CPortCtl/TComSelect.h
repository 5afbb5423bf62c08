// What a property combo box has chosen for one setting of a port, and how that choice is read
// from and written to the port.
#pragma once

#include <QString>
#include <QStringList>

#include "CPort/CPortTypes.h"

class TCustomComPort;

enum TComProperty { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

class TComSelect {
 public:
  // The values of a property, in the order offered; for cpPort the paths of EnumComPortNames
  // (EComPort code 23 when the system cannot be asked), which a combo box shows by name.
  static QStringList Items(TComProperty property);

  TComProperty ComProperty() const { return comProperty_; }
  void SetComProperty(TComProperty value) { comProperty_ = value; }
  TCustomComPort* ComPort() const { return port_; }
  void SetComPort(TCustomComPort* port) { port_ = port; }
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
  TBaudRate baudRate_ = brCustom;
  TDataBits dataBits_ = dbFive;
  TStopBits stopBits_ = sbOneStopBit;
  TParityBits parity_ = prNone;
  TFlowControl flowControl_ = fcHardware;
  TComProperty comProperty_ = cpNone;
  TCustomComPort* port_ = nullptr;
  bool autoApply_ = false;
};
