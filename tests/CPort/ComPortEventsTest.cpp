// The event thread against the in-memory line: handler order, batching, the three sync
// methods, Close racing a batch, and handlers that raise.
#include <gtest/gtest.h>

#include <stdexcept>

#include "CPort/MemoryDevice.h"
#include "CPort/TComLink.h"
#include "CPort/TComPort.h"
#include "PortTestSupport.h"
#include "support/RecordingNotifier.h"

namespace {

class PortEvents : public testing::Test {
 protected:
  PortEvents() {
    port.SetPort(QStringLiteral("/dev/memory0"));
    port.UseDevice(std::make_unique<MemoryDevice>(line));
  }

  // Hands the thread a batch and leaves it blocked on it (nothing processes events here), so
  // that whatever the test raises next is delivered together in the following batch.
  void HoldTheThread() {
    const int delivered = line->Deliveries();
    line->RaiseEvents({evBreak});
    ASSERT_TRUE(SleepUntil([&] { return line->Deliveries() > delivered; }));
  }
  // Whether nothing more is delivered after the first batch, however long the line is busy.
  void ExpectTheThreadEnded() {
    line->Receive("b");
    line->SetSignal(csCTS, true);
    SleepMs(50);
    ProcessMessages();
    EXPECT_EQ(line->Deliveries(), 1);
  }
  std::function<void(QObject*)> Note(const char* what) {
    return [this, what](QObject*) { log << what; };
  }
  std::function<void(QObject*, bool)> NoteOnOff(const char* what) {
    return [this, what](QObject*, bool on) { log << QStringLiteral("%1 %2").arg(what).arg(on); };
  }
  void LogAllEvents() {
    port.OnError = [this](QObject*, TComErrors e) {
      log << QStringLiteral("error %1").arg(e.Bits());
    };
    port.OnRxChar = [this](QObject*, int n) { log << QStringLiteral("rxchar %1").arg(n); };
    port.OnTxEmpty = Note("txempty");
    port.OnBreak = Note("break");
    port.OnRing = Note("ring");
    port.OnCTSChange = NoteOnOff("cts");
    port.OnDSRChange = NoteOnOff("dsr");
    port.OnRxFlag = Note("rxflag");
    port.OnRLSDChange = NoteOnOff("rlsd");
    port.OnRx80Full = Note("rx80full");
  }

  // Before the port: its handlers log here until it is gone. Tests whose handlers capture
  // their own locals close the port before those go.
  QStringList log;
  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  TComPort port;
};

TEST_F(PortEvents, ABatchRunsItsHandlersInTheFixedOrder) {
  LogAllEvents();
  port.SetEventChar('Z');
  port.Buffer().SetInputSize(10);
  port.Open();
  log.clear();

  HoldTheThread();
  line->SetSignal(csDSR, true);
  line->SetSignal(csCTS, true);
  line->Receive("abcdefgZ");  // the event character, and 8 of 10 bytes: 80 % full
  line->RaiseErrors({ceFrame});
  line->SetSignal(csRing, true);
  line->SetSignal(csRLSD, true);
  port.WriteStr("w");
  ASSERT_TRUE(WaitFor([&] { return log.contains("rx80full"); }));
  EXPECT_EQ(log, QStringList({"break", QStringLiteral("error %1").arg(TComErrors{ceFrame}.Bits()),
                              "rxchar 8", "txempty", "ring", "cts 1", "dsr 1", "rxflag", "rlsd 1",
                              "rx80full"}));
}

TEST_F(PortEvents, BurstsCoalesceAndAnEmptiedQueueRaisesNothing) {
  QList<int> counts;
  QByteArray received;
  port.OnRxChar = [&](QObject*, int count) {
    counts << count;
    QByteArray bytes;
    port.ReadStr(bytes, count);
    received += bytes;
  };
  port.OnBreak = Note("break");
  port.Open();
  line->Receive("ab");
  ASSERT_TRUE(SleepUntil([&] { return line->Deliveries() == 1; }));
  line->Receive("cd");  // the next batch, but the first one reads these too
  line->Receive("ef");
  ASSERT_TRUE(WaitFor([&] { return !counts.isEmpty(); }));
  line->RaiseEvents({evBreak});  // batches run in turn: once this one has, the others have
  ASSERT_TRUE(WaitFor([&] { return log.contains("break"); }));
  EXPECT_EQ(counts, QList<int>({6}));
  EXPECT_EQ(received, QByteArray("abcdef"));
  port.Close();
}

TEST_F(PortEvents, ABatchQueuedWhenCloseBeginsRunsInsideClose) {
  port.OnRxChar = [&](QObject*, int n) { log << QStringLiteral("rxchar %1").arg(n); };
  port.OnBeforeClose = Note("before close");
  port.OnAfterClose = Note("after close");
  port.Open();
  line->Receive("x");
  ASSERT_TRUE(SleepUntil([&] { return line->Deliveries() == 1; }));
  port.Close();
  EXPECT_EQ(log, QStringList({"before close", "rxchar 1", "after close"}));
  // Close aborts the transfers; the ending thread clears the input queue.
  EXPECT_EQ(line->Purges(), std::vector<int>({kPurgeTxAbort | kPurgeRxAbort, kPurgeRxClear}));
  EXPECT_TRUE(line->EventMask().Empty());
}

TEST_F(PortEvents, CloseFromInsideABatchEndsThatBatch) {
  port.OnCTSChange = NoteOnOff("cts");
  port.OnRxChar = [&](QObject*, int) { port.Close(); };
  port.Open();
  HoldTheThread();
  line->Receive("x");
  line->SetSignal(csCTS, true);
  ASSERT_TRUE(WaitFor([&] { return !port.Connected(); }));
  // Open and Close say "off"; the batch's own CTS handler no longer runs.
  EXPECT_EQ(log, QStringList({"cts 0", "cts 0"}));

  port.OnRxChar = [&](QObject*, int) { log << "rx"; };
  port.Open();
  line->Receive("y");
  EXPECT_TRUE(WaitFor([&] { return log.contains("rx"); }));
  port.Close();
}

TEST_F(PortEvents, AHandlerExceptionEndsTheThreadQuietlyUntilTheNextOpen) {
  int calls = 0;
  port.OnRxChar = [&](QObject*, int) {
    ++calls;
    throw std::runtime_error("handler failed");
  };
  port.Open();
  line->Receive("a");
  ASSERT_TRUE(WaitFor([&] { return calls == 1; }));
  ExpectTheThreadEnded();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(Notifications().messages.isEmpty());

  port.Close();
  port.OnRxChar = [&](QObject*, int n) { calls = n; };
  port.Open();
  line->Receive("cd");
  EXPECT_TRUE(WaitFor([&] { return calls == 2; }));
  port.Close();
}

}  // namespace
