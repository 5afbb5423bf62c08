#include "platform/Messages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <thread>

void ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void WaitUntil(const std::function<bool()>& done) {
  ProcessMessages();
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void SleepMs(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
