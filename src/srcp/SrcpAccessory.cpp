// The SRCP link's accessory command and how its outcome is judged.
#include <QScopeGuard>

#include "platform/Pause.h"
#include "srcp/SrcpLines.h"
#include "srcp/SrcpLink.h"
#include "tcp/TcpClientError.h"

namespace {

constexpr int kCarriedOut = 200;
// The server does not know the accessory yet: it is initialised, and the command sent again.
constexpr int kNoData = 416;

const QString kConnectionGone = QStringLiteral("the connection to the SRCP server is gone");

QString Quoted(const QByteArray& line) {
  return QStringLiteral("\"%1\"").arg(QString::fromLatin1(line.trimmed()));
}

}  // namespace

Task<AccessoryOutcome> SrcpLink::SwitchAccessory(AccessoryCommand command) {
  stepMark_ = power_.Mark();
  // Nothing goes out onto a bus the server has reported without power.
  if (const std::optional<AccessoryOutcome> refused = power_.StepRefusal(stepMark_))
    co_return *refused;
  // The number, not the text typed: "07" or "+7" is accessory 7 to the server, which reports it
  // as 7, and a report is matched on the text sent.
  co_return co_await SendSrcpGA(QStringLiteral("6"), QString::number(command.turnout),
                                QStringLiteral("1"), QStringLiteral("N"));
}

Task<AccessoryOutcome> SrcpLink::SendSrcpGA(QString bus, QString address, QString port,
                                            QString protocol) {
  // The receive log shows what answers this command. A late reply on its way to a line given up
  // is read first: it must not be counted against this command's lines.
  observer_.ShowReceiveStatus(QString());
  co_await Pause(0);
  if (command_.connection != Connection::Open) co_return AccessoryOutcome::Lost(kConnectionGone);
  if (!handshakeMade_) {
    co_return AccessoryOutcome::Lost(
        QStringLiteral("no session with the SRCP server: \"Verbinden\" made no handshake, or "
                       "its session has gone"));
  }
  try {
    const std::optional<AccessoryOutcome> refused = co_await PowerAccessoryBus();
    if (refused) co_return *refused;
    const QByteArray set = SrcpLine::SetGA(bus, address, port);
    trackReport_ = TrackReport{bus.toLatin1(), address.toLatin1(), port.toLatin1(), false, {}};
    const std::vector<QByteArray> setOnly = {set};
    Exchanged exchanged = co_await Exchange(setOnly);
    if (exchanged.failure) co_return AccessoryOutcome::Lost(*exchanged.failure);
    SrcpServerLine reply = exchanged.replies[0];
    if (reply.code == kNoData) {
      const std::vector<QByteArray> initAndSet = {SrcpLine::InitGA(bus, address, protocol), set};
      exchanged = co_await Exchange(initAndSet);
      if (exchanged.failure) co_return AccessoryOutcome::Lost(*exchanged.failure);
      if (exchanged.replies[0].code != kCarriedOut)
        co_return AccessoryOutcome::Refused(QString::fromLatin1(exchanged.replies[0].message));
      reply = exchanged.replies[1];
    }
    if (reply.code != kCarriedOut)
      co_return AccessoryOutcome::Refused(QString::fromLatin1(reply.message));
    if (greeting_.powerPerBus) co_return co_await AwaitTrackReport(reply);
    co_return AccessoryOutcome::CarriedOut(QString::fromLatin1(reply.message));
  } catch (const TcpClientError& error) {
    // A send that failed has closed the session; the run hears of it as a lost command.
    co_return AccessoryOutcome::Lost(error.Message());
  }
}

Task<AccessoryOutcome> SrcpLink::OutcomeAtStepEnd(AccessoryOutcome returned) {
  // The information session goes on reporting in the step's pause.
  if (returned.Failed()) co_return returned;
  co_return power_.StepRefusal(stepMark_).value_or(returned);
}

Task<SrcpLink::Exchanged> SrcpLink::Exchange(std::vector<QByteArray> lines, int periods) {
  std::vector<qint64> numbers;
  const auto forget = qScopeGuard([&] {
    for (const qint64 number : numbers) awaitedReplies_.erase(number);
  });
  for (const QByteArray& line : lines) {
    const int sent = command_.socket.SendText(line);
    if (sent != line.size()) {
      if (command_.connection != Connection::Open) co_return Exchanged::Failed(kConnectionGone);
      if (sent < 0)
        co_return Exchanged::Failed(
            QStringLiteral("the SRCP server takes no more data; %1 was not sent")
                .arg(Quoted(line)));
      co_return Exchanged::Failed(QStringLiteral("only %1 of the %2 bytes of %3 went out")
                                      .arg(sent)
                                      .arg(line.size())
                                      .arg(Quoted(line)));
    }
    numbers.push_back(++sentLines_);
    awaitedReplies_[sentLines_];
  }
  // The first line still without its reply, or none.
  const auto unanswered = [&]() -> const QByteArray* {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      const auto reply = awaitedReplies_.find(numbers[i]);
      if (reply == awaitedReplies_.end() || !reply->second) return &lines[i];
    }
    return nullptr;
  };
  co_await WaitForServer(periods, [&] { return unanswered() == nullptr; });
  if (const QByteArray* line = unanswered()) {
    if (command_.connection != Connection::Open) co_return Exchanged::Failed(kConnectionGone);
    // The replies still owed are given up: one that comes late must not pass for the reply to
    // a later command.
    answeredLines_ = sentLines_;
    co_return Exchanged::Failed(
        QStringLiteral("no reply from the SRCP server to %1").arg(Quoted(*line)));
  }
  Exchanged exchanged;
  for (const qint64 number : numbers) exchanged.replies.push_back(*awaitedReplies_[number]);
  co_return exchanged;
}

Task<AccessoryOutcome> SrcpLink::AwaitTrackReport(SrcpServerLine reply) {
  const TrackReport awaited = *trackReport_;
  co_await WaitForServer(
      1, [this] { return trackReport_->seen || info_.connection != Connection::Open; });
  if (trackReport_->seen)
    co_return AccessoryOutcome::CarriedOut(QString::fromLatin1(trackReport_->line));
  if (command_.connection != Connection::Open) co_return AccessoryOutcome::Lost(kConnectionGone);
  const QString bus = QString::fromLatin1(awaited.bus);
  const QString held =
      QStringLiteral(
          "the SRCP server answered \"%1\" but did not report "
          "INFO %2 GA %3 (the command did not reach the track)")
          .arg(QString::fromLatin1(reply.message), bus, QString::fromLatin1(awaited.address));
  const auto power = busPower_.find(awaited.bus);
  if (power != busPower_.end() && !power->second)
    co_return AccessoryOutcome::Refused(held + QStringLiteral(": bus %1 has no power").arg(bus));
  co_return AccessoryOutcome::Lost(held + QStringLiteral(": has bus %1 power?").arg(bus));
}
