#include "serial/SerialPort.h"

#include <algorithm>

#include "serial/SerialDevice.h"
#include "serial/SerialEventThread.h"
#include "serial/SerialPortListener.h"
#include "serial/TermiosDevice.h"

// --- sub-objects ----------------------------------------------------------------------------

// Stores a changed value and applies it through the port.
template <typename T>
static void Change(T& field, T value, SerialPortBase* port, void (SerialPortBase::*apply)()) {
  if (field == value) return;
  field = value;
  (port->*apply)();
}

void PortBufferSizes::Assign(const PortBufferSizes& source) {
  inputSize_ = source.inputSize_;
  outputSize_ = source.outputSize_;
}

// A positive odd size is stored one less (1025 becomes 1024).
static int EvenSize(int value) {
  return value > 0 && value % 2 != 0 ? value - 1 : value;
}

void PortBufferSizes::SetInputSize(int value) {
  if (value == inputSize_) return;
  inputSize_ = EvenSize(value);
  port_->ApplyBufferSizes();
}

void PortBufferSizes::SetOutputSize(int value) {
  if (value == outputSize_) return;
  outputSize_ = EvenSize(value);
  port_->ApplyBufferSizes();
}

void PortParity::Assign(const PortParity& source) {
  bits_ = source.bits_;
  check_ = source.check_;
  replace_ = source.replace_;
  replaceChar_ = source.replaceChar_;
}

