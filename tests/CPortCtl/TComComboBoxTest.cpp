#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "CPort/TComPort.h"
#include "CPortCtl/TComComboBox.h"

namespace {

QStringList Items(const TComComboBox& combo) {
  QStringList items;
  for (int i = 0; i < combo.count(); ++i) items.append(combo.itemText(i));
  return items;
}

TEST(TComComboBox, OffersTheTextFormsOfEachSettingAsAPickOnlyList) {
  TComComboBox combo;
  EXPECT_FALSE(combo.isEditable());
  combo.SetComProperty(cpBaudRate);
  EXPECT_EQ(Items(combo),
            QStringList({"Custom", "110", "300", "600", "1200", "2400", "4800", "9600", "14400",
                         "19200", "38400", "56000", "57600", "115200", "128000", "256000"}));
  EXPECT_EQ(combo.Text(), "Custom");  // no port: the first item
  combo.SetComProperty(cpStopBits);
  EXPECT_EQ(Items(combo), QStringList({"1", "1.5", "2"}));
  combo.SetComProperty(cpFlowControl);
  EXPECT_EQ(Items(combo), QStringList({"Hardware", "Software", "None", "Custom"}));
  combo.SetComProperty(cpNone);
  EXPECT_EQ(combo.count(), 0);
  EXPECT_EQ(combo.Text(), "");
}

TEST(TComComboBox, ShowsThePortsCurrentValueWhenBoundAndWhenThePropertyChanges) {
  TComPort port;
  port.SetDataBits(dbSeven);
  port.Parity().SetBits(prMark);
  TComComboBox combo;
  combo.SetComProperty(cpDataBits);
  combo.SetComPort(&port);
  EXPECT_EQ(combo.Text(), "7");
  combo.SetComProperty(cpParity);
  EXPECT_EQ(combo.Text(), "Mark");

  port.Parity().SetBits(prEven);
  EXPECT_EQ(combo.Text(), "Mark");  // the box follows the port only when asked to
  combo.UpdateSettings();
  EXPECT_EQ(combo.Text(), "Even");
}

TEST(TComComboBox, WritesOnlyWhenAskedUnlessAutoApplyIsSet) {
  TComPort port;
  TComComboBox combo;
  combo.SetComProperty(cpBaudRate);
  combo.SetComPort(&port);

  combo.SetText("19200");
  EXPECT_EQ(port.BaudRate(), br9600);
  combo.ApplySettings();
  EXPECT_EQ(port.BaudRate(), br19200);

  combo.SetAutoApply(true);
  combo.SetText("2400");
  EXPECT_EQ(port.BaudRate(), br2400);
  combo.SetText("2401");  // not an item: nothing changes
  EXPECT_EQ(combo.Text(), "2400");
  EXPECT_EQ(port.BaudRate(), br2400);
}

TEST(TComComboBox, AKeyboardChoiceIsAppliedLikeAnyOther) {
  TComPort port;
  port.SetStopBits(sbOne5StopBits);
  TComComboBox combo;
  combo.SetComProperty(cpStopBits);
  combo.SetComPort(&port);
  combo.SetAutoApply(true);

  QTest::keyClick(&combo, Qt::Key_Down);
  EXPECT_EQ(combo.Text(), "2");
  EXPECT_EQ(port.StopBits(), sbTwoStopBits);
}

TEST(TComComboBox, KeepsAPortPathThatTheSystemListLacksAsTheSelectedFirstItem) {
  TComPort port;
  port.SetPort("/dev/serial/by-id/usb-Sorvell_Test_Adapter-if00-port0");
  TComComboBox combo;
  combo.SetComProperty(cpPort);
  const int listed = combo.count();
  combo.SetComPort(&port);
  EXPECT_EQ(combo.count(), listed + 1);
  EXPECT_EQ(combo.currentIndex(), 0);
  EXPECT_EQ(combo.Text(), port.Port());

  combo.ApplySettings();
  EXPECT_EQ(port.Port(), "/dev/serial/by-id/usb-Sorvell_Test_Adapter-if00-port0");
}

TEST(TComComboBox, ForgetsAPortThatIsDestroyedAndFallsBackToTheFirstItem) {
  auto port = std::make_unique<TComPort>();
  port->Parity().SetBits(prSpace);
  TComComboBox combo;
  combo.SetComProperty(cpParity);
  combo.SetComPort(port.get());
  combo.SetAutoApply(true);
  ASSERT_EQ(combo.Text(), "Space");

  port.reset();
  EXPECT_EQ(combo.ComPort(), nullptr);
  EXPECT_EQ(combo.Text(), "None");
  combo.SetText("Odd");  // would write through a dangling port if it had not been forgotten
  combo.ApplySettings();
  EXPECT_EQ(combo.Text(), "Odd");
}

// The kernel's name set on the port is the same adapter as its stable name: shown once, by
// that name, and OK writes the stable path. A path chooses the item that shows its name.
TEST(TComComboBox, ShowsAnAdapterByItsStableNameAndWritesThatPath) {
  QTemporaryDir byId, devices;
  const QString device = devices.filePath("ttyUSB9");
  const QString stable = byId.filePath("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  ASSERT_TRUE(QFile(device).open(QIODevice::WriteOnly));
  ASSERT_TRUE(QFile::link(device, stable));
  TComPort port;
  port.SetPort(device);
  TComComboBox combo;
  combo.SetByIdDir(byId.path());
  combo.SetComProperty(cpPort);
  const int listed = combo.count();
  combo.SetComPort(&port);
  EXPECT_EQ(combo.count(), listed);
  EXPECT_EQ(combo.Text(), "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 (ttyUSB9)");
  combo.ApplySettings();
  EXPECT_EQ(port.Port(), stable);

  port.SetPort("/dev/ttySorvellElsewhere");
  combo.UpdateSettings();
  ASSERT_EQ(combo.Text(), "/dev/ttySorvellElsewhere");
  combo.SetText(stable);
  EXPECT_EQ(combo.Text(), "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 (ttyUSB9)");
  combo.ApplySettings();
  EXPECT_EQ(port.Port(), stable);
}

}  // namespace
