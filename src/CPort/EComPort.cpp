#include "CPort/EComPort.h"

#include <array>

#include "CPort/CPortText.h"

namespace {

constexpr std::array<const char*, 23> kMessages = {
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
};

QString MessageFor(int errorCode, int systemErrorCode) {
  QString message = ComErrorMessage(errorCode);
  if (systemErrorCode != -1)
    message += QStringLiteral(" (win error code: %1)").arg(systemErrorCode);
  return message;
}

}  // namespace

QString ComErrorMessage(int errorCode) {
  if (errorCode < 1 || errorCode > static_cast<int>(kMessages.size())) return {};
  return CPortText(kMessages[errorCode - 1]);
}

EComPort::EComPort(int errorCode, int systemErrorCode, QString deviceName)
    : Exception(MessageFor(errorCode, systemErrorCode)),
      errorCode_(errorCode),
      systemErrorCode_(systemErrorCode),
      deviceName_(std::move(deviceName)) {}
