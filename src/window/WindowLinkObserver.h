// What the links show, on the main window: the three log panes and the "About IB/TC" window.
#pragma once

#include "link/LinkObserver.h"

class AboutBox;
class LogPane;

class WindowLinkObserver final : public LinkObserver {
 public:
  struct Panes {
    LogPane& connectionLog;
    LogPane& receiveLog;
    LogPane& infoLog;
    AboutBox& aboutBox;
  };

  explicit WindowLinkObserver(const Panes& panes) : panes_(panes) {}

  void LogConnection(const QString& line) override;
  void LogReceived(const QString& entry) override;
  void ShowReceiveStatus(const QString& text) override;
  void LogInformation(const QString& entry) override;
  void ShowVersionValue(StationVersionField field, const QString& value) override;

 private:
  Panes panes_;
};
