// The Lenz receive framing (ParseLenzBuffer) on a received stream cut into receive events: the
// frames logged, laid end to end, are exactly the bytes consumed, each frame as long as its
// header says, and the framing does not depend on where the stream was cut.
#include <cstdint>

#include "FuzzCheck.h"
#include "lenz/LenzFrames.h"

namespace {

// A frame's length in bytes from its header: the low four bits count the data bytes.
qsizetype FrameLength(char header) {
  return (static_cast<unsigned char>(header) & 0x0F) + 2;
}

struct Framed {
  QByteArray logged;  // the logged lines' bytes, end to end
  QByteArray rest;
};

Framed FrameInEvents(const std::vector<QByteArray>& events) {
  Framed framed;
  QByteArray buffer;
  for (const QByteArray& event : events) {
    buffer.append(event.toHex().toUpper());
    const QByteArray before = buffer;
    LenzParse parsed = ParseLenzBuffer(std::move(buffer));
    Require(before.endsWith(parsed.rest), "only the front of the buffer is consumed");
    QByteArray consumed = QByteArray::fromHex(before.first(before.size() - parsed.rest.size()));
    for (const QString& line : parsed.lines) {
      const QByteArray frame = QByteArray::fromHex(line.toLatin1());
      Require(line == QString::fromLatin1(frame.toHex(' ').toUpper() + ' '),
              "a frame is logged as its bytes in hex, each followed by a blank");
      Require(!frame.isEmpty() && frame.size() == FrameLength(frame[0]),
              "a frame is as long as its header says");
      Require(consumed.startsWith(frame), "frames are logged in the order they arrived");
      consumed.remove(0, frame.size());
      framed.logged += frame;
    }
    Require(consumed.isEmpty(), "every consumed byte belongs to a logged frame");
    Require(parsed.rest.size() < 2 ||
                parsed.rest.size() < 2 * FrameLength(QByteArray::fromHex(parsed.rest.first(2))[0]),
            "what is left is no complete frame");
    buffer = std::move(parsed.rest);
  }
  framed.rest = buffer;
  return framed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<QByteArray> events = ReceiveEvents(data, size);
  QByteArray stream;
  for (const QByteArray& event : events) stream += event;

  const Framed inEvents = FrameInEvents(events);
  const Framed inOne = FrameInEvents({stream});
  Require(inEvents.logged == inOne.logged, "the frames logged do not depend on the events");
  Require(inEvents.rest == inOne.rest, "what is left does not depend on the events");
  return 0;
}
