// What the links show, on the main window: the three log panes, the "About IB/TC" window and
// the window's millisecond wait.
#pragma once

#include "link/LinkObserver.h"

class MainWindow;

class WindowLinkObserver final : public LinkObserver {
 public:
  explicit WindowLinkObserver(MainWindow& window) : window_(window) {}

  void LogConnection(const QString& line) override;
  void LogReceived(const QString& entry) override;
  void ShowReceiveStatus(const QString& text) override;
  void LogInformation(const QString& entry) override;
  void ShowVersionValue(StationVersionField field, const QString& value) override;
  void WaitMs(int milliseconds) override;

 private:
  MainWindow& window_;
};
