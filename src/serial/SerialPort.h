// The serial port component: settings kept as properties and sub-objects, applied to the device
// when it opens and whenever they change while it is open; blocking writes, non-blocking reads,
// line signals, break, queue purges, listener links and the line-event thread.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "serial/SerialEventTarget.h"
#include "serial/SerialPortError.h"
#include "serial/SerialTypes.h"

class SerialPortBase;
class SerialEventThread;
class SerialPortListener;
class SerialDevice;
struct SerialLineSettings;

// Driver queue sizes. A positive odd size is stored one less.
class PortBufferSizes {
 public:
  explicit PortBufferSizes(SerialPortBase* port) : port_(port) {}
  void Assign(const PortBufferSizes& source);

  int InputSize() const { return inputSize_; }
  int OutputSize() const { return outputSize_; }
  void SetInputSize(int value);
  void SetOutputSize(int value);

 private:
  SerialPortBase* port_;
  int inputSize_ = 1024;
  int outputSize_ = 1024;
};

class PortParity {
 public:
  explicit PortParity(SerialPortBase* port) : port_(port) {}
  void Assign(const PortParity& source);

  ParityBits Bits() const { return bits_; }
  bool Check() const { return check_; }
  bool Replace() const { return replace_; }
  unsigned char ReplaceChar() const { return replaceChar_; }
  void SetBits(ParityBits value);
  void SetCheck(bool value);
  void SetReplace(bool value);
  void SetReplaceChar(unsigned char value);

 private:
  SerialPortBase* port_;
  ParityBits bits_ = prNone;
  bool check_ = false;
  bool replace_ = false;
  unsigned char replaceChar_ = 0;
};

// Milliseconds; -1 for ReadInterval means "no interval limit" (return at once with what is there).
class PortTimeouts {
 public:
  explicit PortTimeouts(SerialPortBase* port) : port_(port) {}
  void Assign(const PortTimeouts& source);

  int ReadInterval() const { return readInterval_; }
  int ReadTotalMultiplier() const { return readTotalMultiplier_; }
  int ReadTotalConstant() const { return readTotalConstant_; }
  int WriteTotalMultiplier() const { return writeTotalMultiplier_; }
  int WriteTotalConstant() const { return writeTotalConstant_; }
  void SetReadInterval(int value);
  void SetReadTotalMultiplier(int value);
  void SetReadTotalConstant(int value);
  void SetWriteTotalMultiplier(int value);
  void SetWriteTotalConstant(int value);

 private:
  SerialPortBase* port_;
  int readInterval_ = -1;
  int readTotalMultiplier_ = 0;
  int readTotalConstant_ = 0;
  int writeTotalMultiplier_ = 100;
  int writeTotalConstant_ = 1000;
};

class PortFlowControl {
 public:
  explicit PortFlowControl(SerialPortBase* port) : port_(port) {}
  void Assign(const PortFlowControl& source);

  bool OutCTSFlow() const { return outCTSFlow_; }
  bool OutDSRFlow() const { return outDSRFlow_; }
  DtrControl ControlDTR() const { return controlDTR_; }
  RtsControl ControlRTS() const { return controlRTS_; }
  bool XonXoffOut() const { return xonXoffOut_; }
  bool XonXoffIn() const { return xonXoffIn_; }
  bool DSRSensitivity() const { return dsrSensitivity_; }
  bool TxContinueOnXoff() const { return txContinueOnXoff_; }
  unsigned char XonChar() const { return xonChar_; }
  unsigned char XoffChar() const { return xoffChar_; }
  void SetOutCTSFlow(bool value);
  void SetOutDSRFlow(bool value);
  void SetControlDTR(DtrControl value);
  void SetControlRTS(RtsControl value);
  void SetXonXoffOut(bool value);
  void SetXonXoffIn(bool value);
  void SetDSRSensitivity(bool value);
  void SetTxContinueOnXoff(bool value);
  void SetXonChar(unsigned char value);
  void SetXoffChar(unsigned char value);

