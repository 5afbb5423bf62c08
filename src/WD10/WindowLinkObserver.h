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

  // wait: the window's millisecond wait, ended early once its second argument (when there is
  // one) holds.
  using Wait = std::function<void(int milliseconds, const std::function<bool()>& done)>;
  WindowLinkObserver(const Panes& panes, Wait wait) : panes_(panes), wait_(std::move(wait)) {}

  void LogConnection(const QString& line) override;
  void LogReceived(const QString& entry) override;
  void ShowReceiveStatus(const QString& text) override;
  void LogInformation(const QString& entry) override;
  void ShowVersionValue(StationVersionField field, const QString& value) override;
  void WaitMs(int milliseconds) override;
  void WaitAtMost(int milliseconds, const std::function<bool()>& done) override;

 private:
  Panes panes_;
  Wait wait_;
};
