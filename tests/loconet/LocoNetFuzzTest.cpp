// Random and mutated streams, cut into receive events at random points. The framing must not
// depend on where a stream is cut, must never lose or invent a byte, and must log every valid
// message exactly once, in order.
#include <gtest/gtest.h>

#include <set>

#include "LocoNetActionPrinter.h"
#include "ReceiveEvents.h"
#include "loconet/LocoNetMessage.h"
#include "loconet/LocoNetReceiver.h"

namespace {

using Kind = LocoNetAction::Kind;

const std::set<int> kFixedTwo = {0x81, 0x82, 0x83, 0x85, 0x88, 0x89};
const std::set<int> kFixedFour = {0xA0, 0xA1, 0xA2, 0xA3, 0xB0, 0xB1, 0xB2, 0xB4, 0xB5,
                                  0xB6, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBF};
const std::set<int> kFixedSix = {0x7D, 0xD0, 0xD1, 0xDF};
const std::set<int> kVariable = {0xE4, 0xE5, 0xE6, 0xE7, 0xED, 0xEF};
const std::set<int> kAnsweredStates = {0x00, 0x02, 0x03, 0x10, 0x12, 0x13,
                                       0x18, 0x23, 0x31, 0x32, 0x33};

int FixedLength(int op) {
  if (kFixedTwo.contains(op)) return 2;
  if (kFixedFour.contains(op)) return 4;
  if (kFixedSix.contains(op)) return 6;
  return op == 0xE0 ? 19 : 0;
}

bool IsMessageStart(int op) {
  return FixedLength(op) > 0 || kVariable.contains(op);
}

// The byte values that start a message (or, with false, those that do not).
std::vector<int> BytesThatStartAMessage(bool start) {
  std::vector<int> bytes;
  for (int b = 0; b < 256; ++b) {
    if (IsMessageStart(b) == start) bytes.push_back(b);
  }
  return bytes;
}

// What a valid message must cause, worked out from its bytes.
void ExpectFor(const QByteArray& message, std::vector<LocoNetAction>& expected) {
  expected.push_back({Kind::LogLine, HexText(message)});
  const auto byte = [&](int i) { return static_cast<unsigned char>(message[i]); };
  if (byte(0) == 0xE5 && byte(1) == 0x0F && byte(5) == 0x11) expected.push_back({Kind::Beep, {}});
  if (byte(0) == 0xE7 && message.size() >= 4 && kAnsweredStates.contains(byte(3))) {
    expected.push_back(
        {Kind::Send, QByteArray::fromHex("BA") + message.mid(2, 1) + message.mid(2, 1)});
  }
}

class StreamBuilder {
 public:
  explicit StreamBuilder(std::mt19937& random) : random_(random) {}

  QByteArray ValidMessage() {
    static const std::vector<int> starts = BytesThatStartAMessage(true);
    const int op = starts[Pick(0, int(starts.size()) - 1)];
    int length = FixedLength(op);
    if (length == 0) length = Pick(3, 24);
    QByteArray bytes;
    bytes.append(char(op));
    for (int i = 1; i < length - 1; ++i) bytes.append(char(Pick(0, 255)));
    if (length > 2 && kVariable.contains(op)) bytes[1] = char(length);
    // Steer a share of the messages into the beep and the slot answer.
    if (op == 0xE5 && Pick(0, 1) == 0) {
      bytes.resize(14);
      bytes[1] = char(0x0F);
      bytes[5] = char(0x11);
    }
    if (op == 0xE7 && length >= 5 && Pick(0, 1) == 0) bytes[3] = char(Pick(0, 0x34));
    return LocoNetMessage(bytes);
  }