  // Shorthand computed from the fields above; setting it rewrites RTS, CTS flow and Xon/Xoff.
  FlowControlSetting FlowControl() const;
  void SetFlowControl(FlowControlSetting value);

 private:
  SerialPortBase* port_;
  bool outCTSFlow_ = false;
  bool outDSRFlow_ = false;
  DtrControl controlDTR_ = dtrDisable;
  RtsControl controlRTS_ = rtsDisable;
  bool xonXoffOut_ = false;
  bool xonXoffIn_ = false;
  bool dsrSensitivity_ = false;
  bool txContinueOnXoff_ = false;
  unsigned char xonChar_ = 17;
  unsigned char xoffChar_ = 19;
};

using NotifyHandler = std::function<void(QObject* Sender)>;
using RxCharHandler = std::function<void(QObject* Sender, int Count)>;
using RxBufHandler = std::function<void(QObject* Sender, const char* Buffer, int Count)>;
using SignalHandler = std::function<void(QObject* Sender, bool OnOff)>;
using LineErrorHandler = std::function<void(QObject* Sender, LineErrors Errors)>;

class SerialPortBase : public QObject, private SerialEventTarget {
  Q_OBJECT

 public:
  explicit SerialPortBase(QObject* owner = nullptr);
  ~SerialPortBase() override;

  // --- properties -------------------------------------------------------------------------
  bool Connected() const override;
  void SetConnected(bool value);
  BaudRateSetting BaudRate() const { return baudRate_; }
  void SetBaudRate(BaudRateSetting value);
  int CustomBaudRate() const { return customBaudRate_; }
  void SetCustomBaudRate(int value);
  const QString& Port() const { return port_; }
  void SetPort(const QString& value);
  StopBitsSetting StopBits() const { return stopBits_; }
  void SetStopBits(StopBitsSetting value);
  DataBitsSetting DataBits() const { return dataBits_; }
  void SetDataBits(DataBitsSetting value);
  bool DiscardNull() const { return discardNull_; }
  void SetDiscardNull(bool value);
  unsigned char EventChar() const { return eventChar_; }
  void SetEventChar(unsigned char value);
  SerialEvents Events() const { return events_; }
  void SetEvents(SerialEvents value) { events_ = value; }

  PortParity& Parity() { return parity_; }
  PortBufferSizes& Buffer() { return buffer_; }
  PortTimeouts& Timeouts() { return timeouts_; }
  PortFlowControl& FlowControl() { return flowControl_; }
  void SetParity(const PortParity& value);
  void SetBuffer(const PortBufferSizes& value);
  void SetTimeouts(const PortTimeouts& value);
  void SetFlowControl(const PortFlowControl& value);

  // --- operations -------------------------------------------------------------------------
  void Open();
  void Close();
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  int Write(const void* buffer, int count);
  int WriteStr(const QByteArray& str);
  int Read(void* buffer, int count);
  int ReadStr(QByteArray& str, int count);
  int InputCount();
  // Bytes written that have not left the port yet.
  int OutputCount();
  LineSignals Signals();
  LineErrors LastErrors();
  void SetBreak(bool onOff);
  void ClearBuffer(bool input, bool output);

  void RegisterLink(SerialPortListener* link);
  void UnregisterLink(SerialPortListener* link);

  // Tests and tools may replace the device the port opens (the termios device by default).
  // The port takes ownership; the device is used from the next Open on.
  void UseDevice(std::unique_ptr<SerialDevice> device);

  // --- events -----------------------------------------------------------------------------
  NotifyHandler OnAfterOpen, OnAfterClose, OnBeforeOpen, OnBeforeClose;
  RxCharHandler OnRxChar;
  RxBufHandler OnRxBuf;
  NotifyHandler OnTxEmpty, OnBreak, OnRing, OnRxFlag, OnRx80Full;
  SignalHandler OnCTSChange, OnDSRChange, OnRLSDChange;
  LineErrorHandler OnError;

