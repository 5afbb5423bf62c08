// The sessions of the SRCP link: the handshake each greeting asks for, "Verbinden" without a
// server or without a greeting, and the end of session.
#include "SrcpTestLink.h"

namespace {

const Lines kEndOfSession = {"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"};

// The DDW 0.8 handshake, and the same for a server that names only "SRCP 0.8.x" and switches
// power per bus: that one gets its accessory bus switched on as well.
class Ddw08Handshake : public SrcpLinkTest, public testing::WithParamInterface<bool> {};

TEST_P(Ddw08Handshake, OpensCommandAndInfoSessionsAndSwitchesPowerOn) {
  const bool perBus = GetParam();
  StartServer(perBus ? SrcpServer::kSrcpdGreeting : SrcpServer::kDdw08Greeting);
  Lines handshake = kDdw08CommandHandshake;
  if (perBus) handshake.push_back("SET 6 POWER ON\r\n");

  ASSERT_NO_FATAL_FAILURE(Connect(handshake));

  EXPECT_EQ(Notifications().beeps, 2);
  EXPECT_EQ(AwaitLines(1, kDdw08InfoHandshake.size()), kDdw08InfoHandshake);
  EXPECT_EQ(server->SessionMode(0), "COMMAND");
  EXPECT_EQ(server->SessionMode(1), "INFO");
  EXPECT_TRUE(WaitFor([&] { return panes.memo4.Text().contains("100 INFO 1 POWER ON"); }));
  EXPECT_TRUE(panes.Memo3.Text().contains("200 OK GO"));

  link.EndSrcpSession();
  Lines end = kEndOfSession;
  if (perBus) end.insert(end.begin(), "SET 6 POWER OFF\r\n");
  EXPECT_EQ(LinesAfter(0, handshake.size()), end);
  EXPECT_TRUE(WaitFor([&] { return server->ConnectionClosed(0) && server->ConnectionClosed(1); }));
  EXPECT_FALSE(ClientSocket1.Active());
  EXPECT_FALSE(ClientSocket2.Active());
}

INSTANTIATE_TEST_SUITE_P(Greetings, Ddw08Handshake, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "PowerPerBus" : "Ddw08";
                         });

TEST_F(SrcpLinkTest, Ddw07GreetingGetsOneSessionWithoutPower) {
  StartServer(SrcpServer::kDdw07Greeting);
  ASSERT_NO_FATAL_FAILURE(Connect(kDdw07Handshake));

  EXPECT_EQ(Notifications().beeps, 1);
  EXPECT_TRUE(WaitFor([&] { return panes.Memo3.Text().contains("200 OK GO"); }));
  EXPECT_FALSE(ClientSocket2.Active());
  EXPECT_EQ(server->ConnectionCount(), 1);
}

// The server drops the command session in the middle of the handshake: no run is possible,
// and the user is told.
TEST_F(SrcpLinkTest, ConnectionLostDuringTheHandshakeFailsVerbinden) {
  StartServer(SrcpServer::kDdw08Greeting);
  server->CloseOnLine("GO");
  link.Attach();

  EXPECT_FALSE(link.Connect());
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages[0].startsWith(
      QStringLiteral("De verbinding met de SRCP-server op 127.0.0.1:%1 is tijdens het aanmelden "
                     "weggevallen.")
          .arg(server->Port())));
  EXPECT_EQ(Switch("5").result, AccessoryOutcome::Result::Lost);
}

TEST_F(SrcpLinkTest, UnknownGreetingIsRefusedAtOnceAndNothingIsSent) {
  constexpr const char* olderServer = "srcpd V2.0.10; SRCP 0.7.3";
  StartServer(olderServer);
  link.Attach();
  ASSERT_TRUE(panes.Memo3.Text().contains(olderServer));

  EXPECT_FALSE(link.Connect());
  EXPECT_EQ(Notifications().messages,
            QStringList({QStringLiteral("Op 127.0.0.1:%1 luistert niets, of het is geen SRCP "
                                        "0.8-server. Start de server en druk daarna opnieuw op "
                                        "\"Verbinden\".")
                             .arg(server->Port())}));
  EXPECT_EQ(Notifications().beeps, 0);
  EXPECT_EQ(Switch("5").result, AccessoryOutcome::Result::Lost);
  link.EndSrcpSession();
  EXPECT_EQ(AwaitLines(0, 2), kEndOfSession);
}

// A server that accepts and never greets: "Verbinden" waits three reply periods, then says so.
TEST_F(SrcpLinkTest, GreetingThatNeverComesEndsVerbindenWithABox) {
  QTcpServer silent;
  silent.listen(QHostAddress::LocalHost, 0);
  ASSERT_NO_FATAL_FAILURE(PointAt(silent.serverPort()));
  Timer3.SetInterval(100);
  link.Attach();

  EXPECT_FALSE(link.Connect());
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages[0].startsWith(
      QStringLiteral("Op 127.0.0.1:%1 luistert niets").arg(silent.serverPort())));
  EXPECT_EQ(Switch("5").result, AccessoryOutcome::Result::Lost);
}

// No server when "SRCP 0.8" is chosen: the refusal says where none runs. "Verbinden" tries
// again; while still none runs that is the one box, and once one runs the session starts.
TEST_F(SrcpLinkTest, VerbindenConnectsAgainToAServerStartedLater) {
  int port = 0;
  {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    port = probe.serverPort();
  }
  ASSERT_NO_FATAL_FAILURE(PointAt(port));
  link.Attach();
  ASSERT_TRUE(WaitFor([] { return !Notifications().messages.isEmpty(); }));
  const QStringList refused = {QStringLiteral("Asynchronous socket error 10061")};
  EXPECT_EQ(Notifications().messages, refused);
  EXPECT_EQ(Notifications().details,
            QStringList({QStringLiteral("Er draait geen SRCP-server op 127.0.0.1:%1. Start de "
                                        "server en druk daarna op \"Verbinden\".")
                             .arg(port)}));
  EXPECT_FALSE(ClientSocket1.Active());

  Notifications().Reset();
  EXPECT_FALSE(link.Connect());
  EXPECT_EQ(Notifications().messages, refused);

  server = std::make_unique<SrcpServer>(SrcpServer::kDdw07Greeting, port);
  EXPECT_TRUE(link.Connect());
  EXPECT_EQ(AwaitLines(0, kDdw07Handshake.size()), kDdw07Handshake);
  EXPECT_EQ(Notifications().beeps, 1);
}

}  // namespace
