// An open connection: its ends (reset by the peer, closed or deleted by a handler, broken by a
// handler's exception), and notifications that must not outlive the socket they are about.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <utility>

#include "SocketTestSupport.h"

namespace {

class ClientSocketTransfer : public testing::Test {
 protected:
  void SetUp() override {
    // Nothing listens on 127.0.0.2: the connection can only reach the listener through the host.
    socket.SetAddress(QStringLiteral("127.0.0.2"));
    socket.SetHost(QStringLiteral("localhost"));
    socket.SetPort(listener.Port());
    socket.SetActive(true);
    ASSERT_TRUE(WaitFor([&] { return socket.Active(); }));
    peer = listener.Accept();
    ASSERT_TRUE(peer);
  }

  Listener listener;
  TClientSocket socket;
  SocketEventLog log{socket};
  std::unique_ptr<QTcpSocket> peer;
};

// A reset the event loop hears of is reported as the connection's end with 10054, and the
// connection is closed; one that a send runs into first is the send's failure.
TEST_F(ClientSocketTransfer, AResetByThePeerIsReportedWhereItIsFound) {
  socket.OnError = [&](QObject*, TCustomWinSocket*, TErrorEvent errorEvent, int& errorCode) {
    log.errors.append({errorEvent, std::exchange(errorCode, 0)});
  };
  const auto reset = [](QTcpSocket& peer) {
    const linger now{1, 0};
    ::setsockopt(static_cast<int>(peer.socketDescriptor()), SOL_SOCKET, SO_LINGER, &now,
                 sizeof now);
    peer.close();
  };
  reset(*peer);
  ASSERT_TRUE(WaitFor([&] { return !socket.Active(); }));
  EXPECT_EQ(log.errors, Errors({{eeDisconnect, 10054}}));
  EXPECT_EQ(log.events.last(), "disconnect");
  EXPECT_EQ(socket.Socket()->SendText("SET 1 POWER OFF\r\n"), 0);

  log.errors.clear();
  socket.OnError = nullptr;
  socket.SetActive(true);
  ASSERT_TRUE(WaitFor([&] { return socket.Active(); }));
  peer = listener.Accept();
  ASSERT_TRUE(peer);
  reset(*peer);
  try {
    socket.Socket()->SendText("SET 1 POWER OFF\r\n");
    ADD_FAILURE() << "no exception";
  } catch (const TcpClientError& error) {
    EXPECT_TRUE(error.Message().endsWith(QStringLiteral(" (10054), on API 'send'")))
        << error.Message().toStdString();
  }
  EXPECT_FALSE(socket.Active());
  WaitFor([] { return false; }, 50);
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

// A handler may close the socket inside its notification; one that throws is shown, and the
// next notification still arrives.
TEST_F(ClientSocketTransfer, HandlerMayCloseOrThrowInsideTheNotification) {
  socket.OnRead = [&](QObject*, TCustomWinSocket* connection) {
    log.reads.append(connection->ReceiveText());
    if (log.reads.size() == 1) throw std::runtime_error("handler failed");
    socket.Close();
  };
  peer->write("first");
  ASSERT_TRUE(WaitFor([&] { return !Notifications().messages.isEmpty(); }));
  EXPECT_TRUE(socket.Active());
  peer->write("second");
  ASSERT_TRUE(WaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }));

  EXPECT_FALSE(socket.Active());
  EXPECT_EQ(Notifications().messages, QStringList{"handler failed"});
  EXPECT_EQ(log.reads, (QList<QByteArray>{"first", "second"}));
  EXPECT_EQ(log.events.count(QStringLiteral("disconnect")), 1);
}

// A component deleted by its own handler: nothing of it runs afterwards, and the rest of what
// arrives is nobody's.
TEST(ClientSocketNotifications, AHandlerMayDeleteItsComponent) {
  Listener listener;
  auto socket = std::make_unique<TClientSocket>();
  QStringList steps;
  socket->OnRead = [&](QObject*, TCustomWinSocket* connection) {
    steps.append(connection->ReceiveText());
    socket.reset();
  };
  socket->SetAddress(QStringLiteral("127.0.0.1"));
  socket->SetPort(listener.Port());
  socket->SetActive(true);
  auto peer = listener.Accept();
  ASSERT_TRUE(peer);
  peer->write("SRCP 0.8.2\r\n");
  ASSERT_TRUE(WaitFor([&] { return !socket; }));
  peer->write("INFO\r\n");
  EXPECT_TRUE(WaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(steps, QStringList({"SRCP 0.8.2\r\n"}));
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

TEST(ClientSocketNotifications, NotificationsOfAClosedSocketDoNotReachItsSuccessor) {
  Listener listener;
  TClientSocket socket;
  SocketEventLog log(socket);
  // The new socket gets the number of the one just closed, whose write notification is still
  // queued behind the connect notification.
  socket.OnConnect = [&](QObject*, TCustomWinSocket*) {
    log.events.append("connect");
    if (log.events.count("connect") > 1) return;
    socket.Close();
    socket.SetActive(true);
  };
  socket.SetAddress(QStringLiteral("127.0.0.1"));
  socket.SetPort(listener.Port());

  socket.SetActive(true);
  ASSERT_TRUE(WaitFor([&] { return log.events.count("write") == 1; }));
  EXPECT_EQ(log.events, QStringList({"lookup", "connecting", "connect", "disconnect", "lookup",
                                     "connecting", "connect", "write"}));
}

}  // namespace
