// The pty peer under every serial simulator: an unplugged adapter is gone the moment Unplug
// returns, whichever thread unplugs it, and a simulator hears nothing before it is built.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "ProgramSide.h"
#include "PtyPeer.h"
#include "support/WaitFor.h"

namespace {

TEST(PtyPeer, UnplugFromAnotherThreadFailsTheProgramsNextWrite) {
  PtyPeer peer;
  ProgramSide program(peer.SlavePath());
  program.Write("ab");
  // The reader now waits on the master for more.
  ASSERT_TRUE(WaitFor([&] { return peer.ReceivedCount() == 2; }));

  peer.Unplug();
  EXPECT_THROW(program.Write("c"), std::runtime_error);
  peer.Send("ignored");
  EXPECT_EQ(peer.ReceivedData(), "ab");
}

class UnplugsOnFirstByte : public PtyPeer {
 public:
  UnplugsOnFirstByte() : PtyPeer(ReaderStart::Deferred) { StartReader(); }
  ~UnplugsOnFirstByte() override { StopReader(); }

 protected:
  void OnReceived(const QByteArray&) override { Unplug(); }
};

TEST(PtyPeer, UnplugFromTheReaderItselfDoesNotWaitForItself) {
  UnplugsOnFirstByte peer;
  ProgramSide program(peer.SlavePath());
  program.Write("a");
  ASSERT_TRUE(WaitFor([&] { return peer.Unplugged(); }));
  EXPECT_THROW(program.Write("b"), std::runtime_error);
}

// Bytes the program writes while the simulator is still being built wait for it.
class BuiltSlowly : public PtyPeer {
 public:
  BuiltSlowly() : PtyPeer(ReaderStart::Deferred), program_(SlavePath()) {
    program_.Write("early");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    built_ = true;
    StartReader();
  }
  ~BuiltSlowly() override { StopReader(); }

  int heardBeforeBuilt = 0;

 protected:
  void OnReceived(const QByteArray& bytes) override {
    if (!built_) heardBeforeBuilt += bytes.size();
  }

 private:
  ProgramSide program_;
  bool built_ = false;
};

TEST(PtyPeer, ASimulatorHearsNothingUntilItsConstructorHasEnded) {
  BuiltSlowly peer;
  ASSERT_TRUE(WaitFor([&] { return peer.ReceivedCount() == 5; }));
  EXPECT_EQ(peer.heardBeforeBuilt, 0);
}

}  // namespace
