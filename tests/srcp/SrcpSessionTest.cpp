#include "srcp/SrcpSession.h"

#include "SrcpTestLink.h"
#include "support/RecordingNotifier.h"

namespace {

// The DDW 0.8 handshake, and the same for a server that names only "SRCP 0.8.x" (the parameter).
class Ddw08Handshake : public SrcpLinkTest, public testing::WithParamInterface<bool> {};

TEST_P(Ddw08Handshake, OpensCommandAndInfoSessionsAndSwitchesPowerOn) {
  const char* greeting = GetParam() ? SrcpServer::kSrcpdGreeting : SrcpServer::kDdw08Greeting;
  StartServer(greeting);
  StartSrcpCommandSession();
  ASSERT_NO_FATAL_FAILURE(AwaitGreeting(greeting));

  SrcpHandshake();

  EXPECT_EQ(Notifications().beeps, 2);
  EXPECT_EQ(AwaitLines(0, kDdw08CommandHandshake.size()), kDdw08CommandHandshake);
  EXPECT_EQ(AwaitLines(1, kDdw08InfoHandshake.size()), kDdw08InfoHandshake);
  EXPECT_EQ(server->SessionMode(0), "COMMAND");
  EXPECT_EQ(server->SessionMode(1), "INFO");
  EXPECT_TRUE(ClientSocket2.Active());
  EXPECT_TRUE(WaitFor([&] { return memo4.Text().contains("100 INFO 1 POWER ON"); }))
      << memo4.Text().toStdString();
  EXPECT_TRUE(Memo3.Text().contains("200 OK GO")) << Memo3.Text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Greetings, Ddw08Handshake, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "SrcpOnly" : "Ddw08";
                         });

TEST_F(SrcpLinkTest, Ddw07GreetingGetsOneSessionWithoutPower) {
  StartServer(SrcpServer::kDdw07Greeting);
  StartSrcpCommandSession();
  ASSERT_NO_FATAL_FAILURE(AwaitGreeting(SrcpServer::kDdw07Greeting));

  SrcpHandshake();

  EXPECT_EQ(Notifications().beeps, 1);
  EXPECT_EQ(AwaitLines(0, kDdw07Handshake.size()), kDdw07Handshake);
  EXPECT_TRUE(WaitFor([&] { return Memo3.Text().contains("200 OK GO"); }));
  EXPECT_FALSE(ClientSocket2.Active());
  EXPECT_EQ(server->ConnectionCount(), 1);
}

// Nothing is sent at "Verbinden" unless a greeting has been recognised; the end of session is
// then the first thing the server hears.
TEST_F(SrcpLinkTest, UnknownGreetingGetsNoHandshake) {
  constexpr const char* olderServer = "srcpd V2.0.10; SRCP 0.7.3";
  StartServer(olderServer);
  StartSrcpCommandSession();
  ASSERT_NO_FATAL_FAILURE(AwaitGreeting(olderServer));

  SrcpHandshake();
  EndSrcpSession();

  EXPECT_EQ(AwaitLines(0, 2), Lines({"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
  EXPECT_EQ(Notifications().beeps, 0);
  EXPECT_EQ(server->ConnectionCount(), 1);
}

TEST_F(SrcpLinkTest, VerbindenBeforeTheGreetingSendsNothing) {
  StartServer(SrcpServer::kDdw08Greeting);
  StartSrcpCommandSession();

  SrcpHandshake();
  ASSERT_NO_FATAL_FAILURE(AwaitGreeting(SrcpServer::kDdw08Greeting));
  EndSrcpSession();

  EXPECT_EQ(AwaitLines(0, 2), Lines({"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
  EXPECT_EQ(Notifications().beeps, 0);
}

TEST_F(SrcpLinkTest, EndOfSessionSwitchesPowerOffThenClosesBothConnections) {
  StartServer(SrcpServer::kDdw08Greeting);
  StartSrcpCommandSession();
  ASSERT_NO_FATAL_FAILURE(AwaitGreeting(SrcpServer::kDdw08Greeting));
  SrcpHandshake();
  AwaitLines(1, kDdw08InfoHandshake.size());

  EndSrcpSession();

  EXPECT_EQ(AwaitLines(0, kDdw08CommandHandshake.size() + 2).size(),
            kDdw08CommandHandshake.size() + 2);
  EXPECT_EQ(LinesAfter(0, kDdw08CommandHandshake.size()),
            Lines({"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"}));
  EXPECT_EQ(server->ReceivedLines(1), kDdw08InfoHandshake);
  EXPECT_TRUE(WaitFor([&] { return server->ConnectionClosed(0) && server->ConnectionClosed(1); }));
  EXPECT_FALSE(ClientSocket1.Active());
  EXPECT_FALSE(ClientSocket2.Active());
}

TEST_F(SrcpLinkTest, ServerNotRunningIsReportedAndNothingWaits) {
  const Port4303::RefusingConnections noServer;
  StartSrcpCommandSession();

  ASSERT_TRUE(WaitFor([] { return !Notifications().messages.isEmpty(); }));
  EXPECT_EQ(Notifications().messages, QStringList({"Asynchronous socket error 10061"}));
  EXPECT_FALSE(ClientSocket1.Active());
  EXPECT_FALSE(WaitForText("SRCP"));
  SrcpHandshake();
  EXPECT_EQ(Notifications().beeps, 0);
  EXPECT_FALSE(ClientSocket2.Active());
}

}  // namespace
