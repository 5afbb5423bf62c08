#include "p50x/P50XDetection.h"

#include <QString>
#include <chrono>
#include <iterator>

#include "CPort/TComPort.h"
#include "link/LinkObserver.h"
#include "p50x/P50XCommandScope.h"
#include "p50x/P50XLinkOperations.h"
#include "p50x/P50XReplyWait.h"
#include "p50x/P50XVocabulary.h"
#include "platform/Messages.h"
#include "platform/UserNotifier.h"

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
  TBaudRate rate;
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
  TBaudRate rate;
};

constexpr DefaultRate kDefaultRates[] = {
    {" = 2400", "xb2400\r", br2400}, {" = 4800", "xb4800\r", br4800},
    {" = 9600", "xb9600\r", br9600}, {" = 19200", "xb19200\r", br19200},
    {" = 38400", nullptr, br38400},  {" = 16457", nullptr, br38400},
};
constexpr int kDefaultRateCount = static_cast<int>(std::size(kDefaultRates));

const QString kNothingConnected = QStringLiteral("Geen Intellibox of Twin-Center aangesloten.");

QByteArray WithoutPrompt(const QByteArray& reply) {
  return reply.left(reply.size() - 2);
}

}  // namespace

// How the command station answered "x\r".
enum class P50XDetection::PromptAnswer { Ready, MixedMode, NeedsUser };

P50XDetection::P50XDetection(P50XLinkOperations& link, P50XCommandScope& scope, TComPort& port,
                             LinkObserver& log)
    : link_(link), scope_(scope), port_(port), log_(log) {}

void P50XDetection::ProcessMessagesMidCommand() {
  const P50XCommandScope::EventWindow window(scope_, true);
  ProcessMessages();
  if (window.Abandoned()) throw P50XCommandAbandoned();
}

void P50XDetection::Sleep(int milliseconds) const {
  link_.SleepLink(milliseconds);
}

void P50XDetection::WriteRaw(const char* text) {
  port_.WriteStr(QByteArray(text));
}

void P50XDetection::Log(const QString& text) {
  log_.LogConnection(text);
}

void P50XDetection::Log(const QByteArray& text) {
  Log(QString::fromLatin1(text));
}

bool P50XDetection::Run() {
  if (port_.Connected()) port_.Close();
  port_.SetEvents({evBreak, evCTS});
  port_.Open();
  ProcessMessagesMidCommand();
  port_.ClearBuffer(true, true);
  port_.SetBreak(true);
  Sleep(kBreakMs);
  port_.SetBreak(false);
  Sleep(kAfterBreakMs);
  ProcessMessagesMidCommand();

  if (!ProbeBaudRates()) {
    ShowMessage(kNothingConnected);
    return false;
  }
  switch (CheckP50XPrompt()) {
    case PromptAnswer::Ready:
      break;
    // The command station takes P50X commands as it is, and its options are not to be touched.
    case PromptAnswer::MixedMode:
      return true;
    case PromptAnswer::NeedsUser:
      return false;
  }
  if (!ReadSpecialOptions()) return false;
  SetUpCommandStation();
  return true;
}

// Bytes are not purged between probes: the count judged is everything that arrived since the
// purge before the break.
bool P50XDetection::ProbeBaudRates() {
  for (const ProbeRate& probe : kProbeRates) {
    port_.SetBaudRate(probe.rate);
    for (int attempt = 1; attempt <= kMaxProbesPerRate; ++attempt) {
      port_.WriteStr(QByteArray(1, static_cast<char>(P50X::kBaudRateProbe)));
      Sleep(kProbeFirstPauseMs);
      ProcessMessagesMidCommand();
      Sleep(kProbeSecondPauseMs);
      const int waiting = port_.InputCount();
      if (waiting == kProbeAnswerLength) {
        Log(QString::fromLatin1(probe.foundLine));
        return true;
      }
      if (waiting != 1) break;
    }
  }
  return false;
}

P50XDetection::PromptAnswer P50XDetection::CheckP50XPrompt() {
  QByteArray answer;
  port_.ReadStr(answer, port_.InputCount());
  WriteRaw("x\r");
  const QByteArray reply = link_.ReadUntilPrompt();
  Log(reply);
  if (reply == "\r]") return PromptAnswer::Ready;
  if (reply.size() <= kLongestReenableReply) {
    ShowMessage(QStringLiteral("Please re-enable the P50x protocol!"));
    return PromptAnswer::NeedsUser;
  }
  port_.ClearBuffer(true, false);
  WriteRaw("xZzA0\r");
  // The answer needs its time on the line; waiting for it (within limits) is what lets "Mixed"
  // be recognised at all.
  if (WaitForP50XInput(port_, scope_, 5, std::chrono::steady_clock::now() + kMixedReplyLimit) ==
      P50XInputWait::Abandoned)
    throw P50XCommandAbandoned();
  QByteArray mode;
  port_.ReadStr(mode, 5);
  if (mode == "Mixed") return PromptAnswer::MixedMode;
  ShowMessage(QStringLiteral("Reset de Intellibox, Twin-Center"));
  return PromptAnswer::NeedsUser;
}

bool P50XDetection::ReadSpecialOptions() {
  link_.SetXPrefixMode(true);
  WriteRaw("xSo1\r");
  const QByteArray reply1 = link_.ReadUntilPrompt();
  const char first = reply1.isEmpty() ? '\0' : reply1[0];
  if (first < '0' || first > '9') {
    Log(QStringLiteral("Onverwacht antwoord op xSo1: ") + QString::fromLatin1(reply1));
    ShowMessage(kNothingConnected);
    return false;
  }
  const int option1 = first - '0';
  const DefaultRate* defaultRate = option1 < kDefaultRateCount ? &kDefaultRates[option1] : nullptr;
  if (defaultRate) Log("Baudrate by Default: So#1 = " + reply1 + defaultRate->logged);

  WriteRaw("xSo26\r");
  const QByteArray reply26 = link_.ReadUntilPrompt();
  if (reply26.startsWith('0')) {
    Log("So #26 value: = " + reply26 + " Baudrate staat vast ingesteld.");
    if (defaultRate && defaultRate->baudCommand) {
      WriteRaw(defaultRate->baudCommand);
      Log(WithoutPrompt(link_.ReadUntilPrompt()));
      port_.SetBaudRate(defaultRate->rate);
      Sleep(kAfterBaudChangeMs);
    }
  } else if (reply26.startsWith('1')) {
    Log("So #26 value: = " + reply26 + " Baudrate wordt gereset na iedere Long Break, of Reset.");
  }
  return true;
}

void P50XDetection::SetUpCommandStation() {
  WriteRaw("`");
  port_.ClearBuffer(true, false);
  WriteRaw("xZzA0\r");
  Log(WithoutPrompt(link_.ReadUntilPrompt()));
  WriteRaw("xb\r");
  Log(WithoutPrompt(link_.ReadUntilPrompt()));
  ProcessMessagesMidCommand();
  link_.SetXPrefixMode(true);
  link_.SendP50X(QByteArray(1, static_cast<char>(P50X::XVer)));
  port_.ClearBuffer(true, false);
  Sleep(kAfterVersionQueryMs);
  link_.SendP50X("RT255");
  Log(link_.ReadUntilPrompt());
  link_.SendP50X("SE62");
  Log(link_.ReadUntilPrompt());
  link_.SendP50X(QByteArray(1, static_cast<char>(P50X::XSensOff)));
}
