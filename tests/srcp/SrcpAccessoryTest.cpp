#include "srcp/SrcpAccessory.h"

#include "SrcpTestLink.h"

namespace {

using namespace std::chrono_literals;

const std::string kSetTurnout5 = "SET 6 GA 5 1 1 200\r\n";

// The parameter of the tests below: whether the server leaves out its line ends.
std::string LineEndsName(const testing::TestParamInfo<bool>& info) {
  return info.param ? "WithoutLineEnds" : "WithLineEnds";
}

// With and without line ends in what the server sends.
class AccessoryCommand : public SrcpLinkTest, public testing::WithParamInterface<bool> {};

TEST_P(AccessoryCommand, UnknownAccessoryIsInitialisedAndSwitchedAgain) {
  StartServer(SrcpServer::kDdw08Greeting);
  server->SetOmitLineEnds(GetParam());
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw08Greeting));
  const std::size_t handshake = kDdw08CommandHandshake.size();

  SendSrcpGA("6", "5", "1", "N");
  AwaitLines(0, handshake + 3);
  EXPECT_EQ(LinesAfter(0, handshake), Lines({kSetTurnout5, "INIT 6 GA 5 N\r\n", kSetTurnout5}));

  // Known now: the command goes out once, and the wait for an error reply runs out.
  SendSrcpGA("6", "5", "1", "N");
  AwaitLines(0, handshake + 4);
  EXPECT_EQ(LinesAfter(0, handshake + 3), Lines({kSetTurnout5}));
  EXPECT_FALSE(Memo3.Text().contains("416 ERROR"));
  EXPECT_TRUE(WaitFor([&] { return memo4.Text().contains("100 INFO 6 GA 5 1 0"); }))
      << "the information session shows the output switched on and, 200 ms later, off";
  EXPECT_TRUE(memo4.Text().contains("100 INFO 6 GA 5 1 1"));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, AccessoryCommand, testing::Values(false, true), LineEndsName);

TEST_F(SrcpLinkTest, ErrorReplyAfterTheWaitIsOnlyShown) {
  StartServer(SrcpServer::kDdw07Greeting);
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw07Greeting));
  server->SetReplyDelay(1500ms);

  SendSrcpGA("6", "5", "1", "N");

  ASSERT_TRUE(WaitFor([&] { return Memo3.Text().contains("416 ERROR no data"); }));
  EXPECT_EQ(LinesAfter(0, kDdw07Handshake.size()), Lines({kSetTurnout5}));
}

// Opening the command session starts the reply timer too, and its wait ends at once. A reply
// wait begun before that timer has run out still lasts its full second.
TEST_F(SrcpLinkTest, ReplyWaitIsNotCutShortByAnEarlierOne) {
  StartServer(SrcpServer::kDdw07Greeting);
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw07Greeting));
  WaitMilliseconds(600);
  server->SetReplyDelay(600ms);

  SendSrcpGA("6", "5", "1", "N");

  EXPECT_EQ(AwaitLines(0, kDdw07Handshake.size() + 3).size(), kDdw07Handshake.size() + 3);
  EXPECT_EQ(LinesAfter(0, kDdw07Handshake.size()),
            Lines({kSetTurnout5, "INIT 6 GA 5 N\r\n", kSetTurnout5}));
}

TEST_F(SrcpLinkTest, ServerClosingMidRunEndsTheWaitAndLaterCommandsGoNowhere) {
  StartServer(SrcpServer::kDdw07Greeting);
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw07Greeting));
  server->CloseOnLine("SET 6 GA");

  SendSrcpGA("6", "5", "1", "N");
  ASSERT_TRUE(WaitFor([&] { return !ClientSocket1.Active(); }));
  SendSrcpGA("6", "2", "1", "N");
  EXPECT_FALSE(WaitForText("416 ERROR"));

  EXPECT_TRUE(server->ConnectionClosed(0));
  EXPECT_EQ(LinesAfter(0, kDdw07Handshake.size()), Lines({kSetTurnout5}));
  EXPECT_TRUE(Memo3.Text().isEmpty()) << Memo3.Text().toStdString();
}

// A server that floods the command session, with and without line ends: the run goes on, the
// log stays within its bound, and the end of session still reaches the server.
class Flood : public SrcpLinkTest, public testing::WithParamInterface<bool> {};

TEST_P(Flood, RunGoesOnAndTheLogStaysBounded) {
  StartServer(SrcpServer::kDdw07Greeting);
  ASSERT_NO_FATAL_FAILURE(Connect(SrcpServer::kDdw07Greeting));
  server->SetOmitLineEnds(GetParam());
  server->SetFlood(true);

  SendSrcpGA("6", "5", "1", "N");
  EXPECT_LE(Memo3.Text().size(), TMemo::kMaxChars);
  EXPECT_TRUE(ClientSocket1.Active());

  EndSrcpSession();
  ASSERT_TRUE(WaitFor([&] { return server->ConnectionClosed(0); }));
  const Lines sent = LinesAfter(0, kDdw07Handshake.size());
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(sent.front(), kSetTurnout5);
  EXPECT_EQ(Lines(sent.end() - 2, sent.end()),
            Lines({"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, Flood, testing::Values(false, true), LineEndsName);

}  // namespace
