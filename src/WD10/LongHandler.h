// Private to the main window's handlers.
#pragma once

#include "WD10/MainWindow.h"

class MainWindow::LongHandler {
 public:
  explicit LongHandler(MainWindow& window) : window_(window) { ++window_.longHandlers_; }
  ~LongHandler() {
    if (--window_.longHandlers_ == 0) window_.OnLongHandlersDone();
  }
  LongHandler(const LongHandler&) = delete;
  LongHandler& operator=(const LongHandler&) = delete;

 private:
  MainWindow& window_;
};
