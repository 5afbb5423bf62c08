// Sending and receiving on an open connection, the property rule while active, the ends of a
// connection (closed by the peer, closed by a handler, broken by a handler's exception), and
// notifications that must not overtake or outlive a handler.
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
  bool PeerClosed() {
    return WaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; });
  }

  Listener listener;
  TClientSocket socket;
  SocketEventLog log{socket};
  std::unique_ptr<QTcpSocket> peer;
};

TEST_F(ClientSocketTransfer, PropertiesCannotChangeWhileActive) {
  const int port = socket.Port();
  for (const std::function<void()>& change : std::initializer_list<std::function<void()>>{
           [&] { socket.SetPort(port + 1); }, [&] { socket.SetAddress("10.0.0.1"); },
           [&] { socket.SetHost("example.org"); }, [&] { socket.SetService("srcp"); },
           [&] { socket.SetClientType(ctBlocking); }}) {
    try {
      change();
      ADD_FAILURE() << "no exception";
    } catch (const ESocketError& error) {
      EXPECT_EQ(error.Message(), QStringLiteral("Can't change value while socket is active"));
    }
  }
  EXPECT_EQ(socket.Port(), port);
  EXPECT_EQ(socket.ClientType(), ctNonBlocking);
  EXPECT_NO_THROW(socket.SetPort(port));
  EXPECT_NO_THROW(socket.SetHost(QStringLiteral("LocalHost")));
  EXPECT_NO_THROW(socket.SetActive(true));
  EXPECT_TRUE(socket.Active());

  socket.Close();
  EXPECT_FALSE(socket.Active());
  EXPECT_EQ(log.events.last(), QStringLiteral("disconnect"));
  EXPECT_NO_THROW(socket.SetPort(port + 1));
  EXPECT_EQ(socket.Port(), port + 1);
  EXPECT_TRUE(PeerClosed());
}

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
    EXPECT_TRUE(error.Message().endsWith(QStringLiteral(" (10054), on API 'send'")))
        << error.Message().toStdString();
  }
  EXPECT_FALSE(socket.Active());
}

TEST_F(ClientSocketTransfer, TwoLinesInOneSegmentReachOnReadOnceAsOneText) {
  EXPECT_TRUE(socket.Socket()->ReceiveText().isEmpty());
  EXPECT_EQ(socket.Socket()->ReceiveLength(), 0);
  peer->write("INFO 1 POWER ON\r\nINFO 1 GA 9 1 1\r\n");
  ASSERT_TRUE(peer->waitForBytesWritten(5000));
  ASSERT_TRUE(WaitFor([&] { return !log.reads.isEmpty(); }));
  // A later segment marks the end: nothing else may have reached OnRead in between.
  peer->write("OK");
  ASSERT_TRUE(WaitFor([&] { return log.reads.size() >= 2; }));

  EXPECT_EQ(log.reads, (QList<QByteArray>{"INFO 1 POWER ON\r\nINFO 1 GA 9 1 1\r\n", "OK"}));
  EXPECT_TRUE(socket.Active());
}

TEST_F(ClientSocketTransfer, PeerCloseMakesTheSocketInactiveByItself) {
  peer->write("TERM\r\n");
  peer->disconnectFromHost();
  ASSERT_TRUE(WaitFor([&] { return !socket.Active(); }));

  EXPECT_EQ(log.reads, QList<QByteArray>{"TERM\r\n"});
  EXPECT_EQ(log.events.count(QStringLiteral("disconnect")), 1);
  EXPECT_EQ(socket.Socket()->SocketHandle(), TCustomWinSocket::InvalidSocket);
  EXPECT_EQ(socket.Socket()->SendText("GO\r\n"), 0);
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
  ASSERT_TRUE(WaitFor([&] { return !socket.Active(); }));
  ASSERT_TRUE(PeerClosed());

  EXPECT_EQ(Notifications().messages, QStringList{"handler failed"});
  EXPECT_EQ(log.reads, (QList<QByteArray>{"first", "second"}));
  EXPECT_EQ(log.events.count(QStringLiteral("disconnect")), 1);
}

TEST_F(ClientSocketTransfer, SendThatWouldBlockIsReportedWhenTheSocketTakesDataAgain) {
  ASSERT_TRUE(WaitFor([&] { return log.events.count(QStringLiteral("write")) == 1; }));
  // The peer reads nothing while the event loop does not run, so the buffers fill up.
  const QByteArray chunk(64 * 1024, 'x');
  qint64 accepted = 0;
  int result = 0;
  for (int round = 0; round < 4096 && result >= 0; ++round) {
    result = socket.Socket()->SendText(chunk);
    if (result > 0) accepted += result;
  }
  ASSERT_EQ(result, -1);

  ASSERT_TRUE(WaitFor([&] { return log.events.count(QStringLiteral("write")) == 2; }));
  ASSERT_TRUE(WaitFor([&] { return peer->bytesAvailable() == accepted; }, 10000));
  EXPECT_TRUE(Notifications().messages.isEmpty());
}

}  // namespace

TEST(ClientSocketNotifications, AHandlerThatWaitsIsNotInterruptedByTheNextNotification) {
  const QByteArray greeting = "SRCP 0.8.2; SRCPOTHER 0.8.3\r\n";
  Listener listener;
  std::unique_ptr<QTcpSocket> peer;
  TClientSocket socket;
  QStringList steps;
  QList<QByteArray> reads;
  socket.OnConnect = [&](QObject*, TCustomWinSocket*) {
    steps.append(QStringLiteral("connect begins"));
    peer = listener.Accept();
    peer->write(greeting);
    // Pauses as the program's own handlers do, while the greeting arrives.
    WaitFor([] { return false; }, 100);
    steps.append(QStringLiteral("connect ends"));
  };
  socket.OnRead = [&](QObject*, TCustomWinSocket* connection) {
    steps.append(QStringLiteral("read"));
    reads.append(connection->ReceiveText());
  };
  socket.SetAddress(QStringLiteral("127.0.0.1"));
  socket.SetPort(listener.Port());

  socket.SetActive(true);
  ASSERT_TRUE(WaitFor([&] { return !reads.isEmpty(); }));
  peer->write("OK");
  ASSERT_TRUE(WaitFor([&] { return reads.size() >= 2; }));

  EXPECT_EQ(steps, QStringList({"connect begins", "connect ends", "read", "read"}));
  EXPECT_EQ(reads, (QList<QByteArray>{greeting, "OK"}));
}

TEST(ClientSocketNotifications, NotificationsOfAClosedSocketDoNotReachItsSuccessor) {
  Listener listener;
  TClientSocket socket;
  SocketEventLog log(socket);
  bool reopened = false;
  // The new socket gets the number of the one just closed, whose write notification is still
  // queued behind the connect notification.
  socket.OnConnect = [&](QObject*, TCustomWinSocket*) {
    log.events.append(QStringLiteral("connect"));
    if (std::exchange(reopened, true)) return;
    socket.Close();
    socket.SetActive(true);
  };
  socket.SetAddress(QStringLiteral("127.0.0.1"));
  socket.SetPort(listener.Port());

  socket.SetActive(true);
  ASSERT_TRUE(WaitFor([&] { return log.events.count(QStringLiteral("write")) == 1; }));

  EXPECT_EQ(log.events, QStringList({"lookup", "connecting", "connect", "disconnect", "lookup",
                                     "connecting", "connect", "write"}));
  EXPECT_TRUE(socket.Active());
}
