// The accessory command of the SRCP link and its outcome.
#include "SrcpTestLink.h"

namespace {

using Result = AccessoryOutcome::Result;
using Reply = ScriptedServer::Reply;

const std::string kSet5 = "SET 6 GA 5 1 1 200\r\n";
const std::string kInit5 = "INIT 6 GA 5 N\r\n";

struct OutcomeCase {
  const char* name;
  std::deque<Reply> replies;
  Result result;
  QString stationSaid;  // empty: not looked at
  Lines commands;
};

class Outcome : public SrcpLinkTest, public testing::WithParamInterface<OutcomeCase> {};

TEST_P(Outcome, FollowsTheServersReplies) {
  const OutcomeCase& c = GetParam();
  ScriptedServer scripted(c.replies);
  ASSERT_NO_FATAL_FAILURE(PointAt(scripted.Port()));
  Timer3.SetInterval(400);
  link.Attach();
  ASSERT_TRUE(link.Connect());

  const AccessoryOutcome outcome = Switch("5");

  EXPECT_EQ(outcome.result, c.result) << outcome.stationSaid.toStdString();
  if (!c.stationSaid.isEmpty()) {
    EXPECT_EQ(outcome.stationSaid, c.stationSaid);
  }
  EXPECT_EQ(scripted.commands, c.commands);
}

const Reply k200 = {"1700000000.100 200 OK\n"};
const Reply k416 = {"1700000000.100 416 ERROR no data\n"};

INSTANTIATE_TEST_SUITE_P(
    Replies, Outcome,
    testing::Values(
        OutcomeCase{"Accepted", {k200}, Result::CarriedOut, "200 OK", {kSet5}},
        OutcomeCase{"AcceptedInTwoReads",
                    {{"1700000000.100 20", "0 OK\r\n"}},
                    Result::CarriedOut,
                    "200 OK",
                    {kSet5}},
        OutcomeCase{"UnknownAccessoryInitialised",
                    {k416, k200, k200},
                    Result::CarriedOut,
                    "200 OK",
                    {kSet5, kInit5, kSet5}},
        OutcomeCase{"NoDataInTwoReads",
                    {{"1700000000.100 416 ERR", "OR no data\n"}, k200, k200},
                    Result::CarriedOut,
                    {},
                    {kSet5, kInit5, kSet5}},
        OutcomeCase{"SecondSetRefused",
                    {k416, k200, {"1700000000.200 412 ERROR wrong value\n"}},
                    Result::Refused,
                    "412 ERROR wrong value",
                    {kSet5, kInit5, kSet5}},
        OutcomeCase{"InitRefused",
                    {k416, {"1700000000.200 421 ERROR unsupported device group\n"}, k200},
                    Result::Refused,
                    "421 ERROR unsupported device group",
                    {kSet5, kInit5, kSet5}},
        OutcomeCase{"WrongValue",
                    {{"1700000000.100 412 ERROR wrong value\n"}},
                    Result::Refused,
                    "412 ERROR wrong value",
                    {kSet5}},
        OutcomeCase{"UnknownCommand",
                    {{"1700000000.100 410 ERROR unknown command\n"}},
                    Result::Refused,
                    "410 ERROR unknown command",
                    {kSet5}},
        OutcomeCase{"NoReply", {}, Result::Lost, {}, {kSet5}},
        OutcomeCase{"NoReplyAfterInit", {k416}, Result::Lost, {}, {kSet5, kInit5, kSet5}},
        OutcomeCase{"ConnectionClosed",
                    {{"close"}},
                    Result::Lost,
                    "the connection to the SRCP server is gone",
                    {kSet5}}),
    [](const testing::TestParamInfo<OutcomeCase>& info) { return info.param.name; });

// A reply that misses its wait is the lost command's: it must not pass for the next one's.
TEST_F(SrcpLinkTest, LateReplyIsNotTakenForTheNextCommands) {
  StartServer(SrcpServer::kDdw07Greeting);
  ASSERT_NO_FATAL_FAILURE(Connect(kDdw07Handshake));
  Timer3.SetInterval(300);
  server->SetReplyDelay(std::chrono::milliseconds(450));

  EXPECT_EQ(Switch("5").result, Result::Lost);
  ASSERT_TRUE(WaitFor([&] { return panes.Memo3.Text().contains("416 ERROR no data"); }));
  server->SetReplyDelay(std::chrono::milliseconds(0));
  const AccessoryOutcome next = Switch("5");

  EXPECT_EQ(next.result, Result::CarriedOut) << next.stationSaid.toStdString();
  EXPECT_EQ(LinesAfter(0, kDdw07Handshake.size()), Lines({kSet5, kSet5, kInit5, kSet5}));
}

// A server that holds commands while their bus has no power: switched on at "Verbinden", a
// command counts once the server reports it on the track; switched off, it is refused with
// the bus named.
TEST_F(SrcpLinkTest, PerBusServerCountsACommandOnceItReachesTheTrack) {
  StartServer(SrcpServer::kSrcpdGreeting);
  Lines handshake = kDdw08CommandHandshake;
  handshake.push_back("SET 6 POWER ON\r\n");
  ASSERT_NO_FATAL_FAILURE(Connect(handshake));

  const AccessoryOutcome carried = Switch("5");
  EXPECT_EQ(carried.result, Result::CarriedOut) << carried.stationSaid.toStdString();
  EXPECT_EQ(carried.stationSaid, "100 INFO 6 GA 5 1 1");

  QTcpSocket other;
  other.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(server->Port()));
  other.write("SET PROTOCOL SRCP 0.8.2\nSET CONNECTIONMODE SRCP COMMAND\nGO\nSET 6 POWER OFF\n");
  // The information session began with bus 6 off; this is the second time it says so.
  ASSERT_TRUE(WaitFor([&] { return panes.memo4.Text().count("100 INFO 6 POWER OFF") == 2; }));

