// The main window with "Lenz/Multi-Maus" against the simulated Lenz interface on a pty: the
// frames of connect, programming and close, and the interface's answers in the receive log. (An
// address a Lenz system cannot reach: WindowInLanguageTest.)

#include "SerialRun.h"

namespace {

using namespace std::chrono_literals;

using LenzRun = SerialRun<LenzSimulator>;

TEST_F(LenzRun, ConnectProgramAndClose) {
  Connect();
  EXPECT_EQ(station.ReceivedData(), Hex("2181A0"));
  EXPECT_EQ(station.SlaveBaudRate(), 9600);
  EXPECT_TRUE(station.SlaveSettings().c_cflag & CRTSCTS);

  ASSERT_NO_FATAL_FAILURE(Program());
  EXPECT_EQ(window.connectionLog->Lines(),
            QStringList({"Zet wisselnummer: 5", "Zet wisselnummer: 6", "Zet wisselnummer: 9",
                         "Zet wisselnummer: 6", "Druk op de programmeerknop van de WD10"}));
  ASSERT_TRUE(WaitFor([&] { return station.FramesHeard().size() == 9; }));
  EXPECT_EQ(station.FramesHeard(),
            std::vector<QByteArray>({Hex("2181A0"), Hex("520188DB"), Hex("520180D3"),
                                     Hex("52018AD9"), Hex("520182D1"), Hex("520288D8"),
                                     Hex("520280D0"), Hex("52018AD9"), Hex("520182D1")}));
  const auto bytes = station.Received();
  EXPECT_GE(bytes[7].at - bytes[3].at, 240ms) << "the output stays on for 250 ms";
  // Every accessory frame was acknowledged, and each answer logged as a frame of its own.
  ASSERT_TRUE(WaitFor([&] { return window.receiveLog->Lines().count("01 04 05 ") == 8; }));
  EXPECT_EQ(window.receiveLog->Lines().first(), "61 01 60 ");

  ASSERT_NO_FATAL_FAILURE(CloseWithTheButton());
  ASSERT_TRUE(WaitFor([&] { return station.FramesHeard().size() == 10; }));
  EXPECT_EQ(station.FramesHeard().back(), Hex("8080"));
  EXPECT_FALSE(window.serialPort->Connected());
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

}  // namespace
