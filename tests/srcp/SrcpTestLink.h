// The SRCP link as the window builds it: two TCP clients and an observer that keeps the panes
// the window would show, against the SRCP server simulator or a server scripted by the test, each
// on a port of the system's choosing.
#pragma once

#include <gtest/gtest.h>

#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "SrcpServer.h"
#include "platform/LogPane.h"
#include "srcp/SrcpLink.h"
#include "support/AwaitTask.h"
#include "support/RecordingNotifier.h"
#include "support/RecordingObserver.h"
#include "support/WaitFor.h"
#include "tcp/TcpClient.h"

using Lines = std::vector<std::string>;
using Result = AccessoryOutcome::Result;

// The lines, each with the line end the link sends.
inline Lines CrLf(std::initializer_list<const char*> lines) {
  Lines ended;
  for (const char* line : lines) ended.push_back(std::string(line) + "\r\n");
  return ended;
}
inline const Lines kDdw07Handshake =
    CrLf({"SET PROTOCOL SRCP 0.8.2", "SET CONNECTIONMODE SRCP INFO",
          "SET CONNECTIONMODE SRCP COMMAND", "GO", "INIT 1 POWER", "INIT 8 FB S88 LPT1 3"});
// A server that switches power per bus: bus 6, the accessories', is switched on as well.
inline const Lines kPerBusHandshake =
    CrLf({"SET PROTOCOL SRCP 0.8.2", "SET CONNECTIONMODE SRCP COMMAND", "GO", "INIT 1 POWER",
          "INIT 8 FB S88 LPT1 3", "SET 1 POWER ON", "SET 6 POWER ON"});
inline const std::string kSet5 = "SET 6 GA 5 1 1 200\r\n";
inline const std::string kInit5 = "INIT 6 GA 5 N\r\n";

// A server written by the test: it greets as a DDW 0.7 server, answers the handshake as any
// server does (or as handshakeReplies says, per line without its line end, and all of it
// handshakeDelayMs late), and every other line with the next of the test's replies. A reply is
// a list of pieces sent 40 ms apart, so that each arrives in a read of its own; "close" ends
// the connection instead.
class ScriptedServer : public QTcpServer {
 public:
  using Reply = std::vector<QByteArray>;

  explicit ScriptedServer(std::deque<Reply> replies) : replies_(std::move(replies)) {
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, [this] {
      peer_.reset(nextPendingConnection());
      peer_->write("DDW V 0.7.5; SRCP 0.7.3\n");
      connect(peer_.get(), &QTcpSocket::readyRead, [this] { Read(); });
    });
  }

  Lines commands;  // what came after the handshake
  QMap<QByteArray, QByteArray> handshakeReplies;
  int handshakeDelayMs = 0;

 private:
  void Read() {
    while (peer_ && peer_->canReadLine()) {
      const QByteArray line = peer_->readLine();
      if (!line.contains(" GA ")) {  // the handshake, its replies held back and sent in one go
        if (held_.isEmpty()) {
          QTimer::singleShot(handshakeDelayMs, this, [this] {
            if (peer_) peer_->write(std::exchange(held_, {}));
          });
        }
        held_ += handshakeReplies.value(line.trimmed(), "1700000000.000 200 OK\n");
        continue;
      }
      commands.push_back(line.toStdString());
      if (replies_.empty()) continue;
      // Replies keep their order: one to a command waits for the handshake's held back.
      QTimer::singleShot(held_.isEmpty() ? 0 : handshakeDelayMs + 40, this,
                         [this, reply = replies_.front()] { Send(reply, 0); });
      replies_.pop_front();
    }
  }

  void Send(Reply pieces, std::size_t next) {
    if (next == pieces.size() || !peer_) return;
    if (pieces[next] == "close") return peer_->disconnectFromHost();
    peer_->write(pieces[next]);
    peer_->flush();
    QTimer::singleShot(40, this, [this, pieces, next] { Send(pieces, next + 1); });
  }

  std::unique_ptr<QTcpSocket> peer_;
  std::deque<Reply> replies_;
  QByteArray held_;  // handshake replies held back, all sent in one go
};

class SrcpLinkTest : public testing::Test {
 protected:
  void PointAt(int port) {
    ASSERT_TRUE(link.SetServerAddress(QStringLiteral("127.0.0.1:%1").arg(port)));
    Await(link.Attach());
  }
  // A server of the simulator's with this greeting; "Verbinden" has made its handshake.
  void Connect(const char* greeting, const Lines& handshake) {
    server = std::make_unique<SrcpServer>(greeting, 0);
    ASSERT_NO_FATAL_FAILURE(PointAt(server->Port()));
    ASSERT_TRUE(Await(link.Connect()));
    ASSERT_EQ(AwaitLines(0, handshake.size()), handshake);
  }
  // All lines a connection received, once there are at least count.
  Lines AwaitLines(int connection, std::size_t count) {
    WaitFor([&] { return server->ReceivedLines(connection).size() >= count; });
    return server->ReceivedLines(connection);
  }
  Lines LinesAfter(std::size_t skip) {
    const Lines lines = server->ReceivedLines(0);
    return Lines(lines.begin() + static_cast<long>(std::min(skip, lines.size())), lines.end());
  }
  AccessoryOutcome Switch(const char* turnout) { return Await(Switching(turnout)); }
  Task<AccessoryOutcome> Switching(const char* turnout) {
    return link.SendSrcpGA("6", QLatin1String(turnout), "1", "N");
  }

  std::unique_ptr<SrcpServer> server;
  TcpClient srcpCommandSocket;
  TcpClient srcpInfoSocket;
  RecordingObserver panes;
  SrcpLink link{srcpCommandSocket, srcpInfoSocket, panes};
};
