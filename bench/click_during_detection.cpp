// A click during P50X interface detection: from a mouse press and release posted to a push
// button (from another thread, as the window system hands the program a click) until the
// button's clicked handler runs, while the link finds the simulated Intellibox on a pty with the
// program's own pauses. Clicks fall at fixed moments spread over the detection. Target: the
// slowest answered within 100 ms.
#include "BenchSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "P50XSimulator.h"
#include "support/P50XTestLink.h"

namespace {

using Clock = std::chrono::steady_clock;

// Moments after the start of a detection, in milliseconds: in the long break, after it, in the
// probe, in the set-up.
constexpr int kClickMomentsMs[] = {100, 400, 900, 1400, 1700, 2000, 2200, 2400};
constexpr int kDetections = 3;

// When each click of a detection was posted, and how long each waited for its handler.
struct Clicks {
  std::atomic<Clock::rep> postedAt[std::size(kClickMomentsMs)];
  std::size_t answered = 0;
  std::vector<double> latenciesMs;
};

// Posts press and release together at each moment; the events are made beforehand on the
// user-interface thread, which owns them until they are posted.
std::thread PostClicks(QPushButton& button, Clock::time_point start, Clicks& clicks) {
  std::vector<std::pair<QMouseEvent*, QMouseEvent*>> events;
  const QPointF inside(5, 5);
  for (std::size_t i = 0; i < std::size(kClickMomentsMs); ++i) {
    events.emplace_back(
        new QMouseEvent(QEvent::MouseButtonPress, inside, button.mapToGlobal(inside),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier),
        new QMouseEvent(QEvent::MouseButtonRelease, inside, button.mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  }
  return std::thread([&button, start, &clicks, events] {
    for (std::size_t i = 0; i < events.size(); ++i) {
      std::this_thread::sleep_until(start + std::chrono::milliseconds(kClickMomentsMs[i]));
      clicks.postedAt[i] = Clock::now().time_since_epoch().count();
      QCoreApplication::postEvent(&button, events[i].first);
      QCoreApplication::postEvent(&button, events[i].second);
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  P50XSimulator station;
  station.SetBaudRate(2400);
  P50XTestLink link;
  // The program's own pauses.
  link->SetPauseLength({});
  link.port.SetPort(station.SlavePath());
  QPushButton button(QStringLiteral("Klik"));
  button.show();
  Clicks clicks;
  QObject::connect(&button, &QPushButton::clicked, [&] {
    const auto posted = clicks.postedAt[clicks.answered++ % std::size(kClickMomentsMs)].load();
    clicks.latenciesMs.push_back(std::chrono::duration<double, std::milli>(
                                     Clock::now() - Clock::time_point(Clock::duration(posted)))
                                     .count());
  });

  const int detections = SmokeRun() ? 1 : kDetections;
  double detectionMs = 0;
  for (int run = 0; run < detections; ++run) {
    const Clock::time_point start = Clock::now();
    std::thread clicker = PostClicks(button, start, clicks);
    // As the window's connect does it: the task runs on the one event loop, which answers the
    // clicks in its pauses.
    const bool found = Await(link->Connect());
    detectionMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    clicker.join();
    // Clicks posted after the detection ended are answered now.
    QCoreApplication::processEvents();
    if (!found) {
      std::fprintf(stderr, "detection %d found no command station\n", run);
      return 1;
    }
  }
  const std::size_t expected = detections * std::size(kClickMomentsMs);
  if (clicks.latenciesMs.size() != expected) {
    std::fprintf(stderr, "%zu of %zu clicks answered\n", clicks.latenciesMs.size(), expected);
    return 1;
  }
  const double worst = Percentile(clicks.latenciesMs, 1.0);
  std::printf(
      "Click during P50X detection (%.0f ms each), %zu clicks: median %.1f ms, worst %.1f ms "
      "(target: worst <= 100 ms)\n",
      detectionMs, clicks.latenciesMs.size(), Percentile(clicks.latenciesMs, 0.5), worst);
  return TargetVerdict(worst <= 100.0);
}
