// The SRCP link's "Verbinden" and "Sluiten": the handshake its server's greeting asks for, and
// the end of the session.
#include <QCoreApplication>

#include "platform/Pause.h"
#include "platform/UserNotifier.h"
#include "srcp/SrcpLines.h"
#include "srcp/SrcpLink.h"
#include "tcp/TcpClientError.h"

namespace {

// The information session needs a moment to start before it is spoken to, and the server a
// moment to start it before the command session goes on.
constexpr int kSessionSettleMs = 500;
// A server greets as soon as it accepts; three seconds cover a busy machine or a remote server.
constexpr int kGreetingPeriods = 3;

const QString kAccessoryBus = QStringLiteral("6");
constexpr int kCarriedOut = 200;
constexpr int kFirstError = 400;

}  // namespace

Task<bool> SrcpLink::Connect() {
  if (handshakeMade_ && command_.connection == Connection::Open) co_return true;
  if (!rejectedAddress_.isEmpty()) {
    ShowMessage(QStringLiteral("\"%1\" is geen geldig adres van een SRCP-server; zonder geldig "
                               "adres wordt niet verbonden.\nGeef in het veld \"SRCP-server:\" "
                               "een computernaam of IP-adres, eventueel met een poort, en druk "
                               "daarna opnieuw op \"Verbinden\".")
                    .arg(rejectedAddress_));
    co_return false;
  }
  // No server ran when "SRCP 0.8" was chosen, or it has gone since: try again now.
  if (command_.connection == Connection::Closed) OpenCommandSession();
  co_await WaitForServer(kGreetingPeriods,
                         [this] { return greeting_.Recognised() || GreetingComplete(); });
  if (!greeting_.Recognised()) {
    // A refused connection has had its box already; one box a press is enough.
    if (!refusalShown_) {
      ShowMessage(QCoreApplication::translate(
                      "SrcpLink",
                      "Op %1 luistert niets, of het is geen SRCP 0.8-server. Start de "
                      "server en druk daarna opnieuw op \"Verbinden\".")
                      .arg(address_.ToString()));
    }
    co_return false;
  }
  const std::optional<QString> failure = co_await SrcpHandshake();
  if (!failure) co_return true;
  if (command_.connection != Connection::Open) {
    ShowMessage(QCoreApplication::translate(
                    "SrcpLink",
                    "De verbinding met de SRCP-server op %1 is tijdens het aanmelden "
                    "weggevallen. Start de server zo nodig opnieuw en druk daarna "
                    "opnieuw op \"Verbinden\".")
                    .arg(address_.ToString()));
    co_return false;
  }
  // Whatever the server took of the handshake is undone; the next "Verbinden" starts afresh.
  co_await EndSrcpSession();
  ShowMessage(QCoreApplication::translate(
                  "SrcpLink",
                  "Het aanmelden bij de SRCP-server op %1 is mislukt.\nMelding: %2\n"
                  "Druk op \"Verbinden\" om het opnieuw te proberen.")
                  .arg(address_.ToString(), *failure));
  co_return false;
}

Task<std::optional<QString>> SrcpLink::SrcpHandshake() {
  const SrcpGreeting greeting = greeting_;
  if (!greeting.Recognised()) co_return QStringLiteral("the server's greeting was not recognised");
  // The session's own lines must be taken; the initialisations are the server's business as
  // long as it answers them, since a server without a feedback bus serves accessories all the
  // same. Track power is needed where it is the only switch, and bus 6's where it has its own.
  const Demand trackPower = greeting.powerPerBus ? Demand::AnyReply : Demand::NoError;
  if (greeting.ddw07) {
    MessageBeep(0);
    const HandshakeLines lines = {
        {SrcpLine::SetProtocol, Demand::NoError}, {SrcpLine::InfoMode, Demand::NoError},
        {SrcpLine::CommandMode, Demand::NoError}, {SrcpLine::Go, Demand::NoError},
        {SrcpLine::InitPower, Demand::AnyReply},  {SrcpLine::InitFeedback, Demand::AnyReply}};
    const std::optional<QString> failure = co_await HandshakeExchange(lines);
    if (failure) co_return failure;
  }
  if (greeting.ddw08) {
    MessageBeep(0);
    MessageBeep(0);
    const HandshakeLines lines = {{SrcpLine::SetProtocol, Demand::NoError},
                                  {SrcpLine::CommandMode, Demand::NoError},
                                  {SrcpLine::Go, Demand::NoError}};
    const std::optional<QString> failure = co_await HandshakeExchange(lines);
    if (failure) co_return failure;
    OpenSession(info_);
    co_await Pause(kSessionSettleMs);
    if (!Send(info_, {SrcpLine::SetProtocol, SrcpLine::InfoMode, SrcpLine::Go}))
      co_return QStringLiteral("the information session did not open");
    co_await Pause(kSessionSettleMs);
    HandshakeLines power = {{SrcpLine::InitPower, Demand::AnyReply},
                            {SrcpLine::InitFeedback, Demand::AnyReply},
                            {SrcpLine::PowerOn, trackPower}};
    // A server that has reported the accessory bus without power by now gets it switched on
    // with the track power, in one go.
    const bool accessoryBusOff = greeting.powerPerBus && AccessoryBusReportedOff();
    if (accessoryBusOff)
      power.push_back({SrcpLine::SetBusPower(kAccessoryBus, true), Demand::Carried});
    const std::optional<QString> powerFailure = co_await HandshakeExchange(std::move(power));
    if (powerFailure) co_return powerFailure;
    accessoryBusDecided_ = accessoryBusOff;
    switchedAccessoryBusOn_ = accessoryBusOff;
  }
  // A report that came in the meantime is acted on now; a later one at the first step.
  const std::optional<AccessoryOutcome> refused = co_await PowerAccessoryBus();
  if (refused) co_return refused->stationSaid;
  handshakeMade_ = true;
  power_.Connected();
  co_return std::nullopt;
}

