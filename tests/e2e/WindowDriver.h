// Drives the real main window in end-to-end tests: the settings dialog is accepted as it
// stands, so the port the test set is the port that opens.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include "CPortSetup/TComSetupFrm.h"
#include "WD10/TFrm_WD10.h"
#include "platform/TTimer.h"

class WindowDriver {
 public:
  explicit WindowDriver(TFrm_WD10& window) : window_(window) {
    TComSetupFrm::SetExecHook([](TComSetupFrm&) { return int(QDialog::Accepted); });
    // The four-second step pause is the program's; tests only shorten it on this window.
    window_.Timer4->SetInterval(20);
    window_.show();
  }
  ~WindowDriver() { TComSetupFrm::SetExecHook(nullptr); }

  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

 private:
  TFrm_WD10& window_;
};
