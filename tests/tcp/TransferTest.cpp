// An open connection: its ends (reset by the peer, closed by a handler, broken by a handler's
// exception).
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <utility>

#include "SocketTestSupport.h"

namespace {

class TcpClientConnection : public testing::Test {
 protected:
  void SetUp() override {
    // Nothing listens on 127.0.0.2: the connection can only reach the listener through the host.
    client.SetAddress(QStringLiteral("127.0.0.2"));
    client.SetHost(QStringLiteral("localhost"));
    client.SetPort(listener.Port());
    Connect();
  }
  void Connect() {
    client.Open();
    ASSERT_TRUE(WaitFor([&] { return client.Active(); }));
    peer = listener.Accept();
    ASSERT_TRUE(peer);
  }

  Listener listener;
  TcpClient client;
  ClientLog log{client};
  std::unique_ptr<QTcpSocket> peer;
};

void Reset(QTcpSocket& peer) {
  const linger now{1, 0};
  ::setsockopt(static_cast<int>(peer.socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now);
  peer.close();
}

// The peer's end of the connection closes the client. A reset that a send runs into is the
// send's failure, and raises; heard by the event loop, a close in order is no failure, a reset
// one with 10054.
TEST_F(TcpClientConnection, ItsEndIsReportedWhereItIsFound) {
  Reset(*peer);
  try {
    client.SendText("SET 1 POWER OFF\r\n");
    ADD_FAILURE() << "no exception";
  } catch (const TcpClientError& error) {
    EXPECT_TRUE(error.Message().endsWith(QStringLiteral(" (10054), on API 'send'")))
        << error.Message().toStdString();
  }
  EXPECT_EQ(log.errors, Errors({{SocketErrorStage::Send, 10054}}));

  client.OnError = [&](SocketErrorStage stage, int& code) {
    log.errors.append({stage, std::exchange(code, 0)});
  };
  const auto close = [](QTcpSocket& peer) { peer.close(); };
  for (const auto& [end, errors] :
       {std::pair{+close, Errors()},
        std::pair{&Reset, Errors{{SocketErrorStage::Disconnect, 10054}}}}) {
    log.errors.clear();
    ASSERT_NO_FATAL_FAILURE(Connect());
    end(*peer);
    ASSERT_TRUE(WaitFor([&] { return !client.Active(); }));
    EXPECT_EQ(log.errors, errors);
    EXPECT_EQ(log.events.last(), "disconnect");
    EXPECT_EQ(client.SendText("SET 1 POWER OFF\r\n"), 0);
  }
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

// A handler may close the client inside its report; one that throws is shown, and the next
// report still arrives.
TEST_F(TcpClientConnection, HandlerMayCloseOrThrowInsideItsReport) {
  client.OnRead = [&] {
    log.reads.append(client.ReceiveText());
    if (log.reads.size() == 1) throw std::runtime_error("handler failed");
    client.Close();
  };
  peer->write("first");
  ASSERT_TRUE(WaitFor([&] { return !Notifications().messages.isEmpty(); }));
  EXPECT_TRUE(client.Active());
  peer->write("second");
  ASSERT_TRUE(WaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }));

  EXPECT_FALSE(client.Active());
  EXPECT_EQ(Notifications().messages, QStringList{"handler failed"});
  EXPECT_EQ(log.reads, (QList<QByteArray>{"first", "second"}));
  EXPECT_EQ(log.events.count(QStringLiteral("disconnect")), 1);
}

}  // namespace
