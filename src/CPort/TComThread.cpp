#include "CPort/TComThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "platform/ExceptionDisplay.h"

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

const QEvent::Type kWindowMessageType = static_cast<QEvent::Type>(QEvent::registerEventType());

// A message to the hidden window, answered once: when taken, or when dropped unhandled (its
// receiver deleted).
class WindowMessage : public QEvent {
 public:
  WindowMessage(int message, std::uint32_t flag, std::shared_ptr<BatchHandover> handover)
      : QEvent(kWindowMessageType),
        message_(message),
        flag_(flag),
        handover_(std::move(handover)) {}
  ~WindowMessage() override { Answer(); }

  int Message() const { return message_; }
  std::uint32_t Flag() const { return flag_; }
  // Gives the handover, which the handler still needs for the stop.
  std::shared_ptr<BatchHandover> Answer() {
    std::shared_ptr<BatchHandover> handover = std::exchange(handover_, nullptr);
    if (handover) handover->Answer();
    return handover;
  }

 private:
  int message_;
  std::uint32_t flag_;
  std::shared_ptr<BatchHandover> handover_;
};

}  // namespace

std::uint32_t ComEventFlag(TComEvent event) {
  switch (event) {
    case evRxChar:
      return 1;
    case evRxFlag:
      return 2;
    case evTxEmpty:
      return 4;
    case evCTS:
      return 8;
    case evDSR:
      return 16;
    case evRLSD:
      return 32;
    case evBreak:
      return 64;
    case evError:
      return 128;
    case evRing:
      return 256;
    case evRx80Full:
      return 1024;
  }
  return 0;
}

TComThread::TComThread(TComEventTarget& port, SerialDevice& device, TComEvents events,
                       QObject* syncWindow)
    : port_(port),
      context_(port.EventContext()),
      syncMethod_(port.SyncMethod()),
      device_(&device),
      syncWindow_(syncWindow),
      handover_(std::make_shared<BatchHandover>()) {
  // As on Windows, a failure to set the mask is not looked at: the waits then report nothing.
  device_->SetEventMask(events);
  start();
}

TComThread::~TComThread() {
  handover_->Stop();
  handover_->AwaitEnd();
  wait();
}

void TComThread::run() {
  while (!handover_->Stopped()) {
    TComEvents events;
    if (device_->WaitEvent(handover_->stop, events) != 0) {
      handover_->stop.Wait(kRetryAfterFailureMs);
      continue;
    }
    if (!events.Empty() && !Dispatch(events)) break;
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

bool TComThread::Dispatch(TComEvents events) {
  switch (syncMethod_) {
    case smThreadSync:
      return HandOverBatch(events);
    case smWindowSync:
      return PostWindowMessages(events);
    case smNone:
      try {
        port_.HandleEvents(events, handover_->stop);
      } catch (...) {
        fatal_ = std::current_exception();
        return false;
      }
      return true;
  }
  return true;
}

bool TComThread::HandOverBatch(TComEvents events) {
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

bool TComThread::PostWindowMessages(TComEvents events) {
  for (const TComEvent event : kHandlerOrder) {
    if (!events.Contains(event)) continue;
    handover_->Begin();
    QCoreApplication::postEvent(
        syncWindow_, new WindowMessage(TComSyncWindow::kMessage, ComEventFlag(event), handover_));
    std::exception_ptr unused;
    if (!handover_->AwaitAnswer(unused)) return false;
  }
  return true;
}

bool TComSyncWindow::event(QEvent* event) {
  if (event->type() != kWindowMessageType) return QObject::event(event);
  auto* message = static_cast<WindowMessage*>(event);
  const std::shared_ptr<BatchHandover> handover = message->Answer();
  if (message->Message() != kMessage || !port_.Connected()) return true;
  for (const TComEvent comEvent : kHandlerOrder) {
    if (ComEventFlag(comEvent) != message->Flag()) continue;
    // The event thread has its answer already and cannot take an exception back; it is shown
    // like that of any other window event.
    RunGuarded([&] { port_.HandleEvents({comEvent}, handover->stop); });
  }
  return true;
}
