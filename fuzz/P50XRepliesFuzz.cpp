// The P50X reply decoders as the link runs them: a binary command written to a port on the
// in-memory line, its reply (and the replies to every follow-up command it sends) taken from
// the fuzzed bytes. The bytes arrive one at a time while the link waits for them, as on a wire.
// When they run out, the line fails as an unplugged adapter does, so a decoder waiting for more
// ends at once instead of after the link's one-second limit. After every command the link must
// be free for the next one and the logs must stay small.
#include <QTimer>
#include <cerrno>
#include <cstdint>
#include <memory>

#include "../tests/support/P50XTestLink.h"
#include "FuzzApplication.h"
#include "FuzzCheck.h"
#include "serial/SerialPortError.h"

namespace {

class LinkOnMemoryLine {
 public:
  LinkOnMemoryLine() {
    link_->SetPauseLength([](int) { return 0; });
    link_.port.UseDevice(std::make_unique<MemoryDevice>(line_));
    link_.port.SetPort(QStringLiteral("fuzz"));
    // As interface detection leaves the port: the reply stays queued for the link's reads.
    link_.port.SetEvents({evBreak, evCTS});
    link_.port.Open();
    feeder_.setInterval(0);
    QObject::connect(&feeder_, &QTimer::timeout, [this] { FeedWhileWaiting(); });
  }

  void Decode(unsigned char command, const QByteArray& reply) {
    reply_ = reply;
    fed_ = 0;
    link_.memo1.Clear();
    link_.memo3.Clear();
    feeder_.start();
    try {
      Await(link_->SendP50X(QByteArray(1, static_cast<char>(command))));
    } catch (const SerialPortError&) {
      // The line failed once the reply ran out: what a vanished adapter does to the link.
    }
    feeder_.stop();
    line_->Fail(MemoryLine::Op::kClearErrors, 0);
    Require(!link_->P50XBusy(), "the link is free again after a command");
    Require(link_.TakeWritten().startsWith(QByteArray("x") + char(command)),
            "the command goes out first, with its prefix");
    Require(link_.memo1.document()->characterCount() <= 64 * (reply.size() + 4),
            "the connection log grows with the reply, not beyond");
    link_.port.ClearBuffer(true, true);
  }

 private:
  void FeedWhileWaiting() {
    // A reply comes after its command: the link may empty the line before writing.
    if (!link_->P50XBusy() || link_.writes.empty()) return;
    if (fed_ < reply_.size())
      line_->Receive(reply_.mid(fed_++, 1));
    else
      line_->Fail(MemoryLine::Op::kClearErrors, EIO);
  }

  std::shared_ptr<MemoryLine> line_ = std::make_shared<MemoryLine>();
  P50XTestLink link_;
  QTimer feeder_;
  QByteArray reply_;
  qsizetype fed_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  StartFuzzApplication();
  static LinkOnMemoryLine link;
  // Every binary command byte has 0x80 set; the first fuzzed byte picks one.
  link.Decode(
      static_cast<unsigned char>(data[0] | 0x80),
      QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));
  return 0;
}
