// Finding the Intellibox or Twin-Center on the port: a long break, a baud-rate probe, the P50X
// prompt check, the default rate where the command station keeps a fixed one, and the set-up
// commands (version query for the About window, RT255, SE62, XSensOff).
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/Task.h"

class LinkObserver;
class P50XLinkOperations;
class SerialPort;

// One run of detection on the link's port, as P50XLink::DetectP50XInterface starts it as one
// command that has the line: port and log are the link's, and outlive the run.
class P50XDetection {
 public:
  P50XDetection(P50XLinkOperations& link, SerialPort& port, LinkObserver& log);

  // (Re)opens the port with only the break and CTS events, so that the replies stay in the
  // input queue for the link's reads. The window runs during its pauses (about 2 s in all).
  // Where a command station did not answer or needs the user first, what went wrong is in the
  // connection log and a message box. Ended in the middle, it leaves no break on the line. An
  // SerialPortError from opening the port passes to the caller.
  Task<void> Run();
  // True when the run found a command station ready for P50X commands.
  bool Ready() const { return ready_; }

 private:
  enum class PromptAnswer;

  Task<bool> Find();
  Task<bool> ProbeBaudRates();
  Task<PromptAnswer> CheckP50XPrompt();
  Task<bool> ReadSpecialOptions();
  Task<void> SetUpCommandStation();

  void WriteRaw(const char* text);
  void Log(const QString& text);
  void Log(const QByteArray& text);

  P50XLinkOperations& link_;
  SerialPort& port_;
  LinkObserver& log_;
  bool ready_ = false;
};
