#include "serial/SerialPortError.h"

#include <QCoreApplication>
#include <array>

namespace {

struct CodeText {
  SerialErrorCode code;
  const char* text;
};

// English, as the port's messages have always been; the catalogues carry the other languages.
constexpr std::array<CodeText, 23> kMessages{{
    {ecOpen, QT_TRANSLATE_NOOP("SerialPortError", "Unable to open com port")},
    {ecWrite, QT_TRANSLATE_NOOP("SerialPortError", "WriteFile function failed")},
    {ecRead, QT_TRANSLATE_NOOP("SerialPortError", "ReadFile function failed")},
    {ecAsyncParameter, QT_TRANSLATE_NOOP("SerialPortError", "Invalid Async parameter")},
    {ecPurge, QT_TRANSLATE_NOOP("SerialPortError", "PurgeComm function failed")},
    {ecAsyncStatus, QT_TRANSLATE_NOOP("SerialPortError", "Unable to get async status")},
    {ecLineSettings, QT_TRANSLATE_NOOP("SerialPortError", "SetCommState function failed")},
    {ecTimeouts, QT_TRANSLATE_NOOP("SerialPortError", "SetCommTimeouts failed")},
    {ecQueueSizes, QT_TRANSLATE_NOOP("SerialPortError", "SetupComm function failed")},
    {ecLineStatus, QT_TRANSLATE_NOOP("SerialPortError", "ClearCommError function failed")},
    {ecModemStatus, QT_TRANSLATE_NOOP("SerialPortError", "GetCommModemStatus function failed")},
    {ecBreak, QT_TRANSLATE_NOOP("SerialPortError", "EscapeCommFunction function failed")},
    {ecTransmitChar, QT_TRANSLATE_NOOP("SerialPortError", "TransmitCommChar function failed")},
    {ecConnected, QT_TRANSLATE_NOOP("SerialPortError", "Cannot set property while connected")},
    {ecEnumPorts, QT_TRANSLATE_NOOP("SerialPortError", "EnumPorts function failed")},
    {ecStoreSettings, QT_TRANSLATE_NOOP("SerialPortError", "Failed to store settings")},
    {ecLoadSettings, QT_TRANSLATE_NOOP("SerialPortError", "Failed to load settings")},
    {ecLinkRegistration, QT_TRANSLATE_NOOP("SerialPortError", "Link (un)registration failed")},
    {ecLedState,
     QT_TRANSLATE_NOOP("SerialPortError", "Cannot change led state if ComPort is selected")},
    {ecWaitWithThread,
     QT_TRANSLATE_NOOP("SerialPortError", "Cannot wait for event if event thread is created")},
    {ecWaitForEvent, QT_TRANSLATE_NOOP("SerialPortError", "WaitForEvent method failed")},
    {ecRxBufLinked, QT_TRANSLATE_NOOP("SerialPortError", "A component is linked to OnRxBuf event")},
    {ecPortList, QT_TRANSLATE_NOOP("SerialPortError", "Registry error")},
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
  return QCoreApplication::translate("SerialPortError", kMessages[errorCode - 1].text);
}

SerialPortError::SerialPortError(int errorCode, int systemErrorCode, QString deviceName)
    : Exception(MessageFor(errorCode, systemErrorCode)),
      errorCode_(errorCode),
      systemErrorCode_(systemErrorCode),
      deviceName_(std::move(deviceName)) {}
