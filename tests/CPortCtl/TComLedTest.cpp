#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <memory>
#include <vector>

#include "CPort/EComPort.h"
#include "CPort/MemoryDevice.h"
#include "CPort/TComPort.h"
#include "CPortCtl/LedGlyphs.h"
#include "CPortCtl/TComLed.h"
#include "support/WaitFor.h"

namespace {

QRgb PixelOf(QWidget& widget, int x, int y) {
  return widget.grab().toImage().pixel(x, y);
}

QRgb GlyphPixel(const QPixmap& glyph, int x, int y) {
  return glyph.toImage().pixel(x, y);
}

// The centre of a 25 x 25 lamp is the centre (7, 7) of its glyph.
QRgb Centre(TComLed& led) {
  return PixelOf(led, 12, 12);
}
QRgb GlyphCentre(TLedKind kind, TLedState state) {
  return GlyphPixel(LedGlyph(kind, state), 7, 7);
}

TEST(LedGlyphs, EveryKindHasDistinctLitAndUnlitLampsOnATransparentGround) {
  for (TLedKind kind :
       {lkRedLight, lkGreenLight, lkBlueLight, lkYellowLight, lkPurpleLight, lkBulb}) {
    for (TLedState state : {lsOff, lsOn}) {
      const QImage glyph = LedGlyph(kind, state).toImage();
      EXPECT_EQ(glyph.size(), QSize(kLedGlyphSize, kLedGlyphSize));
      EXPECT_EQ(qAlpha(glyph.pixel(0, 0)), 0) << kind;
      EXPECT_EQ(qAlpha(glyph.pixel(7, 7)), 255) << kind;
    }
    EXPECT_NE(GlyphCentre(kind, lsOn), GlyphCentre(kind, lsOff)) << kind;
    // A lit lamp is brighter than an unlit one.
    EXPECT_GT(qGray(GlyphCentre(kind, lsOn)), qGray(GlyphCentre(kind, lsOff))) << kind;
  }
  EXPECT_NE(GlyphCentre(lkRedLight, lsOn), GlyphCentre(lkGreenLight, lsOn));
  EXPECT_TRUE(LedGlyph(lkCustom, lsOn).isNull());
}

TEST(TComLed, AnUnboundLampTakesItsStateFromTheProgram) {
  TComLed led;
  led.SetKind(lkGreenLight);
  std::vector<TLedState> changes;
  led.OnChange = [&](QObject* sender, TLedState state) {
    EXPECT_EQ(sender, &led);
    changes.push_back(state);
  };
  led.SetState(lsOn);
  EXPECT_EQ(Centre(led), GlyphCentre(lkGreenLight, lsOn));
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&led);
  EXPECT_EQ(access->text(QAccessible::Name), "Verbinding");
  EXPECT_EQ(access->text(QAccessible::Description), "aan");
  led.SetState(lsOn);  // told again, although nothing changed
  led.SetState(lsOff);
  EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOn, lsOff}));
  EXPECT_EQ(Centre(led), GlyphCentre(lkGreenLight, lsOff));
}

TEST(TComLed, ADisabledLampShowsItsUnlitGlyphWhateverItsState) {
  TComLed led;
  led.SetKind(lkBulb);
  led.SetState(lsOn);
  led.SetEnabled(false);
  EXPECT_EQ(led.State(), lsOn);
  EXPECT_EQ(Centre(led), GlyphCentre(lkBulb, lsOff));
  led.SetEnabled(true);
  EXPECT_EQ(Centre(led), GlyphCentre(lkBulb, lsOn));
}

TEST(TComLed, CentresTheGlyphAndPinsItToTheCornerWhenThereIsNoRoom) {
  TComLed led;
  led.SetState(lsOn);
  const QPixmap glyph = LedGlyph(lkRedLight, lsOn);
  led.resize(40, 30);  // glyph at (12, 7)
  EXPECT_EQ(PixelOf(led, 12 + 7, 7 + 7), GlyphPixel(glyph, 7, 7));
  EXPECT_EQ(PixelOf(led, 12 + 4, 7 + 4), GlyphPixel(glyph, 4, 4));
  led.resize(10, 10);  // glyph at (0, 0), cut off
  EXPECT_EQ(PixelOf(led, 4, 4), GlyphPixel(glyph, 4, 4));
}

TEST(TComLed, TakesCustomGlyphsOnlyAsCustomKindWithTheLowerLeftColourSeeThrough) {
  QPixmap custom(15, 15);
  custom.fill(Qt::magenta);
  {
    QPainter painter(&custom);
    painter.fillRect(5, 5, 5, 5, Qt::blue);
  }
  TComLed led;
  led.SetGlyphOff(custom);  // ignored: the lamp is of a built-in kind
  EXPECT_EQ(Centre(led), GlyphCentre(lkRedLight, lsOff));

  led.SetKind(lkCustom);
  led.SetGlyphOff(custom);
  EXPECT_EQ(Centre(led), QColor(Qt::blue).rgb());
  const QRgb ground = PixelOf(led, 0, 0);
  EXPECT_EQ(PixelOf(led, 5, 5), ground);  // the magenta corner of the glyph
  EXPECT_NE(ground, QColor(Qt::magenta).rgb());
}

