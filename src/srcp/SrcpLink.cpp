#include "srcp/SrcpLink.h"

#include <QCoreApplication>
#include <exception>
#include <utility>

#include "platform/ExceptionDisplay.h"
#include "platform/UserNotifier.h"
#include "tcp/TcpClientError.h"

namespace {

constexpr int kConnectionRefused = 10061;

}  // namespace

SrcpLink::SrcpLink(TcpClient& commandSession, TcpClient& infoSession, LinkObserver& observer)
    : command_{commandSession, {}, Connection::Closed},
      info_{infoSession, {}, Connection::Closed},
      observer_(observer) {
  Bind(command_, &SrcpLink::CommandLine,
       [](LinkObserver& observer, const QString& text) { observer.LogReceived(text); });
  Bind(info_, &SrcpLink::InfoLine,
       [](LinkObserver& observer, const QString& text) { observer.LogInformation(text); });
}

SrcpLink::~SrcpLink() {
  Unbind(command_);
  Unbind(info_);
  // A session left open would have greeted this link only; whoever uses the sockets next
  // starts sessions of its own.
  try {
    command_.socket.Close();
    info_.socket.Close();
  } catch (const std::exception&) {
    // The handle is released all the same, and nobody is left to tell.
  }
}

void SrcpLink::Bind(Session& session, void (SrcpLink::*line)(const QByteArray&),
                    void (*log)(LinkObserver&, const QString&)) {
  TcpClient& socket = session.socket;
  // Every wait for the server looks again at what it waits for; what goes wrong in a handler is
  // shown, never raised into the event loop.
  socket.OnRead = [this, &session, line, log] {
    news_.Notify();
    RunGuarded([&] {
      const QByteArray text = session.socket.ReceiveText();
      // The server's text is 8-bit; the pane shows each read as one entry, as it came.
      log(observer_, QString::fromLatin1(text));
      session.framer.Feed(text,
                          [this, line](const QByteArray& complete) { (this->*line)(complete); });
      // A greeting is known as soon as it names the server, even before its line has ended.
      if (&session == &command_ && !GreetingComplete() && !greeting_.Recognised())
        greeting_ = RecogniseSrcpGreeting(QString::fromLatin1(session.framer.Pending()));
    });
  };
  socket.OnConnect = [this, &session] {
    news_.Notify();
    session.connection = Connection::Open;
  };
  socket.OnDisconnect = [this, &session] {
    news_.Notify();
    RunGuarded([&] { SessionClosed(session); });
  };
  socket.OnError = [this, &session](SocketErrorStage stage, int& errorCode) {
    news_.Notify();
    RunGuarded([&] { SessionError(session, stage, errorCode); });
  };
}

void SrcpLink::Unbind(Session& session) {
  session.socket.OnRead = nullptr;
  session.socket.OnConnect = nullptr;
  session.socket.OnDisconnect = nullptr;
  session.socket.OnError = nullptr;
}

bool SrcpLink::SetServerAddress(const QString& text) {
  const std::optional<SrcpServerAddress> parsed = SrcpServerAddress::Parse(text);
  if (!parsed) {
    rejectedAddress_ = text.trimmed();
    return false;
  }
  address_ = *parsed;
  rejectedAddress_.clear();
  return true;
}

Task<void> SrcpLink::Attach() {
  if (rejectedAddress_.isEmpty()) co_await StartSrcpCommandSession();
}

Task<void> SrcpLink::StartSrcpCommandSession() {
  OpenCommandSession();
  co_await WaitForText(QStringLiteral("SRCP"));
}

void SrcpLink::OpenCommandSession() {
  info_.socket.Close();
  greeting_ = {};
  handshakeMade_ = false;
  refusalShown_ = false;
  accessoryBusDecided_ = false;
  switchedAccessoryBusOn_ = false;
  sentLines_ = 0;
  answeredLines_ = 0;
  awaitedReplies_.clear();
  OpenSession(command_);
}

void SrcpLink::OpenSession(Session& session) {
  TcpClient& socket = session.socket;
  socket.Close();
  // A dotted address needs no lookup; a host name is looked up without holding up the window.
  const bool dotted = address_.IsDottedAddress();
  socket.SetPort(address_.port);
  socket.SetAddress(dotted ? address_.host : QString());
  socket.SetHost(dotted ? QString() : address_.host);
  session.framer.Reset();
  if (&session == &info_) busPower_.clear();
  session.connection = Connection::Opening;
  try {
    socket.Open();
  } catch (...) {
    session.connection = Connection::Closed;
    throw;
  }
}

