#include <gtest/gtest.h>

#include <QTcpSocket>

#include "SrcpInfoListener.h"
#include "SrcpServer.h"
#include "support/WaitFor.h"

namespace {

// A command session of its own on the server, as the program's would be.
class CommandClient {
 public:
  explicit CommandClient(int port) {
    socket_.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
    socket_.write("SET PROTOCOL SRCP 0.8.2\nSET CONNECTIONMODE SRCP COMMAND\nGO\n");
  }
  void Send(const QByteArray& lines) { socket_.write(lines); }

 private:
  QTcpSocket socket_;
};

TEST(SrcpInfoListener, ReportsWhatTheServerSwitchedAndNotWhatItRefused) {
  SrcpServer server(SrcpServer::kDdw08Greeting, 0);
  SrcpInfoListener listener(server.Port());
  listener.Start();
  ASSERT_TRUE(WaitFor([&] { return listener.InSession(); }));

  CommandClient program(server.Port());
  // The first SET is refused: the accessory is not initialised yet.
  program.Send(
      "SET 1 POWER ON\n"
      "SET 6 GA 17 1 1 200\n"
      "INIT 6 GA 17 N\n"
      "SET 6 GA 17 1 1 200\n");
  ASSERT_TRUE(
      WaitFor([&] { return listener.Log().Lines().contains("turnout 17 off (GA 17 port 1)"); }));

  EXPECT_EQ(listener.Log().TurnoutsSwitchedOn(), std::vector<int>{17});
  const QStringList lines = listener.Log().Lines();
  const QStringList expectedTail = {
      "power on (SRCP bus 1)", "accessory 17 initialised (protocol N)",
      "turnout 17 on (GA 17 port 1)", "turnout 17 off (GA 17 port 1)"};
  ASSERT_GE(lines.size(), expectedTail.size());
  EXPECT_EQ(lines.mid(lines.size() - expectedTail.size()), expectedTail);
  // The power states the server announces when the session starts come first.
  EXPECT_EQ(lines.first(), "power off (SRCP bus 1)");
}

}  // namespace
