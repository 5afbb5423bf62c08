// The sessions of the SRCP link: the handshake each greeting asks for and the end of session,
// "Verbinden" that cannot make a session, and one that connects to a server started later.
#include "SrcpTestLink.h"

namespace {

const Lines kEnd = {"SET 1 POWER OFF\r\n", "TERM 0 SESSION\r\n"};

struct SessionCase {
  const char* name;
  const char* greeting;
  bool withoutBus;
  Lines handshake;
  int beeps;  // two for a server with an information session
  Lines end;
};

class Session : public SrcpLinkTest, public testing::WithParamInterface<SessionCase> {};

TEST_P(Session, HandshakeAndEndAsTheGreetingAsks) {
  const SessionCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(Connect(c.greeting, c.handshake, c.withoutBus));

  EXPECT_EQ(Notifications().beeps, c.beeps);
  EXPECT_TRUE(WaitFor([&] { return panes.Memo3.Text().contains("200 OK GO"); }));
  if (c.beeps == 2) {
    EXPECT_EQ(AwaitLines(1, 3),
              Lines({"SET PROTOCOL SRCP 0.8.2\r\n", "SET CONNECTIONMODE SRCP INFO\r\n", "GO\r\n"}));
    EXPECT_EQ(server->SessionMode(0), "COMMAND");
    EXPECT_EQ(server->SessionMode(1), "INFO");
    EXPECT_TRUE(WaitFor([&] { return panes.memo4.Text().contains("100 INFO 1 POWER ON"); }));
  } else {
    EXPECT_EQ(server->ConnectionCount(), 1);
  }

  link.EndSrcpSession();
  EXPECT_EQ(LinesAfter(c.handshake.size()), c.end);
  EXPECT_TRUE(WaitFor([&] {
    return server->ConnectionClosed(0) && (c.beeps == 1 || server->ConnectionClosed(1));
  }));
  EXPECT_FALSE(ClientSocket1.Active());
  EXPECT_FALSE(ClientSocket2.Active());
}

Lines With(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

// A server that switches power per bus gets its accessory bus switched on and off as well,
// unless it has no such bus.
INSTANTIATE_TEST_SUITE_P(
    Greetings, Session,
    testing::Values(
        SessionCase{"Ddw07", SrcpServer::kDdw07Greeting, false, kDdw07Handshake, 1, kEnd},
        SessionCase{"Ddw08", SrcpServer::kDdw08Greeting, false, kDdw08Handshake, 2, kEnd},
        SessionCase{"PowerPerBus", SrcpServer::kSrcpdGreeting, false,
                    With(kDdw08Handshake, {"SET 6 POWER ON\r\n"}), 2,
                    With({"SET 6 POWER OFF\r\n"}, kEnd)},
        SessionCase{"PowerPerBusWithoutTheBus", SrcpServer::kSrcpdGreeting, true, kDdw08Handshake,
                    2, kEnd}),
    [](const testing::TestParamInfo<SessionCase>& info) { return info.param.name; });

// A server that drops the session in the handshake, one of an older protocol, and one that
// never greets: each "Verbinden" fails with one box that says why, and no command goes out.
TEST_F(SrcpLinkTest, VerbindenThatMakesNoSessionSaysWhy) {
  SrcpServer cutOff(SrcpServer::kDdw08Greeting, 0);
  cutOff.CloseOnLine("GO");
  SrcpServer older("srcpd V2.0.10; SRCP 0.7.3", 0);
  QTcpServer silent;
  silent.listen(QHostAddress::LocalHost, 0);
  Timer3.SetInterval(100);
  EXPECT_FALSE(link.SetServerAddress("127.0.0.1:99999"));
  const std::pair<int, const char*> cases[] = {
      {cutOff.Port(),
       "De verbinding met de SRCP-server op 127.0.0.1:%1 is tijdens het aanmelden weggevallen."},
      {older.Port(),
       "Op 127.0.0.1:%1 luistert niets, of het is geen SRCP 0.8-server. Start de "
       "server en druk daarna opnieuw op \"Verbinden\"."},
      {silent.serverPort(), "Op 127.0.0.1:%1 luistert niets"}};
  for (const auto& [port, message] : cases) {
    Notifications().Reset();
    ASSERT_NO_FATAL_FAILURE(PointAt(port));
    link.Attach();
    EXPECT_FALSE(link.Connect());
    ASSERT_EQ(Notifications().messages.size(), 1) << port;
    EXPECT_TRUE(Notifications().messages[0].startsWith(QString::fromUtf8(message).arg(port)))
        << Notifications().messages[0].toStdString();
    EXPECT_EQ(Switch("5").result, Result::Lost);
  }
  EXPECT_EQ(older.ReceivedLines(0), Lines());
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

  Notifications().Reset();
  EXPECT_FALSE(link.Connect());
  EXPECT_EQ(Notifications().messages, refused);

  server = std::make_unique<SrcpServer>(SrcpServer::kDdw07Greeting, port);
  EXPECT_TRUE(link.Connect());
  EXPECT_EQ(AwaitLines(0, kDdw07Handshake.size()), kDdw07Handshake);
}

}  // namespace
