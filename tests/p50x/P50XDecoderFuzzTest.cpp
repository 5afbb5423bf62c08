// Random reply streams through the reply decoders: they must end, never read past their own
// reply (so no byte is ever decoded twice, by them and by the next decoder), and follow-ups must
// not nest without bound.
#include <gtest/gtest.h>

#include <QStringList>
#include <random>

#include "p50x/P50XDecoderContext.h"
#include "p50x/P50XReplyDecoders.h"

namespace {

struct StreamExhausted {};

// A command station whose replies come from one byte stream, and a log of everything the
// decoders did with it.
class StreamContext final : public P50XDecoderContext {
 public:
  explicit StreamContext(QByteArray stream) : stream_(std::move(stream)) {}

  unsigned char ReadByte() override {
    if (position_ >= stream_.size()) throw StreamExhausted();
    return static_cast<unsigned char>(stream_[position_++]);
  }
  QByteArray ReadBlock(int count) override {
    if (count > stream_.size() - position_) throw StreamExhausted();
    const QByteArray block = stream_.mid(position_, count);
    position_ += count;
    return block;
  }
  void ShowStatus(const QString& text) override { actions_ << "status " + text; }
  void AddLogLine(const QString& line) override { actions_ << "line " + line; }
  void SendFollowUp(unsigned char command) override {
    actions_ << QStringLiteral("send %1").arg(command, 2, 16);
    ++depth_;
    deepest_ = std::max(deepest_, depth_);
    DecodeP50XReply(command, *this);
    --depth_;
  }
  void ShowVersionValue(StationVersionField field, const QString& text) override {
    actions_ << QStringLiteral("version %1 %2").arg(static_cast<int>(field)).arg(text);
  }
  void Sleep(int) override {}
  void DiscardInput() override {
    actions_ << "discard";
    position_ = stream_.size();
  }

  // Decodes one reply; false when the stream ran dry first.
  bool Decode(int command) {
    try {
      DecodeP50XReply(command, *this);
      return true;
    } catch (const StreamExhausted&) {
      return false;
    }
  }

  qsizetype Position() const { return position_; }
  const QStringList& Actions() const { return actions_; }
  int Deepest() const { return deepest_; }

 private:
  QByteArray stream_;
  qsizetype position_ = 0;
  QStringList actions_;
  int depth_ = 0;
  int deepest_ = 0;
};

constexpr int kCommands[] = {0x90, 0x99, 0xA0, 0xA2, 0xA6, 0xA7, 0xC8,
                             0xC9, 0xCA, 0xCB, 0xCC, 0xCE, 0x00, 0xFF};

QByteArray RandomStream(std::mt19937& random, int maxLength) {
  std::uniform_int_distribution<int> length(0, maxLength);
  // Skewed towards the bytes the decoders treat specially, so that long lists and flags occur.
  std::uniform_int_distribution<int> kind(0, 3);
  std::uniform_int_distribution<int> any(0, 255);
  const unsigned char special[] = {0x00, 0x80, 0xF5, 0x01, 0x02, 0x04, 0x05, 0xFF, 0x81};
  std::uniform_int_distribution<int> pick(0, std::size(special) - 1);
  QByteArray stream;
  for (int i = length(random); i > 0; --i)
    stream.append(static_cast<char>(kind(random) == 0 ? special[pick(random)] : any(random)));
  return stream;
}

TEST(P50XDecoderFuzz, RandomBytesNeitherCrashNorHangNorNestFollowUps) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 3000; ++round) {
    const QByteArray stream = RandomStream(random, 80);
    for (int command : kCommands) {
      StreamContext context(stream);
      context.Decode(command);
      EXPECT_LE(context.Position(), stream.size());
      EXPECT_LE(context.Deepest(), 1) << "follow-ups of follow-ups";
    }
  }
}

// Well-formed replies with random contents, built from the reply layouts: a byte a flag, a
// list, a block. Appends the reply to a binary command, and those of the follow-ups its flags
// ask for, in the order the decoder sends them.
class ReplyMaker {
 public:
  explicit ReplyMaker(std::mt19937& random) : random_(random) {}

