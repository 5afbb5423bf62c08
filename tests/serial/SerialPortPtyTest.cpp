// The port on a real tty: a pty whose master plays the command station.
#include <gtest/gtest.h>
// termios2 for TCGETS2: the rate as a number, whatever rate code was used.
#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <sys/resource.h>

#include <cerrno>

#include "PortTestSupport.h"
#include "serial/SerialPort.h"

namespace {

class PortOnPty : public testing::Test {
 protected:
  PortOnPty() {
    port.SetPort(pty.SlavePath());
    port.SetEvents({});
  }
  termios2 MasterSettings() {
    termios2 settings{};
    ioctl(pty.master, TCGETS2, &settings);
    return settings;
  }

  PtyPair pty;
  SerialPort port;
};

TEST_F(PortOnPty, TheMasterSeesTheLineSettings) {
  port.SetBaudRate(br2400);
  port.SetStopBits(sbTwoStopBits);
  port.Open();
  termios2 settings = MasterSettings();
  EXPECT_EQ(settings.c_ospeed, 2400u);
  EXPECT_EQ(settings.c_cflag & (CSTOPB | CSIZE | PARENB), tcflag_t(CSTOPB | CS8));
  EXPECT_FALSE(settings.c_lflag & (ICANON | ECHO));  // raw
  // Changes while open apply at once; any rate goes.
  port.SetCustomBaudRate(16457);
  port.SetBaudRate(brCustom);
  EXPECT_EQ(MasterSettings().c_ospeed, 16457u);
  port.SetBaudRate(br57600);
  port.Parity().SetBits(prMark);
  port.FlowControl().SetFlowControl(fcHardware);
  settings = MasterSettings();
  EXPECT_EQ(settings.c_ospeed, 57600u);
  EXPECT_EQ(settings.c_cflag & CBAUD, tcflag_t(B57600));
  // A pty drops PARENB whatever it is told; the rest of parity shows.
  EXPECT_EQ(settings.c_cflag & (PARODD | CMSPAR | CRTSCTS), tcflag_t(PARODD | CMSPAR | CRTSCTS));
}

TEST_F(PortOnPty, OpenFailuresNameTheOsError) {
  port.Open();
  SerialPort second;
  second.SetEvents({});
  const std::tuple<QString, int, int, int> cases[] = {
      {pty.SlavePath(), 1024, 1, EBUSY},  // only one opener at a time
      {"COM1", 1024, 1, ENOENT},          // names no device here
      {"/dev/null", 1024, 1, ENOTTY},
      {pty.SlavePath(), -2, 9, EINVAL}};
  for (const auto& [path, inputSize, code, errorNumber] : cases) {
    if (inputSize < 0) port.Close();
    second.SetPort(path);
    second.Buffer().SetInputSize(inputSize);
    const SerialPortError error = Raised([&] { second.Open(); });
    EXPECT_EQ(error.ErrorCode(), code) << path.toStdString();
    EXPECT_EQ(error.SystemErrorCode(), errorNumber) << path.toStdString();
    EXPECT_FALSE(second.Connected());
  }
}

TEST_F(PortOnPty, APtyHasNoModemLinesButEverythingElseWorks) {
  port.SetEvents(kAllSerialEvents);
  port.Buffer().SetInputSize(0);  // our own queue then takes a default size
  port.Open();
  EXPECT_TRUE(port.Signals().Empty() && port.LastErrors().Empty());
  port.SetBreak(true);
  port.SetBreak(false);
  EXPECT_EQ(port.WriteStr("xSo1\r"), 5);
  EXPECT_EQ(pty.Read(5), QByteArray("xSo1\r"));
  pty.Write(QByteArray("\x00\x7f]", 3));
  ASSERT_TRUE(SleepUntil([&] { return port.InputCount() == 3; }));
  QByteArray got;
  EXPECT_EQ(port.ReadStr(got, 2), 2);
  EXPECT_EQ(got, QByteArray("\x00\x7f", 2));
  port.Timeouts().SetReadTotalConstant(20);  // the limit passes with nothing more received
  EXPECT_EQ(port.ReadStr(got, 10), 1);
  // A power-off written just before Close, with the event thread waiting on the line, still
  // reaches the station.
  port.WriteStr("xGo\r");
  port.Close();
  EXPECT_EQ(pty.Read(4), QByteArray("xGo\r"));
}

TEST_F(PortOnPty, APeerThatGoesAwayGivesCleanErrorsWithoutSpinning) {
  port.SetEvents(kAllSerialEvents);
  int rx = 0;
  port.OnRxChar = [&](QObject*, int) { ++rx; };
  port.Open();
  pty.CloseMaster();
  const auto cpuMs = [] {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
  };
  const double cpuBefore = cpuMs();
  WaitFor([] { return false; }, 300);
  EXPECT_LT(cpuMs() - cpuBefore, 150.0);
  QByteArray got;
  EXPECT_EQ(Raised([&] { port.WriteStr("x"); }).SystemErrorCode(), EIO);
  EXPECT_EQ(Raised([&] { port.ReadStr(got, 1); }).ErrorCode(), 3);
  port.Close();
  EXPECT_EQ(rx, 0);
}

}  // namespace
