#include "serial/SerialEventThread.h"

#include <QCoreApplication>
#include <condition_variable>
#include <mutex>
#include <utility>

// What the event thread and the port's thread share about the batch on its way: the stop, and
// the answer the event thread waits for. A call or message queued for the port holds it too,
// so one that runs after its thread was stopped finds the stop here and leaves the connection
// alone; it never reaches a thread object that is gone.
class BatchHandover {
 public:
  // Also wakes the device's wait for line events.
  StopSignal stop;

  // Every change is announced under the lock: the event thread's last announcement must be over
  // before the port, once it has seen it, can let the handover go.
  void Stop() {
    const std::lock_guard lock(mutex_);
    stop.Set();
    changed_.notify_all();
  }
  bool Stopped() const { return stop.IsSet(); }

  // The event thread's last step, and the wait for it: what the thread did to the device happens
  // before what the port does after the join (QThread::wait orders that as well, but out of the
  // sight of the race checkers).
  void Ended() {
    const std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
  }
  void AwaitEnd() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ended_; });
  }

  // The event thread, before it queues a batch.
  void Begin() {
    const std::lock_guard lock(mutex_);
    answered_ = false;
    fatal_ = nullptr;
  }
  // The port's thread, when the batch has run (with what a handler raised) or been taken.
  void Answer(std::exception_ptr fatal = nullptr) {
    const std::lock_guard lock(mutex_);
    answered_ = true;
    fatal_ = std::move(fatal);
    changed_.notify_all();
  }
  // The event thread: until the batch is answered or the thread is stopped, whichever comes
  // first; false for the stop. A port that closes (and joins the thread) never waits for a
  // batch that would have to run in its own event loop.
  bool AwaitAnswer(std::exception_ptr& fatal) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return answered_ || stop.IsSet(); });
    fatal = fatal_;
    return !stop.IsSet();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool answered_ = false;
  bool ended_ = false;
  std::exception_ptr fatal_;
};

namespace {

// How long the thread rests after a failed wait before it waits again; a device that keeps
// failing must not turn the thread into a spin.
constexpr int kRetryAfterFailureMs = 100;

}  // namespace

SerialEventThread::SerialEventThread(SerialEventTarget& port, SerialDevice& device,
                                     SerialEvents events)
    : port_(port),
      context_(port.EventContext()),
      device_(&device),
      handover_(std::make_shared<BatchHandover>()) {
  // As on Windows, a failure to set the mask is not looked at: the waits then report nothing.
  device_->SetEventMask(events);
  start();
}

SerialEventThread::~SerialEventThread() {
  handover_->Stop();
  handover_->AwaitEnd();
  wait();
}

void SerialEventThread::run() {
  while (!handover_->Stopped()) {
    SerialEvents events;
    if (device_->WaitEvent(handover_->stop, events) != 0) {
      handover_->stop.Wait(kRetryAfterFailureMs);
      continue;
    }
    if (!events.Empty() && !HandOverBatch(events)) break;
  }
  // A thread ended by a handler's exception leaves the device as it is.
  if (!fatal_) {
    device_->SetEventMask({});
    // The input queue only: our writes end when the kernel has taken the bytes, so what is
    // still queued for output (the power-off command before a Close) must go out.
    device_->Purge(kPurgeRxClear);
  }
  handover_->Ended();
}

bool SerialEventThread::HandOverBatch(SerialEvents events) {
  handover_->Begin();
  QMetaObject::invokeMethod(
      context_,
      // Bound to the port's object, the call goes with the port; one that runs after a close
      // finds the stop and handles nothing.
      [handover = handover_, &port = port_, events] {
        std::exception_ptr fatal;
        try {
          port.HandleEvents(events, handover->stop);
        } catch (...) {
          fatal = std::current_exception();
        }
        handover->Answer(std::move(fatal));
      },
      Qt::QueuedConnection);
  std::exception_ptr fatal;
  if (!handover_->AwaitAnswer(fatal)) return false;
  fatal_ = std::move(fatal);
  return !fatal_;
}
