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
// The centre of a 25 x 25 lamp is the centre (7, 7) of its glyph.
QRgb Centre(TComLed& led) {
  return PixelOf(led, 12, 12);
}
QRgb GlyphCentre(TLedKind kind, TLedState state) {
  return LedGlyph(kind, state).toImage().pixel(7, 7);
}

TEST(LedGlyphs, EveryKindHasABrighterLitLampOnATransparentGround) {
  for (TLedKind kind :
       {lkRedLight, lkGreenLight, lkBlueLight, lkYellowLight, lkPurpleLight, lkBulb}) {
    for (TLedState state : {lsOff, lsOn}) {
      const QImage glyph = LedGlyph(kind, state).toImage();
      EXPECT_EQ(glyph.size(), QSize(kLedGlyphSize, kLedGlyphSize));
      EXPECT_EQ(qAlpha(glyph.pixel(0, 0)), 0) << kind;
      EXPECT_EQ(qAlpha(glyph.pixel(7, 7)), 255) << kind;
    }
    EXPECT_GT(qGray(GlyphCentre(kind, lsOn)), qGray(GlyphCentre(kind, lsOff))) << kind;
  }
  EXPECT_NE(GlyphCentre(lkRedLight, lsOn), GlyphCentre(lkGreenLight, lsOn));
  EXPECT_TRUE(LedGlyph(lkCustom, lsOn).isNull());
}

TEST(TComLed, AnUnboundLampTakesItsStateFromTheProgram) {
  TComLed led;
  led.SetKind(lkGreenLight);
  led.SetRingDuration(10);  // no ring came: nothing may switch the lamp off
  std::vector<TLedState> changes;
  led.OnChange = [&](QObject*, TLedState state) { changes.push_back(state); };
  led.SetState(lsOn);
  EXPECT_EQ(Centre(led), GlyphCentre(lkGreenLight, lsOn));
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&led);
  EXPECT_EQ(access->text(QAccessible::Name), "Verbinding");
  EXPECT_EQ(access->text(QAccessible::Description), "aan");
  WaitFor([] { return false; }, 50);
  led.SetState(lsOn);  // told again, although nothing changed
  EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOn}));
  led.SetEnabled(false);  // a disabled lamp shows unlit whatever its state
  EXPECT_EQ(Centre(led), GlyphCentre(lkGreenLight, lsOff));
}

TEST(TComLed, CentresItsGlyphAndTakesCustomGlyphsWithTheLowerLeftColourSeeThrough) {
  TComLed led;
  led.SetState(lsOn);
  led.resize(40, 30);  // glyph at (12, 7)
  EXPECT_EQ(PixelOf(led, 12 + 7, 7 + 7), GlyphCentre(lkRedLight, lsOn));
  QPixmap custom(15, 15);
  custom.fill(Qt::magenta);
  QPainter(&custom).fillRect(5, 5, 5, 5, Qt::blue);
  led.resize(25, 25);
  led.SetGlyphOn(custom);  // ignored: the lamp is of a built-in kind
  EXPECT_EQ(Centre(led), GlyphCentre(lkRedLight, lsOn));
  led.SetKind(lkCustom);
  led.SetGlyphOn(custom);
  EXPECT_EQ(Centre(led), QColor(Qt::blue).rgb());
  EXPECT_EQ(PixelOf(led, 5, 5), PixelOf(led, 0, 0));  // the magenta corner of the glyph
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

TEST_F(BoundLed, ConnectionLampFollowsThePortWhichOwnsItsState) {
  led.SetState(lsOn);
  led.SetComPort(&port);
  EXPECT_EQ(led.State(), lsOff);  // bound to a closed port
  port.Open();
  EXPECT_EQ(led.State(), lsOn);
  try {
    led.SetState(lsOff);
    ADD_FAILURE() << "no exception";
  } catch (const EComPort& error) {
    EXPECT_EQ(error.Message(), "Cannot change led state if ComPort is selected");
  }
  EXPECT_EQ(led.State(), lsOn);
  port.Close();
  EXPECT_EQ(led.State(), lsOff);

  auto own = std::make_unique<TComPort>();
  own->UseDevice(std::make_unique<MemoryDevice>());
  own->Open();
  led.SetComPort(own.get());
  own.reset();
  EXPECT_EQ(led.ComPort(), nullptr);
  EXPECT_EQ(led.State(), lsOff);
  led.SetState(lsOn);
  EXPECT_EQ(led.State(), lsOn);
}

TEST_F(BoundLed, SignalLampsFollowTheLineAndRingOnlyForItsDuration) {
  led.SetLedSignal(lsCTS);
  EXPECT_EQ(led.accessibleName(), "CTS");
  line->SetSignal(csCTS, true);
  port.Open();
  led.SetComPort(&port);
  EXPECT_EQ(led.State(), lsOn);  // read from the port when bound
  line->SetSignal(csCTS, false);
  EXPECT_TRUE(WaitFor([&] { return led.State() == lsOff; }));

  led.SetLedSignal(lsRing);
  led.SetRingDuration(50);
  changes.clear();
  line->SetSignal(csRing, true);
  EXPECT_TRUE(WaitFor([&] { return changes.size() >= 2; }));
  EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOff}));
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
