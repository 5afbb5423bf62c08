// Opening a connection: by address and by host name, refused and failed attempts, and what is
// left behind when an attempt is replaced.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "SocketTestSupport.h"
#include "platform/Messages.h"

namespace {

const QString Refused = QStringLiteral("Asynchronous socket error 10061");

TEST(ClientSocketConnect, ByAddressReportsInOrderAndSendsNothingBeforeTheConnect) {
  Listener listener;
  TClientSocket socket;
  SocketEventLog log(socket);
  socket.SetAddress(QStringLiteral("127.0.0.1"));
  socket.SetPort(listener.Port());

  socket.SetActive(true);
  EXPECT_FALSE(socket.Active());
  EXPECT_EQ(socket.Socket()->SendText("too early\r\n"), 0);
  ASSERT_TRUE(WaitFor([&] { return socket.Active(); }));
  auto peer = listener.Accept();
  ASSERT_TRUE(peer);

  EXPECT_EQ(log.events, QStringList({"lookup", "connecting", "connect", "write"}));
  const QByteArray line = "SET 1 POWER OFF\r\n";
  EXPECT_EQ(socket.Socket()->SendText(line), line.size());
  ASSERT_TRUE(WaitFor([&] { return peer->bytesAvailable() >= line.size(); }));
  EXPECT_EQ(peer->readAll(), line);
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

// A refused connect is shown later, once per attempt, and leaves the socket inactive but open
// until the next attempt replaces it; attempts replaced while under way report nothing. An
// error handler that sets the code to zero keeps the message back.
TEST(ClientSocketConnect, RefusedConnectionIsShownLaterOncePerAttempt) {
  const int before = OpenTcpSocketCount();
  {
    TClientSocket socket;
    SocketEventLog log(socket);
    socket.SetAddress(QStringLiteral("127.0.0.1"));
    socket.SetPort(ClosedPort());
    for (int attempt = 1; attempt <= 2; ++attempt) {
      socket.SetActive(true);
      EXPECT_EQ(Notifications().messages.size(), attempt - 1);
      ASSERT_TRUE(WaitFor([&] { return Notifications().messages.size() == attempt; }));
      EXPECT_EQ(OpenTcpSocketCount(), before + 1);
    }
    EXPECT_EQ(Notifications().messages, QStringList({Refused, Refused}));
    EXPECT_EQ(log.errors, Errors({{eeConnect, 10061}, {eeConnect, 10061}}));
    EXPECT_EQ(log.events, QStringList({"lookup", "connecting", "lookup", "connecting"}));
    EXPECT_FALSE(socket.Active());
    EXPECT_FALSE(socket.Socket()->Connected());
    EXPECT_EQ(socket.Socket()->SendText("GO\r\n"), 0);

    Notifications().Reset();
    socket.SetActive(true);
    socket.SetActive(true);
    socket.SetActive(true);
    EXPECT_EQ(OpenTcpSocketCount(), before + 1);
    ASSERT_TRUE(WaitFor([] { return !Notifications().messages.isEmpty(); }));
    EXPECT_FALSE(WaitFor([] { return Notifications().messages.size() > 1; }, 300));

    Notifications().Reset();
    socket.OnError = [&](QObject* sender, TCustomWinSocket* connection, TErrorEvent errorEvent,
                         int& errorCode) {
      EXPECT_EQ(sender, &socket);
      EXPECT_EQ(connection, socket.Socket());
      log.errors.append({errorEvent, std::exchange(errorCode, 0)});
    };
    log.errors.clear();
    socket.SetActive(true);
    ASSERT_TRUE(WaitFor([&] { return !log.errors.isEmpty(); }));
    EXPECT_EQ(log.errors, Errors({{eeConnect, 10061}}));
    // With neither host nor address the open raises, unless the handler clears the code.
    socket.SetAddress({});
    EXPECT_NO_THROW(socket.SetActive(true));
    EXPECT_EQ(log.errors, Errors({{eeConnect, 10061}, {eeLookup, 1110}}));
    EXPECT_TRUE(Notifications().messages.isEmpty());
  }
  EXPECT_EQ(OpenTcpSocketCount(), before);
}

TEST(ClientSocketConnect, MissingOrMalformedAddressRaisesAtOnceAndKeepsNoSocket) {
  TClientSocket socket;
  SocketEventLog log(socket);
  socket.SetPort(4711);
  const int before = OpenTcpSocketCount();
  const auto raised = [&] {
    try {
      socket.SetActive(true);
    } catch (const ESocketError& error) {
      return error.Message();
    }
    return QStringLiteral("no exception");
  };

  EXPECT_EQ(raised(), QStringLiteral("No address specified"));
  EXPECT_EQ(log.errors, Errors({{eeLookup, 1110}}));
  EXPECT_EQ(log.events, QStringList({"lookup", "disconnect"}));
  EXPECT_EQ(OpenTcpSocketCount(), before);

  socket.SetAddress(QStringLiteral("localhost"));
  const QString message = raised();
  EXPECT_TRUE(message.startsWith(QStringLiteral("Windows socket error: ")));
  EXPECT_TRUE(message.endsWith(QStringLiteral(" (10049), on API 'connect'")))
      << message.toStdString();
  EXPECT_FALSE(socket.Active());
  EXPECT_EQ(OpenTcpSocketCount(), before);
}

TEST(ClientSocketConnect, UnknownHostReportsTheLookupError) {
  TClientSocket socket;
  SocketEventLog log(socket);
  socket.SetHost(QStringLiteral("no-such-host.invalid"));
  socket.SetPort(4711);

  socket.SetActive(true);
  EXPECT_EQ(socket.Socket()->LookupState(), lsLookupAddress);
  if (!WaitFor([] { return !Notifications().messages.isEmpty(); }, 15000))
    GTEST_SKIP() << "this machine's resolver gave no answer in time";

  ASSERT_EQ(Notifications().messages.size(), 1);
  const QString message = Notifications().messages[0];
  EXPECT_TRUE(
      QRegularExpression(R"(^Windows socket error: .+ \(1100[1-4]\), on API 'ASync Lookup'$)")
          .match(message)
          .hasMatch())
      << message.toStdString();
  ASSERT_EQ(log.errors.size(), 1);
  EXPECT_EQ(log.errors[0].first, eeLookup);
  EXPECT_EQ(log.events, QStringList({"lookup", "disconnect"}));
  EXPECT_FALSE(socket.Active());
  EXPECT_EQ(socket.Socket()->SocketHandle(), TCustomWinSocket::InvalidSocket);
}

TEST(ClientSocketConnect, ReplacedOrAbandonedLookupsAreIgnored) {
  Listener listener;
  {
    // Destroyed while its lookup runs: the lookup must find nobody to tell.
    TClientSocket abandoned;
    abandoned.SetHost(QStringLiteral("localhost"));
    abandoned.SetPort(listener.Port());
    abandoned.SetActive(true);
  }
  TClientSocket socket;
  SocketEventLog log(socket);
  socket.SetHost(QStringLiteral("no-such-host.invalid"));
  socket.SetPort(listener.Port());
  socket.SetActive(true);
  // Time for the failing lookup to post its completion, which is then already on its way when
  // opening again replaces the attempt: it must not show or close anything.
  SleepMs(100);
  socket.SetHost(QStringLiteral("localhost"));
  socket.SetActive(true);

  ASSERT_TRUE(WaitFor([&] { return socket.Active() || !Notifications().messages.isEmpty(); }));
  auto peer = listener.Accept();
  ASSERT_TRUE(peer);
  peer->write("SRCP 0.8.2\r\n");
  ASSERT_TRUE(WaitFor([&] { return !log.reads.isEmpty(); }));
  EXPECT_TRUE(socket.Active());
  EXPECT_TRUE(Notifications().messages.isEmpty());
  EXPECT_TRUE(log.errors.isEmpty());
}

}  // namespace
