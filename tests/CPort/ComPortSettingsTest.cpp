// Properties, their setter rules, the operations and their error codes, against the in-memory
// line. No event thread runs here (Events is emptied), so everything is synchronous.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "CPort/MemoryDevice.h"
#include "CPort/TComLink.h"
#include "CPort/TComPort.h"

namespace {

class PortOnLine : public testing::Test {
 protected:
  PortOnLine() {
    port.SetPort(QStringLiteral("/dev/memory0"));
    port.SetEvents({});
    port.UseDevice(std::make_unique<MemoryDevice>(line));
  }

  // Declared before the port: its handlers log here until the port is gone.
  QStringList log;
  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  TComPort port;
};

// Runs call and returns the EComPort it raised (code 0 when it raised none).
EComPort Raised(const std::function<void()>& call) {
  try {
    call();
  } catch (const EComPort& error) {
    return error;
  }
  return EComPort(0);
}

TEST(ComPortTypes, TextFormsRoundTripAndFallBack) {
  for (int v = brCustom; v <= br256000; ++v) {
    const auto rate = static_cast<TBaudRate>(v);
    EXPECT_EQ(StrToBaudRate(BaudRateToStr(rate)), rate);
  }
  EXPECT_EQ(BaudRateToInt(br56000), 56000);
  EXPECT_EQ(BaudRateToInt(brCustom), 0);
  EXPECT_EQ(StrToParity(QStringLiteral("sPaCe")), prSpace);
  EXPECT_EQ(StrToStopBits(QStringLiteral("1.5")), sbOne5StopBits);
  EXPECT_EQ(StrToRTS(QStringLiteral("TOGGLE")), rtsToggle);
  EXPECT_EQ(StrToBaudRate(QStringLiteral("9601")), br9600);
  EXPECT_EQ(StrToDataBits(QStringLiteral("9")), dbEight);
  EXPECT_EQ(StrToFlowControl(QString()), fcCustom);
  EXPECT_EQ(StrToDTR(QStringLiteral("x")), dtrDisable);
  EXPECT_EQ(FlowControlToStr(fcSoftware), QStringLiteral("Software"));
}

TEST(ComPortMessages, CarryTheOsErrorNumberWhenThereIsOne) {
  EXPECT_EQ(EComPort(1, 2).Message(),
            QStringLiteral("Unable to open com port (win error code: 2)"));
  const EComPort own(18);
  EXPECT_EQ(own.Message(), QStringLiteral("Link (un)registration failed"));
  EXPECT_EQ(own.SystemErrorCode(), -1);
  const EComPort write(2, EIO, QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(write.OsErrorNumber(), EIO);
  EXPECT_EQ(write.OsErrorSubject(), QStringLiteral("/dev/ttyUSB0"));
}

TEST_F(PortOnLine, SettingsReachTheDeviceOnlyWhenOpenAndNoUpdateRuns) {
  port.SetBaudRate(br2400);
  port.Open();
  EXPECT_EQ(line->LineSettings().baudRate, 2400);
  EXPECT_EQ(line->LineSettingsCount(), 1);

  port.SetBaudRate(br19200);
  EXPECT_EQ(line->LineSettings().baudRate, 19200);
  port.SetBaudRate(br19200);  // unchanged: not applied again
  EXPECT_EQ(line->LineSettingsCount(), 2);

  port.BeginUpdate();
  port.BeginUpdate();
  port.SetStopBits(sbTwoStopBits);
  port.Timeouts().SetReadTotalConstant(50);
  port.EndUpdate();
  EXPECT_EQ(line->LineSettings().stopBits, sbOneStopBit);
  port.EndUpdate();
  EXPECT_EQ(port.UpdateCount(), 0);
  EXPECT_EQ(line->LineSettings().stopBits, sbTwoStopBits);
  EXPECT_EQ(line->Timeouts().readTotalConstant, 50u);
  port.EndUpdate();  // never below zero
  EXPECT_EQ(port.UpdateCount(), 0);
}

TEST_F(PortOnLine, LineSettingsFollowTheProperties) {
  port.SetBaudRate(brCustom);
  port.SetCustomBaudRate(16457);
  port.Parity().SetBits(prMark);
  port.Parity().SetReplace(true);
  port.Parity().SetReplaceChar('?');
  port.Buffer().SetInputSize(2048);
  port.SetDiscardNull(true);
  port.SetEventChar('Z');
  port.Open();
  SerialLineSettings s = line->LineSettings();
  EXPECT_EQ(s.baudRate, 16457);
  EXPECT_EQ(s.parity, prMark);
  EXPECT_FALSE(s.errorCharReplace);  // replacement needs parity checking too
  EXPECT_EQ(s.errorChar, 0);
  EXPECT_EQ(s.xonLimit, 512);
  EXPECT_EQ(s.xoffLimit, 512);
  EXPECT_TRUE(s.discardNull);
  EXPECT_EQ(s.eventChar, 'Z');
  EXPECT_EQ(line->InputQueueSize(), 2048);

  port.Parity().SetCheck(true);
  s = line->LineSettings();
  EXPECT_TRUE(s.errorCharReplace);
  EXPECT_EQ(s.errorChar, '?');

  port.Timeouts().SetReadInterval(-1);
  EXPECT_EQ(line->Timeouts().readInterval, 0xFFFFFFFFu);
}

TEST_F(PortOnLine, BufferSizesStoreOddPositiveValuesOneLess) {
  port.Buffer().SetInputSize(1025);
  EXPECT_EQ(port.Buffer().InputSize(), 1024);
  port.Buffer().SetOutputSize(7);
  EXPECT_EQ(port.Buffer().OutputSize(), 6);
  port.Buffer().SetInputSize(-3);
  EXPECT_EQ(port.Buffer().InputSize(), -3);

  // A negative size reaches the device only when open, which refuses it; the value stays.
  const EComPort error = Raised([&] { port.Open(); });
  EXPECT_EQ(error.ErrorCode(), 9);
  EXPECT_EQ(error.SystemErrorCode(), EINVAL);
  EXPECT_FALSE(port.Connected());
  EXPECT_FALSE(line->IsOpen());
  EXPECT_EQ(port.Buffer().InputSize(), -3);
}

TEST_F(PortOnLine, FlowControlShorthand) {
  TComFlowControl& flow = port.FlowControl();
  flow.SetControlDTR(dtrEnable);
  flow.SetOutDSRFlow(true);
  flow.SetFlowControl(fcHardware);
  EXPECT_EQ(flow.ControlRTS(), rtsHandshake);
  EXPECT_TRUE(flow.OutCTSFlow());
  EXPECT_EQ(flow.FlowControl(), fcHardware);
  flow.SetControlDTR(dtrHandshake);
  EXPECT_EQ(flow.FlowControl(), fcHardware);

  flow.SetFlowControl(fcSoftware);
  EXPECT_EQ(flow.ControlRTS(), rtsDisable);
  EXPECT_FALSE(flow.OutCTSFlow());
  EXPECT_TRUE(flow.XonXoffIn() && flow.XonXoffOut());
  EXPECT_EQ(flow.FlowControl(), fcSoftware);

  flow.SetXonXoffIn(false);
  EXPECT_EQ(flow.FlowControl(), fcCustom);
  flow.SetFlowControl(fcCustom);  // changes nothing
  EXPECT_TRUE(flow.XonXoffOut());
  flow.SetFlowControl(fcNone);
  EXPECT_EQ(flow.FlowControl(), fcNone);
  flow.SetControlRTS(rtsEnable);
  EXPECT_EQ(flow.FlowControl(), fcCustom);

  // The shorthand never touches DSR flow or DTR.
  EXPECT_TRUE(flow.OutDSRFlow());
  EXPECT_EQ(flow.ControlDTR(), dtrHandshake);

  // Setting the shorthand applies the line settings even when nothing changed.
  port.Open();
  const int applied = line->LineSettingsCount();
  flow.SetFlowControl(fcCustom);
  EXPECT_EQ(line->LineSettingsCount(), applied + 1);
}

TEST_F(PortOnLine, AssignCopiesWithoutApplyingAndThePortPropertyApplies) {
  TComPort other;
  other.Parity().SetBits(prEven);
  other.Timeouts().SetWriteTotalConstant(5);
  other.FlowControl().SetXonChar('A');
  port.Open();
  const int applied = line->LineSettingsCount();

  port.Parity().Assign(other.Parity());
  EXPECT_EQ(port.Parity().Bits(), prEven);
  EXPECT_EQ(line->LineSettingsCount(), applied);

  port.SetFlowControl(other.FlowControl());
  EXPECT_EQ(line->LineSettings().xonChar, 'A');
  port.SetTimeouts(other.Timeouts());
  EXPECT_EQ(line->Timeouts().writeTotalConstant, 5u);
}

TEST_F(PortOnLine, SyncMethodCannotChangeWhileOpen) {
  port.SetSyncMethod(smNone);
  port.SetSyncMethod(smThreadSync);
  port.Open();
  const EComPort error = Raised([&] { port.SetSyncMethod(smWindowSync); });
  EXPECT_EQ(error.ErrorCode(), 14);
  EXPECT_EQ(error.Message(), QStringLiteral("Cannot set property while connected"));
  EXPECT_EQ(port.SyncMethod(), smThreadSync);
  port.SetSyncMethod(smThreadSync);  // the same value is no change
}

TEST_F(PortOnLine, OpenAndCloseOrderTheirNotifications) {
  TComLink link;
  link.OnConn = [&](QObject*, bool on) { log << QStringLiteral("link conn %1").arg(on); };
  link.OnCTSChange = [&](QObject*, bool on) { log << QStringLiteral("link cts %1").arg(on); };
  link.OnDSRChange = [&](QObject*, bool on) { log << QStringLiteral("link dsr %1").arg(on); };
  link.OnRLSDChange = [&](QObject*, bool on) { log << QStringLiteral("link rlsd %1").arg(on); };
  port.RegisterLink(&link);
  port.OnBeforeOpen = [&](QObject*) { log << "before open"; };
  port.OnAfterOpen = [&](QObject*) { log << "after open"; };
  port.OnBeforeClose = [&](QObject*) { log << "before close"; };
  port.OnAfterClose = [&](QObject*) { log << "after close"; };
  port.OnCTSChange = [&](QObject*, bool on) { log << QStringLiteral("cts %1").arg(on); };
  port.OnDSRChange = [&](QObject*, bool on) { log << QStringLiteral("dsr %1").arg(on); };
  port.OnRLSDChange = [&](QObject*, bool on) { log << QStringLiteral("rlsd %1").arg(on); };
  line->SetSignal(csCTS, true);
  line->SetSignal(csRLSD, true);

  port.Open();
  port.Open();
  port.Close();
  port.Close();
  EXPECT_EQ(log, QStringList({"before open", "link conn 1", "after open", "link cts 1", "cts 1",
                              "link dsr 0", "dsr 0", "link rlsd 1", "rlsd 1", "link cts 0", "cts 0",
                              "link dsr 0", "dsr 0", "link rlsd 0", "rlsd 0", "before close",
                              "link conn 0", "after close"}));
  EXPECT_EQ(line->Purges(), std::vector<int>({kPurgeTxAbort | kPurgeRxAbort}));
  EXPECT_FALSE(line->IsOpen());
}

TEST_F(PortOnLine, FailedOpenLeavesThePortClosedAfterOnlyBeforeOpen) {
  port.OnBeforeOpen = [&](QObject*) { log << "before open"; };
  port.OnAfterOpen = [&](QObject*) { log << "after open"; };
  port.OnAfterClose = [&](QObject*) { log << "after close"; };

  line->Fail(MemoryLine::Op::kOpen, EACCES);
  EComPort error = Raised([&] { port.Open(); });
  EXPECT_EQ(error.ErrorCode(), 1);
  EXPECT_EQ(error.SystemErrorCode(), EACCES);
  EXPECT_EQ(error.OsErrorSubject(), QStringLiteral("/dev/memory0"));
  line->Fail(MemoryLine::Op::kOpen, 0);

  // Settings that the device refuses close the handle again.
  line->Fail(MemoryLine::Op::kSetLineSettings, EINVAL);
  error = Raised([&] { port.Open(); });
  EXPECT_EQ(error.ErrorCode(), 7);
  EXPECT_EQ(error.Message(), QStringLiteral("SetCommState function failed (win error code: 22)"));
  EXPECT_FALSE(port.Connected());
  EXPECT_FALSE(line->IsOpen());
  EXPECT_EQ(log, QStringList({"before open", "before open"}));

  // While open, a refused setting stays stored and the port stays open.
  line->Fail(MemoryLine::Op::kSetLineSettings, 0);
  port.Open();
  line->Fail(MemoryLine::Op::kSetLineSettings, EIO);
  EXPECT_EQ(Raised([&] { port.SetDataBits(dbSeven); }).ErrorCode(), 7);
  EXPECT_EQ(port.DataBits(), dbSeven);
  EXPECT_TRUE(port.Connected());
}

TEST_F(PortOnLine, EachOperationRaisesItsOwnCode) {
  struct Case {
    MemoryLine::Op op;
    int code;
    std::function<void()> call;
    bool setter = false;  // setters reach the device only while open
  };
  QByteArray bytes;
  const Case cases[] = {
      {MemoryLine::Op::kWrite, 2, [&] { port.WriteStr("x"); }},
      {MemoryLine::Op::kRead, 3, [&] { port.ReadStr(bytes, 1); }},
      {MemoryLine::Op::kPurge, 5, [&] { port.ClearBuffer(true, false); }},
      {MemoryLine::Op::kSetTimeouts, 8, [&] { port.Timeouts().SetReadInterval(5); }, true},
      {MemoryLine::Op::kSetQueueSizes, 9, [&] { port.Buffer().SetOutputSize(64); }, true},
      {MemoryLine::Op::kClearErrors, 10, [&] { port.InputCount(); }},
      {MemoryLine::Op::kClearErrors, 10, [&] { port.LastErrors(); }},
      {MemoryLine::Op::kModemStatus, 11, [&] { port.Signals(); }},
      {MemoryLine::Op::kSetBreak, 12, [&] { port.SetBreak(true); }},
  };
  // On a closed port the device has no handle: EBADF.
  for (const Case& c : cases) {
    if (c.setter) continue;
    const EComPort error = Raised(c.call);
    EXPECT_EQ(error.ErrorCode(), c.code);
    EXPECT_EQ(error.SystemErrorCode(), EBADF) << c.code;
  }
  port.Open();
  for (const Case& c : cases) {
    line->Fail(c.op, ENXIO);
    const EComPort error = Raised(c.call);
    EXPECT_EQ(error.ErrorCode(), c.code);
    EXPECT_EQ(error.SystemErrorCode(), ENXIO) << c.code;
    line->Fail(c.op, 0);
  }
  EXPECT_EQ(Raised([&] { port.Close(); }).ErrorCode(), 0);
}

TEST_F(PortOnLine, TransfersAndTheirLinkSignals) {
  TComLink link;
  link.OnTx = [&](QObject*, bool on) { log << QStringLiteral("tx %1").arg(on); };
  link.OnRx = [&](QObject*, bool on) { log << QStringLiteral("rx %1").arg(on); };
  link.OnTxBuf = [&](QObject*, const char* b, int n) { log << "txbuf " + QByteArray(b, n); };
  port.RegisterLink(&link);
  port.Open();

  EXPECT_EQ(port.WriteStr(QByteArray()), 0);
  EXPECT_EQ(port.Write("abc", 0), 0);
  EXPECT_TRUE(log.isEmpty());
  EXPECT_EQ(port.WriteStr("\x60"), 1);
  EXPECT_EQ(line->TakeWritten(), QByteArray("\x60"));

  QByteArray got("stale");
  EXPECT_EQ(port.ReadStr(got, 10), 0);  // nothing received: at once, empty
  EXPECT_TRUE(got.isEmpty());
  EXPECT_EQ(port.ReadStr(got, 0), 0);

  line->Receive("hello");
  EXPECT_EQ(port.InputCount(), 5);
  EXPECT_EQ(port.ReadStr(got, 2), 2);
  EXPECT_EQ(got, QByteArray("he"));
  EXPECT_EQ(port.ReadStr(got, 10), 3);
  EXPECT_EQ(got, QByteArray("llo"));
  // "rx 0" only once the queue is empty.
  EXPECT_EQ(log, QStringList({"tx 1", "txbuf \x60", "rx 0", "rx 0"}));
  port.Close();  // while the link lives
}

TEST_F(PortOnLine, LineStateOperations) {
  port.Open();
  port.SetBreak(true);
  EXPECT_TRUE(line->BreakOn());
  port.SetBreak(false);
  EXPECT_FALSE(line->BreakOn());

  line->SetSignal(csDSR, true);
  line->SetSignal(csRing, true);
  EXPECT_EQ(port.Signals(), TComSignals({csDSR, csRing}));

  line->RaiseErrors({ceFrame, ceRxParity, ceOverrun});
  EXPECT_EQ(port.LastErrors(), TComErrors({ceFrame, ceOverrun}));  // parity unchecked
  EXPECT_TRUE(port.LastErrors().Empty());                          // read and cleared
  port.Parity().SetCheck(true);
  line->RaiseErrors({ceRxParity});
  EXPECT_EQ(port.LastErrors(), TComErrors({ceRxParity}));

  line->Receive("abc");
  port.ClearBuffer(true, true);
  EXPECT_EQ(port.InputCount(), 0);
  port.ClearBuffer(false, false);
  EXPECT_EQ(line->Purges(), std::vector<int>({kPurgeRxClear | kPurgeTxClear, 0}));
}

TEST_F(PortOnLine, LinksRegisterOnce) {
  TComLink a, b;
  port.RegisterLink(&a);
  EXPECT_EQ(Raised([&] { port.RegisterLink(&a); }).ErrorCode(), 18);
  EXPECT_EQ(Raised([&] { port.UnregisterLink(&b); }).ErrorCode(), 18);
  port.UnregisterLink(&a);
  EXPECT_EQ(Raised([&] { port.UnregisterLink(&a); }).Message(),
            QStringLiteral("Link (un)registration failed"));
}

TEST_F(PortOnLine, ChangingThePortOrTheDeviceWhileOpenReopens) {
  port.Open();
  port.SetPort(QStringLiteral("/dev/memory1"));
  EXPECT_TRUE(port.Connected());
  EXPECT_EQ(line->OpenCount(), 2);
  EXPECT_EQ(line->OpenedName(), QStringLiteral("/dev/memory1"));

  auto next = std::make_shared<MemoryLine>();
  port.UseDevice(std::make_unique<MemoryDevice>(next));
  EXPECT_TRUE(line->IsOpen());  // the open device stays until Close
  port.Close();
  port.SetConnected(true);
  EXPECT_TRUE(next->IsOpen());
  EXPECT_FALSE(line->IsOpen());
  port.SetConnected(false);
  EXPECT_FALSE(next->IsOpen());
}

}  // namespace
