// A device that refuses the open or the line settings, on the in-memory line: an open that fails
// leaves the port closed, and a setting refused while open is kept and leaves the port open.
#include <gtest/gtest.h>

#include <cerrno>

#include "PortTestSupport.h"
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"

namespace {

TEST(SerialPortRefusal, FailedOpenLeavesThePortClosedAndARefusedSettingTheOpenPortOpen) {
  bool opened = false;
  auto line = std::make_shared<MemoryLine>();
  SerialPort port;
  port.SetPort(QStringLiteral("/dev/memory0"));
  port.SetEvents({});
  port.UseDevice(std::make_unique<MemoryDevice>(line));
  port.OnAfterOpen = [&](QObject*) { opened = true; };
  line->Fail(MemoryLine::Op::kOpen, EACCES);
  EXPECT_EQ(Raised([&] { port.Open(); }).ErrorCode(), 1);
  line->Fail(MemoryLine::Op::kOpen, 0);
  // Settings the device refuses close the handle again.
  line->Fail(MemoryLine::Op::kSetLineSettings, EINVAL);
  EXPECT_EQ(Raised([&] { port.Open(); }).Message(),
            "SetCommState function failed (win error code: 22)");
  EXPECT_FALSE(port.Connected() || line->IsOpen() || opened);

  line->Fail(MemoryLine::Op::kSetLineSettings, 0);
  port.Open();
  line->Fail(MemoryLine::Op::kSetLineSettings, EIO);
  EXPECT_EQ(Raised([&] { port.SetDataBits(dbSeven); }).ErrorCode(), 7);
  EXPECT_EQ(port.DataBits(), dbSeven);
  EXPECT_TRUE(port.Connected());
}

}  // namespace
