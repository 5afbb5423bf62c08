// The LocoNet receive framing (ParseLocoNetBuffer) on a received stream cut into receive events
// as the serial port delivers them: one parse per event, as the receive handler runs it, and
// parses without new bytes at the end until nothing changes. The messages logged must be those
// of the same stream handed over in one event, each a whole message with a right check byte;
// the buffer is only ever cut at its front, and a parse without new bytes ends.
#include <cstdint>

#include "FuzzCheck.h"
#include "loconet/LocoNetMessage.h"
#include "loconet/LocoNetReceiver.h"

namespace {

struct Framed {
  std::vector<QByteArray> logged;
  QByteArray rest;
};

void Parse(QByteArray& buffer, Framed& framed) {
  const QByteArray before = buffer;
  LocoNetParse parsed = ParseLocoNetBuffer(std::move(buffer));
  Require(before.endsWith(parsed.rest), "only the front of the buffer is consumed");
  qsizetype loggedHex = 0;
  for (const LocoNetAction& action : parsed.actions) {
    switch (action.kind) {
      case LocoNetAction::Kind::LogLine:
        Require(action.bytes.size() >= 4 && LocoNetChecksumOk(action.bytes),
                "a logged message is whole and its check byte is right");
        loggedHex += action.bytes.size();
        framed.logged.push_back(action.bytes);
        break;
      case LocoNetAction::Kind::Send:
        Require(action.bytes.size() == 3 && action.bytes[0] == '\xBA' &&
                    action.bytes[1] == action.bytes[2],
                "the only answer is a move of a slot to itself");
        break;
      case LocoNetAction::Kind::Beep:
        break;
    }
  }
  Require(loggedHex <= before.size() - parsed.rest.size(), "nothing logged that was not consumed");
  buffer = std::move(parsed.rest);
}

// Parses without new bytes until the buffer stops changing; each such parse consumes at least
// one byte, so this ends within one parse per byte.
void Drain(QByteArray& buffer, Framed& framed) {
  for (qsizetype left = buffer.size() / 2 + 1; left >= 0; --left) {
    const qsizetype size = buffer.size();
    Parse(buffer, framed);
    if (buffer.size() == size) return;
  }
  Require(false, "parses without new bytes come to an end");
}

Framed FrameInEvents(const std::vector<QByteArray>& events) {
  Framed framed;
  QByteArray buffer;
  for (const QByteArray& event : events) {
    buffer.append(event.toHex().toUpper());
    Parse(buffer, framed);
  }
  Drain(buffer, framed);
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
  Require(inEvents.logged == inOne.logged, "the messages logged do not depend on the events");
  Require(inEvents.rest == inOne.rest, "what is left does not depend on the events");
  return 0;
}
