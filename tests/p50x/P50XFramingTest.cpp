// Framing, reads and the rules that keep one command at a time: what goes on the wire, what is
// read, the time limit of a silent command station, and commands started mid-reply.
#include <gtest/gtest.h>

#include <QTimer>
#include <cerrno>

#include "CPort/EComPort.h"
#include "P50XTestLink.h"

namespace {

const QString kNoReply = QStringLiteral("No reply from the command station");

std::vector<QByteArray> Hex(std::initializer_list<const char*> spacedHex) {
  std::vector<QByteArray> writes;
  for (const char* bytes : spacedHex) writes.push_back(QByteArray::fromHex(bytes));
  return writes;
}

TEST(P50XFraming, BinaryCommandGoesOutPrefixedInOneWriteAndItsReplyIsRead) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->Receive(QByteArray::fromHex("00 55"));

  P50XPowerOff();

  EXPECT_EQ(link.writes, Hex({"78 A6"}));
  EXPECT_EQ(ReplyBuffer, QByteArray(1, '\0'));
  EXPECT_EQ(ReplyCount, 1);
  EXPECT_EQ(link.memo3.Text(), "Power Off");
  EXPECT_EQ(line->InputCount(), 1);
}

TEST(P50XFraming, WithoutPrefixModeTheCommandGoesOutAsItIs) {
  P50XTestLink link;
  link.xPrefixMode = false;
  auto line = link.OpenOnMemoryLine();
  line->Receive(QByteArray::fromHex("00"));

  SendP50X(QByteArray::fromHex("A7"));

  EXPECT_EQ(link.writes, Hex({"A7"}));
}

TEST(P50XFraming, TextCommandGoesOutOneBytePerWriteWithAPauseAndNothingIsRead) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->Receive("]");

  SendP50X("RT255");

  EXPECT_EQ(link.writes, Hex({"78", "52", "54", "32", "35", "35", "0D"}));
  EXPECT_EQ(link.sleeps, std::vector<int>(7, 1));
  EXPECT_EQ(line->InputCount(), 1);
}

TEST(P50XFraming, TextCommandOnAClosedPortWritesNothing) {
  P50XTestLink link;
  auto line = std::make_shared<MemoryLine>();
  link.port.UseDevice(std::make_unique<MemoryDevice>(line));

  SendP50X("SE62");

  EXPECT_TRUE(link.writes.empty());
  EXPECT_TRUE(link.sleeps.empty());
  EXPECT_TRUE(link.memo1.Lines().isEmpty());
}

TEST(P50XFraming, TurnoutIsSwitchedOnThenOffWithTheHighAddressBitsInTheLastByte) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->Receive(QByteArray::fromHex("00 00 00 09"));

  SwitchTurnoutP50X(1, 0);
  SwitchTurnoutP50X(2040, 0);

  EXPECT_EQ(link.writes, Hex({"78 90 01 40", "78 90 01 00", "78 90 F8 47", "78 90 F8 07"}));
  EXPECT_EQ(link.waits, (std::vector<int>{200, 200}));
  // The pane shows the answer to the last off command.
  EXPECT_EQ(link.memo3.Text(), "the fifo for turnout cmds is full, please try later");
}

TEST(P50XFraming, PromptReadStopsAtThePromptAndLeavesWhatFollows) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->Receive(QByteArray::fromHex("31 00 0D 5D 41 42"));

  EXPECT_EQ(ReadUntilPrompt(), QByteArray("1\r]"));
  EXPECT_EQ(line->InputCount(), 2);
}

TEST(P50XFraming, ReadWaitsForALateByteAndKeepsTimersRunning) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(5);
  QTimer::singleShot(80, [&] { line->Receive("B"); });

  EXPECT_TRUE(ReadP50XReply(1));

  EXPECT_EQ(ReplyByte, 'B');
  EXPECT_GT(ticks, 0);
}

