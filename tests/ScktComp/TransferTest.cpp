// An open connection: its ends (reset by the peer, closed by a handler, broken by a handler's
// exception), and notifications that must not overtake or outlive a handler.
#include <gtest/gtest.h>

#include <stdexcept>

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

// The reset reaches the connection first as a failed read. A handler that keeps the connection
// open then sends into it and is told EPIPE by the system: for the user that is still the reset.
TEST_F(ClientSocketTransfer, SendAfterThePeerResetTheConnectionReportsTheReset) {
  socket.OnError = [&](QObject*, TCustomWinSocket*, TErrorEvent errorEvent, int& errorCode) {
    log.errors.append({errorEvent, errorCode});
    if (errorEvent == eeDisconnect) errorCode = 0;
  };
  const linger reset{1, 0};
  ::setsockopt(static_cast<int>(peer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset,
               sizeof reset);
  peer->close();
  ASSERT_TRUE(WaitFor([&] { return !log.errors.isEmpty(); }));
  ASSERT_EQ(log.errors[0], std::make_pair(eeDisconnect, 10054));

  try {
    socket.Socket()->SendText("SET 1 POWER OFF\r\n");
    ADD_FAILURE() << "no exception";
  } catch (const ESocketError& error) {
    EXPECT_TRUE(error.Message().endsWith(QStringLiteral(" (10054), on API 'send'")));
  }
  EXPECT_FALSE(socket.Active());
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

// A handler that pauses, as the program's own do, sees the greeting only after it returns.
TEST(ClientSocketNotifications, AHandlerThatWaitsIsNotInterruptedByTheNextNotification) {
  Listener listener;
  std::unique_ptr<QTcpSocket> peer;
  TClientSocket socket;
  QStringList steps;
  socket.OnConnect = [&](QObject*, TCustomWinSocket*) {
    steps.append("connect begins");
    peer = listener.Accept();
    peer->write("SRCP 0.8.2\r\n");
    WaitFor([] { return false; }, 100);
    steps.append("connect ends");
  };
  socket.OnRead = [&](QObject*, TCustomWinSocket* connection) {
    steps.append(connection->ReceiveText());
  };
  socket.SetAddress(QStringLiteral("127.0.0.1"));
  socket.SetPort(listener.Port());

  socket.SetActive(true);
  ASSERT_TRUE(WaitFor([&] { return steps.size() >= 3; }));
  EXPECT_EQ(steps, QStringList({"connect begins", "connect ends", "SRCP 0.8.2\r\n"}));
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
