// The serial layer's exception: an error code (1..23) and, where the OS reported the failure,
// its error number.
#pragma once

#include "platform/Exception.h"

// What went wrong. The numbers are the component's error codes, which callers compare and which
// pick the message: never renumber them. The ones never raised keep their place so that the
// numbers after them stay put.
enum SerialErrorCode : int {
  ecOpen = 1,               // the device could not be opened
  ecWrite = 2,              // a write failed
  ecRead = 3,               // a read failed
  ecAsyncParameter = 4,     // a transfer without its record
  ecPurge = 5,              // the queues could not be cleared or transfers aborted
  ecAsyncStatus = 6,        // never raised
  ecLineSettings = 7,       // the line settings were refused
  ecTimeouts = 8,           // the timeouts were refused
  ecQueueSizes = 9,         // the queue sizes were refused
  ecLineStatus = 10,        // the input count and line errors could not be read
  ecModemStatus = 11,       // the modem lines could not be read
  ecBreak = 12,             // break could not be set or cleared
  ecTransmitChar = 13,      // never raised
  ecConnected = 14,         // a property that cannot change while the port is open
  ecEnumPorts = 15,         // never raised
  ecStoreSettings = 16,     // never raised
  ecLoadSettings = 17,      // never raised
  ecLinkRegistration = 18,  // a link registered twice, or unregistered when it is not
  ecLedState = 19,          // a lamp's state set while a port drives it
  ecWaitWithThread = 20,    // never raised
  ecWaitForEvent = 21,      // never raised
  ecRxBufLinked = 22,       // never raised
  ecPortList = 23,          // the system's port list could not be read
};

class SerialPortError : public Exception {
 public:
  // errorCode: a SerialErrorCode. systemErrorCode -1: the failure was not the OS's.
  // deviceName: the device path, if any.
  SerialPortError(int errorCode, int systemErrorCode = -1, QString deviceName = {});

  int ErrorCode() const { return errorCode_; }
  int SystemErrorCode() const { return systemErrorCode_; }
  int OsErrorNumber() const override { return systemErrorCode_; }
  QString OsErrorSubject() const override { return deviceName_; }

 private:
  int errorCode_;
  int systemErrorCode_;
  QString deviceName_;
};

// The message of an error code, as SerialPortError shows it, in the application's language.
QString SerialErrorMessage(int errorCode);
