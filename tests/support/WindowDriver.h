// Drives the real main window as a user does, for the end-to-end tests, the soak and the
// simulator tool's tests: the settings dialog is accepted as it stands, so the port the test set
// is the port that opens; the program's fixed pauses are shortened on this window only.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

#include "p50x/P50XLink.h"
#include "serialwidgets/PortSettingsDialog.h"
#include "support/TestedWindow.h"
#include "window/LinkFactory.h"

// The connection log's last line after a run the station carried out.
inline const QString kProgrammed = QStringLiteral("Druk op de programmeerknop van de WD10");

class WindowDriver {
 public:
  // Interface detection's break and probe pauses, capped: a simulator answers well within.
  static constexpr int kLongestDetectionSleepMs = 40;

  explicit WindowDriver(TestedWindow& window) : window_(window) {
    PortSettingsDialog::SetAnswerHook([](PortSettingsDialog& form) { form.accept(); });
    SetLinkMadeHook([](CommandStationLink& link) {
      if (auto* p50x = dynamic_cast<P50XLink*>(&link))
        p50x->SetPauseLength([](int ms) { return std::min(ms, kLongestDetectionSleepMs); });
    });
    // The four-second step pause: a station's confirmations must still arrive within it on a
    // loaded machine or under the sanitizers.
    window_.stepPauseTimer->setInterval(100);
    window_.show();
  }
  ~WindowDriver() {
    PortSettingsDialog::SetAnswerHook(nullptr);
    SetLinkMadeHook(nullptr);
  }
  WindowDriver(const WindowDriver&) = delete;
  WindowDriver& operator=(const WindowDriver&) = delete;

  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  // Chooses a central type by its button, as the user does.
  void Choose(QRadioButton* central) { central->setChecked(true); }

 private:
  TestedWindow& window_;
};
