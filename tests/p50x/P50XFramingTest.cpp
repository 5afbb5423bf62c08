// Framing, reads and the rules that keep one command at a time: what goes on the wire, commands
// that meet on the line, and what becomes of an accessory command.
#include <gtest/gtest.h>

#include <cerrno>

#include "support/AwaitTask.h"
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

  Await(link->SendP50X("RT255"));
  EXPECT_EQ(line->InputCount(), 3);
  Await(link->SwitchPowerOff());
  EXPECT_EQ(link->ReplyBuffer(), QByteArray(1, '\0'));
  link->SetXPrefixMode(false);
  Await(link->SendP50X(QByteArray::fromHex("A7")));
  EXPECT_EQ(link.writes, Hex({"78", "52", "54", "32", "35", "35", "0D", "78 A6", "A7"}));
  EXPECT_EQ(link.pauses, std::vector<int>(7, 1));
  EXPECT_EQ(line->InputCount(), 1);
}

// Two operations of the window that meet on the line: the second starts once the first has
// written (or, for detection, put the break on), and the first may be ended there as a close
// does. The first's reply comes 30 ms later while it still waits for it, or at once where it was
// ended (before the second can write): each command must read its own reply only, and an ended
// one's is thrown away.
TEST_F(P50XFraming, OperationsThatMeetOnTheLineEachReadTheirOwnReply) {
  using Start = std::function<Task<void>(P50XLink&)>;
  const Start poll = [](P50XLink& l) { return l.PollEvents(); };
  const Start step = [](P50XLink& l) -> Task<void> { co_await l.SwitchAccessory({3}); };
  const Start detection = [](P50XLink& l) -> Task<void> { co_await l.Connect(); };
  const Start powerOff = [](P50XLink& l) { return l.SwitchPowerOff(); };
  const struct {
    const char* name;
    Start first;
    const char* firstReply;  // hex
    bool endFirst;
    Start second;
    std::vector<QByteArray> secondReplies;
    std::vector<QByteArray> written;
    QString receiveLog;
  } cases[] = {
      {"StepWaitsForThePollsReply", poll, "00", false, step, Hex({"00", "00"}),
       Hex({"78 C8", "78 90 03 40", "78 90 03 00"}), "Turnout command accepted"},
      {"PollLeftOutWhileAStepWaits", step, "09", false, poll, {}, Hex({"78 90 03 40"}), kFifoFull},
      {"PowerOffWaitsForThePollsReply", poll, "00", false, powerOff, Hex({"00"}),
       Hex({"78 C8", "78 A6"}), "Power Off"},
      {"PowerOffAfterAStepEndedInItsRead", step, "09", true, powerOff, Hex({"00"}),
       Hex({"78 90 03 40", "78 A6"}), "Power Off"},
      {"PowerOffAfterDetectionEndedInTheBreak", detection, "09", true, powerOff, Hex({"00"}),
       Hex({"78 A6"}), "Power Off"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    P50XTestLink rowLink;
    auto rowLine = rowLink.OpenOnMemoryLine();
    Task<void> first = c.first(rowLink.link);
    ASSERT_TRUE(WaitFor([&] { return rowLine->BreakOn() || !rowLink.writes.empty(); }));
    const QByteArray firstReply = QByteArray::fromHex(c.firstReply);
    if (c.endFirst) {
      first.End();
      rowLine->Receive(firstReply);
    } else {
      QTimer::singleShot(30, [&] { rowLine->Receive(firstReply); });
    }
    rowLine->AnswerWrites(c.secondReplies);

    Await(c.second(rowLink.link));
    if (!c.endFirst) Await(std::move(first));

    EXPECT_EQ(rowLink.writes, c.written);
    EXPECT_EQ(rowLink.memo3.Text(), c.receiveLog);
    EXPECT_EQ(rowLink.memo1.Lines(), QStringList());
    EXPECT_EQ(rowLine->InputCount(), 0);
    EXPECT_FALSE(rowLine->BreakOn());
  }
}

TEST_F(P50XFraming, PollRunsInThePauseBetweenTheTwoHalvesOfATurnoutCommand) {
  line->AnswerWrites(Hex({"00", "00", "00"}));
  Task<void> poll;
  QTimer::singleShot(50, [&] { poll = link->PollEvents(); });
  Await(link->SwitchTurnoutP50X(3, 0));
  EXPECT_EQ(link.writes, Hex({"78 90 03 40", "78 C8", "78 90 03 00"}));
}

// An accessory command on a port that is gone is lost; other commands let the port's error
// pass. Either way the link is free for the next command.
TEST_F(P50XFraming, PortFailureLeavesTheLinkFreeForTheNextCommand) {
  line->Fail(MemoryLine::Op::kWrite, EIO);
  const AccessoryOutcome outcome = Await(link->SwitchAccessory({9}));
  EXPECT_EQ(outcome.result, Result::Lost);
  EXPECT_FALSE(outcome.stationSaid.isEmpty());
  EXPECT_FALSE(link->P50XBusy());
  EXPECT_THROW(Await(link->SwitchPowerOff()), SerialPortError);

  line->Fail(MemoryLine::Op::kWrite, 0);
  line->Receive(QByteArray::fromHex("00"));
  Await(link->SendP50X(QByteArray::fromHex("A7")));
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
  SerialPort& port;
  SerialPortListener answer;
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
    Await(link->PollEvents());
    EXPECT_EQ(link.TakeWritten(), QByteArray::fromHex(c.pollWrites));
    QTimer::singleShot(10, [&] { line->Receive(QByteArray::fromHex(c.lateBytes)); });
    link.memo1.Clear();
  }
  const SlowStation station(link, *line, 0x90, c.replies);

  // The high address bits go in the last byte, with the output bit.
  const AccessoryOutcome outcome = Await(link->SwitchAccessory({2040}));

  EXPECT_EQ(outcome.result, c.result);
  EXPECT_EQ(outcome.stationSaid, c.stationSaid);
  EXPECT_EQ(link.writes,
            c.offFrameSent ? Hex({"78 90 F8 47", "78 90 F8 07"}) : Hex({"78 90 F8 47"}));
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
    // The poll was given up; its reply comes after all (a turnout's reply given up the same way
    // would be read by the next poll as event flags).
    TurnoutCase{"LatePollReply", "A6", Result::Refused, kPowerIsOff, false, "", "00", "78 C8"},
    // The list of switched turnouts ends early, before entries that follow.
    TurnoutCase{"ListEndedEarly", "A6", Result::Refused, kPowerIsOff, false, "20  03 00 00",
                "00 00 00 00", "78 C8 78 CA"},
    // A fourth event byte, which newer firmware sends.
    TurnoutCase{"FourthEventByte", "A6", Result::Refused, kPowerIsOff, false, "80 80 80", "00",
                "78 C8"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