Task<AccessoryOutcome> SrcpLink::PowerTrackForRun() {
  const std::optional<QString> off = power_.Off();
  if (!off) co_return AccessoryOutcome::CarriedOut();
  if (command_.connection != Connection::Open || !handshakeMade_)
    co_return AccessoryOutcome::Lost(QStringLiteral("the connection to the SRCP server is gone"));
  // The bus switched as "Verbinden" switched it, and its reply judged the same way.
  const bool perBus = greeting_.powerPerBus;
  const QByteArray line =
      perBus ? SrcpLine::SetBusPower(kAccessoryBus, true) : QByteArray(SrcpLine::PowerOn);
  const HandshakeLines lines = {{line, perBus ? Demand::Carried : Demand::NoError}};
  try {
    const std::optional<QString> failure = co_await HandshakeExchange(lines);
    if (failure) co_return AccessoryOutcome::Lost(*failure);
  } catch (const TcpClientError& error) {
    co_return AccessoryOutcome::Lost(error.Message());
  }
  if (perBus) switchedAccessoryBusOn_ = true;
  power_.ReportedOn();
  co_return AccessoryOutcome::CarriedOut(*off);
}

Task<std::optional<QString>> SrcpLink::HandshakeExchange(HandshakeLines lines) {
  std::vector<QByteArray> sent;
  for (const auto& [line, demand] : lines) sent.push_back(line);
  const Exchanged exchanged = co_await Exchange(std::move(sent), kGreetingPeriods);
  if (exchanged.failure) co_return exchanged.failure;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Demand demand = lines[i].second;
    const int code = exchanged.replies[i].code;
    if ((demand == Demand::NoError && code >= kFirstError) ||
        (demand == Demand::Carried && code != kCarriedOut))
      co_return QStringLiteral("the SRCP server answered \"%1\" to \"%2\"")
          .arg(QString::fromLatin1(exchanged.replies[i].message),
               QString::fromLatin1(lines[i].first.trimmed()));
  }
  co_return std::nullopt;
}

bool SrcpLink::AccessoryBusReportedOff() const {
  const auto report = busPower_.find(kAccessoryBus.toLatin1());
  return report != busPower_.end() && !report->second;
}

Task<std::optional<AccessoryOutcome>> SrcpLink::PowerAccessoryBus() {
  if (!greeting_.powerPerBus || accessoryBusDecided_ ||
      busPower_.find(kAccessoryBus.toLatin1()) == busPower_.end())
    co_return std::nullopt;
  accessoryBusDecided_ = true;
  if (!AccessoryBusReportedOff()) co_return std::nullopt;
  const QByteArray line = SrcpLine::SetBusPower(kAccessoryBus, true);
  const std::vector<QByteArray> lines = {line};
  const Exchanged exchanged = co_await Exchange(lines);
  if (exchanged.failure) co_return AccessoryOutcome::Lost(*exchanged.failure);
  if (exchanged.replies[0].code != kCarriedOut) {
    co_return AccessoryOutcome::Refused(QStringLiteral("the SRCP server answered \"%1\" to \"%2\"")
                                            .arg(QString::fromLatin1(exchanged.replies[0].message),
                                                 QString::fromLatin1(line.trimmed())));
  }
  switchedAccessoryBusOn_ = true;
  co_return std::nullopt;
}

Task<void> SrcpLink::SwitchPowerOff() {
  co_await EndSrcpSession();
}

Task<void> SrcpLink::EndSrcpSession() {
  // The session ends here: its going is no loss to report.
  handshakeMade_ = false;
  if (switchedAccessoryBusOn_) SendWhole(command_, SrcpLine::SetBusPower(kAccessoryBus, false));
  switchedAccessoryBusOn_ = false;
  Send(command_, {SrcpLine::PowerOff, SrcpLine::TermSession});
  // Closing at once could lose the lines: the system may still hold them back, and a close
  // while replies wait unread resets the connection and drops what was held. Once the server
  // has ended the session, it has read them.
  co_await WaitForServer(1, [] { return false; });
  command_.socket.Close();
  info_.socket.Close();
}
