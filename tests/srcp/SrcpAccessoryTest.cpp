// The accessory command of the SRCP link and its outcome.
#include "SrcpTestLink.h"

namespace {

using Reply = ScriptedServer::Reply;

// Against a server scripted by the test; the handshake may be answered differently and late.
struct OutcomeCase {
  const char* name;
  std::deque<Reply> replies;
  Result result;
  QString stationSaid;  // empty: not looked at
  bool initialised;     // the server did not know the accessory and it was initialised
  QMap<QByteArray, QByteArray> handshakeReplies = {};
  int handshakeDelayMs = 0;
};

class Outcome : public SrcpLinkTest, public testing::WithParamInterface<OutcomeCase> {};

TEST_P(Outcome, FollowsTheServersReplies) {
  const OutcomeCase& c = GetParam();
  ScriptedServer scripted(c.replies);
  scripted.handshakeReplies = c.handshakeReplies;
  scripted.handshakeDelayMs = c.handshakeDelayMs;
  link.SetReplyPeriod(std::chrono::milliseconds(400));
  ASSERT_NO_FATAL_FAILURE(PointAt(scripted.serverPort()));
  ASSERT_TRUE(Await(link.Connect()));

  const AccessoryOutcome outcome = Switch("5");

  EXPECT_EQ(outcome.result, c.result) << outcome.stationSaid.toStdString();
  EXPECT_TRUE(c.stationSaid.isEmpty() || outcome.stationSaid == c.stationSaid)
      << outcome.stationSaid.toStdString();
  EXPECT_EQ(scripted.commands, c.initialised ? Lines({kSet5, kInit5, kSet5}) : Lines({kSet5}));
}

const Reply k200 = {"1700000000.100 200 OK\n"};
const Reply k416 = {"1700000000.100 416 ERROR no data\n"};
const Reply k412 = {"1700000000.200 412 ERROR wrong value\n"};
const QString kWrongValue = QStringLiteral("412 ERROR wrong value");

// clang-format off
INSTANTIATE_TEST_SUITE_P(Replies, Outcome, testing::Values(
    OutcomeCase{"AcceptedInTwoReads", {{"1700000000.100 20", "0 OK\r\n"}}, Result::CarriedOut,
                "200 OK", false},
    OutcomeCase{"NoDataInTwoReads", {{"1700000000.100 416 ERR", "OR no data\n"}, k200, k200},
                Result::CarriedOut, "200 OK", true},
    OutcomeCase{"SecondSetRefused", {k416, k200, k412}, Result::Refused, kWrongValue, true},
    OutcomeCase{"InitRefused", {k416, {"1700000000.200 421 ERROR unsupported device group\n"}, k200},
                Result::Refused, "421 ERROR unsupported device group", true},
    OutcomeCase{"Refused", {k412}, Result::Refused, kWrongValue, false},
    OutcomeCase{"NoReplyAfterInit", {k416}, Result::Lost, {}, true},
    OutcomeCase{"ConnectionClosed", {{"close"}}, Result::Lost,
                "the connection to the SRCP server is gone", false},
    // Handshake replies that come late, one of them twice: the first command's reply is its own.
    OutcomeCase{"ExtraHandshakeReplyIsNotTakenForTheFirstCommands", {k412}, Result::Refused,
                kWrongValue, false,
                {{"GO", "1700000000.000 200 OK GO 1\n1700000000.000 200 OK\n"}}, 300}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A reply that misses its wait is the lost command's, and one that comes after its step was ended
// (the user closed the window) is the ended step's: neither passes for a later command's, and the
// ended step sends nothing more ("no data" would have it initialise the accessory and send it
// again). The power-off and the end of the session are the last lines.
TEST_F(SrcpLinkTest, LateRepliesAreTheirOwnCommandsAndAnEndedStepSendsNothingMore) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw07Greeting, kDdw07Handshake));
  EXPECT_EQ(Notifications().beeps, 1) << "a DDW 0.7 server's greeting";
  link.SetReplyPeriod(std::chrono::milliseconds(300));
  server->SetReplyDelay(std::chrono::milliseconds(450));
  const auto noData = [&] { return panes.memo3.Text().contains("416 ERROR no data"); };

  EXPECT_EQ(Switch("5").result, Result::Lost);
  ASSERT_TRUE(WaitFor(noData));
  server->SetReplyDelay(std::chrono::milliseconds(200));
  Task<AccessoryOutcome> ended = Switching("5");
  ASSERT_EQ(AwaitLines(0, kDdw07Handshake.size() + 2).back(), kSet5);
  ended.End();
  ASSERT_TRUE(WaitFor(noData));
  EXPECT_FALSE(WaitFor([&] { return LinesAfter(kDdw07Handshake.size()).size() > 2; }, 300));
  server->SetReplyDelay(std::chrono::milliseconds(0));
  EXPECT_EQ(Switch("5").result, Result::CarriedOut);
  Await(link.SwitchPowerOff());
  ASSERT_TRUE(WaitFor([&] { return server->ConnectionClosed(0); }));
  EXPECT_EQ(
      LinesAfter(kDdw07Handshake.size()),
      Lines({kSet5, kSet5, kSet5, kInit5, kSet5, "SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
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
  ASSERT_TRUE(Await(link.Connect()));
  ASSERT_TRUE(WaitFor([&] { return panes.infoLog.Text().contains("100 INFO 6 POWER OFF"); }));
  server->SetWithoutAccessoryBus(refused);

  const AccessoryOutcome outcome = Switch("5");
  EXPECT_EQ(outcome.result, refused ? Result::Refused : Result::CarriedOut);
  EXPECT_EQ(outcome.stationSaid,
            refused ? "the SRCP server answered \"412 ERROR wrong value\" to \"SET 6 POWER ON\""
                    : "100 INFO 6 GA 5 1 1");
  Lines expected = kPerBusHandshake;
  if (!refused) expected.push_back(kSet5);
  EXPECT_EQ(LinesAfter(0), expected);
}

INSTANTIATE_TEST_SUITE_P(Server, LateBusReport, testing::Bool(), [](const auto& info) {
  return info.param ? "RefusesBusSix" : "TakesBusSix";
});

}  // namespace
