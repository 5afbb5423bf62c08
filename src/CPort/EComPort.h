// The serial layer's exception: an error code (1..23) and, where the OS reported the failure,
// its error number.
#pragma once

#include "platform/Exception.h"

class EComPort : public Exception {
 public:
  // systemErrorCode -1: the failure was not the OS's. deviceName: the device path, if any.
  EComPort(int errorCode, int systemErrorCode = -1, QString deviceName = {});

  int ErrorCode() const { return errorCode_; }
  int SystemErrorCode() const { return systemErrorCode_; }
  int OsErrorNumber() const override { return systemErrorCode_; }
  QString OsErrorSubject() const override { return deviceName_; }

 private:
  int errorCode_;
  int systemErrorCode_;
  QString deviceName_;
};

// The message of an error code, as EComPort shows it (translated through the "cport" domain).
QString ComErrorMessage(int errorCode);
