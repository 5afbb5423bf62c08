// Framing, reads and the rules that keep one command at a time: what goes on the wire, the time
// limit of a silent command station (reads wait with timers running), commands started mid-reply,
// what becomes of an accessory command, and two links in one process.
#include <gtest/gtest.h>

#include <QTimer>
#include <cerrno>

#include "CPort/EComPort.h"
#include "CPort/TComLink.h"
#include "support/P50XTestLink.h"

namespace {

using Result = AccessoryOutcome::Result;
const QString kNoReply = QStringLiteral("No reply from the command station");
const QString kFifoFull = QStringLiteral("the fifo for turnout cmds is full, please try later");
const QString kPowerIsOff = QStringLiteral("0xA6: the Power is Off!");

std::vector<QByteArray> Hex(std::initializer_list<const char*> spacedHex) {
  std::vector<QByteArray> writes;
  for (const char* bytes : spacedHex) writes.push_back(QByteArray::fromHex(bytes));
  return writes;
}

// One-byte replies, each sent once the next command has been written.
std::vector<QByteArray> OneReplyByteAWrite(const char* spacedHex) {
  std::vector<QByteArray> replies;
  for (const char byte : QByteArray::fromHex(spacedHex)) replies.emplace_back(1, byte);
  return replies;
}

TEST(P50XFraming, BinaryCommandsGoOutInOneWriteTextCommandsOneBytePerWriteAndUnread) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->Receive(QByteArray::fromHex("00 00 55"));

  link->SendP50X("RT255");
  EXPECT_EQ(line->InputCount(), 3);
  link->P50XPowerOff();
  EXPECT_EQ(link->ReplyBuffer(), QByteArray(1, '\0'));
  link->SetXPrefixMode(false);
  link->SendP50X(QByteArray::fromHex("A7"));
  EXPECT_EQ(link.writes, Hex({"78", "52", "54", "32", "35", "35", "0D", "78 A6", "A7"}));
  EXPECT_EQ(link.sleeps, std::vector<int>(7, 1));
  EXPECT_EQ(line->InputCount(), 1);

  link.port.Close();
  link->SendP50X("SE62");
  EXPECT_EQ(link.writes.size(), 9u) << "nothing written to a closed port";
}

TEST(P50XFraming, SilentCommandStationGivesTheWholeCommandUpAndTheLinkGoesOn) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  // Events report locomotive events; the list breaks off mid-record and nothing more comes.
  line->AnswerWrites({QByteArray::fromHex("01  05 01")});

  link->SendP50X(QByteArray::fromHex("C8"));

  EXPECT_EQ(link.memo1.Lines(), QStringList{kNoReply});
  EXPECT_EQ(link.TakeWritten(), QByteArray::fromHex("78 C8 78 C9"));
  EXPECT_EQ(line->InputCount(), 0);
  EXPECT_FALSE(link->P50XBusy());
}

// While a turnout reply is awaited a poll tick is skipped and a command refused, and neither
// takes the reply.
TEST(P50XFraming, PollAndCommandWhileAReplyIsAwaitedAreLeftOut) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] { link->P50XEventPoll(); });
  poll.start(5);
  QTimer::singleShot(20, [&] { link->SendP50X(QByteArray::fromHex("A7")); });
  QTimer::singleShot(100, [&] { line->Receive(QByteArray::fromHex("00")); });

  link->SendP50X(QByteArray::fromHex("90 01 40"));
  poll.stop();

  EXPECT_EQ(link.writes, Hex({"78 90 01 40"}));
  EXPECT_EQ(link.memo3.Text(), "Turnout command accepted");
  ASSERT_EQ(link.memo1.Lines().size(), 1);
  EXPECT_TRUE(link.memo1.Lines()[0].startsWith("Opdracht overgeslagen"));
  line->AnswerWrites({QByteArray::fromHex("08")});
  link->P50XEventPoll();
  EXPECT_EQ(link.writes.back(), QByteArray::fromHex("78 C8"));
  EXPECT_EQ(link.memo3.Text(), "There has been a Power Off.");
}

