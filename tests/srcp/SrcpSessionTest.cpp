// "Verbinden" that cannot make a session. (The handshake each greeting asks for, and the end of
// the session: the accessory tests and the real window's.)
#include "SrcpTestLink.h"

namespace {

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
