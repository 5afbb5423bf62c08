#include "loconet/LocoNetLink.h"

#include <exception>

#include "CPort/TComPort.h"
#include "loconet/LocoNetMessage.h"
#include "loconet/LocoNetReceiver.h"
#include "platform/ExceptionDisplay.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/UserNotifier.h"

void SendLocoNet(TComPort& port, const QByteArray& message) {
  for (const char byte : LocoNetMessage(message)) port.WriteStr(QByteArray(1, byte));
  ProcessMessages();
}

void LocoNetSwitch(TComPort& port, int turnout, int direction,
                   const std::function<void(int)>& waitMs) {
  const LocoNetSwitchRequest request = LocoNetSwitchMessages(turnout, direction);
  SendLocoNet(port, request.outputOn);
  waitMs(200);
  SendLocoNet(port, request.outputOff);
}

void ParseLocoNet(QByteArray& receiveHexBuffer, TMemo& memo3, TComPort& port) {
  // The buffer is cut before anything is acted on: an answer processes window messages, and a
  // receive event handled there must find only the bytes this call has not taken.
  LocoNetParse parsed = ParseLocoNetBuffer(std::move(receiveHexBuffer));
  receiveHexBuffer = std::move(parsed.rest);

  std::exception_ptr failedAnswer;
  for (const LocoNetAction& action : parsed.actions) {
    switch (action.kind) {
      case LocoNetAction::Kind::LogLine:
        memo3.AddLine(QString::fromLatin1(action.bytes));
        break;
      case LocoNetAction::Kind::Beep:
        MessageBeep(0);
        break;
      case LocoNetAction::Kind::Send:
        // After one failed write the port is not tried again in this call: each further write
        // could block for its whole timeout.
        if (failedAnswer) break;
        try {
          SendLocoNet(port, action.bytes);
        } catch (const std::exception&) {
          failedAnswer = std::current_exception();
        }
        break;
    }
  }
  // Shown as any failing handler's error is shown, but only now that every line is logged.
  if (failedAnswer) RunGuarded([&] { std::rethrow_exception(failedAnswer); });
}
