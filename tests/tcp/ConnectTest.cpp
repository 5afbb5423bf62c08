// Opening a connection: by address and by host name, refused and failed attempts, and what is
// left behind when an attempt is replaced.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "SocketTestSupport.h"

namespace {

// A refused connect is shown later, once per attempt, and leaves the client inactive with its
// socket open until the next attempt replaces it; attempts replaced while under way report
// nothing.
TEST(TcpClientOpen, RefusedConnectionIsShownLaterOncePerAttempt) {
  const int before = OpenTcpSocketCount();
  TcpClient client;
  client.SetAddress(QStringLiteral("127.0.0.1"));
  client.SetPort(Listener().Port());
  for (int attempt = 1; attempt <= 2; ++attempt) {
    client.Open();
    EXPECT_EQ(Notifications().messages.size(), attempt - 1);
    ASSERT_TRUE(WaitFor([&] { return Notifications().messages.size() == attempt; }));
    EXPECT_EQ(OpenTcpSocketCount(), before + 1);
  }
  client.Open();
  client.Open();
  EXPECT_FALSE(WaitFor([] { return Notifications().messages.size() > 3; }, 1000));
  EXPECT_EQ(Notifications().messages, QStringList(3, "Asynchronous socket error 10061"));
}

// Each failure of an open reaches the error handler with where it happened and its number, and a
// handler that clears the number keeps it from being raised; an address that is no address (a
// host name belongs in Host) raises at once. Only a refused connect keeps its socket, for the
// next open to replace or the client's end to release.
TEST(TcpClientOpen, FailuresReachTheErrorHandlerWhichMayKeepThemBack) {
  const int refusingPort = Listener().Port();
  const struct {
    QString host;
    QString address;
    Errors errors;
    QStringList events;
    QString raised;  // how the message the open raises ends; empty: it raises nothing
    int keptSockets;
  } cases[] = {
      {"", "127.0.0.1", {{SocketErrorStage::Connect, 10061}}, {"lookup", "connecting"}, "", 1},
      {"", "", {{SocketErrorStage::Lookup, 1110}}, {"lookup", "disconnect"}, "", 0},
      {"nowhere.invalid", "", {{SocketErrorStage::Lookup, 11001}}, {"lookup", "disconnect"}, "", 0},
      {"", "localhost", {}, {"lookup"}, " (10049), on API 'connect'", 0},
  };
  const int before = OpenTcpSocketCount();
  for (const auto& row : cases) {
    SCOPED_TRACE(("host '" + row.host + "', address '" + row.address + "'").toStdString());
    TcpClient client;
    ClientLog log(client);
    client.OnError = [&](SocketErrorStage stage, int& code) {
      log.errors.append({stage, std::exchange(code, 0)});
    };
    client.SetHost(row.host);
    client.SetAddress(row.address);
    client.SetPort(refusingPort);
    QString raised;
    try {
      client.Open();
    } catch (const TcpClientError& error) {
      raised = error.Message();
    }
    EXPECT_TRUE(row.raised.isEmpty() ? raised.isEmpty() : raised.endsWith(row.raised))
        << raised.toStdString();
    ASSERT_TRUE(WaitFor([&] { return log.errors.size() >= row.errors.size(); }));
    EXPECT_EQ(log.errors, row.errors);
    EXPECT_EQ(log.events, row.events);
    EXPECT_EQ(OpenTcpSocketCount(), before + row.keptSockets);
  }
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

TEST(TcpClientOpen, FailedLookupsAreShownReplacedOrAbandonedOnesIgnored) {
  Listener listener;
  {
    // Destroyed while its lookup runs: the lookup must find nobody to tell.
    TcpClient abandoned;
    abandoned.SetHost(QStringLiteral("localhost"));
    abandoned.SetPort(listener.Port());
    abandoned.Open();
  }
  TcpClient client;
  ClientLog log(client);
  client.SetHost(QStringLiteral("no-such-host.invalid"));
  client.SetPort(listener.Port());
  // A name nobody knows: the lookup's failure is shown, and it ends the attempt.
  client.Open();
  ASSERT_TRUE(WaitFor([&] { return !Notifications().messages.isEmpty(); }));
  EXPECT_TRUE(Notifications().messages[0].endsWith("(11001), on API 'ASync Lookup'"));
  Notifications().Reset();

  client.Open();
  // Time for the failing lookup to post its answer, which is then already on its way when
  // opening again replaces the attempt: it must not show or close anything.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  client.SetHost(QStringLiteral("localhost"));
  client.Open();

  auto peer = listener.Accept();
  ASSERT_TRUE(peer);
  peer->write("SRCP 0.8.2\r\n");
  ASSERT_TRUE(WaitFor([&] { return !log.reads.isEmpty(); }));
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

}  // namespace
