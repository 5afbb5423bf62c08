// The link to an SRCP 0.8 server over TCP. The command session (the window's srcpCommandSocket)
// opens when the user chooses "SRCP 0.8"; the information session (srcpInfoSocket) opens at
// "Verbinden" for servers that want one. What each session receives goes to its log pane as it
// comes, and is cut into lines here: the server's replies are matched on those lines, never on
// the log. Every wait for the server is bounded by reply periods (one second each), counted
// from its own start, and ends at once when the command session is gone.
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <vector>

#include "link/CommandStationLink.h"
#include "link/LinkObserver.h"
#include "link/TrackPower.h"
#include "platform/Task.h"
#include "platform/Wakeup.h"
#include "srcp/SrcpGreeting.h"
#include "srcp/SrcpLineFramer.h"
#include "srcp/SrcpServerAddress.h"
#include "srcp/SrcpServerLine.h"
#include "tcp/TcpClient.h"

class SrcpLink final : public CommandStationLink {
 public:
  // The clients are lent for the link's life: it puts its own handlers on them, and when it
  // goes it takes them off and closes both sessions.
  SrcpLink(TcpClient& commandSession, TcpClient& infoSession, LinkObserver& observer);
  ~SrcpLink() override;
  SrcpLink(const SrcpLink&) = delete;
  SrcpLink& operator=(const SrcpLink&) = delete;

  // "host[:port]"; sessions opened from then on go there. False for a text that names no
  // server: the link then has none, opens no session and refuses "Verbinden" with a box.
  bool SetServerAddress(const QString& text);

  // Called when a session of a handshake that was made goes without this link ending it (the
  // server stopped, the connection broke). "Verbinden" then makes a new handshake.
  std::function<void()> OnSessionLost;

  // A reply period (one second); tests shorten it.
  void SetReplyPeriod(std::chrono::milliseconds period) { replyPeriod_ = period; }

  Task<void> Attach() override;
  bool UsesSerialPort() const override { return false; }
  Task<bool> Connect() override;
  Task<void> SwitchPowerOff() override;
  // Once the information session has reported the power the run needs off (bus 1, or bus 6 on
  // a server with a switch per bus), switches it on again as "Verbinden" did.
  Task<AccessoryOutcome> PowerTrackForRun() override;
  Task<AccessoryOutcome> SwitchAccessory(AccessoryCommand command) override;
  Task<AccessoryOutcome> OutcomeAtStepEnd(AccessoryOutcome returned) override;

  // A new command session; waits one reply period at most for the server's greeting.
  Task<void> StartSrcpCommandSession();
  // The handshake the greeting asks for, with the server's reply to every line of the command
  // session read before it ends. Nothing when it was made; otherwise why not (nothing is sent
  // without a recognised greeting).
  Task<std::optional<QString>> SrcpHandshake();
  // One generic-accessory command, its reply and, where the server holds commands while a bus
  // has no power, the report that it reached the track.
  Task<AccessoryOutcome> SendSrcpGA(QString bus, QString address, QString port, QString protocol);
  // True as soon as the command session receives a line holding text (one without line
  // breaks); one reply period at most.
  Task<bool> WaitForText(QString text);
  // Power off, end of session; both sessions are closed once the server has let go.
  Task<void> EndSrcpSession();

 private:
  enum class Connection { Closed, Opening, Open };

  struct Session {
    TcpClient& socket;
    SrcpLineFramer framer;
    Connection connection = Connection::Closed;
  };

  // The accessory command whose arrival on the track the information session may report.
  struct TrackReport {
    QByteArray bus;
    QByteArray address;
    QByteArray port;
    bool seen = false;
    QByteArray line;
  };

  void Bind(Session& session, void (SrcpLink::*line)(const QByteArray&),
            void (*log)(LinkObserver&, const QString&));
  void Unbind(Session& session);
  void OpenCommandSession();
  void OpenSession(Session& session);
  void SessionError(Session& session, SocketErrorStage stage, int& errorCode);
  void SessionClosed(Session& session);
  void CommandLine(const QByteArray& line);
  void InfoLine(const QByteArray& line);

  bool GreetingComplete() const { return command_.framer.LineCount() > 0; }
  // The lines go out one after another; false when one of them did not go out whole.
  bool Send(Session& session, std::initializer_list<const char*> lines);
  bool SendWhole(Session& session, const QByteArray& line);
  struct Exchanged {
    std::optional<QString> failure;       // why a reply is missing
    std::vector<SrcpServerLine> replies;  // without a failure: the reply to each line, in order
    static Exchanged Failed(QString why) { return {std::move(why), {}}; }
  };
  // Sends the lines back to back and waits the reply periods for the reply to each.
  Task<Exchanged> Exchange(std::vector<QByteArray> lines, int periods = 1);
  // Lines of the handshake's command session, each with what its reply must be.
  enum class Demand { AnyReply, NoError, Carried };
  using HandshakeLines = std::vector<std::pair<QByteArray, Demand>>;
  Task<std::optional<QString>> HandshakeExchange(HandshakeLines lines);
  // Once the information session has reported the accessory bus without power (on a server
  // with a switch per bus), switches it on; until then, nothing. A refusal is the server's.
  Task<std::optional<AccessoryOutcome>> PowerAccessoryBus();
  bool AccessoryBusReportedOff() const;
  Task<AccessoryOutcome> AwaitTrackReport(SrcpServerLine reply);
  // Until done() holds, the periods have passed or the command session has closed; what done()
  // says then.
  Task<bool> WaitForServer(int periods, std::function<bool()> done);

  Session command_;
  Session info_;
  LinkObserver& observer_;
  std::chrono::milliseconds replyPeriod_{1000};
  // Whatever either session brings: a read, its connect, its end. Every wait for the server
  // looks again at what it waits for.
  Wakeup news_;
  SrcpServerAddress address_;
  QString rejectedAddress_;  // the text of an address that named no server, while it stands

  // Of the command session.
  SrcpGreeting greeting_;
  bool handshakeMade_ = false;
  bool refusalShown_ = false;
  // Lines sent that the server answers, and replies counted against them: a server answers
  // every command line once, in order, so reply n belongs to line n.
  qint64 sentLines_ = 0;
  qint64 answeredLines_ = 0;
  std::map<qint64, std::optional<SrcpServerLine>> awaitedReplies_;
  QString watchedText_;
  bool watchedTextSeen_ = false;

  // Of the information session.
  std::map<QByteArray, bool> busPower_;
  bool accessoryBusDecided_ = false;  // its report came and was acted on
  bool switchedAccessoryBusOn_ = false;
  std::optional<TrackReport> trackReport_;
  TrackPower power_;
  quint64 stepMark_ = 0;
};
