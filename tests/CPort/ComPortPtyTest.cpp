// The port on a real tty: a pty whose master plays the command station.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <termios.h>

#include <QElapsedTimer>
#include <cerrno>
#include <thread>

#include "CPort/TComPort.h"
#include "PortTestSupport.h"
#include "platform/Messages.h"

namespace {

class PortOnPty : public testing::Test {
 protected:
  PortOnPty() {
    port.SetPort(pty.SlavePath());
    port.SetEvents({});
  }

  termios MasterSettings() {
    termios settings{};
    tcgetattr(pty.Master(), &settings);
    return settings;
  }

  PtyPair pty;
  TComPort port;
};

EComPort OpenError(TComPort& port) {
  try {
    port.Open();
  } catch (const EComPort& error) {
    return error;
  }
  return EComPort(0);
}

double ProcessCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

TEST_F(PortOnPty, BytesPassBothWays) {
  port.Open();
  EXPECT_EQ(port.WriteStr("xSo1\r"), 5);
  EXPECT_EQ(pty.Read(5), QByteArray("xSo1\r"));

  pty.Write(QByteArray("\x00\x7f]", 3));
  ASSERT_TRUE(SleepUntil([&] { return port.InputCount() == 3; }));
  QByteArray got;
  EXPECT_EQ(port.ReadStr(got, 10), 3);
  EXPECT_EQ(got, QByteArray("\x00\x7f]", 3));
  EXPECT_EQ(port.ReadStr(got, 10), 0);  // nothing left: at once, empty
  EXPECT_TRUE(got.isEmpty());
}

TEST_F(PortOnPty, TheMasterSeesTheLineSettings) {
  port.SetBaudRate(br2400);
  port.SetStopBits(sbTwoStopBits);
  port.Open();
  termios settings = MasterSettings();
  EXPECT_EQ(cfgetospeed(&settings), speed_t(B2400));
  EXPECT_TRUE(settings.c_cflag & CSTOPB);
  EXPECT_EQ(settings.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_FALSE(settings.c_cflag & PARENB);
  EXPECT_FALSE(settings.c_lflag & (ICANON | ECHO));  // raw

  // Changes while open apply at once; any rate goes.
  port.SetCustomBaudRate(16457);
  port.SetBaudRate(brCustom);
  EXPECT_EQ(pty.OutputSpeed(), 16457u);
  port.SetBaudRate(br19200);
  port.SetStopBits(sbOneStopBit);
  port.Parity().SetBits(prMark);
  settings = MasterSettings();
  EXPECT_EQ(cfgetospeed(&settings), speed_t(B19200));
  EXPECT_FALSE(settings.c_cflag & CSTOPB);
  // A pty keeps 8 data bits and drops PARENB whatever it is told; the rest of parity shows.
  EXPECT_EQ(settings.c_cflag & (PARODD | CMSPAR), tcflag_t(PARODD | CMSPAR));
  port.FlowControl().SetFlowControl(fcHardware);
  EXPECT_TRUE(MasterSettings().c_cflag & CRTSCTS);
}

TEST_F(PortOnPty, OnlyOneOpenerAtATime) {
  port.Open();
  TComPort second;
  second.SetPort(pty.SlavePath());
  second.SetEvents({});
  const EComPort error = OpenError(second);
  EXPECT_EQ(error.ErrorCode(), 1);
  EXPECT_EQ(error.SystemErrorCode(), EBUSY);
  EXPECT_EQ(error.Message(),
            QStringLiteral("Unable to open com port (win error code: %1)").arg(EBUSY));
  EXPECT_FALSE(second.Connected());
  port.Close();
  second.Open();
  EXPECT_TRUE(second.Connected());
}

TEST_F(PortOnPty, OpenFailuresNameTheOsError) {
  QStringList log;
  port.OnBeforeOpen = [&](QObject*) { log << "before open"; };
  port.OnAfterOpen = [&](QObject*) { log << "after open"; };
  port.SetPort(QStringLiteral("/dev/sorvell-no-such-port"));
  EComPort error = OpenError(port);
  EXPECT_EQ(error.ErrorCode(), 1);
  EXPECT_EQ(error.Message(), QStringLiteral("Unable to open com port (win error code: 2)"));
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(log, QStringList({"before open"}));

  port.SetPort(QStringLiteral("COM1"));  // names no device here
  EXPECT_EQ(OpenError(port).SystemErrorCode(), ENOENT);
  port.SetPort(QStringLiteral("/dev/null"));
  EXPECT_EQ(OpenError(port).SystemErrorCode(), ENOTTY);
}

TEST_F(PortOnPty, APtyHasNoModemLinesButEverythingElseWorks) {
  port.SetEvents(kAllComEvents);
  TComSignals atOpen{csCTS};
  port.OnCTSChange = [&](QObject*, bool on) { on ? atOpen.Include(csCTS) : atOpen.Exclude(csCTS); };
  port.Open();
  EXPECT_TRUE(atOpen.Empty());
  EXPECT_TRUE(port.Signals().Empty());
  EXPECT_TRUE(port.LastErrors().Empty());
  port.SetBreak(true);
  port.SetBreak(false);
  pty.Write("abc");
  ASSERT_TRUE(SleepUntil([&] { return port.InputCount() == 3; }));
  port.ClearBuffer(true, true);
  EXPECT_EQ(port.InputCount(), 0);
  port.Close();
}

TEST_F(PortOnPty, ReceivedBytesRaiseOnRxChar) {
  port.SetEvents({evRxChar, evCTS});
  QByteArray received;
  port.OnRxChar = [&](QObject*, int count) {
    QByteArray bytes;
    port.ReadStr(bytes, count);
    received += bytes;
  };
  port.Open();
  pty.Write("\x02\xA0");
  ASSERT_TRUE(WaitFor([&] { return received.size() == 2; }));
  pty.Write("]");
  ASSERT_TRUE(WaitFor([&] { return received.size() == 3; }));
  EXPECT_EQ(received, QByteArray("\x02\xA0]"));
  port.Close();
}

TEST_F(PortOnPty, ReadsWaitAsTheTimeoutsSay) {
  port.Open();
  auto later = [this](const QByteArray& bytes) {
    return std::jthread([this, bytes] {
      SleepMs(30);
      pty.Write(bytes);
    });
  };
  QByteArray got;
  // A total limit waits for the whole count.
  port.Timeouts().SetReadInterval(0);
  port.Timeouts().SetReadTotalConstant(5000);
  std::jthread sender = later("abc");
  EXPECT_EQ(port.ReadStr(got, 3), 3);
  sender.join();
  EXPECT_EQ(got, QByteArray("abc"));

  // Interval and multiplier at the limit: back as soon as there is a byte.
  port.Timeouts().SetReadInterval(-1);
  port.Timeouts().SetReadTotalMultiplier(-1);
  sender = later("d");
  EXPECT_EQ(port.ReadStr(got, 10), 1);
  sender.join();

  // The limit passes with nothing received.
  port.Timeouts().SetReadTotalConstant(20);
  EXPECT_EQ(port.ReadStr(got, 10), 0);
}

TEST_F(PortOnPty, AWriteEndsWithItsTimeoutWhenNobodyReads) {
  port.Timeouts().SetWriteTotalMultiplier(0);
  port.Timeouts().SetWriteTotalConstant(100);
  port.Open();
  const QByteArray block(1 << 20, 'x');
  const int written = port.WriteStr(block);
  EXPECT_GT(written, 0);
  EXPECT_LT(written, block.size());
}

TEST_F(PortOnPty, CloseKeepsWhatWasWritten) {
  port.SetEvents(kAllComEvents);
  port.Open();
  port.WriteStr("\x61");
  port.Close();
  EXPECT_EQ(pty.Read(1), QByteArray("\x61"));
}

TEST_F(PortOnPty, APeerThatGoesAwayGivesCleanErrors) {
  port.SetEvents(kAllComEvents);
  int rx = 0;
  port.OnRxChar = [&](QObject*, int) { ++rx; };
  port.Open();
  pty.CloseMaster();

  // The event thread must not spin on the hang-up.
  const double cpuBefore = ProcessCpuMs();
  QElapsedTimer wall;
  wall.start();
  while (wall.elapsed() < 300) {
    ProcessMessages();
    SleepMs(10);
  }
  EXPECT_LT(ProcessCpuMs() - cpuBefore, 150.0);

  auto codeOf = [](const std::function<void()>& call) {
    try {
      call();
    } catch (const EComPort& error) {
      EXPECT_EQ(error.SystemErrorCode(), EIO);
      return error.ErrorCode();
    }
    return 0;
  };
  EXPECT_EQ(codeOf([&] { port.WriteStr("x"); }), 2);
  QByteArray got;
  EXPECT_EQ(codeOf([&] { port.ReadStr(got, 1); }), 3);
  EXPECT_EQ(codeOf([&] { port.InputCount(); }), 10);
  port.Close();
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(rx, 0);
}

}  // namespace
