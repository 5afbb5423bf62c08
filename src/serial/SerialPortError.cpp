#include "serial/SerialPortError.h"

#include <array>

#include "serial/SerialText.h"

namespace {

struct CodeText {
  SerialErrorCode code;
  const char* text;
};

// The texts are the catalogues' keys: change one here and in every catalogue alike.
constexpr std::array<CodeText, 23> kMessages{{
    {ecOpen, "Unable to open com port"},
    {ecWrite, "WriteFile function failed"},
    {ecRead, "ReadFile function failed"},
    {ecAsyncParameter, "Invalid Async parameter"},
    {ecPurge, "PurgeComm function failed"},
    {ecAsyncStatus, "Unable to get async status"},
    {ecLineSettings, "SetCommState function failed"},
    {ecTimeouts, "SetCommTimeouts failed"},
    {ecQueueSizes, "SetupComm function failed"},
    {ecLineStatus, "ClearCommError function failed"},
    {ecModemStatus, "GetCommModemStatus function failed"},
    {ecBreak, "EscapeCommFunction function failed"},
    {ecTransmitChar, "TransmitCommChar function failed"},
    {ecConnected, "Cannot set property while connected"},
    {ecEnumPorts, "EnumPorts function failed"},
    {ecStoreSettings, "Failed to store settings"},
    {ecLoadSettings, "Failed to load settings"},
    {ecLinkRegistration, "Link (un)registration failed"},
    {ecLedState, "Cannot change led state if ComPort is selected"},
    {ecWaitWithThread, "Cannot wait for event if event thread is created"},
    {ecWaitForEvent, "WaitForEvent method failed"},
    {ecRxBufLinked, "A component is linked to OnRxBuf event"},
    {ecPortList, "Registry error"},
}};

constexpr bool InCodeOrder() {
  for (std::size_t i = 0; i < kMessages.size(); ++i)
    if (kMessages[i].code != static_cast<int>(i) + 1) return false;
  return true;
}
static_assert(InCodeOrder(), "a code's text is found by its number");

QString MessageFor(int errorCode, int systemErrorCode) {
  QString message = SerialErrorMessage(errorCode);
  if (systemErrorCode != -1)
    message += QStringLiteral(" (win error code: %1)").arg(systemErrorCode);
  return message;
}

}  // namespace

QString SerialErrorMessage(int errorCode) {
  if (errorCode < 1 || errorCode > static_cast<int>(kMessages.size())) return {};
  return SerialText(kMessages[errorCode - 1].text);
}

SerialPortError::SerialPortError(int errorCode, int systemErrorCode, QString deviceName)
    : Exception(MessageFor(errorCode, systemErrorCode)),
      errorCode_(errorCode),
      systemErrorCode_(systemErrorCode),
      deviceName_(std::move(deviceName)) {}
