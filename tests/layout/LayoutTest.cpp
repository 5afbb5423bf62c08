// Every window at a large desktop font and (run a second time by ctest) at twice the scale: no
// label, button, list or panel title is narrower than its text; every control a keyboard user
// can reach has a name in the accessibility tree, and Tab moves in reading order, down the left
// column, then down the right one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "About/TAboutBox.h"
#include "CPortSetup/TComSetupFrm.h"
#include "WD10/TFrm_WD10.h"
#include "WD10/TSpinEdit.h"
#include "platform/FitToFont.h"

namespace {

std::string Describe(QWidget* widget) {
  const QAccessibleInterface* named = QAccessible::queryAccessibleInterface(widget);
  return widget->metaObject()->className() +
         (" \"" + (named ? named->text(QAccessible::Name) : "") + '"').toStdString();
}

void ExpectCaptionsFit(QWidget& window) {
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    int needed = 0;
    int width = widget->width();
    if (const auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap()) {
      needed = CaptionWidth(*label, label->text());
      width = label->contentsRect().width();
    } else if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
      needed = button->text().isEmpty() ? 0 : button->sizeHint().width();
    } else if (const auto* combo = qobject_cast<QComboBox*>(widget)) {
      needed = combo->minimumSizeHint().width();
    } else if (const auto* group = qobject_cast<QGroupBox*>(widget);
               group && !group->title().isEmpty()) {
      // The title sits inside the frame, with the style's indent on either side.
      needed = CaptionWidth(*group, group->title()) +
               2 * group->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    }
    EXPECT_TRUE(!widget->isVisibleTo(&window) || needed <= width) << Describe(widget);
  }
}

void ExpectNamedInReadingOrder(QWidget& window, int rightColumnFrom) {
  QPoint previous(-1, -1);
  bool rightColumn = false;
  int stops = 0;
  for (QWidget* widget = window.nextInFocusChain(); widget != &window && stops < 200;
       widget = widget->nextInFocusChain()) {
    // Tab stops at the checked one of a group of radio buttons only.
    const auto* radio = qobject_cast<QRadioButton*>(widget);
    if (!widget->isVisibleTo(&window) || !widget->isEnabled() || widget->focusProxy() ||
        !(widget->focusPolicy() & Qt::TabFocus) || (radio && !radio->isChecked()))
      continue;
    ++stops;
    // A widget that lends its focus to another (a spin box to its editor) is the one named.
    QWidget* stop = widget;
    while (stop->parentWidget() && stop->parentWidget()->focusProxy() == stop)
      stop = stop->parentWidget();
    const QAccessibleInterface* named = QAccessible::queryAccessibleInterface(stop);
    EXPECT_TRUE(named && !named->text(QAccessible::Name).trimmed().isEmpty()) << Describe(stop);
    const QPoint at = stop->mapTo(&window, QPoint(0, 0));
    if (const bool right = at.x() >= rightColumnFrom; right != rightColumn) {
      EXPECT_TRUE(right) << "back to the left column at " << Describe(stop);
      rightColumn = right;
    } else {
      // Controls whose tops lie within a line of each other stand on one row.
      const bool sameRow = std::abs(at.y() - previous.y()) < 12;
      EXPECT_TRUE(sameRow ? at.x() > previous.x() : at.y() > previous.y())
          << Describe(stop) << " out of reading order";
    }
    previous = at;
  }
  EXPECT_GT(stops, 0);
}

// Each window once at the desktop's font and once at a large one. The reading order is the
// desktop font's: at the large one the wider captions push the server field past the column line.
class Layout : public testing::TestWithParam<int> {
 protected:
  Layout() {
    QFont font = saved_;
    if (GetParam() > 0) font.setPointSize(GetParam());
    QApplication::setFont(font);
  }
  ~Layout() override { QApplication::setFont(saved_); }

  void ExpectLaidOut(QWidget& window, const QString& shotName, int rightColumnFrom = 1 << 20) {
    SCOPED_TRACE(shotName.toStdString());
    window.show();
    QApplication::processEvents();
    ExpectCaptionsFit(window);
    if (GetParam() == 0) ExpectNamedInReadingOrder(window, rightColumnFrom);
  }

  const QFont saved_ = QApplication::font();
};

TEST_P(Layout, MainWindowInEachState) {
  TFrm_WD10 window;
  ExpectLaidOut(window, "selection", 700);
  window.RadioButton19->setChecked(true);
  ExpectLaidOut(window, "selection-srcp", 700);
  window.GroupBox1->hide();
  window.GroupBox2->show();
  window.GroupBox5->show();
  ExpectLaidOut(window, "programming", 700);
  window.RadioButton16->setChecked(true);
  window.SpinEdit1->SetValue(2033);
  window.Button2->hide();
  window.Button3->show();
  ExpectLaidOut(window, "programming-p50x", 700);
}

TEST_P(Layout, Dialogs) {
  TComSetupFrm dialog;
  ExpectLaidOut(dialog, "port-settings");
  TAboutBox about;
  about.ShowValue(StationVersionField::Serial, "0012345678");
  ExpectLaidOut(about, "about");
}

INSTANTIATE_TEST_SUITE_P(DesktopAndLargeFont, Layout, testing::Values(0, 14));

}  // namespace
