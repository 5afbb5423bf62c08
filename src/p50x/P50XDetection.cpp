#include "p50x/P50XDetection.h"

#include <QCoreApplication>
#include <QString>
#include <chrono>
#include <iterator>

#include "link/LinkObserver.h"
#include "p50x/P50XLinkOperations.h"
#include "p50x/P50XReplyWait.h"
#include "p50x/P50XVocabulary.h"
#include "platform/UserNotifier.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortError.h"

namespace {

constexpr int kBreakMs = 1500;
constexpr int kAfterBreakMs = 600;
constexpr int kProbeFirstPauseMs = 10;
constexpr int kProbeSecondPauseMs = 200;
constexpr int kAfterBaudChangeMs = 300;
constexpr int kAfterVersionQueryMs = 100;
// A command station that sends one byte and then falls silent must not hold the probe at one
// rate for ever.
constexpr int kMaxProbesPerRate = 3;
constexpr int kProbeAnswerLength = 2;
constexpr int kLongestReenableReply = 9;
constexpr auto kMixedReplyLimit = std::chrono::seconds(1);

struct ProbeRate {
  BaudRateSetting rate;
  const char* foundLine;
};

constexpr ProbeRate kProbeRates[] = {
    {br2400, "OldBaud = 2400 (Default) BaudRate na een Long Break"},
    {br4800, "OldBaud = 4800 (Default)"},
    {br9600, "OldBaud = 9600 (Default)"},
    {br19200, "OldBaud = 19200 (Default)"},
};

// What the first character of the reply to "xSo1\r" stands for.
struct DefaultRate {
  const char* logged;
  const char* baudCommand;  // null: the rate cannot be set by command
  BaudRateSetting rate;
};

constexpr DefaultRate kDefaultRates[] = {
    {" = 2400", "xb2400\r", br2400}, {" = 4800", "xb4800\r", br4800},
    {" = 9600", "xb9600\r", br9600}, {" = 19200", "xb19200\r", br19200},
    {" = 38400", nullptr, br38400},  {" = 16457", nullptr, br38400},
};
constexpr int kDefaultRateCount = static_cast<int>(std::size(kDefaultRates));

QString NothingConnected() {
  return QCoreApplication::translate("P50XDetection",
                                     "Geen Intellibox of Twin-Center aangesloten.");
}

QByteArray WithoutPrompt(const QByteArray& reply) {
  return reply.left(reply.size() - 2);
}

// The long break, for as long as this lives: a detection ended in the middle of it (a close)
// must not leave the line held in break, or the power-off after it would never be heard.
class LongBreak {
 public:
  explicit LongBreak(SerialPort& port) : port_(port) { port_.SetBreak(true); }
  ~LongBreak() {
    if (ended_ || !port_.Connected()) return;
    try {
      port_.SetBreak(false);
    } catch (const SerialPortError&) {
      // Only an ended detection gets here; the power-off that follows meets the same port and
      // reports it.
    }
  }
  LongBreak(const LongBreak&) = delete;
  LongBreak& operator=(const LongBreak&) = delete;

  void End() {
    ended_ = true;
    port_.SetBreak(false);
  }

 private:
  SerialPort& port_;
  bool ended_ = false;
};

}  // namespace

// How the command station answered "x\r".
enum class P50XDetection::PromptAnswer { Ready, MixedMode, NeedsUser };

P50XDetection::P50XDetection(P50XLinkOperations& link, SerialPort& port, LinkObserver& log)
    : link_(link), port_(port), log_(log) {}

void P50XDetection::WriteRaw(const char* text) {
  port_.WriteStr(QByteArray(text));
}

void P50XDetection::Log(const QString& text) {
  log_.LogConnection(text);
}

void P50XDetection::Log(const QByteArray& text) {
  Log(QString::fromLatin1(text));
}

Task<void> P50XDetection::Run() {
  ready_ = co_await Find();
}

Task<bool> P50XDetection::Find() {
  if (port_.Connected()) port_.Close();
  port_.SetEvents({evBreak, evCTS});
  port_.Open();
  port_.ClearBuffer(true, true);
  {
    LongBreak longBreak(port_);
    co_await link_.PauseLink(kBreakMs);
    longBreak.End();
  }
  co_await link_.PauseLink(kAfterBreakMs);

  const bool answered = co_await ProbeBaudRates();
  if (!answered) {
    ShowMessage(NothingConnected());
    co_return false;
  }
  const PromptAnswer prompt = co_await CheckP50XPrompt();
  switch (prompt) {
    case PromptAnswer::Ready:
      break;
    // The command station takes P50X commands as it is, and its options are not to be touched.
    case PromptAnswer::MixedMode:
      co_return true;
    case PromptAnswer::NeedsUser:
      co_return false;
  }
  const bool optionsRead = co_await ReadSpecialOptions();
  if (!optionsRead) co_return false;
  co_await SetUpCommandStation();
  co_return true;
}

