// What the links show, on the main window: the three log panes, the "About IB/TC" window and
// the window's millisecond wait.
#pragma once

#include <functional>

#include "link/LinkObserver.h"

class TAboutBox;
class TMemo;

class WindowLinkObserver final : public LinkObserver {
 public:
  struct Panes {
    TMemo& connectionLog;
    TMemo& receiveLog;
    TMemo& infoLog;
    TAboutBox& aboutBox;
  };

  WindowLinkObserver(const Panes& panes, std::function<void(int)> waitMs)
      : panes_(panes), waitMs_(std::move(waitMs)) {}

  void LogConnection(const QString& line) override;
  void LogReceived(const QString& entry) override;
  void ShowReceiveStatus(const QString& text) override;
  void LogInformation(const QString& entry) override;
  void ShowVersionValue(StationVersionField field, const QString& value) override;
  void WaitMs(int milliseconds) override;

 private:
  Panes panes_;
  std::function<void(int)> waitMs_;
};
