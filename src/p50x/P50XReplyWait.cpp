#include "p50x/P50XReplyWait.h"

#include "platform/Pause.h"
#include "serial/SerialPort.h"

namespace {

constexpr int kInputLookMs = 1;

}  // namespace

Task<P50XInputWait> WaitForP50XInput(SerialPort& port, int count,
                                     std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    if (port.InputCount() >= count) co_return P50XInputWait::Arrived;
    if (std::chrono::steady_clock::now() >= deadline) co_return P50XInputWait::TimedOut;
    co_await Pause(kInputLookMs);
  }
}
