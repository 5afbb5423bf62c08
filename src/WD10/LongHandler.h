// Private to the main window's handlers.
#pragma once

#include "WD10/TFrm_WD10.h"

class TFrm_WD10::LongHandler {
 public:
  explicit LongHandler(TFrm_WD10& window) : window_(window) { ++window_.longHandlers_; }
  ~LongHandler() {
    if (--window_.longHandlers_ == 0) window_.OnLongHandlersDone();
  }
  LongHandler(const LongHandler&) = delete;
  LongHandler& operator=(const LongHandler&) = delete;

 private:
  TFrm_WD10& window_;
};
