// The sessions of the SRCP link: the handshake each greeting asks for and the end of session,
// and "Verbinden" that cannot make a session.
#include "SrcpTestLink.h"

namespace {

struct SessionCase {
  const char* name;
  const char* greeting;
  Lines handshake;
  bool informationSession;
};

class Session : public SrcpLinkTest, public testing::WithParamInterface<SessionCase> {};

TEST_P(Session, HandshakeAndEndAsTheGreetingAsks) {
  const SessionCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(Connect(c.greeting, c.handshake));

  EXPECT_EQ(Notifications().beeps, c.informationSession ? 2 : 1);
  EXPECT_EQ(server->ConnectionCount(), c.informationSession ? 2 : 1);
  if (c.informationSession) {
    EXPECT_EQ(AwaitLines(1, 3),
              CrLf({"SET PROTOCOL SRCP 0.8.2", "SET CONNECTIONMODE SRCP INFO", "GO"}));
    EXPECT_EQ(server->SessionMode(0), "COMMAND");
    EXPECT_TRUE(WaitFor([&] { return panes.infoLog.Text().contains("100 INFO 1 POWER ON"); }));
  }

  // "Verbinden" again on the session made sends nothing.
  EXPECT_TRUE(Await(link.Connect()));
  Await(link.EndSrcpSession());
  EXPECT_EQ(LinesAfter(c.handshake.size()), CrLf({"SET 1 POWER OFF", "TERM 0 SESSION"}));
  EXPECT_TRUE(WaitFor([&] {
    return server->ConnectionClosed(0) && (!c.informationSession || server->ConnectionClosed(1));
  }));
  EXPECT_FALSE(srcpCommandSocket.Active() || srcpInfoSocket.Active());
}

// (A server that switches power per bus is programmed through the real window.)
INSTANTIATE_TEST_SUITE_P(
    Greetings, Session,
    testing::Values(SessionCase{"Ddw07", SrcpServer::kDdw07Greeting, kDdw07Handshake, false},
                    SessionCase{"Ddw08", SrcpServer::kDdw08Greeting, kDdw08Handshake, true}),
    [](const auto& info) { return info.param.name; });

// A server that drops the session in the handshake, one of an older protocol, one that never
// greets and one that refuses the command session: each "Verbinden" fails with one box that
// says why, and no command goes out. (No server at all is tried through the real window.)
TEST_F(SrcpLinkTest, VerbindenThatMakesNoSessionSaysWhy) {
  SrcpServer cutOff(SrcpServer::kDdw08Greeting, 0);
  cutOff.CloseOnLine("GO");
  SrcpServer older("srcpd V2.0.10; SRCP 0.7.3", 0);
  QTcpServer silent;
  silent.listen(QHostAddress::LocalHost, 0);
  ScriptedServer refusing({});
  refusing.handshakeReplies["SET CONNECTIONMODE SRCP COMMAND"] =
      "1700000000.000 401 ERROR unsupported connection mode\n";
  link.SetReplyPeriod(std::chrono::milliseconds(100));
  EXPECT_FALSE(link.SetServerAddress("127.0.0.1:99999"));
  const std::pair<int, const char*> cases[] = {
      {cutOff.Port(), "De verbinding met de SRCP-server op 127.0.0.1:%1 is tijdens het aanmelden"},
      {older.Port(),
       "Op 127.0.0.1:%1 luistert niets, of het is geen SRCP 0.8-server. Start de "
       "server en druk daarna opnieuw op \"Verbinden\"."},
      {silent.serverPort(), "Op 127.0.0.1:%1 luistert niets"},
      {refusing.serverPort(),
       "Het aanmelden bij de SRCP-server op 127.0.0.1:%1 is mislukt.\nMelding: the SRCP server "
       "answered \"401 ERROR unsupported connection mode\" to \"SET CONNECTIONMODE SRCP "
       "COMMAND\""}};
  for (const auto& [port, message] : cases) {
    ASSERT_NO_FATAL_FAILURE(PointAt(port));
    Notifications().Reset();
    EXPECT_FALSE(Await(link.Connect()));
    ASSERT_EQ(Notifications().messages.size(), 1) << port;
    EXPECT_TRUE(Notifications().messages[0].startsWith(
        QString::fromUtf8(message).replace("%1", QString::number(port))))
        << Notifications().messages[0].toStdString();
    EXPECT_EQ(Switch("5").result, Result::Lost);
  }
  EXPECT_EQ(older.ReceivedLines(0), Lines());
  EXPECT_EQ(refusing.commands, Lines());
}

}  // namespace