TEST(P50XFraming, SilentCommandStationGivesTheWholeCommandUpAndTheLinkGoesOn) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  // Events report locomotive events; the list breaks off mid-record and nothing more comes.
  line->Receive(QByteArray::fromHex("01  05 01"));

  SendP50X(QByteArray::fromHex("C8"));

  EXPECT_EQ(link.memo1.Lines(), QStringList{kNoReply});
  EXPECT_EQ(line->TakeWritten(), QByteArray::fromHex("78 C8 78 C9"));
  EXPECT_EQ(line->InputCount(), 0);
  EXPECT_FALSE(P50XBusy());

  line->Receive(QByteArray::fromHex("00"));
  SendP50X(QByteArray::fromHex("A7"));
  EXPECT_EQ(link.memo3.Text(), "Power On");
  EXPECT_EQ(link.memo1.Lines(), QStringList{kNoReply});
}

TEST(P50XFraming, PromptReadHasATimeLimitToo) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->Receive("1");

  EXPECT_EQ(ReadUntilPrompt(), QByteArray("1"));
  EXPECT_EQ(link.memo1.Lines(), QStringList{kNoReply});
  EXPECT_FALSE(ReadP50XReply(1));
  EXPECT_EQ(link.memo1.Lines(), (QStringList{kNoReply, kNoReply}));
}

TEST(P50XFraming, PollTickWhileATurnoutReplyIsAwaitedIsSkipped) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [] { P50XEventPoll(); });
  poll.start(5);
  QTimer::singleShot(100, [&] { line->Receive(QByteArray::fromHex("00")); });

  SendP50X(QByteArray::fromHex("90 01 40"));
  poll.stop();

  EXPECT_EQ(link.writes, Hex({"78 90 01 40"}));
  EXPECT_EQ(link.memo3.Text(), "Turnout command accepted");
  EXPECT_TRUE(link.memo1.Lines().isEmpty());

  line->Receive(QByteArray::fromHex("08"));
  P50XEventPoll();
  EXPECT_EQ(link.writes.back(), QByteArray::fromHex("78 C8"));
  EXPECT_EQ(link.memo3.Text(), "There has been a Power Off.");
}

TEST(P50XFraming, CommandStartedWhileAReplyIsAwaitedIsRefusedAndCannotTakeIt) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  QTimer::singleShot(20, [] { SendP50X(QByteArray::fromHex("A7")); });
  QTimer::singleShot(100, [&] { line->Receive(QByteArray::fromHex("00")); });

  SendP50X(QByteArray::fromHex("90 01 40"));

  EXPECT_EQ(link.writes, Hex({"78 90 01 40"}));
  EXPECT_EQ(link.memo3.Text(), "Turnout command accepted");
  ASSERT_EQ(link.memo1.Lines().size(), 1);
  EXPECT_TRUE(link.memo1.Lines()[0].startsWith("Opdracht overgeslagen"));
}

TEST(P50XFraming, PollRunsInThePauseBetweenTheTwoHalvesOfATurnoutCommand) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->Receive(QByteArray::fromHex("00 00 00"));
  QTimer::singleShot(50, [] { P50XEventPoll(); });

  SwitchTurnoutP50X(3, 0);

  EXPECT_EQ(link.writes, Hex({"78 90 03 40", "78 C8", "78 90 03 00"}));
}

TEST(P50XFraming, PortFailureMidReplyLeavesTheLinkFreeForTheNextCommand) {
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  line->Fail(MemoryLine::Op::kClearErrors, EIO);

  EXPECT_THROW(SendP50X(QByteArray::fromHex("A7")), EComPort);
  EXPECT_FALSE(P50XBusy());

  line->Fail(MemoryLine::Op::kClearErrors, 0);
  line->Receive(QByteArray::fromHex("00"));
  SendP50X(QByteArray::fromHex("A7"));
  EXPECT_EQ(link.memo3.Text(), "Power On");
  EXPECT_TRUE(link.memo1.Lines().isEmpty());
}

}  // namespace