  const AccessoryOutcome held = Switch("2");
  EXPECT_EQ(held.result, Result::Refused);
  EXPECT_TRUE(held.stationSaid.endsWith("bus 6 has no power")) << held.stationSaid.toStdString();
  EXPECT_EQ(LinesAfter(0, handshake.size()), Lines({kSet5, "SET 6 GA 2 1 1 200\r\n"}));

  // The server still holds it, and lets it go once the bus has power again.
  other.write("GET 6 GA 2 1\nSET 6 POWER ON\n");
  ASSERT_TRUE(WaitFor([&] { return panes.memo4.Text().contains("100 INFO 6 GA 2 1 1"); }));
  QByteArray answers;
  EXPECT_TRUE(WaitFor([&] {
    answers += other.readAll();
    return answers.contains("416 ERROR no data");
  })) << answers.toStdString();
}

// Without the accessory bus there is no power of it to switch, and its commands are refused.
TEST_F(SrcpLinkTest, PerBusServerWithoutTheBusRefusesTheCommand) {
  StartServer(SrcpServer::kSrcpdGreeting);
  server->SetWithoutAccessoryBus(true);
  ASSERT_NO_FATAL_FAILURE(Connect(kDdw08CommandHandshake));

  const AccessoryOutcome outcome = Switch("5");

  EXPECT_EQ(outcome.result, Result::Refused);
  EXPECT_EQ(outcome.stationSaid, "412 ERROR wrong value");
  link.EndSrcpSession();
  EXPECT_EQ(LinesAfter(0, kDdw08CommandHandshake.size()),
            Lines({kSet5, "SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
}

// A server that floods the command session: with line ends its "no data" reply is seen among
// the flood (or, on a machine too slow to read the flood within the reply wait, the command is
// reported lost, never carried out unseen); without them no reply can be, and the command is
// lost. Either way the log stays within its bound and the end of session reaches the server.
class Flood : public SrcpLinkTest, public testing::WithParamInterface<bool> {};

TEST_P(Flood, RepliesAreSeenAndTheLogStaysBounded) {
  const bool lineEnds = GetParam();
  StartServer(SrcpServer::kDdw07Greeting);
  ASSERT_NO_FATAL_FAILURE(Connect(kDdw07Handshake));
  server->SetOmitLineEnds(!lineEnds);
  server->SetFlood(true);

  const AccessoryOutcome outcome = Switch("5");

  EXPECT_LE(panes.Memo3.Text().size(), TMemo::kMaxChars);
  link.EndSrcpSession();
  ASSERT_TRUE(WaitFor([&] { return server->ConnectionClosed(0); }));
  const Lines sent = LinesAfter(0, kDdw07Handshake.size());
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(sent.front(), kSet5);
  if (outcome.result == Result::CarriedOut) {
    EXPECT_TRUE(lineEnds);
    EXPECT_EQ(Lines(sent.begin(), sent.begin() + 3), Lines({kSet5, kInit5, kSet5}));
  } else {
    EXPECT_EQ(outcome.result, Result::Lost) << outcome.stationSaid.toStdString();
  }
  EXPECT_EQ(Lines(sent.end() - 2, sent.end()),
            Lines({"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, Flood, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "WithLineEnds" : "WithoutLineEnds";
                         });

}  // namespace