  void Append(int command, QByteArray& out) {
    switch (command) {
      case 0xA2: {
        const unsigned char first = Any();
        Put(out, first);
        if (first & 0x80) Put(out, Any());
        break;
      }
      case 0xC8:
        AppendEvents(out);
        break;
      case 0xC9:
        for (int records = Upto(4); records > 0; --records) {
          if (Upto(3) == 0) {
            Put(out, 0x81 + Upto(0x7E));  // stray byte
          } else {
            Put(out, Upto(0x7F));
            for (int i = 0; i < 4; ++i) Put(out, Any());
          }
        }
        Put(out, 0x80);
        break;
      case 0xCA: {
        const int count = Upto(4);
        Put(out, count);
        for (int entry = 0; entry < count; ++entry) {
          const unsigned char low = Upto(2) == 0 ? 0 : Any();
          const unsigned char high = Any();
          Put(out, low);
          Put(out, high);
          if (!(high & 0xC0) && low == 0) break;
        }
        break;
      }
      case 0xCB:
        for (int records = Upto(3); records > 0; --records) {
          Put(out, 1 + Upto(254));
          Put(out, Any());
          Put(out, Any());
        }
        Put(out, 0x00);
        break;
      case 0xCE:
        AppendProgrammingTrack(out);
        break;
      case 0xA0:
        for (int block = 0; block < 6; ++block) {
          const int length = Upto(6);
          Put(out, length);
          for (int i = 0; i < length; ++i) Put(out, Any());
        }
        Put(out, Any());
        break;
      default:  // 0x90, 0x99, 0xA6, 0xA7: one byte
        Put(out, Any());
        break;
    }
  }

 private:
  void AppendEvents(QByteArray& out) {
    // 0xCC is left out: its reply is thrown away whole, whatever follows it.
    unsigned char flags[3] = {static_cast<unsigned char>(Any() & ~0x02), 0, 0};
    Put(out, flags[0]);
    if (flags[0] & 0x80) Put(out, flags[1] = Any());
    if (flags[1] & 0x80) Put(out, flags[2] = Any());
    if (flags[0] == 0) return;
    if (flags[0] & 0x01) Append(0xC9, out);
    if (flags[0] & 0x04) Append(0xCB, out);
    if (flags[0] & 0x20) Append(0xCA, out);
    if (flags[1] & 0x40) Append(0xA2, out);
    if (flags[2] & 0x01) Append(0xCE, out);
  }

  void AppendProgrammingTrack(QByteArray& out) {
    const unsigned char lengths[] = {0xF5, 1, 2, 3, 6, 0x80, 4, 0x55};
    const unsigned char length = lengths[Upto(std::size(lengths) - 1)];
    Put(out, length);
    if (length == 0xF5) return;
    const unsigned char result = Upto(1) == 0 ? 0x00 : Any();
    Put(out, result);
    if (result != 0x00) return;
    const int valueBytes = length == 2 || length == 0x80 ? 1
                           : length == 3                 ? 2
                           : length == 6                 ? 5
                                                         : 0;
    for (int i = 0; i < valueBytes; ++i) Put(out, Any());
  }

  unsigned char Any() { return static_cast<unsigned char>(Upto(255)); }
  int Upto(int most) { return std::uniform_int_distribution<int>(0, most)(random_); }
  static void Put(QByteArray& out, int byte) { out.append(static_cast<char>(byte)); }

  std::mt19937& random_;
};

TEST(P50XDecoderFuzz, EachDecoderTakesExactlyItsOwnReplyFromAStreamOfReplies) {
  std::mt19937 random(7);
  ReplyMaker maker(random);
  std::uniform_int_distribution<int> pickCommand(0, std::size(kCommands) - 1);
  for (int round = 0; round < 2000; ++round) {
    // The replies to a run of commands back to back, as they would queue up on the line.
    std::vector<std::pair<int, qsizetype>> commands;
    QByteArray stream;
    for (int i = 0; i < 8; ++i) {
      const int command = kCommands[pickCommand(random)];
      if (command == 0xCC || command == 0x00 || command == 0xFF) continue;
      const qsizetype before = stream.size();
      maker.Append(command, stream);
      commands.emplace_back(command, stream.size() - before);
    }
    qsizetype position = 0;
    for (const auto& [command, length] : commands) {
      StreamContext context(stream.mid(position));
      ASSERT_TRUE(context.Decode(command)) << std::hex << command;
      ASSERT_EQ(context.Position(), length)
          << "command " << std::hex << command << " on " << stream.mid(position).toHex(' ').data();
      position += length;
    }
  }
}

}  // namespace
