// An adapter picked by its stable name in the port list is opened and remembered by that name,
// so the next start finds it again whatever the kernel calls it after re-plugging.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "CPort/TComPort.h"
#include "CPortCtl/TComComboBox.h"
#include "CPortSetup/TComSetupFrm.h"
#include "PtyPeer.h"
#include "support/WaitFor.h"
#include "support/WindowDriver.h"

namespace {

TEST(StablePortName, IsWhatOpensAndWhatTheNextStartHas) {
  PtyPeer adapter;
  QTemporaryDir byId;
  const QString stable = byId.filePath("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  ASSERT_TRUE(QFile::link(adapter.SlavePath(), stable));
  QString listedAs;
  {
    TFrm_WD10 window;
    WindowDriver driver(window);
    window.RadioButton18->setChecked(true);
    // The user picks the adapter in the dialog's list, which shows it by its stable name.
    TComSetupFrm::SetExecHook([&](TComSetupFrm& form) {
      form.Combo1->SetByIdDir(byId.path());
      form.Combo1->SetText(stable);
      listedAs = form.Combo1->currentText();
      return int(QDialog::Accepted);
    });
    driver.Click(window.Button1);
    EXPECT_TRUE(listedAs.startsWith("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 ("));
    EXPECT_EQ(window.ComPort1->Port(), stable);
    ASSERT_TRUE(WaitFor([&] { return adapter.ReceivedData() == QByteArray::fromHex("60"); }));
    driver.Click(window.Button3);
    ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  }
  TFrm_WD10 next;
  next.show();
  ASSERT_TRUE(WaitFor([&] { return next.RadioButton18->isChecked(); }));
  EXPECT_EQ(next.ComPort1->Port(), stable);
}

}  // namespace
