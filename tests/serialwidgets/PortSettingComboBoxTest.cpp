// A port path the system list lacks (an adapter not plugged in yet) stays the choice.
#include <gtest/gtest.h>

#include "serial/SerialPort.h"
#include "serialwidgets/PortSettingComboBox.h"

namespace {

TEST(PortSettingComboBox, KeepsAPortPathThatTheSystemListLacksAsTheSelectedFirstItem) {
  SerialPort port;
  port.SetPort("/dev/serial/by-id/usb-Sorvell_Test_Adapter-if00-port0");
  PortSettingComboBox combo;
  combo.SetComProperty(cpPort);
  combo.SetComPort(&port);
  EXPECT_EQ(combo.currentIndex(), 0);
  EXPECT_EQ(combo.itemText(0), port.Port());
}

}  // namespace
