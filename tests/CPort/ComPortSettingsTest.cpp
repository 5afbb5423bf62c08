// The port's properties, operations and error codes against the in-memory line. No event
// thread runs here (Events is emptied), so everything is synchronous.
#include <gtest/gtest.h>

#include <cerrno>

#include "CPort/MemoryDevice.h"
#include "CPort/TComLink.h"
#include "CPort/TComPort.h"
#include "PortTestSupport.h"

namespace {

class PortOnLine : public testing::Test {
 protected:
  PortOnLine() {
    port.SetPort(QStringLiteral("/dev/memory0"));
    port.SetEvents({});
    port.UseDevice(std::make_unique<MemoryDevice>(line));
  }
  // A handler that logs "what on" or "what off".
  std::function<void(QObject*, bool)> Note(const QString& what) {
    return [this, what](QObject*, bool on) { log << what + (on ? " 1" : " 0"); };
  }

  QStringList log;  // before the port: its handlers log here until it is gone
  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  TComPort port;
};

TEST(ComPortTypes, TextFormsRoundTripAndFallBack) {
  for (int v = brCustom; v <= br256000; ++v) {
    EXPECT_EQ(StrToBaudRate(BaudRateToStr(TBaudRate(v))), TBaudRate(v));
  }
  EXPECT_EQ(BaudRateToInt(br57600), 57600);
  EXPECT_EQ(StrToParity("sPaCe"), prSpace);
  EXPECT_EQ(StrToBaudRate("9601"), br9600);
  EXPECT_EQ(EComPort(18).Message(), "Link (un)registration failed");
}

TEST_F(PortOnLine, SettingsReachTheDeviceOnlyWhenOpenAndNoUpdateRuns) {
  port.SetBaudRate(br2400);
  port.Open();
  EXPECT_EQ(line->LineSettings().baudRate, 2400);
  port.SetBaudRate(br19200);
  port.SetBaudRate(br19200);  // unchanged: not applied again
  EXPECT_EQ(line->LineSettings().baudRate, 19200);
  EXPECT_EQ(line->LineSettingsCount(), 2);

  port.BeginUpdate();
  port.BeginUpdate();
  port.SetStopBits(sbTwoStopBits);
  port.Timeouts().SetReadTotalConstant(50);
  port.EndUpdate();
  EXPECT_EQ(line->LineSettings().stopBits, sbOneStopBit);
  port.EndUpdate();
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
  port.Buffer().SetInputSize(2049);  // odd sizes are stored one less
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
  EXPECT_TRUE(line->LineSettings().errorCharReplace);
  EXPECT_EQ(line->LineSettings().errorChar, '?');
  port.Timeouts().SetReadInterval(-1);
  EXPECT_EQ(line->Timeouts().readInterval, 0xFFFFFFFFu);
}

TEST_F(PortOnLine, OpenAndCloseOrderTheirNotifications) {
  TComLink link;
  link.OnConn = Note("link conn");
  link.OnCTSChange = Note("link cts");
  link.OnDSRChange = Note("link dsr");
  link.OnRLSDChange = Note("link rlsd");
  port.RegisterLink(&link);
  port.OnBeforeOpen = [&](QObject*) { log << "before open"; };
  port.OnAfterOpen = [&](QObject*) { log << "after open"; };
  port.OnBeforeClose = [&](QObject*) { log << "before close"; };
  port.OnAfterClose = [&](QObject*) { log << "after close"; };
  port.OnCTSChange = Note("cts");
  port.OnDSRChange = Note("dsr");
  port.OnRLSDChange = Note("rlsd");
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
  EXPECT_EQ(error.OsErrorSubject(), "/dev/memory0");
  line->Fail(MemoryLine::Op::kOpen, 0);

  // Settings or buffer sizes that the device refuses close the handle again.
  line->Fail(MemoryLine::Op::kSetLineSettings, EINVAL);
  error = Raised([&] { port.Open(); });
  EXPECT_EQ(error.Message(), "SetCommState function failed (win error code: 22)");
  line->Fail(MemoryLine::Op::kSetLineSettings, 0);
  port.Buffer().SetInputSize(-3);
  EXPECT_EQ(Raised([&] { port.Open(); }).ErrorCode(), 9);
  EXPECT_EQ(port.Buffer().InputSize(), -3);
  EXPECT_FALSE(port.Connected());
  EXPECT_FALSE(line->IsOpen());
  EXPECT_EQ(log, QStringList({"before open", "before open", "before open"}));

  // While open, a refused setting stays stored and the port stays open.
  port.Buffer().SetInputSize(1024);
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
  TComLink a, b;
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
    if (!c.setter) {
      EXPECT_EQ(Raised(c.call).SystemErrorCode(), EBADF) << c.code;
    }
  }
  port.Open();
  for (const Case& c : cases) {
    line->Fail(c.op, ENXIO);
    const EComPort error = Raised(c.call);
    EXPECT_EQ(error.ErrorCode(), c.code);
    EXPECT_EQ(error.SystemErrorCode(), ENXIO) << c.code;
    line->Fail(c.op, 0);
  }
  EXPECT_EQ(Raised([&] { port.SetSyncMethod(smWindowSync); }).ErrorCode(), 14);
  port.SetSyncMethod(smThreadSync);  // the same value is no change
  EXPECT_EQ(port.SyncMethod(), smThreadSync);
  port.RegisterLink(&a);
  EXPECT_EQ(Raised([&] { port.RegisterLink(&a); }).ErrorCode(), 18);
  EXPECT_EQ(Raised([&] { port.UnregisterLink(&b); }).ErrorCode(), 18);
  port.UnregisterLink(&a);
  EXPECT_EQ(Raised([&] { port.Close(); }).ErrorCode(), 0);
}

TEST_F(PortOnLine, TransfersAndTheirLinkSignals) {
  TComLink link;
  link.OnTx = Note("tx");
  link.OnRx = Note("rx");
  link.OnTxBuf = [&](QObject*, const char* b, int n) { log << "txbuf " + QByteArray(b, n); };
  port.RegisterLink(&link);
  port.Open();

  EXPECT_EQ(port.WriteStr(QByteArray()), 0);
  EXPECT_TRUE(log.isEmpty());
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

}  // namespace