 protected:
  virtual void CreateHandle();
  virtual void DestroyHandle();
  virtual void ApplySettings();
  virtual void DoAfterClose();
  virtual void DoAfterOpen();
  virtual void DoBeforeClose();
  virtual void DoBeforeOpen();
  virtual void DoRxChar(int count);
  virtual void DoRxBuf(const char* buffer, int count);
  virtual void DoTxEmpty();
  virtual void DoBreak();
  virtual void DoRing();
  virtual void DoRxFlag();
  virtual void DoCTSChange(bool onOff);
  virtual void DoDSRChange(bool onOff);
  virtual void DoError(LineErrors errors);
  virtual void DoRLSDChange(bool onOff);
  virtual void DoRx80Full();
  virtual void ApplyLineSettings();
  virtual void ApplyTimeouts();
  virtual void ApplyBufferSizes();

 private:
  friend class PortBufferSizes;
  friend class PortParity;
  friend class PortTimeouts;
  friend class PortFlowControl;

  bool CanApply() const;
  void CallLinks(const std::function<void(SerialPortListener&)>& call);
  bool AnyLink(std::function<void(QObject*, bool)> SerialPortListener::*slot) const;
  // Tells the links and the port's own event about a line signal (CTS, DSR or RLSD).
  void NotifySignal(LineSignal signal, bool onOff);
  SerialLineSettings LineSettings() const;
  void StopEventThread();
  QObject* EventContext() override { return this; }
  void HandleEvents(SerialEvents events, const StopSignal& stopped) override;

  std::unique_ptr<SerialDevice> device_;
  std::unique_ptr<SerialDevice> nextDevice_;  // from UseDevice while open: taken at the next Open
  bool connected_ = false;
  BaudRateSetting baudRate_ = br9600;
  int customBaudRate_ = 9600;
  QString port_ = QStringLiteral("COM1");
  StopBitsSetting stopBits_ = sbOneStopBit;
  DataBitsSetting dataBits_ = dbEight;
  bool discardNull_ = false;
  unsigned char eventChar_ = 0;
  SerialEvents events_ = kAllSerialEvents;
  PortBufferSizes buffer_{this};
  PortParity parity_{this};
  PortTimeouts timeouts_{this};
  PortFlowControl flowControl_{this};
  int updateCount_ = 0;
  std::vector<SerialPortListener*> links_;
  bool hasLink_ = false;  // some link listens for received buffers
  std::unique_ptr<SerialEventThread> eventThread_;
};

class SerialPort : public SerialPortBase {
  Q_OBJECT

 public:
  using SerialPortBase::SerialPortBase;
};

// Where udev keeps a stable name for each serial adapter, one that survives re-plugging.
inline const QString kSerialByIdDir = QStringLiteral("/dev/serial/by-id");

// One port as the user picks it: Path is what is opened and remembered, DisplayName what the
// list shows ("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 (ttyUSB0)" for an adapter with a
// stable name, the path itself otherwise).
struct SerialPortName {
  QString Path;
  QString DisplayName;
};

// The serial ports this machine knows, and the ports published for Sorvell, sorted by their
// shown names ignoring case. A device with a link in byIdDir is listed once, by that link.
// Raises SerialPortError ecPortList (23) when the system cannot be asked.
std::vector<SerialPortName> ListSerialPortNames(const QString& byIdDir = kSerialByIdDir);

// The paths of ListSerialPortNames, sorted as text ignoring case.
void ListSerialPorts(QStringList& ports);

// Where ports are published for Sorvell (the simulator puts its ptys there): symbolic links to
// the devices, listed by ListSerialPorts under the link's own path. $XDG_RUNTIME_DIR/sorvell-ports,
// or /tmp/sorvell-ports-<uid> when XDG_RUNTIME_DIR is not set.
QString PublishedPortsDir();
