// The event thread against the in-memory line: Close racing a batch, and handlers that raise.
// Close joins the thread plainly, wherever it waits; nothing here runs the event loop inside a
// Close.
#include <gtest/gtest.h>

#include <memory>

#include "PortTestSupport.h"
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "support/RecordingNotifier.h"

namespace {

class PortEvents : public testing::Test {
 protected:
  PortEvents() {
    port.SetPort(QStringLiteral("/dev/memory0"));
    port.UseDevice(std::make_unique<MemoryDevice>(line));
    port.OnCTSChange = [this](QObject*, bool on) { log << QStringLiteral("cts %1").arg(on); };
    port.OnBeforeClose = [this](QObject*) { log << "before close"; };
    port.OnAfterClose = [this](QObject*) { log << "after close"; };
  }

  // Before the port: its handlers log here until it is gone.
  QStringList log;
  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  std::unique_ptr<SerialPort> owner = std::make_unique<SerialPort>();
  SerialPort& port = *owner;
};

// The batch is queued for this thread, which waits for its answer: the stop ends that wait, and
// the batch, when it comes round, belongs to an ended connection, even with the port open again
// or gone.
TEST_F(PortEvents, ABatchStillQueuedWhenThePortClosesNeverRuns) {
  port.OnCTSChange = nullptr;
  port.OnRxChar = [&](QObject*, int n) { log << QStringLiteral("rxchar %1").arg(n); };
  port.Open();
  line->Receive("x");
  ASSERT_TRUE(SleepUntil([&] { return line->Deliveries() == 1; }));
  port.Close();
  // Close aborts the transfers; the ending thread clears the input queue.
  EXPECT_EQ(line->Purges(), std::vector<int>({kPurgeTxAbort | kPurgeRxAbort, kPurgeRxClear}));
  port.OnBeforeClose = port.OnAfterClose = nullptr;
  port.Open();
  line->Receive("yz");
  ASSERT_TRUE(WaitFor([&] { return log.size() == 3; }));
  WaitFor([] { return false; }, 50);
  EXPECT_EQ(log, QStringList({"before close", "after close", "rxchar 2"}));
  line->Receive("w");
  ASSERT_TRUE(SleepUntil([&] { return line->Deliveries() == 3; }));
  owner.reset();
  WaitFor([] { return false; }, 50);
  EXPECT_EQ(log.size(), 3);
}

TEST_F(PortEvents, CloseFromInsideABatchEndsThatBatch) {
  port.OnAfterClose = nullptr;
  port.OnBeforeClose = nullptr;
  port.OnRxChar = [&](QObject*, int) { port.Close(); };
  port.Open();
  // The thread blocks on a first batch (nothing processes events), so the rest comes together.
  line->RaiseEvents({evBreak});
  ASSERT_TRUE(SleepUntil([&] { return line->Deliveries() == 1; }));
  line->Receive("x");
  line->SetSignal(csCTS, true);
  ASSERT_TRUE(WaitFor([&] { return !port.Connected(); }));
  // Open and Close say "off"; the batch's own CTS handler no longer runs.
  EXPECT_EQ(log, QStringList({"cts 0", "cts 0"}));
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
  line->Receive("b");
  line->SetSignal(csCTS, true);
  WaitFor([] { return false; }, 50);
  EXPECT_EQ(line->Deliveries(), 1);
  EXPECT_TRUE(Notifications().messages.isEmpty());
  port.Close();
  port.OnRxChar = [&](QObject*, int n) { calls = n; };
  port.Open();
  line->Receive("cd");
  EXPECT_TRUE(WaitFor([&] { return calls == 2; }));
  port.Close();
}

}  // namespace