void PortParity::SetBits(ParityBits value) {
  Change(bits_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortParity::SetCheck(bool value) {
  Change(check_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortParity::SetReplace(bool value) {
  Change(replace_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortParity::SetReplaceChar(unsigned char value) {
  Change(replaceChar_, value, port_, &SerialPortBase::ApplyLineSettings);
}

void PortTimeouts::Assign(const PortTimeouts& source) {
  readInterval_ = source.readInterval_;
  readTotalMultiplier_ = source.readTotalMultiplier_;
  readTotalConstant_ = source.readTotalConstant_;
  writeTotalMultiplier_ = source.writeTotalMultiplier_;
  writeTotalConstant_ = source.writeTotalConstant_;
}

void PortTimeouts::SetReadInterval(int value) {
  Change(readInterval_, value, port_, &SerialPortBase::ApplyTimeouts);
}
void PortTimeouts::SetReadTotalMultiplier(int value) {
  Change(readTotalMultiplier_, value, port_, &SerialPortBase::ApplyTimeouts);
}
void PortTimeouts::SetReadTotalConstant(int value) {
  Change(readTotalConstant_, value, port_, &SerialPortBase::ApplyTimeouts);
}
void PortTimeouts::SetWriteTotalMultiplier(int value) {
  Change(writeTotalMultiplier_, value, port_, &SerialPortBase::ApplyTimeouts);
}
void PortTimeouts::SetWriteTotalConstant(int value) {
  Change(writeTotalConstant_, value, port_, &SerialPortBase::ApplyTimeouts);
}

void PortFlowControl::Assign(const PortFlowControl& source) {
  outCTSFlow_ = source.outCTSFlow_;
  outDSRFlow_ = source.outDSRFlow_;
  controlDTR_ = source.controlDTR_;
  controlRTS_ = source.controlRTS_;
  xonXoffOut_ = source.xonXoffOut_;
  xonXoffIn_ = source.xonXoffIn_;
  dsrSensitivity_ = source.dsrSensitivity_;
  txContinueOnXoff_ = source.txContinueOnXoff_;
  xonChar_ = source.xonChar_;
  xoffChar_ = source.xoffChar_;
}

void PortFlowControl::SetOutCTSFlow(bool value) {
  Change(outCTSFlow_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortFlowControl::SetOutDSRFlow(bool value) {
  Change(outDSRFlow_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortFlowControl::SetControlDTR(DtrControl value) {
  Change(controlDTR_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortFlowControl::SetControlRTS(RtsControl value) {
  Change(controlRTS_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortFlowControl::SetXonXoffOut(bool value) {
  Change(xonXoffOut_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortFlowControl::SetXonXoffIn(bool value) {
  Change(xonXoffIn_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortFlowControl::SetDSRSensitivity(bool value) {
  Change(dsrSensitivity_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortFlowControl::SetTxContinueOnXoff(bool value) {
  Change(txContinueOnXoff_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortFlowControl::SetXonChar(unsigned char value) {
  Change(xonChar_, value, port_, &SerialPortBase::ApplyLineSettings);
}
void PortFlowControl::SetXoffChar(unsigned char value) {
  Change(xoffChar_, value, port_, &SerialPortBase::ApplyLineSettings);
}

FlowControlSetting PortFlowControl::FlowControl() const {
  const bool xonXoff = xonXoffIn_ || xonXoffOut_;
  if (controlRTS_ == rtsHandshake && outCTSFlow_ && !xonXoff) return fcHardware;
  if (controlRTS_ == rtsDisable && !outCTSFlow_) {
    if (xonXoffIn_ && xonXoffOut_) return fcSoftware;
    if (!xonXoff) return fcNone;
  }
  return fcCustom;
}

void PortFlowControl::SetFlowControl(FlowControlSetting value) {
  if (value != fcCustom) {
    controlRTS_ = value == fcHardware ? rtsHandshake : rtsDisable;
    outCTSFlow_ = value == fcHardware;
    xonXoffIn_ = xonXoffOut_ = value == fcSoftware;
  }
  port_->ApplyLineSettings();
}

// --- the port -------------------------------------------------------------------------------

SerialPortBase::SerialPortBase(QObject* owner)
    : QObject(owner), device_(std::make_unique<TermiosDevice>()) {}

SerialPortBase::~SerialPortBase() {
  try {
    Close();
  } catch (...) {
    // A destructor cannot report; make sure nothing outlives the port all the same.
    StopEventThread();
    device_->Close();
  }
}

bool SerialPortBase::Connected() const {
  return connected_;
}

void SerialPortBase::SetConnected(bool value) {
  if (value == connected_) return;
  value ? Open() : Close();
}

void SerialPortBase::SetBaudRate(BaudRateSetting value) {
  Change(baudRate_, value, this, &SerialPortBase::ApplyLineSettings);
}
void SerialPortBase::SetCustomBaudRate(int value) {
  Change(customBaudRate_, value, this, &SerialPortBase::ApplyLineSettings);
}
void SerialPortBase::SetStopBits(StopBitsSetting value) {
  Change(stopBits_, value, this, &SerialPortBase::ApplyLineSettings);
}
void SerialPortBase::SetDataBits(DataBitsSetting value) {
  Change(dataBits_, value, this, &SerialPortBase::ApplyLineSettings);
}
void SerialPortBase::SetDiscardNull(bool value) {
  Change(discardNull_, value, this, &SerialPortBase::ApplyLineSettings);
}
void SerialPortBase::SetEventChar(unsigned char value) {
  Change(eventChar_, value, this, &SerialPortBase::ApplyLineSettings);
}

void SerialPortBase::SetPort(const QString& value) {
  if (value == port_) return;
  port_ = value;
  if (connected_) {
    Close();
    Open();
  }
}

void SerialPortBase::SetParity(const PortParity& value) {
  parity_.Assign(value);
  ApplyLineSettings();
}
void SerialPortBase::SetBuffer(const PortBufferSizes& value) {
  buffer_.Assign(value);
  ApplyBufferSizes();
}
void SerialPortBase::SetTimeouts(const PortTimeouts& value) {
  timeouts_.Assign(value);
  ApplyTimeouts();
}
void SerialPortBase::SetFlowControl(const PortFlowControl& value) {
  flowControl_.Assign(value);
  ApplyLineSettings();
}

void SerialPortBase::UseDevice(std::unique_ptr<SerialDevice> device) {
  if (connected_) {
    nextDevice_ = std::move(device);
  } else {
    device_ = std::move(device);
  }
}

// --- open, close, apply ---------------------------------------------------------------------

void SerialPortBase::Open() {
  if (connected_) return;
  DoBeforeOpen();
  CreateHandle();
  connected_ = true;
  try {
    ApplySettings();
  } catch (...) {
    DestroyHandle();
    connected_ = false;
    throw;
  }
  if (!events_.Empty()) {
    SerialEventTarget& target = *this;
    eventThread_ = std::make_unique<SerialEventThread>(target, *device_, events_);
  }
  CallLinks([this](SerialPortListener& link) {
    if (link.OnConn) link.OnConn(this, true);
  });
  DoAfterOpen();
  const LineSignals lines = Signals();
  NotifySignal(csCTS, lines.Contains(csCTS));
  NotifySignal(csDSR, lines.Contains(csDSR));
  NotifySignal(csRLSD, lines.Contains(csRLSD));
}

void SerialPortBase::Close() {
  if (!connected_) return;
  NotifySignal(csCTS, false);
  NotifySignal(csDSR, false);
  NotifySignal(csRLSD, false);
  DoBeforeClose();
  if (const int error = device_->Purge(kPurgeTxAbort | kPurgeRxAbort)) {
    throw SerialPortError(ecPurge, error, port_);
  }
  StopEventThread();
  DestroyHandle();
  connected_ = false;
  CallLinks([this](SerialPortListener& link) {
    if (link.OnConn) link.OnConn(this, false);
  });
  DoAfterClose();
}

void SerialPortBase::StopEventThread() {
  // Also from inside one of the thread's own batches: the thread does not wait for the batch
  // once it is stopped, so the two never wait for each other.
  eventThread_.reset();
}

void SerialPortBase::CreateHandle() {
  if (nextDevice_) device_ = std::move(nextDevice_);
  if (const int error = device_->Open(port_)) throw SerialPortError(ecOpen, error, port_);
}

void SerialPortBase::DestroyHandle() {
  device_->Close();
}

bool SerialPortBase::CanApply() const {
  return connected_ && updateCount_ == 0;
}

void SerialPortBase::ApplySettings() {
  ApplyBufferSizes();
  ApplyLineSettings();
  ApplyTimeouts();
}

SerialLineSettings SerialPortBase::LineSettings() const {
  SerialLineSettings s;
  s.baudRate = baudRate_ == brCustom ? customBaudRate_ : BaudRateToInt(baudRate_);
  s.dataBits = dataBits_;
  s.parity = parity_.Bits();
  s.stopBits = stopBits_;
  s.parityCheck = parity_.Check();
  s.errorCharReplace = parity_.Check() && parity_.Replace();
  s.errorChar = s.errorCharReplace ? parity_.ReplaceChar() : 0;
  s.outCTSFlow = flowControl_.OutCTSFlow();
  s.outDSRFlow = flowControl_.OutDSRFlow();
  s.dtrControl = flowControl_.ControlDTR();
  s.rtsControl = flowControl_.ControlRTS();
  s.dsrSensitivity = flowControl_.DSRSensitivity();
  s.txContinueOnXoff = flowControl_.TxContinueOnXoff();
  s.xonXoffOut = flowControl_.XonXoffOut();
  s.xonXoffIn = flowControl_.XonXoffIn();
  s.xonChar = flowControl_.XonChar();
  s.xoffChar = flowControl_.XoffChar();
  s.xonLimit = s.xoffLimit = buffer_.InputSize() / 4;
  s.discardNull = discardNull_;
  s.eventChar = eventChar_;
  return s;
}

void SerialPortBase::ApplyLineSettings() {
  if (!CanApply()) return;
  if (const int error = device_->SetLineSettings(LineSettings()))
    throw SerialPortError(ecLineSettings, error, port_);
}

void SerialPortBase::ApplyTimeouts() {
  if (!CanApply()) return;
  // As unsigned values: -1 is "no interval limit".
  const SerialTimeouts t{static_cast<std::uint32_t>(timeouts_.ReadInterval()),
                         static_cast<std::uint32_t>(timeouts_.ReadTotalMultiplier()),
                         static_cast<std::uint32_t>(timeouts_.ReadTotalConstant()),
                         static_cast<std::uint32_t>(timeouts_.WriteTotalMultiplier()),
                         static_cast<std::uint32_t>(timeouts_.WriteTotalConstant())};
  if (const int error = device_->SetTimeouts(t)) throw SerialPortError(ecTimeouts, error, port_);
}

void SerialPortBase::ApplyBufferSizes() {
  if (!CanApply()) return;
  if (const int error = device_->SetQueueSizes(buffer_.InputSize(), buffer_.OutputSize())) {
    throw SerialPortError(ecQueueSizes, error, port_);
  }
}

void SerialPortBase::BeginUpdate() {
  ++updateCount_;
}

void SerialPortBase::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) ApplySettings();
}

// --- transfers and line state ---------------------------------------------------------------

int SerialPortBase::Write(const void* buffer, int count) {
  if (count <= 0) return 0;
  const char* bytes = static_cast<const char*>(buffer);
  int written = 0;
  if (const int error = device_->Write(bytes, count, written))
    throw SerialPortError(ecWrite, error, port_);
  // The links hear of the write once it has succeeded: a write that fails at once must not
  // leave a transmit lamp burning.
  CallLinks([this](SerialPortListener& link) {
    if (link.OnTx) link.OnTx(this, true);
  });
  const QByteArray copy(bytes, count);
  CallLinks([&](SerialPortListener& link) {
    if (link.OnTxBuf) link.OnTxBuf(this, copy.constData(), copy.size());
  });
  return written;
}

int SerialPortBase::WriteStr(const QByteArray& str) {
  return Write(str.constData(), str.size());
}

int SerialPortBase::Read(void* buffer, int count) {
  if (count < 1) return 0;
  int read = 0;
  if (const int error = device_->Read(static_cast<char*>(buffer), count, read)) {
    throw SerialPortError(ecRead, error, port_);
  }
  // Asking for the input count clears the line-error flags; do it only for a link that wants
  // to know.
  if (AnyLink(&SerialPortListener::OnRx) && InputCount() == 0) {
    CallLinks([this](SerialPortListener& link) {
      if (link.OnRx) link.OnRx(this, false);
    });
  }
  return read;
}

int SerialPortBase::ReadStr(QByteArray& str, int count) {
  QByteArray bytes(std::max(count, 0), Qt::Uninitialized);
  bytes.resize(Read(bytes.data(), count));
  str = std::move(bytes);
  return str.size();
}

int SerialPortBase::InputCount() {
  LineErrors errors;
  int count = 0;
  if (const int error = device_->ClearErrors(errors, count))
    throw SerialPortError(ecLineStatus, error, port_);
  return count;
}

int SerialPortBase::OutputCount() {
  int count = 0;
  if (const int error = device_->OutputCount(count))
    throw SerialPortError(ecLineStatus, error, port_);
  return count;
}

LineSignals SerialPortBase::Signals() {
  LineSignals lines;
  if (const int error = device_->ModemStatus(lines))
    throw SerialPortError(ecModemStatus, error, port_);
  return lines;
}

LineErrors SerialPortBase::LastErrors() {
  LineErrors errors;
  int count = 0;
  if (const int error = device_->ClearErrors(errors, count))
    throw SerialPortError(ecLineStatus, error, port_);
  if (!parity_.Check()) errors.Exclude(ceRxParity);
  return errors;
}

void SerialPortBase::SetBreak(bool onOff) {
  if (const int error = device_->SetBreak(onOff)) throw SerialPortError(ecBreak, error, port_);
}

void SerialPortBase::ClearBuffer(bool input, bool output) {
  const int flags = (input ? kPurgeRxClear : 0) | (output ? kPurgeTxClear : 0);
  if (const int error = device_->Purge(flags)) throw SerialPortError(ecPurge, error, port_);
}

// --- links ----------------------------------------------------------------------------------

void SerialPortBase::RegisterLink(SerialPortListener* link) {
  if (std::find(links_.begin(), links_.end(), link) != links_.end())
    throw SerialPortError(ecLinkRegistration);
  links_.push_back(link);
  hasLink_ = std::any_of(links_.begin(), links_.end(),
                         [](SerialPortListener* l) { return bool(l->OnRxBuf); });
}

void SerialPortBase::UnregisterLink(SerialPortListener* link) {
  const auto found = std::find(links_.begin(), links_.end(), link);
  if (found == links_.end()) throw SerialPortError(ecLinkRegistration);
  links_.erase(found);
  hasLink_ = std::any_of(links_.begin(), links_.end(),
                         [](SerialPortListener* l) { return bool(l->OnRxBuf); });
}

void SerialPortBase::CallLinks(const std::function<void(SerialPortListener&)>& call) {
  // A link's handler may pump messages, and so register or unregister links meanwhile.
  const std::vector<SerialPortListener*> links = links_;
  for (SerialPortListener* link : links) {
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) call(*link);
  }
}

bool SerialPortBase::AnyLink(std::function<void(QObject*, bool)> SerialPortListener::*slot) const {
  return std::any_of(links_.begin(), links_.end(),
                     [slot](SerialPortListener* l) { return bool(l->*slot); });
}

void SerialPortBase::NotifySignal(LineSignal signal, bool onOff) {
  switch (signal) {
    case csCTS:
      CallLinks([&](SerialPortListener& link) {
        if (link.OnCTSChange) link.OnCTSChange(this, onOff);
      });
      DoCTSChange(onOff);
      break;
    case csDSR:
      CallLinks([&](SerialPortListener& link) {
        if (link.OnDSRChange) link.OnDSRChange(this, onOff);
      });
      DoDSRChange(onOff);
      break;
    case csRLSD:
      CallLinks([&](SerialPortListener& link) {
        if (link.OnRLSDChange) link.OnRLSDChange(this, onOff);
      });
      DoRLSDChange(onOff);
      break;
    case csRing:
      break;
  }
}

// --- line events ----------------------------------------------------------------------------

void SerialPortBase::HandleEvents(SerialEvents events, const StopSignal& stopped) {
  for (const SerialEvent event : kHandlerOrder) {
    if (!events.Contains(event)) continue;
    // A handler may have closed the port (and even opened it again).
    if (stopped.IsSet()) return;
    switch (event) {
      case evError: {
        const LineErrors errors = LastErrors();
        if (!errors.Empty()) DoError(errors);
        break;
      }
      case evRxChar: {
        int count = InputCount();
        if (count > 0) {
          CallLinks([this](SerialPortListener& link) {
            if (link.OnRx) link.OnRx(this, true);
          });
        }
        if (count > 0 && hasLink_) {
          QByteArray block(count, Qt::Uninitialized);
          count = Read(block.data(), count);
          DoRxBuf(block.constData(), count);
          CallLinks([&](SerialPortListener& link) {
            if (link.OnRxBuf) link.OnRxBuf(this, block.constData(), count);
          });
          count = 0;
        }
        if (count > 0) DoRxChar(count);
        break;
      }
      case evTxEmpty:
        CallLinks([this](SerialPortListener& link) {
          if (link.OnTx) link.OnTx(this, false);
        });
        CallLinks([this](SerialPortListener& link) {
          if (link.OnTxEmpty) link.OnTxEmpty(this);
        });
        DoTxEmpty();
        break;
      case evBreak:
        DoBreak();
        break;
      case evRing:
        CallLinks([this](SerialPortListener& link) {
          if (link.OnRing) link.OnRing(this);
        });
        DoRing();
        break;
      case evCTS:
        NotifySignal(csCTS, Signals().Contains(csCTS));
        break;
      case evDSR:
        NotifySignal(csDSR, Signals().Contains(csDSR));
        break;
      case evRxFlag:
        CallLinks([this](SerialPortListener& link) {
          if (link.OnRxFlag) link.OnRxFlag(this);
        });
        DoRxFlag();
        break;
      case evRLSD:
        NotifySignal(csRLSD, Signals().Contains(csRLSD));
        break;
      case evRx80Full:
        DoRx80Full();
        break;
    }
  }
}

void SerialPortBase::DoAfterClose() {
  if (OnAfterClose) OnAfterClose(this);
}
void SerialPortBase::DoAfterOpen() {
  if (OnAfterOpen) OnAfterOpen(this);
}
void SerialPortBase::DoBeforeClose() {
  if (OnBeforeClose) OnBeforeClose(this);
}
void SerialPortBase::DoBeforeOpen() {
  if (OnBeforeOpen) OnBeforeOpen(this);
}
void SerialPortBase::DoRxChar(int count) {
  if (OnRxChar) OnRxChar(this, count);
}
void SerialPortBase::DoRxBuf(const char* buffer, int count) {
  if (OnRxBuf) OnRxBuf(this, buffer, count);
}
void SerialPortBase::DoTxEmpty() {
  if (OnTxEmpty) OnTxEmpty(this);
}
void SerialPortBase::DoBreak() {
  if (OnBreak) OnBreak(this);
}
void SerialPortBase::DoRing() {
  if (OnRing) OnRing(this);
}
void SerialPortBase::DoRxFlag() {
  if (OnRxFlag) OnRxFlag(this);
}
void SerialPortBase::DoCTSChange(bool onOff) {
  if (OnCTSChange) OnCTSChange(this, onOff);
}
void SerialPortBase::DoDSRChange(bool onOff) {
  if (OnDSRChange) OnDSRChange(this, onOff);
}
void SerialPortBase::DoError(LineErrors errors) {
  if (OnError) OnError(this, errors);
}
void SerialPortBase::DoRLSDChange(bool onOff) {
  if (OnRLSDChange) OnRLSDChange(this, onOff);
}
void SerialPortBase::DoRx80Full() {
  if (OnRx80Full) OnRx80Full(this);
}