// An accessory command on a port that is gone is lost; other commands let the port's error
// pass. Either way the link is free for the next command.
TEST(P50XFraming, PollRunsInThePauseBetweenTheTwoHalvesOfATurnoutCommand) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->AnswerWrites(OneReplyByteAWrite("00 00 00"));
  QTimer::singleShot(50, [&] { link->P50XEventPoll(); });
  link->SwitchTurnoutP50X(3, 0);
  EXPECT_EQ(link.writes, Hex({"78 90 03 40", "78 C8", "78 90 03 00"}));
}

TEST(P50XFraming, PortFailureLeavesTheLinkFreeForTheNextCommand) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->Fail(MemoryLine::Op::kWrite, EIO);
  const AccessoryOutcome outcome = link->SwitchAccessory({9});
  EXPECT_EQ(outcome.result, Result::Lost);
  EXPECT_FALSE(outcome.stationSaid.isEmpty());
  EXPECT_FALSE(link->P50XBusy());
  EXPECT_THROW(link->P50XPowerOff(), EComPort);

  line->Fail(MemoryLine::Op::kWrite, 0);
  line->Receive(QByteArray::fromHex("00"));
  link->SendP50X(QByteArray::fromHex("A7"));
  EXPECT_EQ(link.memo3.Text(), "Power On");
  EXPECT_TRUE(link.memo1.Lines().isEmpty());
}

struct TurnoutCase {
  const char* name;
  const char* replies;  // hex
  Result result;
  QString stationSaid;
  bool offFrameSent;
};

class P50XTurnoutOutcome : public testing::TestWithParam<TurnoutCase> {};

