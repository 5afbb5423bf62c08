// The serial simulators heard from the program's side of their ptys: how they frame what
// arrives in pieces, what they answer, and which turnout, as the user counts, each accessory
// command reaches.
#include <gtest/gtest.h>

#include "LenzSimulator.h"
#include "LocoNetSimulator.h"
#include "MaerklinSimulator.h"
#include "ProgramSide.h"
#include "ReportingP50XSimulator.h"
#include "support/WaitFor.h"

namespace {

QByteArray Hex(const char* text) {
  return QByteArray::fromHex(text);
}

// --- Lenz ------------------------------------------------------------------------------------

class LenzStation : public testing::Test {
 protected:
  LenzSimulator station;
  ProgramSide program{station.SlavePath()};
};

TEST_F(LenzStation, FramesSplitAcrossWritesAreAnsweredOnceEach) {
  program.Write(Hex("21"));
  program.Write(Hex("81A0"));
  EXPECT_EQ(program.Read(3), Hex("610160"));

  // Two frames in one write, the second finished by the next.
  program.Write(Hex("520188DB 520180"));
  program.Write(Hex("D3"));
  EXPECT_EQ(program.Read(6), Hex("010405 010405"));

  program.Write(Hex("8080"));
  EXPECT_EQ(program.Read(3), Hex("810081"));
  EXPECT_EQ(station.FramesHeard(), std::vector<QByteArray>({Hex("2181A0"), Hex("520188DB"),
                                                            Hex("520180D3"), Hex("8080")}));
  EXPECT_EQ(station.Log().Lines(),
            QStringList({"power on (resume operations)", "turnout 1 on (Lenz turnout 5, output 1)",
                         "turnout 1 off (Lenz turnout 5, output 1)",
                         "power off (stop all locomotives)"}));
}

TEST_F(LenzStation, AccessoryFramesReachTheTurnoutTheUserEntered) {
  // The program adds 4 to every turnout: address byte (v + 3) div 4, output 2 * ((v + 3) mod 4).
  for (const char* frame : {"52018A", "52028A", "520388", "52FF8E", "52FF8F"})
    program.Write(LenzSimulator::Frame(Hex(frame)));
  EXPECT_EQ(program.Read(15), Hex("010405").repeated(5));
  EXPECT_EQ(station.Log().TurnoutsSwitchedOn(), std::vector<int>({2, 6, 9, 1020, 1020}));
  EXPECT_EQ(station.Log().Lines().last(), "turnout 1020 on (Lenz turnout 1024, output 2)");

  program.Write(LenzSimulator::Frame(Hex("520182")));
  EXPECT_EQ(program.Read(3), Hex("010405"));
  EXPECT_EQ(station.Log().TurnoutsSwitchedOn().size(), 5u) << "an off frame switches nothing on";
}

TEST_F(LenzStation, DamagedAndUnknownFramesAreRefused) {
  program.Write(Hex("520188DC"));
  EXPECT_EQ(program.Read(3), Hex("010100"));
  program.Write(LenzSimulator::Frame(Hex("F0")));
  EXPECT_EQ(program.Read(3), Hex("6182E3"));
  EXPECT_TRUE(station.Log().TurnoutsSwitchedOn().empty());
}

// --- LocoNet ---------------------------------------------------------------------------------

class LocoNetStation : public testing::Test {
 protected:
  LocoNetSimulator station;
  ProgramSide program{station.SlavePath()};
};

TEST_F(LocoNetStation, EchoesEveryCompleteMessageHoweverItArrives) {
  program.Write(Hex("B000"));
  program.Write(Hex("307F 83"));
  EXPECT_EQ(program.Read(4), Hex("B000307F"));
  program.Write(Hex("7C"));
  EXPECT_EQ(program.Read(2), Hex("837C"));
  EXPECT_EQ(station.Log().Lines(),
            QStringList({"turnout 1 on (closed)", "power on (global power on)"}));
}

TEST_F(LocoNetStation, DoesNotEchoWhatNeverReachesTheNet) {
  // A stray byte, a message with a wrong check byte, then a good one.
  program.Write(Hex("0D B000307E B000206F"));
  EXPECT_EQ(program.Read(8, 300), Hex("B000206F"));
  EXPECT_EQ(station.MessagesHeard(), std::vector<QByteArray>{Hex("B000206F")});
}

TEST_F(LocoNetStation, SwitchRequestsReachTheTurnoutOfTheUser) {
  program.Write(Hex("B001307E B07B3F0B B07B2F1B BA050545"));
  EXPECT_EQ(program.Read(16).size(), 16);
  EXPECT_EQ(station.Log().TurnoutsSwitchedOn(), std::vector<int>({2, 2044}));
  EXPECT_EQ(station.Log().Lines(), QStringList({"turnout 2 on (closed)", "turnout 2044 on (closed)",
                                                "turnout 2044 off (closed)", "slot move 5 -> 5"}));
}

// --- Märklin ---------------------------------------------------------------------------------

TEST(MaerklinStation, TakesTurnoutBytesWhateverTheyLookLike) {
  MaerklinSimulator station;
  ProgramSide program(station.SlavePath());
  program.Write(Hex("60 22"));
  program.Write(Hex("F1 20 22 60 20 61"));
  ASSERT_TRUE(WaitFor([&] { return station.CommandsHeard().size() == 6; }));
  EXPECT_EQ(station.CommandsHeard(), std::vector<QByteArray>({Hex("60"), Hex("22F1"), Hex("20"),
                                                              Hex("2260"), Hex("20"), Hex("61")}));
  // The second turnout byte is the go byte's value: it is turnout 96, not power on.
  EXPECT_EQ(station.Log().TurnoutsSwitchedOn(), std::vector<int>({241, 96}));
  EXPECT_EQ(station.Log().Lines(),
            QStringList({"power on (go)", "turnout 241 on (green)", "solenoids off",
                         "turnout 96 on (green)", "solenoids off", "power off (stop)"}));
}

// --- P50X ------------------------------------------------------------------------------------

TEST(P50XStation, ReportsTurnoutsAndSumsUpTheEventPoll) {
  ReportingP50XSimulator station;
  ProgramSide program(station.SlavePath(), B2400, true);
  program.Write("xSo1\r");
  EXPECT_EQ(program.Read(3), "3\r]");
  for (int poll = 0; poll < 12; ++poll) program.Write(Hex("78C8"));
  EXPECT_EQ(program.Read(12), QByteArray(12, '\0'));
  program.Write(Hex("7890F8"));
  program.Write(Hex("47"));
  program.Write(Hex("7890F807 78C8 7890 0101"));
  EXPECT_EQ(program.Read(4), QByteArray(4, '\0'));
  ASSERT_TRUE(WaitFor([&] { return station.Log().Lines().size() == 6; }));
  EXPECT_EQ(
      station.Log().Lines(),
      QStringList({"text command \"xSo1\\r\"",
                   "event polling (x C8) started; polls are shown as counts", "12 event polls",
                   "turnout 2040 on", "turnout 2040 off", "turnout 257 off"}));
  EXPECT_EQ(station.Log().TurnoutsSwitchedOn(), std::vector<int>{2040});
}

}  // namespace
