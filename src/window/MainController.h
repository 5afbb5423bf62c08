// What the main window's controls do, and what a close does. One operation at a time runs for
// the user (a connect, a run, a series), suspended wherever it waits; the state says which, and
// a close, from the title bar or the "Sluiten" button, is decided here from that state alone:
// the operation is ended where it waits, a connected station gets its power-off, once, and the
// program ends.
#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Task.h"
#include "window/CentralType.h"
#include "window/DecoderForm.h"
#include "window/DecoderList.h"

class DecoderListWindow;
class ProgrammingRun;
class QWidget;
class StationChoice;
class StationConnection;
class TcpClient;
class SerialPort;
class WindowLinkObserver;
struct MainWindowWidgets;

class MainController {
 public:
  enum class State {
    Idle,          // the selection: no station connected
    ChoosingPort,  // the port's settings dialog is open
    Connecting,    // detection, handshake
    Connected,
    Running,   // a programming run, on its own or in a series
    InSeries,  // a series, between its runs
    Closing,   // the power-off goes out
    Closed,
  };

  MainController(QWidget& window, MainWindowWidgets& widgets);
  ~MainController();
  MainController(const MainController&) = delete;
  MainController& operator=(const MainController&) = delete;

  // The window has its size in the desktop's font: what the user left is restored.
  void Begin(double fontScale);
  // The user or the desktop asks to close the window: true when it may close now. Otherwise the
  // close is under way and closes the window once the station is switched off.
  bool CloseRequested();

 private:
  void BindHandlers();
  void ApplyStartDefaults();
  void SetState(State state);
  bool ReadyToProgram() const;

  void CentralChosen(CentralType central);
  void ServerAddressEdited();
  void StartConnect();
  void StartRun();
  void StartSeries(std::vector<QString> ids);
  void ProgramNextDecoder();
  void ShowStationAbout();
  void ShowDecoderList();
  void ListProgramVersion();
  void LineDropped();
  void ServerSessionLost();
  DecoderListWindow& ListWindow();

  Task<void> AttachLink();
  Task<void> Connect();
  Task<void> RunOnce();
  Task<void> Series(std::vector<QString> ids);
  Task<std::optional<RunRecord>> ProgramListed(DecoderRow row);
  Task<void> CloseDown();

  QWidget& window_;
  MainWindowWidgets& w_;
  SerialPort* port_;
  TcpClient* srcpCommandSocket_;
  TcpClient* srcpInfoSocket_;
  std::unique_ptr<WindowLinkObserver> observer_;
  DecoderForm form_;
  std::unique_ptr<StationChoice> station_;
  std::unique_ptr<StationConnection> connection_;
  std::unique_ptr<ProgrammingRun> run_;
  DecoderListWindow* listWindow_ = nullptr;
  State state_ = State::Idle;
  // The remembered central type is still to be chosen once the window is on the screen.
  bool centralRestorePending_ = false;

  // Last, so that they end before anything they use goes.
  // The chosen station's link preparing its transport (a server's greeting).
  Task<void> attach_;
  // The user's connect, run or series.
  Task<void> operation_;
  Task<void> closing_;
};
