#include "CPort/TComThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <semaphore>

#include "platform/ExceptionDisplay.h"
#include "platform/Messages.h"

namespace {

// How long the thread rests after a failed wait before it waits again; a device that keeps
// failing must not turn the thread into a spin.
constexpr int kRetryAfterFailureMs = 100;

const QEvent::Type kWindowMessageType = static_cast<QEvent::Type>(QEvent::registerEventType());

// A message to the hidden window, with the reply the sender waits for. A message that is
// dropped unhandled (its receiver deleted) still replies, so no sender waits for ever.
class WindowMessage : public QEvent {
 public:
  WindowMessage(int message, std::uint32_t flag, std::shared_ptr<std::binary_semaphore> reply)
      : QEvent(kWindowMessageType), message_(message), flag_(flag), reply_(std::move(reply)) {}
  ~WindowMessage() override { Reply(); }

  void Reply() {
    if (reply_) std::exchange(reply_, nullptr)->release();
  }
  int Message() const { return message_; }
  std::uint32_t Flag() const { return flag_; }

 private:
  int message_;
  std::uint32_t flag_;
  std::shared_ptr<std::binary_semaphore> reply_;
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
    : port_(port), context_(port.EventContext()), device_(&device), syncWindow_(syncWindow) {
  // As on Windows, a failure to set the mask is not looked at: the waits then report nothing.
  device_->SetEventMask(events);
  start();
}

TComThread::~TComThread() {
  stop_.Set();
  yieldCurrentThread();
  // A blocking join here could deadlock against a batch the thread has just queued for us.
  if (!ended_ && QThread::currentThread() == context_->thread()) {
    WaitUntil([this] { return ended_.load(); });
  }
  wait();
}

void TComThread::Abandon() {
  abandoned_ = true;
  stop_.Set();
}

void TComThread::run() {
  while (!stop_.IsSet()) {
    TComEvents events;
    if (device_->WaitEvent(stop_, events) != 0) {
      stop_.Wait(kRetryAfterFailureMs);
      continue;
    }
    if (!events.Empty() && !Dispatch(events)) break;
  }
  // A thread ended by a handler's exception leaves the device as it is; so does one whose port
  // was closed from inside its own batch, since the port may be open again by now.
  if (!fatal_ && !abandoned_) {
    device_->SetEventMask({});
    // The input queue only: our writes end when the kernel has taken the bytes, so what is
    // still queued for output (the power-off command before a Close) must go out.
    device_->Purge(kPurgeRxClear);
  }
  ended_ = true;
  // Wakes a Close waiting in the event loop.
  QMetaObject::invokeMethod(
      context_, [] {}, Qt::QueuedConnection);
}

bool TComThread::Dispatch(TComEvents events) {
  switch (port_.SyncMethod()) {
    case smThreadSync: {
      std::exception_ptr error;
      QMetaObject::invokeMethod(
          context_,
          [&] {
            batchRunning_ = true;
            try {
              port_.HandleEvents(events);
            } catch (...) {
              error = std::current_exception();
            }
            batchRunning_ = false;
          },
          Qt::BlockingQueuedConnection);
      fatal_ = error;
      return !error;
    }
    case smWindowSync:
      PostWindowMessages(events);
      return true;
    case smNone:
      try {
        port_.HandleEvents(events);
      } catch (...) {
        fatal_ = std::current_exception();
        return false;
      }
      return true;
  }
  return true;
}

void TComThread::PostWindowMessages(TComEvents events) {
  for (const TComEvent event : kHandlerOrder) {
    if (!events.Contains(event)) continue;
    auto reply = std::make_shared<std::binary_semaphore>(0);
    QCoreApplication::postEvent(
        syncWindow_, new WindowMessage(TComSyncWindow::kMessage, ComEventFlag(event), reply));
    reply->acquire();
  }
}

bool TComSyncWindow::event(QEvent* event) {
  if (event->type() != kWindowMessageType) return QObject::event(event);
  auto* message = static_cast<WindowMessage*>(event);
  message->Reply();
  if (message->Message() != kMessage || !port_.Connected()) return true;
  for (const TComEvent comEvent : kHandlerOrder) {
    if (ComEventFlag(comEvent) != message->Flag()) continue;
    // The event thread has its reply already and cannot take an exception back; it is shown
    // like that of any other window event.
    RunGuarded([&] { port_.HandleEvents({comEvent}); });
  }
  return true;
}
