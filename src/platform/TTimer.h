// A window-message timer as the main window uses it: Enabled and Interval properties, OnTimer
// handler run on the user-interface thread. Changing the interval of a running timer starts
// its period anew.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class TTimer : public QObject {
  Q_OBJECT

 public:
  explicit TTimer(QObject* owner, int interval = 1000, bool enabled = true);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int Interval() const { return interval_; }
  void SetInterval(int value);

  std::function<void(QObject* Sender)> OnTimer;

 private:
  void Update();

  QTimer timer_;
  int interval_;
  bool enabled_;
};
