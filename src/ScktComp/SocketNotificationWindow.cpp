#include "ScktComp/SocketNotificationWindow.h"

#include <QCoreApplication>
#include <algorithm>

#include "platform/ExceptionDisplay.h"

void SocketNotificationWindow::DiscardSocketMessages() {
  QCoreApplication::removePostedEvents(this, SocketMessage);
  std::erase_if(queued_, [](const auto& message) {
    return std::holds_alternative<SocketNotification>(message);
  });
}

void SocketNotificationWindow::customEvent(QEvent* event) {
  if (event->type() == SocketMessage) {
    queued_.emplace_back(static_cast<SocketMessageEvent*>(event)->Notification);
  } else if (event->type() == LookupCompleteMessage) {
    queued_.emplace_back(static_cast<LookupCompleteEvent*>(event)->Completion);
  } else {
    return;
  }
  if (handling_) return;
  handling_ = true;
  while (!queued_.empty()) {
    const auto message = std::move(queued_.front());
    queued_.pop_front();
    RunGuarded([&] {
      std::visit([this](const auto& content) { receiver_.HandleMessage(content); }, message);
    });
  }
  handling_ = false;
}
