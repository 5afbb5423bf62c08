// The port's lamps: the connection lamp follows the port and is heard as it shows, and the
// transmit lamp lights from inside Write without running other work there.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <memory>
#include <vector>

#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortError.h"
#include "serialwidgets/LedGlyphs.h"
#include "serialwidgets/LineLed.h"
#include "support/WaitFor.h"

namespace {

// A lamp and a port on an in-memory line.
class Led : public testing::Test {
 protected:
  Led() {
    port.UseDevice(std::make_unique<MemoryDevice>(line));
    led.OnChange = [this](QObject*, LedState state) { changes.push_back(state); };
  }
  // The centre of a 25 x 25 lamp is the centre (7, 7) of its glyph.
  bool Shows(LedState state) {
    return led.grab().toImage().pixel(12, 12) == LedGlyph(led.Kind(), state).toImage().pixel(7, 7);
  }

  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  SerialPort port;
  LineLed led;  // goes before the port, so it unbinds from a living one
  std::vector<LedState> changes;
};

TEST_F(Led, ConnectionLampFollowsThePortWhichOwnsItsState) {
  led.SetState(lsOn);
  led.SetComPort(&port);
  EXPECT_EQ(led.State(), lsOff);  // bound to a closed port
  port.Open();
  EXPECT_EQ(led.State(), lsOn);
  EXPECT_TRUE(Shows(lsOn));
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&led);
  EXPECT_EQ(access->text(QAccessible::Name), "Verbinding");
  EXPECT_EQ(access->text(QAccessible::Description), "aan");
  EXPECT_THROW(led.SetState(lsOff), SerialPortError);
  port.Close();
  EXPECT_EQ(changes, (std::vector<LedState>{lsOn, lsOff, lsOn, lsOff}));

  auto own = std::make_unique<SerialPort>();
  own->UseDevice(std::make_unique<MemoryDevice>());
  own->Open();
  led.SetComPort(own.get());
  own.reset();
  EXPECT_EQ(led.ComPort(), nullptr);
  led.SetState(lsOn);
  EXPECT_EQ(led.State(), lsOn);
}

// The transmit lamp is switched from inside Write. Nothing else may run there: a queued call
// (a serial batch, a timer, a click) that ran mid-write could use the port under the writer.
TEST_F(Led, ShowsTheTransmitSignalWithoutRunningOtherWorkInsideWrite) {
  led.SetLedSignal(lsTx);
  led.show();
  port.Open();
  led.SetComPort(&port);
  bool queuedRan = false, litWhileQueued = false;
  QTimer::singleShot(0, [&] { queuedRan = true; });
  led.OnChange = [&](QObject*, LedState state) { litWhileQueued |= state == lsOn && !queuedRan; };
  EXPECT_EQ(port.WriteStr("\x90"), 1);
  EXPECT_TRUE(litWhileQueued);
  EXPECT_TRUE(WaitFor([&] { return queuedRan; }));
}

}  // namespace
