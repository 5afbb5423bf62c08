// The port on a real tty: a pty whose master plays the command station.
#include <gtest/gtest.h>
// termios2 for TCGETS2: the rate as a number, whatever rate code was used.
#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <cerrno>
#include <thread>

#include "CPort/TComPort.h"
#include "PortTestSupport.h"

namespace {

class PortOnPty : public testing::Test {
 protected:
  PortOnPty() {
    port.SetPort(pty.SlavePath());
    port.SetEvents({});
  }
  termios2 MasterSettings() {
    termios2 settings{};
    ioctl(pty.Master(), TCGETS2, &settings);
    return settings;
  }

  PtyPair pty;
  TComPort port;
};

double ProcessCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

TEST_F(PortOnPty, TheMasterSeesTheLineSettings) {
  port.SetBaudRate(br2400);
  port.SetStopBits(sbTwoStopBits);
  port.Open();
  termios2 settings = MasterSettings();
  EXPECT_EQ(settings.c_ospeed, 2400u);
  EXPECT_TRUE(settings.c_cflag & CSTOPB);
  EXPECT_EQ(settings.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_FALSE(settings.c_cflag & PARENB);
  EXPECT_FALSE(settings.c_lflag & (ICANON | ECHO));  // raw

  // Changes while open apply at once; any rate goes.
  port.SetCustomBaudRate(16457);
  port.SetBaudRate(brCustom);
  EXPECT_EQ(MasterSettings().c_ospeed, 16457u);
  port.SetBaudRate(br57600);
  port.SetStopBits(sbOneStopBit);
  port.Parity().SetBits(prMark);
  settings = MasterSettings();
  EXPECT_EQ(settings.c_ospeed, 57600u);
  EXPECT_EQ(settings.c_cflag & CBAUD, tcflag_t(B57600));
  EXPECT_FALSE(settings.c_cflag & CSTOPB);
  // A pty keeps 8 data bits and drops PARENB whatever it is told; the rest of parity shows.
  EXPECT_EQ(settings.c_cflag & (PARODD | CMSPAR), tcflag_t(PARODD | CMSPAR));
  port.FlowControl().SetFlowControl(fcHardware);
  EXPECT_TRUE(MasterSettings().c_cflag & CRTSCTS);
}

TEST_F(PortOnPty, OpenFailuresNameTheOsError) {
  port.Open();
  TComPort second;
  second.SetEvents({});
  QStringList log;
  second.OnBeforeOpen = [&](QObject*) { log << "before open"; };
  second.OnAfterOpen = [&](QObject*) { log << "after open"; };
  const struct {
    QString path;
    int inputSize, code, errorNumber;
  } cases[] = {{pty.SlavePath(), 1024, 1, EBUSY},  // only one opener at a time
               {"/dev/sorvell-no-such-port", 1024, 1, ENOENT},
               {"COM1", 1024, 1, ENOENT},  // names no device here
               {"/dev/null", 1024, 1, ENOTTY},
               {pty.SlavePath(), -2, 9, EINVAL}};
  for (const auto& c : cases) {
    if (c.inputSize < 0) port.Close();
    second.SetPort(c.path);
    second.Buffer().SetInputSize(c.inputSize);
    const EComPort error = Raised([&] { second.Open(); });
    EXPECT_EQ(error.ErrorCode(), c.code) << c.path.toStdString();
    EXPECT_EQ(error.SystemErrorCode(), c.errorNumber) << c.path.toStdString();
    EXPECT_FALSE(second.Connected());
  }
  EXPECT_EQ(log, QStringList(5, "before open"));
  second.Buffer().SetInputSize(1024);
  second.Open();
  EXPECT_TRUE(second.Connected());
}

TEST_F(PortOnPty, APtyHasNoModemLinesButEverythingElseWorks) {
  port.SetEvents(kAllComEvents);
  port.Buffer().SetInputSize(0);  // our own queue then takes a default size
  TComSignals atOpen{csCTS};
  port.OnCTSChange = [&](QObject*, bool on) { on ? atOpen.Include(csCTS) : atOpen.Exclude(csCTS); };
  port.Open();
  EXPECT_TRUE(atOpen.Empty());
  EXPECT_TRUE(port.Signals().Empty());
  EXPECT_TRUE(port.LastErrors().Empty());
  port.SetBreak(true);
  port.SetBreak(false);
  EXPECT_EQ(port.WriteStr("xSo1\r"), 5);
  EXPECT_EQ(pty.Read(5), QByteArray("xSo1\r"));
  pty.Write(QByteArray("\x00\x7f]", 3));
  ASSERT_TRUE(SleepUntil([&] { return port.InputCount() == 3; }));
  QByteArray got;
  EXPECT_EQ(port.ReadStr(got, 2), 2);
  EXPECT_EQ(got, QByteArray("\x00\x7f", 2));
  port.ClearBuffer(true, true);
  EXPECT_EQ(port.InputCount(), 0);
  port.Close();
}

TEST_F(PortOnPty, ReadsAndWritesWaitAsTheTimeoutsSay) {
  port.Timeouts().SetWriteTotalMultiplier(0);
  port.Timeouts().SetWriteTotalConstant(100);
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

  // A write nobody reads ends with its timeout.
  const QByteArray block(1 << 20, 'x');
  const int written = port.WriteStr(block);
  EXPECT_GT(written, 0);
  EXPECT_LT(written, block.size());
}

TEST_F(PortOnPty, APeerThatGoesAwayGivesCleanErrorsWithoutSpinning) {
  port.SetEvents(kAllComEvents);
  int rx = 0;
  port.OnRxChar = [&](QObject*, int) { ++rx; };
  port.Open();
  pty.CloseMaster();

  const double cpuBefore = ProcessCpuMs();
  QElapsedTimer wall;
  wall.start();
  while (wall.elapsed() < 300) {
    ProcessMessages();
    SleepMs(10);
  }
  EXPECT_LT(ProcessCpuMs() - cpuBefore, 150.0);

  QByteArray got;
  const std::pair<int, std::function<void()>> calls[] = {{2, [&] { port.WriteStr("x"); }},
                                                         {3, [&] { port.ReadStr(got, 1); }},
                                                         {10, [&] { port.InputCount(); }}};
  for (const auto& [code, call] : calls) {
    const EComPort error = Raised(call);
    EXPECT_EQ(error.ErrorCode(), code);
    EXPECT_EQ(error.SystemErrorCode(), EIO) << code;
  }
  port.Close();
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(rx, 0);
}

}  // namespace
