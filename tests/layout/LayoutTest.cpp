// Every window at a large desktop font and (run a second time by ctest) at twice the scale: no
// label, button, list or panel title is narrower than its text; every control a keyboard user
// can reach has a name in the accessibility tree, and Tab moves in reading order, down the left
// column, then down the right one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTest>
#include <algorithm>
#include <set>

#include "platform/FitToFont.h"
#include "platform/KeepOnScreen.h"
#include "serialwidgets/PortSettingsDialog.h"
#include "support/TestedWindow.h"
#include "support/WaitFor.h"

// What a failed placement shows.
void PrintTo(const QRect& rect, std::ostream* out) {
  *out << rect.x() << ',' << rect.y() << ' ' << rect.width() << 'x' << rect.height();
}

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

// What a window's controls are placed on: the canvas of a window that scrolls on a small screen,
// wherever it is scrolled to.
QWidget& Canvas(QWidget& window) {
  const auto* scroller = window.findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
  return scroller ? *scroller->widget() : window;
}

void ExpectNamedInReadingOrder(QWidget& window, int rightColumnFrom) {
  QWidget& canvas = Canvas(window);
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
    const QPoint at = stop->mapTo(&canvas, QPoint(0, 0));
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
  TestedWindow window;
  ExpectLaidOut(window, "selection", 700);
  window.CentralButton(CentralType::Srcp)->setChecked(true);
  ExpectLaidOut(window, "selection-srcp", 700);
  window.selectionPanel->hide();
  window.programmingPanel->show();
  window.signalsPanel->show();
  ExpectLaidOut(window, "programming", 700);
  window.CentralButton(CentralType::P50X)->setChecked(true);
  window.firstAddressEdit->SetValue(2033);
  window.programButton->hide();
  window.nextDecoderButton->show();
  window.closeButton->show();
  ExpectLaidOut(window, "programming-p50x", 700);
}

TEST_P(Layout, TheOtherWindows) {
  PortSettingsDialog dialog;
  ExpectLaidOut(dialog, "port-settings");
  AboutBox about;
  about.ShowValue(StationVersionField::Serial, "0012345678");
  ExpectLaidOut(about, "about");
  TestedWindow window;
  DecoderListWindow& list = window.ListWindow();
  list.AddRow();
  list.AddRow();
  ExpectLaidOut(list, "decoder-list");
}

// Opened after its last place has gone with a monitor to the right, or for the first time, the
// main window lies whole on a screen, however much the font or the scale made it grow (ctest runs
// this once more on a 2400 x 1600 screen at 200 %).
TEST_P(Layout, MainWindowOpensWholeOnAScreen) {
  for (const bool remembered : {false, true}) {
    SCOPED_TRACE(remembered ? "last place on a monitor that is gone" : "first start");
    if (remembered) {
      TestedWindow before;
      before.show();
      before.move(QGuiApplication::primaryScreen()->geometry().topRight() + QPoint(300, 200));
      before.close();
      ASSERT_TRUE(WaitFor([&] { return !before.isVisible(); }));
    }
    TestedWindow window;
    window.show();
    QApplication::processEvents();
    const QRect placed = window.frameGeometry();
    const QList<QScreen*> screens = QGuiApplication::screens();
    EXPECT_TRUE(std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
      return screen->availableGeometry().contains(placed);
    })) << testing::PrintToString(placed);
  }
}

INSTANTIATE_TEST_SUITE_P(DesktopAndLargeFont, Layout, testing::Values(0, 14));

// On a screen smaller than the window (ctest runs this on an 800 x 480 one) the window keeps to
// the screen, and Tab brings every control into view in turn, the last ones of the programming
// panel included; the pointer reaches the rest with the scroll bars.
TEST(SmallScreen, EveryControlCanBeReached) {
  TestedWindow window;
  window.show();
  QApplication::processEvents();
  const QRect screen = window.screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window.frameGeometry())) << testing::PrintToString(screen);
  window.selectionPanel->hide();
  window.programmingPanel->show();
  window.signalsPanel->show();
  window.programButton->hide();
  window.nextDecoderButton->show();
  window.closeButton->show();
  window.activateWindow();
  window.nextDecoderButton->setFocus();
  QApplication::processEvents();

  std::set<QWidget*> reached;
  for (int tab = 0; tab < 40; ++tab) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_TRUE(focused);
    reached.insert(focused);
    // A control in view shows itself whole; a log larger than what a small screen leaves shows
    // where its cursor is, its top left.
    const QRect shown(focused->mapTo(&window, QPoint(0, 0)), focused->size());
    const QRect seen = shown & window.rect();
    EXPECT_TRUE(seen == shown ||
                (seen.topLeft() == shown.topLeft() && seen.width() >= 16 && seen.height() >= 16))
        << Describe(focused) << " at " << testing::PrintToString(shown) << " out of view";
    QTest::keyClick(focused, Qt::Key_Tab);
  }
  for (QWidget* control :
       std::initializer_list<QWidget*>{window.nextDecoderButton, window.closeButton,
                                       window.decoderListButton, window.firstAddressEdit}) {
    QWidget* takesFocus = control->focusProxy() ? control->focusProxy() : control;
    EXPECT_TRUE(reached.count(takesFocus)) << Describe(control) << " never reached by Tab";
  }
}

struct Placement {
  const char* what;
  QRect wanted;
  QList<QRect> screens;
  int primary;
  QRect placed;
};

// Screens side by side as a desktop lays them out; the second one's panel takes its top 30 pixels.
const QRect kLaptop(0, 0, 1200, 800);
const QRect kMonitor(1200, 30, 1920, 1050);

// clang-format off
const Placement kPlacements[] = {
    {"fits where it is wanted", {200, 110, 975, 560}, {kLaptop}, 0, {200, 110, 975, 560}},
    {"right part beyond the edge", {254, 110, 1000, 600}, {kLaptop}, 0, {200, 110, 1000, 600}},
    {"bottom beyond the edge", {10, 500, 975, 560}, {kLaptop}, 0, {10, 240, 975, 560}},
    {"above and left of the screen", {-50, -20, 975, 560}, {kLaptop}, 0, {0, 0, 975, 560}},
    {"under its panel", {1500, 0, 975, 560}, {kLaptop, kMonitor}, 0, {1500, 30, 975, 560}},
    {"mostly on the monitor", {1000, 100, 975, 560}, {kLaptop, kMonitor}, 0, {1200, 100, 975, 560}},
    {"on a monitor that is gone", {2500, 300, 975, 560}, {kLaptop}, 0, {225, 240, 975, 560}},
    {"beyond the monitor on the right", {3500, 300, 975, 560}, {kMonitor, kLaptop}, 1,
     {2145, 300, 975, 560}},
    {"below the monitor: the nearer, not the primary", {1300, 2000, 975, 560}, {kLaptop, kMonitor},
     0, {1300, 520, 975, 560}},
    {"larger than the screen", {254, 110, 1300, 900}, {kLaptop}, 0, {0, 0, 1200, 800}},
    {"no screens known", {254, 110, 975, 560}, {}, 0, {254, 110, 975, 560}},
};
// clang-format on

TEST(KeepOnScreen, TheWholeWindowOnTheScreenThatHasMostOfIt) {
  for (const Placement& p : kPlacements) {
    SCOPED_TRACE(p.what);
    EXPECT_EQ(PlaceOnScreens(p.wanted, p.screens, p.primary), p.placed);
  }
}

}  // namespace
