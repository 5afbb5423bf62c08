#include "loconet/LocoNetLink.h"

#include <gtest/gtest.h>

#include "PortOnMemoryLine.h"
#include "ReceiveEvents.h"
#include "loconet/LocoNetMessage.h"
#include "platform/TMemo.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"

namespace {

QByteArray SlotDataHex(int slot, int status) {
  QByteArray bytes = QByteArray::fromHex("E7 0E 00 00 01 02 03 04 05 06 07 08 09");
  bytes[2] = char(slot);
  bytes[3] = char(status);
  return HexText(LocoNetMessage(bytes));
}

TEST(LocoNetLink, SendWritesTheMessageWithItsCheckByteOneByteAWrite) {
  PortOnMemoryLine line;
  SendLocoNet(line.Port(), QByteArray::fromHex("83"));
  EXPECT_EQ(line.TakeWrites(), Writes({"83", "7C"}));
}

TEST(LocoNetLink, SwitchSendsOutputOnThenAfter200MsOutputOff) {
  PortOnMemoryLine line;
  std::vector<int> waits;
  std::vector<QByteArray> writtenBeforeWait;
  LocoNetSwitch(line.Port(), 1, 0, [&](int ms) {
    waits.push_back(ms);
    writtenBeforeWait = line.TakeWrites();
  });
  EXPECT_EQ(waits, std::vector{200});
  EXPECT_EQ(writtenBeforeWait, Writes({"B0", "00", "30", "7F"}));
  EXPECT_EQ(line.TakeWrites(), Writes({"B0", "00", "20", "6F"}));
}

TEST(LocoNetLink, ParseLogsEachMessageBeepsAndAnswersSlotData) {
  PortOnMemoryLine line;
  TMemo memo3;
  const QByteArray slotData = SlotDataHex(5, 0x33);
  const QByteArray beeping =
      HexText(LocoNetMessage(QByteArray::fromHex("E5 0F 00 00 00 11 00 00 00 00 00 00 00 00")));
  QByteArray buffer = "837C" + slotData + beeping + "B2";

  ParseLocoNet(buffer, memo3, line.Port());

  EXPECT_EQ(memo3.Lines(), (QStringList{"837C", slotData, beeping}));
  EXPECT_EQ(Notifications().beeps, 1);
  EXPECT_EQ(line.TakeWrites(), Writes({"BA", "05", "05", "45"}));
  EXPECT_EQ(buffer, "B2");
}

TEST(LocoNetLink, FailedAnswerIsShownAfterEveryMessageOfTheEventIsLogged) {
  TComPort closedPort;
  TMemo memo3;
  const QByteArray first = SlotDataHex(5, 0x33);
  const QByteArray second = SlotDataHex(6, 0x02);
  QByteArray buffer = first + second + "837C";

  ParseLocoNet(buffer, memo3, closedPort);

  EXPECT_EQ(memo3.Lines(), (QStringList{first, second, "837C"}));
  EXPECT_TRUE(buffer.isEmpty());
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages[0].startsWith(ComErrorMessage(2)));
}

// The answer is written from inside the port's receive event, while the event thread waits
// for the handler; a message cut across two arrivals is answered once, when it is complete.
TEST(LocoNetLink, SlotDataArrivingInPiecesIsAnsweredFromTheReceiveEvent) {
  PortOnMemoryLine line;
  TMemo memo3;
  QByteArray buffer;
  line.Port().OnRxChar = [&](QObject*, int count) {
    QByteArray received;
    line.Port().ReadStr(received, count);
    buffer += HexText(received);
    ParseLocoNet(buffer, memo3, line.Port());
  };
  const QByteArray slotData = QByteArray::fromHex(SlotDataHex(5, 0x33));

  line.Line().Receive(slotData.left(6));
  ASSERT_TRUE(WaitFor([&] { return buffer.size() == 12; }));
  EXPECT_TRUE(memo3.Lines().isEmpty());
  line.Line().Receive(slotData.mid(6));
  ASSERT_TRUE(WaitFor([&] { return !memo3.Lines().isEmpty(); }));

  EXPECT_EQ(memo3.Lines(), QStringList{HexText(slotData)});
  EXPECT_EQ(line.TakeWrites(), Writes({"BA", "05", "05", "45"}));
  EXPECT_TRUE(buffer.isEmpty());
}

}  // namespace