// Bytes are not purged between probes: the count judged is everything that arrived since the
// purge before the break.
Task<bool> P50XDetection::ProbeBaudRates() {
  for (const ProbeRate& probe : kProbeRates) {
    port_.SetBaudRate(probe.rate);
    for (int attempt = 1; attempt <= kMaxProbesPerRate; ++attempt) {
      port_.WriteStr(QByteArray(1, static_cast<char>(P50X::kBaudRateProbe)));
      co_await link_.PauseLink(kProbeFirstPauseMs);
      co_await link_.PauseLink(kProbeSecondPauseMs);
      const int waiting = port_.InputCount();
      if (waiting == kProbeAnswerLength) {
        Log(QString::fromLatin1(probe.foundLine));
        co_return true;
      }
      if (waiting != 1) break;
    }
  }
  co_return false;
}

Task<P50XDetection::PromptAnswer> P50XDetection::CheckP50XPrompt() {
  QByteArray answer;
  port_.ReadStr(answer, port_.InputCount());
  WriteRaw("x\r");
  const QByteArray reply = co_await link_.ReadUntilPrompt();
  Log(reply);
  if (reply == "\r]") co_return PromptAnswer::Ready;
  if (reply.size() <= kLongestReenableReply) {
    ShowMessage(
        QCoreApplication::translate("P50XDetection", "Please re-enable the P50x protocol!"));
    co_return PromptAnswer::NeedsUser;
  }
  port_.ClearBuffer(true, false);
  WriteRaw("xZzA0\r");
  // The answer needs its time on the line; waiting for it (within limits) is what lets "Mixed"
  // be recognised at all.
  co_await link_.AwaitReply(5, std::chrono::steady_clock::now() + kMixedReplyLimit);
  QByteArray mode;
  port_.ReadStr(mode, 5);
  if (mode == "Mixed") co_return PromptAnswer::MixedMode;
  ShowMessage(QCoreApplication::translate("P50XDetection", "Reset de Intellibox, Twin-Center"));
  co_return PromptAnswer::NeedsUser;
}

Task<bool> P50XDetection::ReadSpecialOptions() {
  link_.SetXPrefixMode(true);
  WriteRaw("xSo1\r");
  const QByteArray reply1 = co_await link_.ReadUntilPrompt();
  const char first = reply1.isEmpty() ? '\0' : reply1[0];
  if (first < '0' || first > '9') {
    Log(QCoreApplication::translate("P50XDetection", "Onverwacht antwoord op xSo1: ") +
        QString::fromLatin1(reply1));
    ShowMessage(NothingConnected());
    co_return false;
  }
  const int option1 = first - '0';
  const DefaultRate* defaultRate = option1 < kDefaultRateCount ? &kDefaultRates[option1] : nullptr;
  if (defaultRate) Log("Baudrate by Default: So#1 = " + reply1 + defaultRate->logged);

  WriteRaw("xSo26\r");
  const QByteArray reply26 = co_await link_.ReadUntilPrompt();
  if (reply26.startsWith('0')) {
    Log("So #26 value: = " + reply26 + " Baudrate staat vast ingesteld.");
    if (defaultRate && defaultRate->baudCommand) {
      WriteRaw(defaultRate->baudCommand);
      Log(WithoutPrompt(co_await link_.ReadUntilPrompt()));
      port_.SetBaudRate(defaultRate->rate);
      co_await link_.PauseLink(kAfterBaudChangeMs);
    }
  } else if (reply26.startsWith('1')) {
    Log("So #26 value: = " + reply26 + " Baudrate wordt gereset na iedere Long Break, of Reset.");
  }
  co_return true;
}

Task<void> P50XDetection::SetUpCommandStation() {
  WriteRaw("`");
  port_.ClearBuffer(true, false);
  WriteRaw("xZzA0\r");
  Log(WithoutPrompt(co_await link_.ReadUntilPrompt()));
  WriteRaw("xb\r");
  Log(WithoutPrompt(co_await link_.ReadUntilPrompt()));
  link_.SetXPrefixMode(true);
  co_await link_.WriteCommand(QByteArray(1, static_cast<char>(P50X::XVer)));
  port_.ClearBuffer(true, false);
  co_await link_.PauseLink(kAfterVersionQueryMs);
  co_await link_.WriteCommand("RT255");
  Log(co_await link_.ReadUntilPrompt());
  co_await link_.WriteCommand("SE62");
  Log(co_await link_.ReadUntilPrompt());
  co_await link_.WriteCommand(QByteArray(1, static_cast<char>(P50X::XSensOff)));
}
