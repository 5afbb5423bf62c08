// Every control a keyboard user can reach has a name in the accessibility tree, and Tab moves
// through the windows in reading order: down the left column, then down the right one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <cstdlib>

#include "About/TAboutBox.h"
#include "CPortSetup/TComSetupFrm.h"
#include "WD10/TFrm_WD10.h"

namespace {

// The controls Tab stops at, in the order it stops. A widget that lends its focus to another
// (a spin box to its editor) counts as the one named in the tree.
std::vector<QWidget*> TabStops(QWidget& window) {
  std::vector<QWidget*> stops;
  QWidget* widget = &window;
  do {
    widget = widget->nextInFocusChain();
    if (widget == &window) break;
    if (!widget->isVisibleTo(&window) || !widget->isEnabled() || widget->focusProxy() ||
        !(widget->focusPolicy() & Qt::TabFocus))
      continue;
    // Inside a group of radio buttons Tab stops at the checked one only.
    if (const auto* radio = qobject_cast<QRadioButton*>(widget); radio && !radio->isChecked())
      continue;
    QWidget* named = widget;
    while (named->parentWidget() && named->parentWidget()->focusProxy() == named)
      named = named->parentWidget();
    stops.push_back(named);
  } while (stops.size() < 200);
  return stops;
}

QString Describe(const QWidget* widget) {
  QAccessibleInterface* accessible =
      QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget));
  return QStringLiteral("%1 \"%2\"")
      .arg(widget->metaObject()->className(),
           accessible ? accessible->text(QAccessible::Name) : "");
}

void ExpectNamedInReadingOrder(QWidget& window, int rightColumnFrom) {
  window.show();
  QApplication::processEvents();
  const std::vector<QWidget*> stops = TabStops(window);
  ASSERT_FALSE(stops.empty());
  QPoint previous(-1, -1);
  bool rightColumn = false;
  for (QWidget* stop : stops) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(stop);
    ASSERT_NE(accessible, nullptr);
    EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty())
        << Describe(stop).toStdString();
    const QPoint at = stop->mapTo(&window, QPoint(0, 0));
    const bool right = at.x() >= rightColumnFrom;
    if (right != rightColumn) {
      EXPECT_TRUE(right) << "back to the left column at " << Describe(stop).toStdString();
      rightColumn = right;
    } else {
      // Controls whose tops lie within a line of each other stand on one row.
      constexpr int kLine = 12;
      const bool sameRow = std::abs(at.y() - previous.y()) < kLine;
      EXPECT_TRUE(sameRow ? at.x() > previous.x() : at.y() > previous.y())
          << Describe(stop).toStdString() << " out of reading order";
    }
    previous = at;
  }
}

TEST(KeyboardAndNames, MainWindowInEachState) {
  TFrm_WD10 window;
  ExpectNamedInReadingOrder(window, 700);
  window.RadioButton19->setChecked(true);
  ExpectNamedInReadingOrder(window, 700);
  window.GroupBox1->hide();
  window.GroupBox2->show();
  window.GroupBox5->show();
  window.RadioButton16->setChecked(true);
  ExpectNamedInReadingOrder(window, 700);
}

TEST(KeyboardAndNames, Dialogs) {
  TComSetupFrm dialog;
  ExpectNamedInReadingOrder(dialog, 1 << 20);
  TAboutBox about;
  ExpectNamedInReadingOrder(about, 1 << 20);
}

}  // namespace
