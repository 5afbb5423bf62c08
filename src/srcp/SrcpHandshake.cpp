// The SRCP link's "Verbinden" and "Sluiten": the handshake its server's greeting asks for, and
// the end of the session.
#include "ScktComp/TClientSocket.h"
#include "platform/UserNotifier.h"
#include "srcp/SrcpLines.h"
#include "srcp/SrcpLink.h"

namespace {

// The information session needs a moment to start before it is spoken to, and the server a
// moment to start it before the command session goes on.
constexpr int kSessionSettleMs = 500;
// A server greets as soon as it accepts; three seconds cover a busy machine or a remote server.
constexpr int kGreetingPeriods = 3;

const QString kAccessoryBus = QStringLiteral("6");

}  // namespace

bool SrcpLink::Connect() {
  if (handshakeMade_ && command_.connection == Connection::Open) return true;
  // No server ran when "SRCP 0.8" was chosen, or it has gone since: try again now.
  if (command_.connection == Connection::Closed) OpenCommandSession();
  WaitForServer(kGreetingPeriods, [this] { return greeting_.Recognised() || GreetingComplete(); });
  if (!greeting_.Recognised()) {
    // A refused connection has had its box already; one box a press is enough.
    if (!refusalShown_) {
      ShowMessage(QStringLiteral("Op %1 luistert niets, of het is geen SRCP 0.8-server. Start de "
                                 "server en druk daarna opnieuw op \"Verbinden\".")
                      .arg(address_.ToString()));
    }
    return false;
  }
  if (!SrcpHandshake()) {
    ShowMessage(QStringLiteral("De verbinding met de SRCP-server op %1 is tijdens het aanmelden "
                               "weggevallen. Start de server zo nodig opnieuw en druk daarna "
                               "opnieuw op \"Verbinden\".")
                    .arg(address_.ToString()));
    return false;
  }
  return true;
}

bool SrcpLink::SrcpHandshake() {
  const SrcpGreeting greeting = greeting_;
  bool whole = greeting.Recognised();
  if (greeting.ddw07) {
    MessageBeep(0);
    whole = Send(command_, {SrcpLine::SetProtocol, SrcpLine::InfoMode, SrcpLine::CommandMode,
                            SrcpLine::Go, SrcpLine::InitPower, SrcpLine::InitFeedback}) &&
            whole;
  }
  if (greeting.ddw08) {
    MessageBeep(0);
    MessageBeep(0);
    whole = Send(command_, {SrcpLine::SetProtocol, SrcpLine::CommandMode, SrcpLine::Go}) && whole;
    OpenSession(info_);
    observer_.WaitMs(kSessionSettleMs);
    whole = Send(info_, {SrcpLine::SetProtocol, SrcpLine::InfoMode, SrcpLine::Go}) && whole;
    observer_.WaitMs(kSessionSettleMs);
    whole =
        Send(command_, {SrcpLine::InitPower, SrcpLine::InitFeedback, SrcpLine::PowerOn}) && whole;
    // The information session has reported every bus's power by now. A server that holds the
    // accessory bus's commands until that bus has power would otherwise keep all four.
    const auto accessoryBus = busPower_.find(kAccessoryBus.toLatin1());
    if (greeting.powerPerBus && accessoryBus != busPower_.end() && !accessoryBus->second) {
      switchedAccessoryBusOn_ = SendWhole(command_, SrcpLine::SetBusPower(kAccessoryBus, true));
      whole = switchedAccessoryBusOn_ && whole;
    }
  }
  handshakeMade_ = whole;
  return whole;
}

void SrcpLink::SwitchPowerOff() {
  EndSrcpSession();
}

void SrcpLink::EndSrcpSession() {
  if (switchedAccessoryBusOn_) SendWhole(command_, SrcpLine::SetBusPower(kAccessoryBus, false));
  switchedAccessoryBusOn_ = false;
  Send(command_, {SrcpLine::PowerOff, SrcpLine::TermSession});
  // Closing at once could lose the lines: the system may still hold them back, and a close
  // while replies wait unread resets the connection and drops what was held. Once the server
  // has ended the session, it has read them.
  WaitForServer(1, [] { return false; });
  command_.socket.Close();
  info_.socket.Close();
}