TEST_P(P50XTurnoutOutcome, FollowsTheReplies) {
  const TurnoutCase& c = GetParam();
  P50XTestLink link;
  link.OpenOnMemoryLine()->AnswerWrites(OneReplyByteAWrite(c.replies));

  // The high address bits go in the last byte, with the output bit.
  const AccessoryOutcome outcome = link->SwitchAccessory({2040});

  EXPECT_EQ(outcome.result, c.result);
  EXPECT_EQ(outcome.stationSaid, c.stationSaid);
  std::vector<QByteArray> expected = Hex({"78 90 F8 47"});
  if (c.offFrameSent) expected.push_back(QByteArray::fromHex("78 90 F8 07"));
  EXPECT_EQ(link.writes, expected);
  EXPECT_EQ(link.observer.waits, std::vector<int>(c.offFrameSent ? 1 : 0, 200));
  EXPECT_EQ(link.memo1.Lines().contains(kNoReply), c.stationSaid == kNoReply);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Replies, P50XTurnoutOutcome, testing::Values(
    TurnoutCase{"Accepted", "00 00", Result::CarriedOut, "0x00: Turnout command accepted", true},
    TurnoutCase{"FifoNearlyFullStillAccepted", "40 40", Result::CarriedOut,
                "0x40: the fifo for turnout cmds is 75% full", true},
    TurnoutCase{"PowerIsOff", "A6", Result::Refused, kPowerIsOff, false},
    TurnoutCase{"FifoFull", "09", Result::Refused, "0x09: " + kFifoFull, false},
    TurnoutCase{"UndocumentedReply", "01", Result::Refused, "0x01", false},
    TurnoutCase{"OffRefused", "00 A6", Result::Refused, kPowerIsOff, true},
    TurnoutCase{"NoReply", "", Result::Lost, kNoReply, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A station that takes its time: it answers each write of the command (its byte after the
// prefix) 20 ms after it.
class SlowStation {
 public:
  SlowStation(P50XTestLink& link, MemoryLine& line, unsigned char command, const char* reply)
      : port_(link.port) {
    answer_.OnTxBuf = [&line, command, reply](QObject*, const char* bytes, int count) {
      if (count < 2 || static_cast<unsigned char>(bytes[1]) != command) return;
      QTimer::singleShot(20, [&line, reply] { line.Receive(QByteArray::fromHex(reply)); });
    };
    port_.RegisterLink(&answer_);
  }
  ~SlowStation() { port_.UnregisterLink(&answer_); }
  SlowStation(const SlowStation&) = delete;
  SlowStation& operator=(const SlowStation&) = delete;

 private:
  TComPort& port_;
  TComLink answer_;
};

// Bytes that belong to no command of their own must not answer a turnout command: the station
// refuses the command (track power off) and the run must hear it, so no off frame follows.
// Each case leaves such bytes behind, or on their way, before the command is written.
struct StaleBytesCase {
  const char* name;
  const char* pollReplies;  // hex: what the poll and its follow-ups are answered, at once
  const char* lateBytes;    // hex: what arrives 10 ms after the poll has returned
  const char* pollWrites;
};

class P50XStaleBytes : public testing::TestWithParam<StaleBytesCase> {};

TEST_P(P50XStaleBytes, AreNotTakenForTheTurnoutReply) {
  const StaleBytesCase& c = GetParam();
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->AnswerWrites({QByteArray::fromHex(c.pollReplies)});
  link->P50XEventPoll();
  EXPECT_EQ(link.TakeWritten(), QByteArray::fromHex(c.pollWrites));
  QTimer::singleShot(10, [&] { line->Receive(QByteArray::fromHex(c.lateBytes)); });
  const SlowStation station(link, *line, 0x90, "A6");

  const AccessoryOutcome outcome = link->SwitchAccessory({9});

  EXPECT_EQ(outcome.result, Result::Refused);
  EXPECT_EQ(outcome.stationSaid, kPowerIsOff);
  EXPECT_EQ(link.TakeWritten(), QByteArray::fromHex("78 90 09 40"));
  EXPECT_TRUE(link.observer.waits.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Left, P50XStaleBytes, testing::Values(
    // A byte that no decoder asked for waits on the line.
    StaleBytesCase{"StrayByte", "00 00", "", "78 C8"},
    // The poll was given up; its reply comes after all.
    StaleBytesCase{"LatePollReply", "", "00", "78 C8"},
    // The list of switched turnouts ends early, before entries that follow.
    StaleBytesCase{"ListEndedEarly", "20  03 00 00", "00 00 00 00", "78 C8 78 CA"},
    // A fourth event byte, which newer firmware sends.
    StaleBytesCase{"FourthEventByte", "80 80 80", "00", "78 C8"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A turnout reply that comes after its command was given up is not read by the next poll as
// event flags (0xA6 would ask for three follow-ups).
TEST(P50XFraming, LateTurnoutReplyIsNotReadAsEvents) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  EXPECT_EQ(link->SwitchAccessory({9}).stationSaid, kNoReply);
  QTimer::singleShot(10, [&] { line->Receive("\xA6"); });
  const SlowStation station(link, *line, 0xC8, "00");
  link.memo3.SetText("-");

  link->P50XEventPoll();

  EXPECT_EQ(link.writes, Hex({"78 90 09 40", "78 C8"}));
  EXPECT_EQ(link.memo3.Text(), "-");
  EXPECT_EQ(link.memo1.Lines(), QStringList{kNoReply});
  EXPECT_EQ(line->InputCount(), 0);
}

// Each link owns its state: the first one's whole command runs while the second waits for its
// reply, which arrives in the middle of it.
TEST(P50XFraming, TwoLinksSideBySideEachReadOnlyTheirOwnReplies) {
  P50XTestLink first, second;
  auto firstLine = first.OpenOnMemoryLine(), secondLine = second.OpenOnMemoryLine();
  firstLine->AnswerWrites(OneReplyByteAWrite("00 00"));
  AccessoryOutcome firstOutcome = AccessoryOutcome::Lost({});
  QTimer::singleShot(20, [&] { firstOutcome = first->SwitchAccessory({3}); });
  QTimer::singleShot(100, [&] { secondLine->Receive(QByteArray::fromHex("09")); });
  const AccessoryOutcome secondOutcome = second->SwitchAccessory({5});
  EXPECT_EQ(firstOutcome.result, Result::CarriedOut);
  EXPECT_EQ(secondOutcome.result, Result::Refused);
  EXPECT_EQ(firstLine->TakeWritten(), QByteArray::fromHex("78 90 03 40 78 90 03 00"));
  EXPECT_EQ(secondLine->TakeWritten(), QByteArray::fromHex("78 90 05 40"));
  EXPECT_EQ(first.memo3.Text(), "Turnout command accepted");
  EXPECT_EQ(second.memo3.Text(), kFifoFull);
}

}  // namespace
