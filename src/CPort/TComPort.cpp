#include "CPort/TComPort.h"

#include <algorithm>

#include "CPort/SerialDevice.h"
#include "CPort/TComLink.h"
#include "CPort/TComThread.h"
#include "CPort/TermiosDevice.h"

// --- sub-objects ----------------------------------------------------------------------------

// Stores a changed value and applies it through the port.
template <typename T>
static void Change(T& field, T value, TCustomComPort* port, void (TCustomComPort::*apply)()) {
  if (field == value) return;
  field = value;
  (port->*apply)();
}

void TComBuffer::Assign(const TComBuffer& source) {
  inputSize_ = source.inputSize_;
  outputSize_ = source.outputSize_;
}

// A positive odd size is stored one less (1025 becomes 1024).
static int EvenSize(int value) {
  return value > 0 && value % 2 != 0 ? value - 1 : value;
}

void TComBuffer::SetInputSize(int value) {
  if (value == inputSize_) return;
  inputSize_ = EvenSize(value);
  port_->ApplyBufferSizes();
}

void TComBuffer::SetOutputSize(int value) {
  if (value == outputSize_) return;
  outputSize_ = EvenSize(value);
  port_->ApplyBufferSizes();
}

void TComParity::Assign(const TComParity& source) {
  bits_ = source.bits_;
  check_ = source.check_;
  replace_ = source.replace_;
  replaceChar_ = source.replaceChar_;
}

