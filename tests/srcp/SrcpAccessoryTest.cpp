// The accessory command of the SRCP link and its outcome.
#include "SrcpTestLink.h"

namespace {

using Reply = ScriptedServer::Reply;

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
  EXPECT_TRUE(c.stationSaid.isEmpty() || outcome.stationSaid == c.stationSaid)
      << outcome.stationSaid.toStdString();
  EXPECT_EQ(scripted.commands, c.commands);
}

const Reply k200 = {"1700000000.100 200 OK\n"};
const Reply k416 = {"1700000000.100 416 ERROR no data\n"};
const Reply k412 = {"1700000000.200 412 ERROR wrong value\n"};
const Lines kInitialised = {kSet5, kInit5, kSet5};

// An accessory the server does not know yet ("no data") is initialised and switched again.
const OutcomeCase kOutcomes[] = {
    {"Accepted", {k200}, Result::CarriedOut, "200 OK", {kSet5}},
    {"AcceptedInTwoReads",
     {{"1700000000.100 20", "0 OK\r\n"}},
     Result::CarriedOut,
     "200 OK",
     {kSet5}},
    {"UnknownAccessory", {k416, k200, k200}, Result::CarriedOut, "200 OK", kInitialised},
    {"NoDataInTwoReads",
     {{"1700000000.100 416 ERR", "OR no data\n"}, k200, k200},
     Result::CarriedOut,
     {},
     kInitialised},
    {"SecondSetRefused",
     {k416, k200, k412},
     Result::Refused,
     "412 ERROR wrong value",
     kInitialised},
    {"InitRefused",
     {k416, {"1700000000.200 421 ERROR unsupported device group\n"}, k200},
     Result::Refused,
     "421 ERROR unsupported device group",
     kInitialised},
    {"Refused", {k412}, Result::Refused, "412 ERROR wrong value", {kSet5}},
    {"NoReply", {}, Result::Lost, {}, {kSet5}},
    {"NoReplyAfterInit", {k416}, Result::Lost, {}, kInitialised},
    {"ConnectionClosed",
     {{"close"}},
     Result::Lost,
     "the connection to the SRCP server is gone",
     {kSet5}}};

INSTANTIATE_TEST_SUITE_P(Replies, Outcome, testing::ValuesIn(kOutcomes),
                         [](const testing::TestParamInfo<OutcomeCase>& info) {
                           return info.param.name;
                         });

// A reply that misses its wait is the lost command's: it must not pass for the next one's.
TEST_F(SrcpLinkTest, LateReplyIsNotTakenForTheNextCommands) {
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw07Greeting, kDdw07Handshake));
  Timer3.SetInterval(300);
  server->SetReplyDelay(std::chrono::milliseconds(450));

  EXPECT_EQ(Switch("5").result, Result::Lost);
  ASSERT_TRUE(WaitFor([&] { return panes.Memo3.Text().contains("416 ERROR no data"); }));
  server->SetReplyDelay(std::chrono::milliseconds(0));
  const AccessoryOutcome next = Switch("5");

  EXPECT_EQ(next.result, Result::CarriedOut) << next.stationSaid.toStdString();
  EXPECT_EQ(LinesAfter(kDdw07Handshake.size()), Lines({kSet5, kSet5, kInit5, kSet5}));
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
  ASSERT_TRUE(WaitFor([&] { return panes.memo4.Text().count("100 INFO 6 POWER OFF") == 2; }));

  const AccessoryOutcome held = Switch("2");
  EXPECT_EQ(held.result, Result::Refused);
  EXPECT_TRUE(held.stationSaid.endsWith("bus 6 has no power")) << held.stationSaid.toStdString();
  EXPECT_EQ(LinesAfter(handshake.size()), Lines({kSet5, "SET 6 GA 2 1 1 200\r\n"}));
}

// A server that floods the command session: with line ends its "no data" reply is seen among
// the flood (or, on a machine too slow to read the flood within the reply wait, the command is
// reported lost, never carried out unseen); without them the command is lost. Either way the
// log stays within its bound and the end of session reaches the server.
class Flood : public SrcpLinkTest, public testing::WithParamInterface<bool> {};

TEST_P(Flood, RepliesAreSeenAndTheLogStaysBounded) {
  const bool lineEnds = GetParam();
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw07Greeting, kDdw07Handshake));
  server->SetOmitLineEnds(!lineEnds);
  server->SetFlood(true);

  const AccessoryOutcome outcome = Switch("5");

  EXPECT_LE(panes.Memo3.Text().size(), TMemo::kMaxChars);
  link.EndSrcpSession();
  ASSERT_TRUE(WaitFor([&] { return server->ConnectionClosed(0); }));
  const Lines sent = LinesAfter(kDdw07Handshake.size());
  ASSERT_GE(sent.size(), 3u);
  if (outcome.result == Result::CarriedOut) {
    EXPECT_TRUE(lineEnds);
    EXPECT_EQ(Lines(sent.begin(), sent.begin() + 3), kInitialised);
  } else {
    EXPECT_EQ(outcome.result, Result::Lost) << outcome.stationSaid.toStdString();
    EXPECT_EQ(sent.front(), kSet5);
  }
  EXPECT_EQ(Lines(sent.end() - 2, sent.end()),
            Lines({"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, Flood, testing::Bool());

}  // namespace
