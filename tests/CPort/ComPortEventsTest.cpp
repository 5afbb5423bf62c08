// The event thread against the in-memory line: Close racing a batch, and handlers that raise.
#include <gtest/gtest.h>

#include <stdexcept>

#include "CPort/MemoryDevice.h"
#include "CPort/TComPort.h"
#include "PortTestSupport.h"
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
  TComPort port;
};

TEST_F(PortEvents, ABatchQueuedWhenCloseBeginsRunsInsideClose) {
  port.OnCTSChange = nullptr;
  port.OnRxChar = [&](QObject*, int n) { log << QStringLiteral("rxchar %1").arg(n); };
  port.Open();
  line->Receive("x");
  ASSERT_TRUE(SleepUntil([&] { return line->Deliveries() == 1; }));
  port.Close();
  EXPECT_EQ(log, QStringList({"before close", "rxchar 1", "after close"}));
  // Close aborts the transfers; the ending thread clears the input queue.
  EXPECT_EQ(line->Purges(), std::vector<int>({kPurgeTxAbort | kPurgeRxAbort, kPurgeRxClear}));
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