void SrcpLink::SessionError(Session& session, SocketErrorStage stage, int& errorCode) {
  // A failed connect, and a connection broken under a read, leave the socket open but of no
  // use; a failed lookup and a failed send close it, which is reported as a disconnect.
  if (stage == SocketErrorStage::Disconnect && handshakeMade_) {
    // A session that breaks after "Verbinden" is told in words of this program's own (the
    // window's box, the run's verdict); the socket layer's number would only be a second box.
    errorCode = 0;
    SessionClosed(session);
    return;
  }
  if (stage == SocketErrorStage::Connect || stage == SocketErrorStage::Disconnect)
    SessionClosed(session);
  if (stage != SocketErrorStage::Connect || errorCode != kConnectionRefused) return;
  // The socket layer's own box, with what the number means to this user.
  const int refused = std::exchange(errorCode, 0);
  refusalShown_ = true;
  ShowMessage(TcpClientError::Asynchronous(refused).Message(),
              QCoreApplication::translate(
                  "SrcpLink",
                  "Er draait geen SRCP-server op %1. Start de server en druk daarna "
                  "op \"Verbinden\".")
                  .arg(address_.ToString()));
}

void SrcpLink::SessionClosed(Session& session) {
  session.connection = Connection::Closed;
  if (!handshakeMade_) return;
  handshakeMade_ = false;
  // The handshake was made on both sessions together: the one left is of no use alone, and
  // the next "Verbinden" starts with a new command session.
  command_.socket.Close();
  info_.socket.Close();
  if (OnSessionLost) OnSessionLost();
}

void SrcpLink::CommandLine(const QByteArray& line) {
  if (command_.framer.LineCount() == 1)
    greeting_ = RecogniseSrcpGreeting(QString::fromLatin1(line));
  if (!watchedText_.isEmpty() && QString::fromLatin1(line).contains(watchedText_))
    watchedTextSeen_ = true;
  // Under a flood most lines are information nobody waits for; only a line that may be an
  // awaited reply is looked at closely.
  if (answeredLines_ >= sentLines_) return;
  const SrcpServerLine parsed = ParseSrcpServerLine(line);
  if (!parsed.IsReply()) return;
  const auto awaited = awaitedReplies_.find(++answeredLines_);
  if (awaited != awaitedReplies_.end()) awaited->second = parsed;
}

void SrcpLink::InfoLine(const QByteArray& line) {
  if (!line.contains(" INFO ")) return;
  const SrcpServerLine parsed = ParseSrcpServerLine(line);
  if (parsed.code != 100 || parsed.words.size() < 4) return;
  const QByteArray& bus = parsed.words[1];
  if (parsed.words[2] == "POWER") {
    const bool on = parsed.words[3] == "ON";
    busPower_[bus] = on;
    // The bus whose power the run needs, once "Verbinden" (and on a server with a switch per
    // bus, the first step) has seen to it: a report of it off after that is the station's.
    const bool powerBus = bus == (greeting_.powerPerBus ? "6" : "1");
    const bool seenTo = handshakeMade_ && (!greeting_.powerPerBus || accessoryBusDecided_);
    if (powerBus && on) power_.ReportedOn();
    if (powerBus && !on && seenTo) power_.ReportedOff(QString::fromLatin1(parsed.message));
  } else if (trackReport_ && parsed.IsInfo(trackReport_->bus, "GA") &&
             parsed.words[3] == trackReport_->address &&
             parsed.words.value(4) == trackReport_->port) {
    trackReport_->seen = true;
    trackReport_->line = parsed.message;
  }
}

Task<bool> SrcpLink::WaitForText(QString text) {
  watchedText_ = text;
  watchedTextSeen_ = false;
  const bool seen = co_await WaitForServer(1, [this, text] {
    return watchedTextSeen_ || QString::fromLatin1(command_.framer.Pending()).contains(text);
  });
  watchedText_.clear();
  co_return seen;
}

Task<bool> SrcpLink::WaitForServer(int periods, std::function<bool()> done) {
  // Every wait gets its full time from its own start.
  const Wakeup::Clock::time_point deadline = Wakeup::Clock::now() + periods * replyPeriod_;
  while (!done() && command_.connection != Connection::Closed) {
    const bool news = co_await news_.Until(deadline);
    if (!news) break;
  }
  co_return done();
}

bool SrcpLink::Send(Session& session, std::initializer_list<const char*> lines) {
  bool whole = true;
  for (const char* line : lines) whole = SendWhole(session, QByteArray(line)) && whole;
  return whole;
}

bool SrcpLink::SendWhole(Session& session, const QByteArray& line) {
  if (session.socket.SendText(line) != line.size()) return false;
  if (&session == &command_) ++sentLines_;
  return true;
}
