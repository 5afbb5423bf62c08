// The connection to the chosen command station, from the user's "Verbinden" to the close: the
// port's settings dialog, the link's connect, what arrives on the port, the event poll every
// 100 ms, the watch on the CTS line, and the power-off that ends it.
#pragma once

#include <QObject>
#include <functional>

#include "platform/Task.h"

class QTimer;
class StationChoice;
class SerialPort;
struct MainWindowWidgets;

class StationConnection {
 public:
  StationConnection(QWidget& window, MainWindowWidgets& widgets, SerialPort& port,
                    StationChoice& station);
  ~StationConnection();

  // The settings dialog of a serial station's port; nothing for a server.
  Task<void> ChoosePort();
  // Connects and switches the track power on. The programming panel shows at once but takes
  // clicks only once the station is connected: a run started in the middle of detection or a
  // handshake would report success for commands that were never accepted. False, back at the
  // selection with the port closed, when no station is usable (what went wrong has been shown).
  Task<bool> Connect();
  // Once connected: the event poll of a station that wants one.
  void StartPoll();
  // Switches the track power off (when powerOff) and closes the port. The user must always be
  // able to quit: what fails is shown, and awaited, and still the port is closed.
  Task<void> Shutdown(bool powerOff);
  // A connect that failed: the port closed, back at the selection.
  void Abandon();

  bool PortOpen() const;
  // A run's box tells a line drop that stopped it: the watch must not tell it again.
  void StopLineWatch();
  // The CTS line dropped and stayed down for a second while the port is open.
  std::function<void()> lineDropped;

 private:
  void Received(int count);
  void ClearToSendChanged(bool on);
  Task<void> Poll();

  MainWindowWidgets& w_;
  SerialPort& port_;
  StationChoice& station_;
  QTimer* eventPollTimer_;
  QTimer* connectionWatchTimer_;
  Task<void> poll_;
  bool ctsSeenOn_ = false;
};
