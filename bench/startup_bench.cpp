// Start-up figures of the program: from starting the process to the main window's first expose
// (target: under 300 ms), the part of it before main() runs, and resident memory once the window
// is up and has settled (target: under 60 MiB). The program itself takes no options, so this
// bench builds its window the way main.cpp does and starts itself for each sample.
// Run: bench_startup [samples]; each sample is a fresh process.
#include "BenchSupport.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ResidentMemory.h"
#include "support/TestedWindow.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr char kStartedAt[] = "SORVELL_BENCH_STARTED_NS";
// How long the window is left to settle before its memory is read.
constexpr int kSettleMs = 500;

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

double MsSince(long long startNs, long long endNs) {
  return (endNs - startNs) / 1e6;
}

// One started process: main() as in main.cpp, up to the window's first expose.
int Sample(long long startedNs, int argc, char** argv) {
  const long long mainNs = NowNs();
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Sorvell"));
  TestedWindow window;
  long long exposedNs = 0;
  struct FirstExpose : QObject {
    MainWindow* window;
    long long* at;
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (*at == 0 && event->type() == QEvent::Expose && window->windowHandle() == watched &&
          window->windowHandle()->isExposed())
        *at = NowNs();
      return false;
    }
  } firstExpose;
  firstExpose.window = &window;
  firstExpose.at = &exposedNs;
  app.installEventFilter(&firstExpose);
  window.show();
  QTimer settle;
  settle.setInterval(kSettleMs);
  QObject::connect(&settle, &QTimer::timeout, [&] {
    if (exposedNs != 0) app.quit();
  });
  settle.start();
  QApplication::exec();
  std::printf("%.3f %.3f %ld\n", MsSince(startedNs, mainNs), MsSince(startedNs, exposedNs),
              ResidentKiB());
  return 0;
}

struct Figures {
  double toMainMs;
  double toShownMs;
  long residentKiB;
};

bool SpawnSample(const char* self, Figures& figures) {
  int output[2];
  if (::pipe(output) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, output[0]);
  ::setenv(kStartedAt, std::to_string(NowNs()).c_str(), 1);
  char* const arguments[] = {const_cast<char*>(self), nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, self, &actions, nullptr, arguments, environ);
  ::unsetenv(kStartedAt);
  posix_spawn_file_actions_destroy(&actions);
  ::close(output[1]);
  char line[128] = {};
  const ssize_t n = spawned == 0 ? ::read(output[0], line, sizeof line - 1) : -1;
  ::close(output[0]);
  int status = 0;
  if (spawned == 0) ::waitpid(child, &status, 0);
  return n > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
         std::sscanf(line, "%lf %lf %ld", &figures.toMainMs, &figures.toShownMs,
                     &figures.residentKiB) == 3;
}

template <typename T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (const char* started = std::getenv(kStartedAt)) return Sample(std::atoll(started), argc, argv);

  // The samples inherit the folders.
  const FirstDayFolders firstDay;
  const int samples = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  std::vector<double> toMain, toShown;
  std::vector<long> resident;
  for (int i = 0; i < samples; ++i) {
    Figures figures{};
    if (!SpawnSample("/proc/self/exe", figures)) {
      std::fprintf(stderr, "sample %d: the started process did not report\n", i);
      return 1;
    }
    toMain.push_back(figures.toMainMs);
    toShown.push_back(figures.toShownMs);
    resident.push_back(figures.residentKiB);
  }
  std::printf(
      "start-up, %d processes (platform %s): process start to window shown median %.1f ms "
      "(target < 300 ms), of which before main() %.1f ms; resident memory after start median "
      "%.1f MiB (target < 60 MiB)\n",
      samples, qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default")).toLatin1().data(),
      Median(toShown), Median(toMain), Median(resident) / 1024.0);
  return 0;
}
