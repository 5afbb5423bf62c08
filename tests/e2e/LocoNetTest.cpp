// The main window with "IB/TC /LocoNet" against the simulated Intellibox on a pty: the messages
// of connect, programming and close, LocoNet's echo in the receive log, the answer to slot
// data that arrives in the middle of a run. (A mode changed during a run: SerialRunTest's
// ChangedDuringASeries.)

#include "SerialRun.h"

namespace {

using namespace std::chrono_literals;

using LocoNetRun = SerialRun<LocoNetSimulator>;

TEST_F(LocoNetRun, ConnectProgramAndClose) {
  Connect();
  EXPECT_EQ(station.ReceivedData(), Hex("837C"));

  // Slot data from a throttle on the net, while the first output is on.
  QTimer::singleShot(50, [&] { station.SendSlotData(5, 0x33); });
  ASSERT_NO_FATAL_FAILURE(Program());

  const std::vector<QByteArray> expected = {
      Hex("837C"),     Hex("B000307F"), Hex("BA050545"), Hex("B000206F"), Hex("B001307E"),
      Hex("B001206E"), Hex("B004307B"), Hex("B004206B"), Hex("B001307E"), Hex("B001206E")};
  ASSERT_TRUE(WaitFor([&] { return station.MessagesHeard().size() == expected.size(); }));
  EXPECT_EQ(station.MessagesHeard(), expected);
  const auto bytes = station.Received();
  // Bytes 2..5 are the first switch request, 6..9 the move, 10..13 the request's second half.
  EXPECT_GE(bytes[10].at - bytes[2].at, 190ms) << "the output stays on for 200 ms";
  EXPECT_EQ(window.connectionLog->Lines(),
            QStringList({"Zet wisselnummer: 1", "Zet wisselnummer: 2", "Zet wisselnummer: 5",
                         "Zet wisselnummer: 2", "Druk op de programmeerknop van de WD10"}));

  // The echo of every message, and the slot data with the echo of its answer.
  ASSERT_TRUE(WaitFor([&] { return window.receiveLog->Lines().size() == 11; }));
  QStringList logged = window.receiveLog->Lines();
  const QString slotData = logged.takeAt(2);
  EXPECT_TRUE(slotData.startsWith("E70E0533")) << slotData.toStdString();
  QStringList echoes;
  for (const QByteArray& message : expected)
    echoes.append(QString::fromLatin1(message.toHex().toUpper()));
  EXPECT_EQ(logged, echoes);

  ASSERT_NO_FATAL_FAILURE(CloseWithTheButton());
  ASSERT_TRUE(WaitFor([&] { return station.MessagesHeard().size() == expected.size() + 1; }));
  EXPECT_EQ(station.MessagesHeard().back(), Hex("827D"));
  EXPECT_FALSE(window.serialPort->Connected());
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

}  // namespace
