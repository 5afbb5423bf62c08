// Framing, reads and the rules that keep one command at a time: what goes on the wire, commands
// started mid-reply, what becomes of an accessory command, and two links in one process.
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

class P50XFraming : public testing::Test {
 protected:
  P50XTestLink link;
  std::shared_ptr<MemoryLine> line = link.OpenOnMemoryLine();
};

TEST_F(P50XFraming, BinaryCommandsGoOutInOneWriteTextCommandsOneBytePerWriteAndUnread) {
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

// While a turnout reply is awaited a poll tick is skipped and a command refused, and neither
// takes the reply.
TEST_F(P50XFraming, PollAndCommandWhileAReplyIsAwaitedAreLeftOut) {
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

TEST_F(P50XFraming, PollRunsInThePauseBetweenTheTwoHalvesOfATurnoutCommand) {
  line->AnswerWrites(Hex({"00", "00", "00"}));
  QTimer::singleShot(50, [&] { link->P50XEventPoll(); });
  link->SwitchTurnoutP50X(3, 0);
  EXPECT_EQ(link.writes, Hex({"78 90 03 40", "78 C8", "78 90 03 00"}));
}

// An accessory command on a port that is gone is lost; other commands let the port's error
// pass. Either way the link is free for the next command.
TEST_F(P50XFraming, PortFailureLeavesTheLinkFreeForTheNextCommand) {
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

// A station that takes its time: it answers each write of the command (its byte after the
// prefix) 20 ms after it, with the next of its reply bytes.
struct SlowStation {
  SlowStation(P50XTestLink& link, MemoryLine& line, unsigned char command, const char* replies)
      : port(link.port) {
    answer.OnTxBuf = [&line, command, unsent = QByteArray::fromHex(replies)](
                         QObject*, const char* bytes, int count) mutable {
      if (count < 2 || static_cast<unsigned char>(bytes[1]) != command || unsent.isEmpty()) return;
      QTimer::singleShot(20, [&line, reply = unsent.left(1)] { line.Receive(reply); });
      unsent.remove(0, 1);
    };
    port.RegisterLink(&answer);
  }
  ~SlowStation() { port.UnregisterLink(&answer); }
  TComPort& port;
  TComLink answer;
};

// What becomes of a turnout command by the station's replies to its two frames. Bytes that
// belong to no command of their own, left on the line or on their way before the command is
// written, must not answer it: the station refuses the command (track power off) and the run
// must hear it, so no off frame follows.
struct TurnoutCase {
  const char* name;
  const char* replies;  // hex, a byte to each frame
  Result result;
  QString stationSaid;
  bool offFrameSent = false;
  const char* pollReplies = "";  // hex: what a poll before it and its follow-ups are answered
  const char* lateBytes = "";    // hex: what arrives 10 ms after the poll has returned
  const char* pollWrites = "";   // empty: no poll
};

class P50XTurnout : public P50XFraming, public testing::WithParamInterface<TurnoutCase> {};

TEST_P(P50XTurnout, OutcomeFollowsItsOwnReplies) {
  const TurnoutCase& c = GetParam();
  if (*c.pollWrites) {
    line->AnswerWrites({QByteArray::fromHex(c.pollReplies)});
    link->P50XEventPoll();
    EXPECT_EQ(link.TakeWritten(), QByteArray::fromHex(c.pollWrites));
    QTimer::singleShot(10, [&] { line->Receive(QByteArray::fromHex(c.lateBytes)); });
    link.memo1.Clear();
  }
  const SlowStation station(link, *line, 0x90, c.replies);

  // The high address bits go in the last byte, with the output bit.
  const AccessoryOutcome outcome = link->SwitchAccessory({2040});

  EXPECT_EQ(outcome.result, c.result);
  EXPECT_EQ(outcome.stationSaid, c.stationSaid);
  EXPECT_EQ(link.writes,
            c.offFrameSent ? Hex({"78 90 F8 47", "78 90 F8 07"}) : Hex({"78 90 F8 47"}));
  EXPECT_EQ(link.observer.waits, std::vector<int>(c.offFrameSent ? 1 : 0, 200));
  EXPECT_EQ(link.memo1.Lines().contains(kNoReply), c.stationSaid == kNoReply);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Replies, P50XTurnout, testing::Values(
    TurnoutCase{"Accepted", "00 00", Result::CarriedOut, "0x00: Turnout command accepted", true},
    TurnoutCase{"FifoNearlyFullStillAccepted", "40 40", Result::CarriedOut,
                "0x40: the fifo for turnout cmds is 75% full", true},
    TurnoutCase{"PowerIsOff", "A6", Result::Refused, kPowerIsOff},
    TurnoutCase{"FifoFull", "09", Result::Refused, "0x09: " + kFifoFull},
    TurnoutCase{"UndocumentedReply", "01", Result::Refused, "0x01"},
    TurnoutCase{"OffRefused", "00 A6", Result::Refused, kPowerIsOff, true},
    TurnoutCase{"NoReply", "", Result::Lost, kNoReply}),
    [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Left, P50XTurnout, testing::Values(
    // A byte that no decoder asked for waits on the line.
    TurnoutCase{"StrayByte", "A6", Result::Refused, kPowerIsOff, false, "00 00", "", "78 C8"},
    // The poll was given up; its reply comes after all.
    TurnoutCase{"LatePollReply", "A6", Result::Refused, kPowerIsOff, false, "", "00", "78 C8"},
    // The list of switched turnouts ends early, before entries that follow.
    TurnoutCase{"ListEndedEarly", "A6", Result::Refused, kPowerIsOff, false, "20  03 00 00",
                "00 00 00 00", "78 C8 78 CA"},
    // A fourth event byte, which newer firmware sends.
    TurnoutCase{"FourthEventByte", "A6", Result::Refused, kPowerIsOff, false, "80 80 80", "00",
                "78 C8"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A turnout reply that comes after its command was given up is not read by the next poll as
// event flags (0xA6 would ask for three follow-ups).
TEST_F(P50XFraming, LateTurnoutReplyIsNotReadAsEvents) {
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
TEST_F(P50XFraming, TwoLinksSideBySideEachReadOnlyTheirOwnReplies) {
  P50XTestLink second;
  auto secondLine = second.OpenOnMemoryLine();
  line->AnswerWrites(Hex({"00", "00"}));
  AccessoryOutcome firstOutcome = AccessoryOutcome::Lost({});
  QTimer::singleShot(20, [&] { firstOutcome = link->SwitchAccessory({3}); });
  QTimer::singleShot(100, [&] { secondLine->Receive(QByteArray::fromHex("09")); });
  const AccessoryOutcome secondOutcome = second->SwitchAccessory({5});
  EXPECT_EQ(firstOutcome.result, Result::CarriedOut);
  EXPECT_EQ(secondOutcome.result, Result::Refused);
  EXPECT_EQ(line->TakeWritten(), QByteArray::fromHex("78 90 03 40 78 90 03 00"));
  EXPECT_EQ(secondLine->TakeWritten(), QByteArray::fromHex("78 90 05 40"));
  EXPECT_EQ(link.memo3.Text(), "Turnout command accepted");
  EXPECT_EQ(second.memo3.Text(), kFifoFull);
}

}  // namespace
