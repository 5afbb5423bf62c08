// The accessory command of the SRCP link and its outcome.
#include "SrcpTestLink.h"

namespace {

using Reply = ScriptedServer::Reply;

struct OutcomeCase {
  const char* name;
  std::deque<Reply> replies;
  Result result;
  QString stationSaid;  // empty: not looked at
  bool initialised;     // the server did not know the accessory and it was initialised
};

class Outcome : public SrcpLinkTest, public testing::WithParamInterface<OutcomeCase> {};

TEST_P(Outcome, FollowsTheServersReplies) {
  const OutcomeCase& c = GetParam();
  ScriptedServer scripted(c.replies);
  replyTimer.SetInterval(400);
  ASSERT_NO_FATAL_FAILURE(PointAt(scripted.serverPort()));
  ASSERT_TRUE(link.Connect());

  const AccessoryOutcome outcome = Switch("5");

  EXPECT_EQ(outcome.result, c.result) << outcome.stationSaid.toStdString();
  EXPECT_TRUE(c.stationSaid.isEmpty() || outcome.stationSaid == c.stationSaid)
      << outcome.stationSaid.toStdString();
  EXPECT_EQ(scripted.commands, c.initialised ? Lines({kSet5, kInit5, kSet5}) : Lines({kSet5}));
}

const Reply k200 = {"1700000000.100 200 OK\n"};
const Reply k416 = {"1700000000.100 416 ERROR no data\n"};
const Reply k412 = {"1700000000.200 412 ERROR wrong value\n"};

INSTANTIATE_TEST_SUITE_P(
    Replies, Outcome,
    testing::Values(
        OutcomeCase{"AcceptedInTwoReads",
                    {{"1700000000.100 20", "0 OK\r\n"}},
                    Result::CarriedOut,
                    "200 OK",
                    false},
        OutcomeCase{"NoDataInTwoReads",
                    {{"1700000000.100 416 ERR", "OR no data\n"}, k200, k200},
                    Result::CarriedOut,
                    "200 OK",
                    true},
        OutcomeCase{
            "SecondSetRefused", {k416, k200, k412}, Result::Refused, "412 ERROR wrong value", true},
        OutcomeCase{"InitRefused",
                    {k416, {"1700000000.200 421 ERROR unsupported device group\n"}, k200},
                    Result::Refused,
                    "421 ERROR unsupported device group",
                    true},
        OutcomeCase{"Refused", {k412}, Result::Refused, "412 ERROR wrong value", false},
        OutcomeCase{"NoReplyAfterInit", {k416}, Result::Lost, {}, true},
        OutcomeCase{"ConnectionClosed",
                    {{"close"}},
                    Result::Lost,
                    "the connection to the SRCP server is gone",
                    false}),
    [](const testing::TestParamInfo<OutcomeCase>& info) { return info.param.name; });

// A reply that misses its wait is the lost command's: it must not pass for the next one's.
TEST_F(SrcpLinkTest, LateReplyIsNotTakenForTheNextCommands) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw07Greeting, kDdw07Handshake));
  replyTimer.SetInterval(300);
  server->SetReplyDelay(std::chrono::milliseconds(450));

  EXPECT_EQ(Switch("5").result, Result::Lost);
  ASSERT_TRUE(WaitFor([&] { return panes.memo3.Text().contains("416 ERROR no data"); }));
  server->SetReplyDelay(std::chrono::milliseconds(0));
  EXPECT_EQ(Switch("5").result, Result::CarriedOut);
  EXPECT_EQ(LinesAfter(kDdw07Handshake.size()), Lines({kSet5, kSet5, kInit5, kSet5}));
}

// Handshake replies that come late, one of them twice: the first command's reply is its own.
TEST_F(SrcpLinkTest, ExtraHandshakeReplyIsNotTakenForTheFirstCommands) {
  ScriptedServer scripted({{"1700000000.200 412 ERROR wrong value\n"}});
  scripted.handshakeReplies["GO"] = "1700000000.000 200 OK GO 1\n1700000000.000 200 OK\n";
  scripted.handshakeDelayMs = 300;
  replyTimer.SetInterval(400);
  ASSERT_NO_FATAL_FAILURE(PointAt(scripted.serverPort()));
  ASSERT_TRUE(link.Connect());

  const AccessoryOutcome outcome = Switch("5");
  EXPECT_EQ(outcome.result, Result::Refused);
  EXPECT_EQ(outcome.stationSaid, "412 ERROR wrong value");
}

// A server that holds commands while their bus has no power: a command counts once the server
// reports it on the track, and while the bus is off it is refused with the bus named.
TEST_F(SrcpLinkTest, PerBusServerCountsACommandOnceItReachesTheTrack) {
  Lines handshake = kDdw08Handshake;
  handshake.push_back("SET 6 POWER ON\r\n");
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kSrcpdGreeting, handshake));

  const AccessoryOutcome carried = Switch("5");
  EXPECT_EQ(carried.result, Result::CarriedOut) << carried.stationSaid.toStdString();
  EXPECT_EQ(carried.stationSaid, "100 INFO 6 GA 5 1 1");

  QTcpSocket other;
  other.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(server->Port()));
  other.write("SET PROTOCOL SRCP 0.8.2\nSET CONNECTIONMODE SRCP COMMAND\nGO\nSET 6 POWER OFF\n");
  // The information session began with bus 6 off; this is the second time it says so.
  ASSERT_TRUE(WaitFor([&] { return panes.infoLog.Text().count("100 INFO 6 POWER OFF") == 2; }));

  const AccessoryOutcome held = Switch("2");
  EXPECT_EQ(held.result, Result::Refused);
  EXPECT_TRUE(held.stationSaid.endsWith("bus 6 has no power")) << held.stationSaid.toStdString();
  EXPECT_EQ(LinesAfter(handshake.size()), Lines({kSet5, "SET 6 GA 2 1 1 200\r\n"}));
}

// A busy or remote server reports bus 6 after the handshake: it is switched on before the
// first command all the same, and when the server refuses that, the first command fails with
// the server's words.
class LateBusReport : public SrcpLinkTest, public testing::WithParamInterface<bool> {};

TEST_P(LateBusReport, SwitchesBusSixOnBeforeTheFirstCommand) {
  const bool refused = GetParam();
  server = std::make_unique<SrcpServer>(SrcpServer::kSrcpdGreeting, 0);
  server->SetReportDelay(std::chrono::milliseconds(3000));
  ASSERT_NO_FATAL_FAILURE(PointAt(server->Port()));
  ASSERT_TRUE(link.Connect());
  ASSERT_TRUE(WaitFor([&] { return panes.infoLog.Text().contains("100 INFO 6 POWER OFF"); }));
  server->SetWithoutAccessoryBus(refused);

  const AccessoryOutcome outcome = Switch("5");
  Lines expected = kDdw08Handshake;
  expected.push_back("SET 6 POWER ON\r\n");
  if (refused) {
    EXPECT_EQ(outcome.result, Result::Refused);
    EXPECT_EQ(outcome.stationSaid,
              "the SRCP server answered \"412 ERROR wrong value\" to \"SET 6 POWER ON\"");
  } else {
    EXPECT_EQ(outcome.result, Result::CarriedOut) << outcome.stationSaid.toStdString();
    expected.push_back(kSet5);
  }
  EXPECT_EQ(LinesAfter(0), expected);
}

INSTANTIATE_TEST_SUITE_P(Server, LateBusReport, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "RefusesBusSix" : "TakesBusSix";
                         });

}  // namespace