  // Bytes that never frame a message that the parser could log: bytes that are no message
  // start, messages with a wrong check byte, and lengths of 0 or 1 followed by non-starts.
  QByteArray Garbage() {
    static const std::vector<int> nonStarts = BytesThatStartAMessage(false);
    switch (Pick(0, 2)) {
      case 0: {
        QByteArray bytes;
        for (int n = Pick(1, 5); n > 0; --n) {
          bytes.append(char(nonStarts[Pick(0, int(nonStarts.size()) - 1)]));
        }
        return bytes;
      }
      case 1: {
        QByteArray message = ValidMessage();
        message[message.size() - 1] = char(message.back() ^ Pick(1, 255));
        return message;
      }
      default: {
        QByteArray bytes;
        bytes.append(char(*std::next(kVariable.begin(), Pick(0, int(kVariable.size()) - 1))));
        bytes.append(char(Pick(0, 1)));
        return bytes;
      }
    }
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::mt19937& random_;
};

struct Outcome {
  std::vector<LocoNetAction> actions;
  QByteArray rest;
};

// Feeds the events one by one, checking after each that no byte is lost or invented, then
// keeps calling without new bytes (as later receive events would) until the parser stops
// consuming.
Outcome Receive(const std::vector<QByteArray>& events) {
  Outcome outcome;
  QByteArray fed;
  const auto parse = [&] {
    const qsizetype before = outcome.rest.size();
    LocoNetParse parsed = ParseLocoNetBuffer(std::move(outcome.rest));
    // What is left is always the unconsumed end of what arrived, never more than was there.
    EXPECT_LE(parsed.rest.size(), before);
    EXPECT_TRUE(fed.endsWith(parsed.rest));
    outcome.rest = std::move(parsed.rest);
    for (LocoNetAction& action : parsed.actions) outcome.actions.push_back(std::move(action));
  };
  for (const QByteArray& event : events) {
    const QByteArray hex = HexText(event);
    fed += hex;
    outcome.rest += hex;
    parse();
  }
  for (qsizetype left = outcome.rest.size(); left > 0;) {
    parse();
    if (outcome.rest.size() == left) break;
    EXPECT_LT(outcome.rest.size(), left);
    left = outcome.rest.size();
  }
  return outcome;
}

// Every logged line is a whole, valid message: the framing table gives its length.
void ExpectOnlyValidMessagesLogged(const std::vector<LocoNetAction>& actions) {
  for (const LocoNetAction& action : actions) {
    if (action.kind != Kind::LogLine) continue;
    const QByteArray message = QByteArray::fromHex(action.bytes);
    int x = 0;
    for (const char byte : message) x ^= byte & 0xFF;
    EXPECT_EQ(x, 0xFF) << action.bytes.constData();
    const int op = message[0] & 0xFF;
    const int length = FixedLength(op) ? FixedLength(op) : message[1] & 0xFF;
    EXPECT_EQ(message.size(), length) << action.bytes.constData();
  }
}

TEST(LocoNetFuzz, ValidMessagesAmongGarbageAreEachLoggedOnceInOrder) {
  std::mt19937 random(7101);
  StreamBuilder builder(random);
  for (int run = 0; run < 300; ++run) {
    QByteArray stream;
    std::vector<LocoNetAction> expected;
    for (int part = 0; part < 40; ++part) {
      if (random() % 3 == 0) {
        stream += builder.Garbage();
      } else {
        const QByteArray message = builder.ValidMessage();
        stream += message;
        ExpectFor(message, expected);
      }
    }
    const Outcome outcome = Receive(SplitIntoEvents(stream, random));
    ASSERT_EQ(outcome.actions, expected) << "run " << run;
    EXPECT_TRUE(outcome.rest.isEmpty());
  }
}

TEST(LocoNetFuzz, RandomStreamsFrameTheSameWhereverTheyAreCut) {
  std::mt19937 random(7102);
  const std::vector<int> starts = BytesThatStartAMessage(true);
  for (int run = 0; run < 300; ++run) {
    // Half the runs are weighted towards message starts, so that framing is exercised and not
    // only the dropping of stray bytes.
    QByteArray stream = RandomBytes(random, 600);
    if (run % 2 == 0) {
      for (char& byte : stream) {
        if (random() % 4 == 0) byte = char(starts[random() % starts.size()]);
      }
    }
    const Outcome whole = Receive({stream});
    const Outcome cut = Receive(SplitIntoEvents(stream, random, 1 + run % 50));
    ASSERT_EQ(cut.actions, whole.actions) << "run " << run;
    EXPECT_EQ(cut.rest, whole.rest);
    ExpectOnlyValidMessagesLogged(whole.actions);
  }
}

TEST(LocoNetFuzz, MutatedStreamsNeitherLoseBytesNorLogInvalidMessages) {
  std::mt19937 random(7103);
  StreamBuilder builder(random);
  for (int run = 0; run < 300; ++run) {
    QByteArray stream;
    for (int part = 0; part < 30; ++part) stream += builder.ValidMessage();
    for (int mutation = 0; mutation < 1 + run % 8; ++mutation) {
      const qsizetype at = random() % stream.size();
      switch (random() % 3) {
        case 0:
          stream[at] = char(random());
          break;
        case 1:
          stream.insert(at, char(random()));
          break;
        default:
          stream.remove(at, 1 + random() % 5);
          break;
      }
    }
    const Outcome whole = Receive({stream});
    const Outcome cut = Receive(SplitIntoEvents(stream, random));
    ASSERT_EQ(cut.actions, whole.actions) << "run " << run;
    ExpectOnlyValidMessagesLogged(whole.actions);
  }
}

}  // namespace
