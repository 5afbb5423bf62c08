// Finding the Intellibox or Twin-Center on the port: a long break, a baud-rate probe, the P50X
// prompt check, the default rate where the command station keeps a fixed one, and the set-up
// commands (version query for the About window, RT255, SE62, XSensOff).
#pragma once

#include <QByteArray>
#include <QString>

class LinkObserver;
class P50XCommandScope;
class P50XLinkOperations;
class TComPort;

// One run of detection on the link's port, as P50XLink::DetectP50XInterface starts it inside a
// command of the link: scope is that link's, and port and log are those it was given.
class P50XDetection {
 public:
  P50XDetection(P50XLinkOperations& link, P50XCommandScope& scope, TComPort& port,
                LinkObserver& log);

  // (Re)opens the port with only the break and CTS events, so that the replies stay in the
  // input queue for the link's reads. True when a command station answered and is ready for
  // P50X commands; false when none answered or it needs the user first; what went wrong is
  // then in the connection log and a message box. An EComPort from opening the port passes to
  // the caller.
  bool Run();

 private:
  enum class PromptAnswer;

  bool ProbeBaudRates();
  PromptAnswer CheckP50XPrompt();
  bool ReadSpecialOptions();
  void SetUpCommandStation();

  void Sleep(int milliseconds) const;
  // Lets the window run while the command station may be sending; the link counts as busy.
  void ProcessMessagesMidCommand();
  void WriteRaw(const char* text);
  void Log(const QString& text);
  void Log(const QByteArray& text);

  P50XLinkOperations& link_;
  P50XCommandScope& scope_;
  TComPort& port_;
  LinkObserver& log_;
};