void TComParity::SetBits(TParityBits value) {
  Change(bits_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComParity::SetCheck(bool value) {
  Change(check_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComParity::SetReplace(bool value) {
  Change(replace_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComParity::SetReplaceChar(unsigned char value) {
  Change(replaceChar_, value, port_, &TCustomComPort::ApplyLineSettings);
}

void TComTimeouts::Assign(const TComTimeouts& source) {
  readInterval_ = source.readInterval_;
  readTotalMultiplier_ = source.readTotalMultiplier_;
  readTotalConstant_ = source.readTotalConstant_;
  writeTotalMultiplier_ = source.writeTotalMultiplier_;
  writeTotalConstant_ = source.writeTotalConstant_;
}

void TComTimeouts::SetReadInterval(int value) {
  Change(readInterval_, value, port_, &TCustomComPort::ApplyTimeouts);
}
void TComTimeouts::SetReadTotalMultiplier(int value) {
  Change(readTotalMultiplier_, value, port_, &TCustomComPort::ApplyTimeouts);
}
void TComTimeouts::SetReadTotalConstant(int value) {
  Change(readTotalConstant_, value, port_, &TCustomComPort::ApplyTimeouts);
}
void TComTimeouts::SetWriteTotalMultiplier(int value) {
  Change(writeTotalMultiplier_, value, port_, &TCustomComPort::ApplyTimeouts);
}
void TComTimeouts::SetWriteTotalConstant(int value) {
  Change(writeTotalConstant_, value, port_, &TCustomComPort::ApplyTimeouts);
}

void TComFlowControl::Assign(const TComFlowControl& source) {
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

void TComFlowControl::SetOutCTSFlow(bool value) {
  Change(outCTSFlow_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComFlowControl::SetOutDSRFlow(bool value) {
  Change(outDSRFlow_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComFlowControl::SetControlDTR(TDTRFlowControl value) {
  Change(controlDTR_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComFlowControl::SetControlRTS(TRTSFlowControl value) {
  Change(controlRTS_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComFlowControl::SetXonXoffOut(bool value) {
  Change(xonXoffOut_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComFlowControl::SetXonXoffIn(bool value) {
  Change(xonXoffIn_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComFlowControl::SetDSRSensitivity(bool value) {
  Change(dsrSensitivity_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComFlowControl::SetTxContinueOnXoff(bool value) {
  Change(txContinueOnXoff_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComFlowControl::SetXonChar(unsigned char value) {
  Change(xonChar_, value, port_, &TCustomComPort::ApplyLineSettings);
}
void TComFlowControl::SetXoffChar(unsigned char value) {
  Change(xoffChar_, value, port_, &TCustomComPort::ApplyLineSettings);
}

TFlowControl TComFlowControl::FlowControl() const {
  const bool xonXoff = xonXoffIn_ || xonXoffOut_;
  if (controlRTS_ == rtsHandshake && outCTSFlow_ && !xonXoff) return fcHardware;
  if (controlRTS_ == rtsDisable && !outCTSFlow_) {
    if (xonXoffIn_ && xonXoffOut_) return fcSoftware;
    if (!xonXoff) return fcNone;
  }
  return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl value) {
  if (value != fcCustom) {
    controlRTS_ = value == fcHardware ? rtsHandshake : rtsDisable;
    outCTSFlow_ = value == fcHardware;
    xonXoffIn_ = xonXoffOut_ = value == fcSoftware;
  }
  port_->ApplyLineSettings();
}

// --- the port -------------------------------------------------------------------------------

TCustomComPort::TCustomComPort(QObject* owner)
    : QObject(owner), device_(std::make_unique<TermiosDevice>()) {}

TCustomComPort::~TCustomComPort() {
  try {
    Close();
  } catch (...) {
    // A destructor cannot report; make sure nothing outlives the port all the same.
    StopEventThread();
    device_->Close();
  }
}

bool TCustomComPort::Connected() const {
  return connected_;
}

void TCustomComPort::SetConnected(bool value) {
  if (value == connected_) return;
  value ? Open() : Close();
}

void TCustomComPort::SetBaudRate(TBaudRate value) {
  Change(baudRate_, value, this, &TCustomComPort::ApplyLineSettings);
}
void TCustomComPort::SetCustomBaudRate(int value) {
  Change(customBaudRate_, value, this, &TCustomComPort::ApplyLineSettings);
}
void TCustomComPort::SetStopBits(TStopBits value) {
  Change(stopBits_, value, this, &TCustomComPort::ApplyLineSettings);
}
void TCustomComPort::SetDataBits(TDataBits value) {
  Change(dataBits_, value, this, &TCustomComPort::ApplyLineSettings);
}
void TCustomComPort::SetDiscardNull(bool value) {
  Change(discardNull_, value, this, &TCustomComPort::ApplyLineSettings);
}
void TCustomComPort::SetEventChar(unsigned char value) {
  Change(eventChar_, value, this, &TCustomComPort::ApplyLineSettings);
}

void TCustomComPort::SetPort(const QString& value) {
  if (value == port_) return;
  port_ = value;
  if (connected_) {
    Close();
    Open();
  }
}

void TCustomComPort::SetSyncMethod(TSyncMethod value) {
  if (value == syncMethod_) return;
  if (connected_) throw EComPort(ecConnected);
  syncMethod_ = value;
}

void TCustomComPort::SetParity(const TComParity& value) {
  parity_.Assign(value);
  ApplyLineSettings();
}
void TCustomComPort::SetBuffer(const TComBuffer& value) {
  buffer_.Assign(value);
  ApplyBufferSizes();
}
void TCustomComPort::SetTimeouts(const TComTimeouts& value) {
  timeouts_.Assign(value);
  ApplyTimeouts();
}
void TCustomComPort::SetFlowControl(const TComFlowControl& value) {
  flowControl_.Assign(value);
  ApplyLineSettings();
}

void TCustomComPort::UseDevice(std::unique_ptr<SerialDevice> device) {
  if (connected_) {
    nextDevice_ = std::move(device);
  } else {
    device_ = std::move(device);
  }
}

// --- open, close, apply ---------------------------------------------------------------------

void TCustomComPort::Open() {
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
    TComEventTarget& target = *this;
    if (syncMethod_ == smWindowSync) syncWindow_ = std::make_unique<TComSyncWindow>(target);
    eventThread_ = std::make_unique<TComThread>(target, *device_, events_, syncWindow_.get());
  }
  CallLinks([this](TComLink& link) {
    if (link.OnConn) link.OnConn(this, true);
  });
  DoAfterOpen();
  const TComSignals lines = Signals();
  NotifySignal(csCTS, lines.Contains(csCTS));
  NotifySignal(csDSR, lines.Contains(csDSR));
  NotifySignal(csRLSD, lines.Contains(csRLSD));
}

void TCustomComPort::Close() {
  if (!connected_) return;
  NotifySignal(csCTS, false);
  NotifySignal(csDSR, false);
  NotifySignal(csRLSD, false);
  DoBeforeClose();
  if (const int error = device_->Purge(kPurgeTxAbort | kPurgeRxAbort)) {
    throw EComPort(ecPurge, error, port_);
  }
  StopEventThread();
  DestroyHandle();
  connected_ = false;
  CallLinks([this](TComLink& link) {
    if (link.OnConn) link.OnConn(this, false);
  });
  DoAfterClose();
}

void TCustomComPort::StopEventThread() {
  // Also from inside one of the thread's own batches: the thread does not wait for the batch
  // once it is stopped, so the two never wait for each other.
  eventThread_.reset();
  syncWindow_.reset();
}

void TCustomComPort::CreateHandle() {
  if (nextDevice_) device_ = std::move(nextDevice_);
  if (const int error = device_->Open(port_)) throw EComPort(ecOpen, error, port_);
}

void TCustomComPort::DestroyHandle() {
  device_->Close();
}

bool TCustomComPort::CanApply() const {
  return connected_ && updateCount_ == 0;
}

void TCustomComPort::ApplySettings() {
  ApplyBufferSizes();
  ApplyLineSettings();
  ApplyTimeouts();
}

SerialLineSettings TCustomComPort::LineSettings() const {
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

void TCustomComPort::ApplyLineSettings() {
  if (!CanApply()) return;
  if (const int error = device_->SetLineSettings(LineSettings()))
    throw EComPort(ecLineSettings, error, port_);
}

void TCustomComPort::ApplyTimeouts() {
  if (!CanApply()) return;
  // As unsigned values: -1 is "no interval limit".
  const SerialTimeouts t{static_cast<std::uint32_t>(timeouts_.ReadInterval()),
                         static_cast<std::uint32_t>(timeouts_.ReadTotalMultiplier()),
                         static_cast<std::uint32_t>(timeouts_.ReadTotalConstant()),
                         static_cast<std::uint32_t>(timeouts_.WriteTotalMultiplier()),
                         static_cast<std::uint32_t>(timeouts_.WriteTotalConstant())};
  if (const int error = device_->SetTimeouts(t)) throw EComPort(ecTimeouts, error, port_);
}

void TCustomComPort::ApplyBufferSizes() {
  if (!CanApply()) return;
  if (const int error = device_->SetQueueSizes(buffer_.InputSize(), buffer_.OutputSize())) {
    throw EComPort(ecQueueSizes, error, port_);
  }
}

void TCustomComPort::BeginUpdate() {
  ++updateCount_;
}

void TCustomComPort::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) ApplySettings();
}

// --- transfers and line state ---------------------------------------------------------------

int TCustomComPort::Write(const void* buffer, int count) {
  if (count <= 0) return 0;
  const char* bytes = static_cast<const char*>(buffer);
  int written = 0;
  if (const int error = device_->Write(bytes, count, written))
    throw EComPort(ecWrite, error, port_);
  // The links hear of the write once it has succeeded: a write that fails at once must not
  // leave a transmit lamp burning.
  CallLinks([this](TComLink& link) {
    if (link.OnTx) link.OnTx(this, true);
  });
  const QByteArray copy(bytes, count);
  CallLinks([&](TComLink& link) {
    if (link.OnTxBuf) link.OnTxBuf(this, copy.constData(), copy.size());
  });
  return written;
}

int TCustomComPort::WriteStr(const QByteArray& str) {
  return Write(str.constData(), str.size());
}

int TCustomComPort::Read(void* buffer, int count) {
  if (count < 1) return 0;
  int read = 0;
  if (const int error = device_->Read(static_cast<char*>(buffer), count, read)) {
    throw EComPort(ecRead, error, port_);
  }
  // Asking for the input count clears the line-error flags; do it only for a link that wants
  // to know.
  if (AnyLink(&TComLink::OnRx) && InputCount() == 0) {
    CallLinks([this](TComLink& link) {
      if (link.OnRx) link.OnRx(this, false);
    });
  }
  return read;
}

int TCustomComPort::ReadStr(QByteArray& str, int count) {
  QByteArray bytes(std::max(count, 0), Qt::Uninitialized);
  bytes.resize(Read(bytes.data(), count));
  str = std::move(bytes);
  return str.size();
}

int TCustomComPort::InputCount() {
  TComErrors errors;
  int count = 0;
  if (const int error = device_->ClearErrors(errors, count))
    throw EComPort(ecLineStatus, error, port_);
  return count;
}

int TCustomComPort::OutputCount() {
  int count = 0;
  if (const int error = device_->OutputCount(count)) throw EComPort(ecLineStatus, error, port_);
  return count;
}

TComSignals TCustomComPort::Signals() {
  TComSignals lines;
  if (const int error = device_->ModemStatus(lines)) throw EComPort(ecModemStatus, error, port_);
  return lines;
}

TComErrors TCustomComPort::LastErrors() {
  TComErrors errors;
  int count = 0;
  if (const int error = device_->ClearErrors(errors, count))
    throw EComPort(ecLineStatus, error, port_);
  if (!parity_.Check()) errors.Exclude(ceRxParity);
  return errors;
}

void TCustomComPort::SetBreak(bool onOff) {
  if (const int error = device_->SetBreak(onOff)) throw EComPort(ecBreak, error, port_);
}

void TCustomComPort::ClearBuffer(bool input, bool output) {
  const int flags = (input ? kPurgeRxClear : 0) | (output ? kPurgeTxClear : 0);
  if (const int error = device_->Purge(flags)) throw EComPort(ecPurge, error, port_);
}

// --- links ----------------------------------------------------------------------------------

void TCustomComPort::RegisterLink(TComLink* link) {
  if (std::find(links_.begin(), links_.end(), link) != links_.end())
    throw EComPort(ecLinkRegistration);
  links_.push_back(link);
  hasLink_ =
      std::any_of(links_.begin(), links_.end(), [](TComLink* l) { return bool(l->OnRxBuf); });
}

void TCustomComPort::UnregisterLink(TComLink* link) {
  const auto found = std::find(links_.begin(), links_.end(), link);
  if (found == links_.end()) throw EComPort(ecLinkRegistration);
  links_.erase(found);
  hasLink_ =
      std::any_of(links_.begin(), links_.end(), [](TComLink* l) { return bool(l->OnRxBuf); });
}

void TCustomComPort::CallLinks(const std::function<void(TComLink&)>& call) {
  // A link's handler may pump messages, and so register or unregister links meanwhile.
  const std::vector<TComLink*> links = links_;
  for (TComLink* link : links) {
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) call(*link);
  }
}

bool TCustomComPort::AnyLink(std::function<void(QObject*, bool)> TComLink::*slot) const {
  return std::any_of(links_.begin(), links_.end(), [slot](TComLink* l) { return bool(l->*slot); });
}

void TCustomComPort::NotifySignal(TComSignal signal, bool onOff) {
  switch (signal) {
    case csCTS:
      CallLinks([&](TComLink& link) {
        if (link.OnCTSChange) link.OnCTSChange(this, onOff);
      });
      DoCTSChange(onOff);
      break;
    case csDSR:
      CallLinks([&](TComLink& link) {
        if (link.OnDSRChange) link.OnDSRChange(this, onOff);
      });
      DoDSRChange(onOff);
      break;
    case csRLSD:
      CallLinks([&](TComLink& link) {
        if (link.OnRLSDChange) link.OnRLSDChange(this, onOff);
      });
      DoRLSDChange(onOff);
      break;
    case csRing:
      break;
  }
}

// --- line events ----------------------------------------------------------------------------

void TCustomComPort::HandleEvents(TComEvents events, const StopSignal& stopped) {
  for (const TComEvent event : kHandlerOrder) {
    if (!events.Contains(event)) continue;
    // A handler may have closed the port (and even opened it again).
    if (stopped.IsSet()) return;
    switch (event) {
      case evError: {
        const TComErrors errors = LastErrors();
        if (!errors.Empty()) DoError(errors);
        break;
      }
      case evRxChar: {
        int count = InputCount();
        if (count > 0) {
          CallLinks([this](TComLink& link) {
            if (link.OnRx) link.OnRx(this, true);
          });
        }
        if (count > 0 && hasLink_) {
          QByteArray block(count, Qt::Uninitialized);
          count = Read(block.data(), count);
          DoRxBuf(block.constData(), count);
          CallLinks([&](TComLink& link) {
            if (link.OnRxBuf) link.OnRxBuf(this, block.constData(), count);
          });
          count = 0;
        }
        if (count > 0) DoRxChar(count);
        break;
      }
      case evTxEmpty:
        CallLinks([this](TComLink& link) {
          if (link.OnTx) link.OnTx(this, false);
        });
        CallLinks([this](TComLink& link) {
          if (link.OnTxEmpty) link.OnTxEmpty(this);
        });
        DoTxEmpty();
        break;
      case evBreak:
        DoBreak();
        break;
      case evRing:
        CallLinks([this](TComLink& link) {
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
        CallLinks([this](TComLink& link) {
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

void TCustomComPort::DoAfterClose() {
  if (OnAfterClose) OnAfterClose(this);
}
void TCustomComPort::DoAfterOpen() {
  if (OnAfterOpen) OnAfterOpen(this);
}
void TCustomComPort::DoBeforeClose() {
  if (OnBeforeClose) OnBeforeClose(this);
}
void TCustomComPort::DoBeforeOpen() {
  if (OnBeforeOpen) OnBeforeOpen(this);
}
void TCustomComPort::DoRxChar(int count) {
  if (OnRxChar) OnRxChar(this, count);
}
void TCustomComPort::DoRxBuf(const char* buffer, int count) {
  if (OnRxBuf) OnRxBuf(this, buffer, count);
}
void TCustomComPort::DoTxEmpty() {
  if (OnTxEmpty) OnTxEmpty(this);
}
void TCustomComPort::DoBreak() {
  if (OnBreak) OnBreak(this);
}
void TCustomComPort::DoRing() {
  if (OnRing) OnRing(this);
}
void TCustomComPort::DoRxFlag() {
  if (OnRxFlag) OnRxFlag(this);
}
void TCustomComPort::DoCTSChange(bool onOff) {
  if (OnCTSChange) OnCTSChange(this, onOff);
}
void TCustomComPort::DoDSRChange(bool onOff) {
  if (OnDSRChange) OnDSRChange(this, onOff);
}
void TCustomComPort::DoError(TComErrors errors) {
  if (OnError) OnError(this, errors);
}
void TCustomComPort::DoRLSDChange(bool onOff) {
  if (OnRLSDChange) OnRLSDChange(this, onOff);
}
void TCustomComPort::DoRx80Full() {
  if (OnRx80Full) OnRx80Full(this);
}
