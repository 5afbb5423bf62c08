// The SRCP link wired up as the main window wires it, around two real client connections, for
// tests against the SRCP server simulator on port 4303.
#pragma once

#include <gtest/gtest.h>

#include <QTimer>
#include <string>
#include <vector>

#include "Port4303.h"
#include "ScktComp/TClientSocket.h"
#include "SrcpServer.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "srcp/SrcpHost.h"
#include "srcp/SrcpReceive.h"
#include "srcp/SrcpReplyWait.h"
#include "srcp/SrcpSession.h"
#include "support/WaitFor.h"

using Lines = std::vector<std::string>;

inline const Lines kDdw08CommandHandshake = {"SET PROTOCOL SRCP 0.8.2\r\n",
                                             "SET CONNECTIONMODE SRCP COMMAND\r\n",
                                             "GO\r\n",
                                             "INIT 1 POWER\r\n",
                                             "INIT 8 FB S88 LPT1 3\r\n",
                                             "SET 1 POWER ON\r\n"};
inline const Lines kDdw08InfoHandshake = {"SET PROTOCOL SRCP 0.8.2\r\n",
                                          "SET CONNECTIONMODE SRCP INFO\r\n", "GO\r\n"};
inline const Lines kDdw07Handshake = {"SET PROTOCOL SRCP 0.8.2\r\n",
                                      "SET CONNECTIONMODE SRCP INFO\r\n",
                                      "SET CONNECTIONMODE SRCP COMMAND\r\n",
                                      "GO\r\n",
                                      "INIT 1 POWER\r\n",
                                      "INIT 8 FB S88 LPT1 3\r\n"};

class SrcpLinkTest : public testing::Test {
 protected:
  SrcpLinkTest() {
    Timer3.OnTimer = [this](QObject*) {
      Timer3.SetEnabled(false);
      SrcpReplyTimeout();
    };
    ClientSocket1.OnRead = [this](QObject*, TCustomWinSocket*) {
      ShowReceivedText(ClientSocket1, Memo3);
    };
    ClientSocket2.OnRead = [this](QObject*, TCustomWinSocket*) {
      ShowReceivedText(ClientSocket2, memo4);
    };
    SetSrcpHost({&ClientSocket1, &ClientSocket2, &Memo3, &memo4, &Timer3, &WaitMilliseconds});
  }
  ~SrcpLinkTest() override { SetSrcpHost({}); }

  static void WaitMilliseconds(int milliseconds) {
    bool expired = false;
    QTimer::singleShot(milliseconds, [&] { expired = true; });
    WaitUntil([&] { return expired; });
  }

  void StartServer(const char* greeting) { server = Port4303::Server(greeting); }

  // The greeting has arrived in the receive log, as the user would see before "Verbinden".
  void AwaitGreeting(const char* greeting) {
    ASSERT_TRUE(WaitFor([&] { return Memo3.Text().contains(QLatin1String(greeting)); }));
  }

  // The sessions of a server with this greeting, open as after "Verbinden".
  void Connect(const char* greeting) {
    StartSrcpCommandSession();
    ASSERT_NO_FATAL_FAILURE(AwaitGreeting(greeting));
    SrcpHandshake();
    const bool ddw07 = QByteArray(greeting).contains("DDW V 0.7");
    ASSERT_EQ(AwaitLines(0, ddw07 ? kDdw07Handshake.size() : kDdw08CommandHandshake.size()),
              ddw07 ? kDdw07Handshake : kDdw08CommandHandshake);
  }

  // Waits until the connection has received at least count lines, then returns all of them.
  Lines AwaitLines(int connection, std::size_t count) {
    WaitFor([&] { return server->ReceivedLines(connection).size() >= count; });
    return server->ReceivedLines(connection);
  }

  // The lines a connection received after its first skip lines.
  Lines LinesAfter(int connection, std::size_t skip) {
    const Lines lines = server->ReceivedLines(connection);
    return skip < lines.size() ? Lines(lines.begin() + static_cast<long>(skip), lines.end())
                               : Lines();
  }

  std::unique_ptr<SrcpServer> server;
  TClientSocket ClientSocket1;
  TClientSocket ClientSocket2;
  TMemo Memo3;
  TMemo memo4;
  TTimer Timer3{nullptr, 1000, false};
};
