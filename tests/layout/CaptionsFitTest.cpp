// Every caption of the main window and of both dialogs shows whole with a large desktop font and
// (run a second time by ctest) at twice the scale: no label, button or panel title is narrower
// than its text. With SORVELL_LAYOUT_SHOTS set to a folder, each window is saved there as a PNG
// to be looked at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include "About/TAboutBox.h"
#include "CPortSetup/TComSetupFrm.h"
#include "WD10/TFrm_WD10.h"
#include "WD10/TSpinEdit.h"
#include "platform/FitToFont.h"

namespace {

QString Describe(const QWidget* widget, const QString& text) {
  return QStringLiteral("%1 \"%2\"").arg(widget->metaObject()->className(), text);
}

void ExpectCaptionsFit(QWidget& window, const QString& shotName) {
  window.show();
  QApplication::processEvents();
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (!label->isVisibleTo(&window) || label->text().isEmpty() || label->wordWrap()) continue;
    EXPECT_LE(CaptionWidth(*label, label->text()), label->contentsRect().width())
        << Describe(label, label->text()).toStdString();
  }
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(&window) || button->text().isEmpty()) continue;
    EXPECT_LE(button->sizeHint().width(), button->width())
        << Describe(button, button->text()).toStdString();
  }
  for (const QComboBox* combo : window.findChildren<QComboBox*>()) {
    if (!combo->isVisibleTo(&window)) continue;
    EXPECT_LE(combo->minimumSizeHint().width(), combo->width())
        << Describe(combo, combo->currentText()).toStdString();
  }
  for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
    if (!group->isVisibleTo(&window) || group->title().isEmpty()) continue;
    // The title sits inside the frame, with the style's indent on either side.
    const int needed = CaptionWidth(*group, group->title()) +
                       2 * group->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    EXPECT_LE(needed, group->width()) << Describe(group, group->title()).toStdString();
  }
  const QByteArray shots = qgetenv("SORVELL_LAYOUT_SHOTS");
  if (!shots.isEmpty())
    window.grab().save(QDir(QString::fromLocal8Bit(shots)).filePath(shotName + ".png"));
}

class CaptionsFit : public testing::Test {
 protected:
  CaptionsFit() {
    QFont font = QApplication::font();
    font.setPointSize(14);
    QApplication::setFont(font);
  }
  ~CaptionsFit() override { QApplication::setFont(saved_); }

 private:
  QFont saved_ = QApplication::font();
};

TEST_F(CaptionsFit, MainWindowInEachState) {
  TFrm_WD10 window;
  ExpectCaptionsFit(window, "selection");
  window.RadioButton19->setChecked(true);
  ExpectCaptionsFit(window, "selection-srcp");
  window.GroupBox1->hide();
  window.GroupBox2->show();
  window.GroupBox5->show();
  ExpectCaptionsFit(window, "programming");
  window.RadioButton16->setChecked(true);
  window.SpinEdit1->SetValue(2033);
  window.Button2->hide();
  window.Button3->show();
  ExpectCaptionsFit(window, "programming-p50x");
}

TEST_F(CaptionsFit, PortSettingsDialog) {
  TComSetupFrm dialog;
  ExpectCaptionsFit(dialog, "port-settings");
}

TEST_F(CaptionsFit, AboutWindow) {
  TAboutBox about;
  about.ShowValue(StationVersionField::Serial, QStringLiteral("0012345678"));
  ExpectCaptionsFit(about, "about");
}

}  // namespace
