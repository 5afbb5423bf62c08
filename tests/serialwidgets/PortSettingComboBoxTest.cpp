#include <gtest/gtest.h>

#include <memory>

#include "serial/SerialPort.h"
#include "serialwidgets/PortSettingComboBox.h"

namespace {

TEST(PortSettingComboBox, ShowsAndWritesThePortsValueOnlyWhenAsked) {
  auto port = std::make_unique<SerialPort>();
  port->SetStopBits(sbOne5StopBits);
  PortSettingComboBox combo;
  combo.SetComProperty(cpStopBits);
  combo.SetComPort(port.get());
  EXPECT_EQ(combo.Text(), "1.5");
  port->SetStopBits(sbOneStopBit);
  combo.UpdateSettings();
  EXPECT_EQ(combo.Text(), "1");
  combo.SetText("2");
  EXPECT_EQ(port->StopBits(), sbOneStopBit);
  combo.ApplySettings();
  EXPECT_EQ(port->StopBits(), sbTwoStopBits);
  combo.SetText("3");  // not an item: nothing changes
  EXPECT_EQ(combo.Text(), "2");
  port.reset();  // forgotten, or the next choice would write through a dangling port
  EXPECT_EQ(combo.ComPort(), nullptr);
  combo.SetText("2");
  EXPECT_EQ(combo.Text(), "2");
}

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
