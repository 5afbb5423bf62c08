#include "serialwidgets/PortSettingChoice.h"

#include "serial/SerialPort.h"

namespace {

template <typename E>
QStringList AllTexts(E last, QString (*toText)(E)) {
  QStringList texts;
  for (int value = 0; value <= static_cast<int>(last); ++value)
    texts.append(toText(static_cast<E>(value)));
  return texts;
}

}  // namespace

QStringList PortSettingChoice::Items(PortSetting property) {
  switch (property) {
    case cpNone:
      return {};
    case cpPort: {
      QStringList ports;
      ListSerialPorts(ports);
      return ports;
    }
    case cpBaudRate:
      return AllTexts(br256000, BaudRateToStr);
    case cpDataBits:
      return AllTexts(dbEight, DataBitsToStr);
    case cpStopBits:
      return AllTexts(sbTwoStopBits, StopBitsToStr);
    case cpParity:
      return AllTexts(prSpace, ParityToStr);
    case cpFlowControl:
      return AllTexts(fcCustom, FlowControlToStr);
  }
  return {};
}

QString PortSettingChoice::PortValueText() const {
  if (!port_) return {};
  switch (comProperty_) {
    case cpNone:
      return {};
    case cpPort:
      return port_->Port();
    case cpBaudRate:
      return BaudRateToStr(port_->BaudRate());
    case cpDataBits:
      return DataBitsToStr(port_->DataBits());
    case cpStopBits:
      return StopBitsToStr(port_->StopBits());
    case cpParity:
      return ParityToStr(port_->Parity().Bits());
    case cpFlowControl:
      return FlowControlToStr(port_->FlowControl().FlowControl());
  }
  return {};
}

void PortSettingChoice::Choose(const QString& text) {
  switch (comProperty_) {
    case cpNone:
      break;
    case cpPort:
      portName_ = text;
      break;
    case cpBaudRate:
      baudRate_ = StrToBaudRate(text);
      break;
    case cpDataBits:
      dataBits_ = StrToDataBits(text);
      break;
    case cpStopBits:
      stopBits_ = StrToStopBits(text);
      break;
    case cpParity:
      parity_ = StrToParity(text);
      break;
    case cpFlowControl:
      flowControl_ = StrToFlowControl(text);
      break;
  }
}

void PortSettingChoice::Apply() const {
  if (!port_) return;
  switch (comProperty_) {
    case cpNone:
      break;
    case cpPort:
      port_->SetPort(portName_);
      break;
    case cpBaudRate:
      port_->SetBaudRate(baudRate_);
      break;
    case cpDataBits:
      port_->SetDataBits(dataBits_);
      break;
    case cpStopBits:
      port_->SetStopBits(stopBits_);
      break;
    case cpParity:
      port_->Parity().SetBits(parity_);
      break;
    case cpFlowControl:
      port_->FlowControl().SetFlowControl(flowControl_);
      break;
  }
}
