// Opening a connection: by address and by host name, refused and failed attempts, and what is
// left behind when an attempt is replaced.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "SocketTestSupport.h"

namespace {

// A refused connect is shown later, once per attempt, and leaves the client inactive with its
// socket open until the next attempt replaces it; attempts replaced while under way report
// nothing. An error handler that sets the code to zero keeps the message back.
TEST(TcpClientOpen, RefusedConnectionIsShownLaterOncePerAttempt) {
  const int before = OpenTcpSocketCount();
  {
    TcpClient client;
    ClientLog log(client);
    client.SetAddress(QStringLiteral("127.0.0.1"));
    client.SetPort(Listener().Port());
    for (int attempt = 1; attempt <= 2; ++attempt) {
      client.Open();
      EXPECT_EQ(Notifications().messages.size(), attempt - 1);
      ASSERT_TRUE(WaitFor([&] { return Notifications().messages.size() == attempt; }));
      EXPECT_EQ(OpenTcpSocketCount(), before + 1);
    }
    EXPECT_EQ(Notifications().messages, QStringList(2, "Asynchronous socket error 10061"));
    EXPECT_EQ(log.events, QStringList({"lookup", "connecting", "lookup", "connecting"}));
    EXPECT_FALSE(client.Active());

    Notifications().Reset();
    client.Open();
    client.Open();
    ASSERT_TRUE(WaitFor([] { return !Notifications().messages.isEmpty(); }));
    EXPECT_FALSE(WaitFor([] { return Notifications().messages.size() > 1; }, 300));

    Notifications().Reset();
    log.errors.clear();
    client.OnError = [&](SocketErrorStage stage, int& code) {
      log.errors.append({stage, std::exchange(code, 0)});
    };
    client.Open();
    ASSERT_TRUE(WaitFor([&] { return !log.errors.isEmpty(); }));
    // With neither host nor address the open raises, unless the handler clears the code.
    client.SetAddress({});
    EXPECT_NO_THROW(client.Open());
    EXPECT_EQ(log.errors,
              Errors({{SocketErrorStage::Connect, 10061}, {SocketErrorStage::Lookup, 1110}}));
    EXPECT_TRUE(Notifications().messages.isEmpty());
  }
  EXPECT_EQ(OpenTcpSocketCount(), before);
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
  EXPECT_EQ(log.errors, Errors({{SocketErrorStage::Lookup, 11001}}));
  EXPECT_EQ(log.events, QStringList({"lookup", "disconnect"}));
  Notifications().Reset();
  log.errors.clear();

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
  EXPECT_TRUE(client.Active());
  EXPECT_TRUE(Notifications().messages.isEmpty());
  EXPECT_TRUE(log.errors.isEmpty());
}

// An address that is no address (a host name belongs in Host) raises at once, and the socket it
// was to connect is not kept open until the next attempt.
TEST(TcpClientOpen, MalformedAddressRaisesAtOnceAndKeepsNoSocket) {
  TcpClient client;
  client.SetPort(4711);
  client.SetAddress(QStringLiteral("localhost"));
  const int before = OpenTcpSocketCount();
  try {
    client.Open();
    ADD_FAILURE() << "no exception";
  } catch (const TcpClientError& error) {
    EXPECT_TRUE(error.Message().endsWith(" (10049), on API 'connect'"))
        << error.Message().toStdString();
  }
  EXPECT_FALSE(client.Active());
  EXPECT_EQ(OpenTcpSocketCount(), before);
}

}  // namespace
