// An adapter plugged in while the port dialog is open appears in its list by its stable name
// (udev makes its folder with the first adapter and removes it with the last one); picked there,
// it is opened and remembered by that name, so the next start finds it again whatever the kernel
// calls it after re-plugging.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "PtyPeer.h"
#include "serialwidgets/PortSettingComboBox.h"
#include "support/WaitFor.h"
#include "support/WindowDriver.h"

namespace {

TEST(StablePortName, IsListedWhenPluggedInAndIsWhatOpensAndWhatTheNextStartHas) {
  PtyPeer adapter;
  QTemporaryDir serial;
  const QString byId = serial.filePath("by-id");
  const QString stable = byId + "/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  const QString other = byId + "/usb-Prolific-port0";
  QString listedAs;
  {
    TestedWindow window;
    WindowDriver driver(window);
    window.CentralButton(CentralType::Maerklin)->setChecked(true);
    PortSettingsDialog::SetAnswerHook([&](PortSettingsDialog& form) {
      PortSettingComboBox& box = *form.portCombo;
      box.SetByIdDir(byId);
      const auto shown = [&](const QString& link, bool listed) {
        const QString name = QFileInfo(link).fileName() + " (" + adapter.SlavePath().mid(5) + ")";
        return WaitFor([&] { return (box.findText(name) >= 0) == listed; });
      };
      // The folder comes first, and the dialog has seen it before the adapter's link comes.
      const auto plugIn = [&](const QString& link) {
        EXPECT_TRUE(QDir().mkpath(byId));
        WaitFor([] { return false; }, 100);
        EXPECT_TRUE(QFile::link(adapter.SlavePath(), link) && shown(link, true));
      };
      plugIn(other);
      EXPECT_TRUE(QFile::remove(other) && QDir().rmdir(byId) && shown(other, false));
      plugIn(stable);
      box.SetText(stable);
      listedAs = box.currentText();
      form.accept();
    });
    driver.Click(window.connectButton);
    EXPECT_TRUE(listedAs.startsWith("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 ("));
    EXPECT_TRUE(WaitFor([&] { return window.serialPort->Port() == stable; }));
    ASSERT_TRUE(WaitFor([&] { return adapter.ReceivedData() == QByteArray::fromHex("60"); }));
    driver.Click(window.closeButton);
    ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  }
  TestedWindow next;
  next.show();
  ASSERT_TRUE(WaitFor([&] { return next.CentralButton(CentralType::Maerklin)->isChecked(); }));
  EXPECT_EQ(next.serialPort->Port(), stable);
}

}  // namespace
