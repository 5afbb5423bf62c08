// The pty peer under every serial simulator: an unplugged adapter is gone the moment Unplug
// returns, whichever thread unplugs it, and a simulator hears nothing before it is built.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "PtyPeer.h"
#include "support/WaitFor.h"

namespace {

// A write as the program's: false once the adapter is gone.
bool Write(int program, const char* bytes) {
  return ::write(program, bytes, std::strlen(bytes)) == static_cast<ssize_t>(std::strlen(bytes));
}

int OpenAsTheProgram(const PtyPeer& peer) {
  return ::open(peer.SlavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
}

// Unplugs on the first byte from the reader thread itself; built slowly, with bytes already
// waiting, which it must not hear before its constructor has ended.
class SlowToBuildUnplugsOnFirstByte : public PtyPeer {
 public:
  SlowToBuildUnplugsOnFirstByte()
      : PtyPeer(ReaderStart::Deferred), program(OpenAsTheProgram(*this)) {
    Write(program, "early");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    built_ = true;
    StartReader();
  }
  ~SlowToBuildUnplugsOnFirstByte() override {
    StopReader();
    ::close(program);
  }
  const int program;
  bool heardUnbuilt = false;

 protected:
  void OnReceived(const QByteArray&) override {
    heardUnbuilt = heardUnbuilt || !built_;
    Unplug();
  }

 private:
  bool built_ = false;
};

TEST(PtyPeer, UnplugFromAnyThreadFailsTheProgramsNextWrite) {
  PtyPeer peer;
  const int program = OpenAsTheProgram(peer);
  ASSERT_TRUE(Write(program, "ab"));
  ASSERT_TRUE(WaitFor([&] { return peer.ReceivedCount() == 2; }));  // the reader waits for more
  peer.Unplug();
  EXPECT_FALSE(Write(program, "c"));
  EXPECT_EQ(peer.ReceivedData(), "ab");
  ::close(program);

  SlowToBuildUnplugsOnFirstByte fromItsReader;
  ASSERT_TRUE(WaitFor([&] { return fromItsReader.Unplugged(); }));
  EXPECT_FALSE(fromItsReader.heardUnbuilt);
  EXPECT_FALSE(Write(fromItsReader.program, "b"));
}

}  // namespace