// A lamp bound to a port on an in-memory line, whose signals the tests switch.
class BoundLed : public testing::Test {
 protected:
  void SetUp() override {
    port.UseDevice(std::make_unique<MemoryDevice>(line));
    port.SetPort("/dev/ttyMemory0");
    led.OnChange = [this](QObject*, TLedState state) { changes.push_back(state); };
  }

  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  TComPort port;
  TComLed led;  // goes before the port, so it unbinds from a living one
  std::vector<TLedState> changes;
};

TEST_F(BoundLed, ConnectionLampFollowsOpenAndClose) {
  led.SetKind(lkGreenLight);
  port.Open();
  led.SetComPort(&port);
  EXPECT_EQ(led.State(), lsOn);
  EXPECT_EQ(Centre(led), GlyphCentre(lkGreenLight, lsOn));
  port.Close();
  EXPECT_EQ(led.State(), lsOff);
  EXPECT_EQ(Centre(led), GlyphCentre(lkGreenLight, lsOff));
  port.Open();
  EXPECT_EQ(led.State(), lsOn);
}

TEST_F(BoundLed, LineSignalLampFollowsTheLine) {
  led.SetLedSignal(lsCTS);
  EXPECT_EQ(led.accessibleName(), "CTS");
  line->SetSignal(csCTS, true);
  port.Open();
  led.SetComPort(&port);
  EXPECT_EQ(led.State(), lsOn);  // read from the port when bound

  line->SetSignal(csCTS, false);
  EXPECT_TRUE(WaitFor([&] { return led.State() == lsOff; }));
  line->SetSignal(csCTS, true);
  EXPECT_TRUE(WaitFor([&] { return led.State() == lsOn; }));
  port.Close();
  EXPECT_EQ(led.State(), lsOff);
}

TEST_F(BoundLed, RingLightsTheLampForRingDurationOnly) {
  led.SetLedSignal(lsRing);
  led.SetRingDuration(50);
  port.Open();
  led.SetComPort(&port);
  changes.clear();

  line->SetSignal(csRing, true);
  EXPECT_TRUE(WaitFor([&] { return changes.size() >= 2; }));
  EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOff}));
  EXPECT_EQ(led.State(), lsOff);
}

TEST_F(BoundLed, StateBelongsToThePortWhileBound) {
  port.Open();
  led.SetComPort(&port);
  try {
    led.SetState(lsOff);
    FAIL() << "no exception";
  } catch (const EComPort& error) {
    EXPECT_EQ(error.ErrorCode(), 19);
    EXPECT_EQ(error.Message(), "Cannot change led state if ComPort is selected");
  }
  EXPECT_EQ(led.State(), lsOn);

  led.SetComPort(nullptr);
  EXPECT_EQ(led.State(), lsOff);
  led.SetState(lsOn);
  EXPECT_EQ(led.State(), lsOn);
  port.Close();  // no longer listening
  EXPECT_EQ(led.State(), lsOn);
}

TEST_F(BoundLed, BindingToAClosedPortShowsTheLampOff) {
  led.SetState(lsOn);
  led.SetComPort(&port);
  EXPECT_EQ(led.State(), lsOff);
}

TEST_F(BoundLed, UnbindsItselfWhenThePortIsDestroyed) {
  auto own = std::make_unique<TComPort>();
  own->UseDevice(std::make_unique<MemoryDevice>());
  own->Open();
  led.SetComPort(own.get());
  ASSERT_EQ(led.State(), lsOn);
  own.reset();
  EXPECT_EQ(led.ComPort(), nullptr);
  EXPECT_EQ(led.State(), lsOff);
  led.SetState(lsOn);
  EXPECT_EQ(led.State(), lsOn);
}

// The transmit lamp is switched from inside Write. Nothing else may run there: a queued call
// (a serial batch, a timer, a click) that ran mid-write could use the port under the writer.
TEST_F(BoundLed, ShowsTheTransmitSignalWithoutRunningOtherWorkInsideWrite) {
  led.SetLedSignal(lsTx);
  led.show();
  port.Open();
  led.SetComPort(&port);
  bool queuedRan = false;
  bool litWhileQueued = false;
  QTimer::singleShot(0, [&] { queuedRan = true; });
  led.OnChange = [&](QObject*, TLedState state) {
    if (state == lsOn) litWhileQueued = !queuedRan;
  };

  EXPECT_EQ(port.WriteStr("\x90"), 1);
  EXPECT_TRUE(litWhileQueued);
  EXPECT_FALSE(queuedRan);
  EXPECT_TRUE(WaitFor([&] { return queuedRan; }));
}

}  // namespace
