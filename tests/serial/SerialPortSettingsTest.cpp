// The port's properties, operations and error codes against the in-memory line. No event
// thread runs here (Events is emptied), so everything is synchronous.
#include <gtest/gtest.h>

#include <cerrno>

#include "PortTestSupport.h"
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortListener.h"

namespace {

class PortOnLine : public testing::Test {
 protected:
  PortOnLine() {
    port.SetPort(QStringLiteral("/dev/memory0"));
    port.SetEvents({});
    port.UseDevice(std::make_unique<MemoryDevice>(line));
  }
  std::function<void(QObject*, bool)> Note(const QString& what) {
    return [this, what](QObject*, bool on) { log << what + (on ? " 1" : " 0"); };
  }

  QStringList log;  // before the port: its handlers log here until it is gone
  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  SerialPort port;
};

TEST(ComPortTypes, TextFormsRoundTripAndFallBack) {
  for (int v = brCustom; v <= br256000; ++v) {
    EXPECT_EQ(StrToBaudRate(BaudRateToStr(BaudRateSetting(v))), BaudRateSetting(v));
  }
  EXPECT_EQ(BaudRateToInt(br57600), 57600);
  EXPECT_EQ(StrToParity("sPaCe"), prSpace);
  EXPECT_EQ(StrToBaudRate("9601"), br9600);
  EXPECT_EQ(SerialPortError(18).Message(), "Link (un)registration failed");
}

TEST_F(PortOnLine, SettingsReachTheDeviceOnlyWhenOpenAndNoUpdateRuns) {
  port.SetBaudRate(brCustom);
  port.SetCustomBaudRate(16457);
  port.Parity().SetBits(prMark);
  port.Parity().SetReplace(true);
  port.Parity().SetReplaceChar('?');
  port.Buffer().SetInputSize(2049);  // odd sizes are stored one less
  port.Open();
  EXPECT_EQ(line->LineSettings().baudRate, 16457);
  EXPECT_EQ(line->LineSettings().parity, prMark);
  EXPECT_FALSE(line->LineSettings().errorCharReplace);  // replacement needs parity checking too
  EXPECT_EQ(line->InputQueueSize(), 2048);
  port.Parity().SetCheck(true);
  EXPECT_EQ(line->LineSettings().errorChar, '?');
  port.SetBaudRate(br19200);
  port.SetBaudRate(br19200);  // unchanged: not applied again
  EXPECT_EQ(line->LineSettingsCount(), 3);

  port.BeginUpdate();
  port.BeginUpdate();
  port.SetStopBits(sbTwoStopBits);
  port.Timeouts().SetReadInterval(-1);
  port.EndUpdate();
  EXPECT_EQ(line->LineSettings().stopBits, sbOneStopBit);
  port.EndUpdate();
  EXPECT_EQ(line->LineSettings().stopBits, sbTwoStopBits);
  EXPECT_EQ(line->Timeouts().readInterval, 0xFFFFFFFFu);
  port.EndUpdate();  // never below zero
  EXPECT_EQ(port.UpdateCount(), 0);
}

TEST_F(PortOnLine, FailedOpenLeavesThePortClosed) {
  port.OnAfterOpen = [&](QObject*) { log << "after open"; };
  line->Fail(MemoryLine::Op::kOpen, EACCES);
  SerialPortError error = Raised([&] { port.Open(); });
  EXPECT_EQ(error.ErrorCode(), 1);
  line->Fail(MemoryLine::Op::kOpen, 0);
  // Settings the device refuses close the handle again.
  line->Fail(MemoryLine::Op::kSetLineSettings, EINVAL);
  error = Raised([&] { port.Open(); });
  EXPECT_EQ(error.Message(), "SetCommState function failed (win error code: 22)");
  EXPECT_FALSE(port.Connected() || line->IsOpen() || !log.isEmpty());
  // While open, a refused setting stays stored and the port stays open.
  line->Fail(MemoryLine::Op::kSetLineSettings, 0);
  port.Open();
  line->Fail(MemoryLine::Op::kSetLineSettings, EIO);
  EXPECT_EQ(Raised([&] { port.SetDataBits(dbSeven); }).ErrorCode(), 7);
  EXPECT_EQ(port.DataBits(), dbSeven);
  EXPECT_TRUE(port.Connected());
}

TEST_F(PortOnLine, EachOperationRaisesItsOwnCode) {
  QByteArray bytes;
  SerialPortListener a;
  const std::tuple<MemoryLine::Op, int, std::function<void()>> cases[] = {
      {MemoryLine::Op::kWrite, 2, [&] { port.WriteStr("x"); }},
      {MemoryLine::Op::kRead, 3, [&] { port.ReadStr(bytes, 1); }},
      {MemoryLine::Op::kPurge, 5, [&] { port.ClearBuffer(true, false); }},
      {MemoryLine::Op::kSetTimeouts, 8, [&] { port.Timeouts().SetReadInterval(5); }},
      {MemoryLine::Op::kSetQueueSizes, 9, [&] { port.Buffer().SetOutputSize(64); }},
      {MemoryLine::Op::kClearErrors, 10, [&] { port.LastErrors(); }},
      {MemoryLine::Op::kModemStatus, 11, [&] { port.Signals(); }},
      {MemoryLine::Op::kSetBreak, 12, [&] { port.SetBreak(true); }},
  };
  EXPECT_EQ(Raised([&] { port.InputCount(); }).SystemErrorCode(), EBADF);  // closed: no handle
  port.Open();
  for (const auto& [op, code, call] : cases) {
    line->Fail(op, ENXIO);
    const SerialPortError error = Raised(call);
    EXPECT_EQ(error.ErrorCode(), code);
    EXPECT_EQ(error.SystemErrorCode(), ENXIO) << code;
    line->Fail(op, 0);
  }
  port.RegisterLink(&a);
  EXPECT_EQ(Raised([&] { port.RegisterLink(&a); }).ErrorCode(), 18);
  port.UnregisterLink(&a);
  EXPECT_EQ(Raised([&] { port.UnregisterLink(&a); }).ErrorCode(), 18);
}

TEST_F(PortOnLine, TransfersLineStateAndTheirLinkSignals) {
  SerialPortListener link;
  link.OnTx = Note("tx");
  link.OnRx = Note("rx");
  link.OnTxBuf = [&](QObject*, const char* b, int n) { log << "txbuf " + QByteArray(b, n); };
  port.RegisterLink(&link);
  port.Open();
  EXPECT_EQ(port.WriteStr("\x60"), 1);
  EXPECT_EQ(line->TakeWritten(), QByteArray("\x60"));
  QByteArray got("stale");
  EXPECT_EQ(port.ReadStr(got, 10), 0);  // nothing received: at once, empty
  EXPECT_TRUE(got.isEmpty());
  line->Receive("hello");
  EXPECT_EQ(port.ReadStr(got, 2), 2);
  EXPECT_EQ(port.ReadStr(got, 10), 3);
  EXPECT_EQ(got, QByteArray("llo"));
  // "rx 0" only once the queue is empty.
  EXPECT_EQ(log, QStringList({"tx 1", "txbuf \x60", "rx 0", "rx 0"}));
  port.SetBreak(true);
  EXPECT_TRUE(line->BreakOn());
  line->SetSignal(csDSR, true);
  line->SetSignal(csRing, true);
  EXPECT_EQ(port.Signals(), LineSignals({csDSR, csRing}));
  line->RaiseErrors({ceFrame, ceRxParity});
  EXPECT_EQ(port.LastErrors(), LineErrors({ceFrame}));  // parity unchecked
  EXPECT_TRUE(port.LastErrors().Empty());               // read and cleared
  port.Parity().SetCheck(true);
  line->RaiseErrors({ceRxParity});
  EXPECT_EQ(port.LastErrors(), LineErrors({ceRxParity}));
  line->Receive("abc");
  port.ClearBuffer(true, false);
  EXPECT_EQ(port.InputCount(), 0);
  EXPECT_EQ(line->Purges(), std::vector<int>({kPurgeRxClear}));
  port.Close();  // while the link lives
}

}  // namespace
