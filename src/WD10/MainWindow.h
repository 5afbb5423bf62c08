// The main window: the user picks the command station (the central type), connects, enters the
// decoder's address and modes, programs the WD10 and closes. It owns every working object of
// the program, among them the link to the chosen command station, which it builds when the
// central type is chosen (LinkFactory) and drives only through the link interface.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "WD10/CentralType.h"
#include "WD10/DecoderList.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class TAboutBox;
class TClientSocket;
class TComLed;
class TComPort;
class TMemo;
class TSpinEdit;
class TTimer;
class RememberedSettings;
class CommandStationLink;
class DecoderListWindow;
class LinkObserver;
class BlockedCloseWatch;
class QWindow;
struct AccessoryCommand;
struct AccessoryOutcome;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // The link to the command station of the chosen central type; never null once the window
  // has been created.
  CommandStationLink* CurrentLink() const { return link_.get(); }
  QRadioButton* CentralButton(CentralType central) const;

  // The one fixed-length pause of the program; the window keeps working meanwhile. A wait
  // started inside another one never cuts the outer one short. done, when given, ends the wait
  // as soon as an event has made it hold.
  void WaitMs(int milliseconds, const std::function<bool()>& done = {});

  // The window "Decoderlijst", made (and its list read) the first time it is needed.
  DecoderListWindow& ListWindow();

  // The user asked the desktop to close `window` while a modal window (the port settings, a
  // message box) blocks it: the toolkit would drop the request.
  void CloseRequestedWhileBlocked(QWindow& window);

  // --- components -------------------------------------------------------------------------
  QGroupBox* selectionPanel;
  QPlainTextEdit* instructionsText;
  QPushButton* connectButton;
  // Shown while the chosen command station is a server: its address, "host[:port]".
  QLabel* SrcpServerLabel;
  QLineEdit* SrcpServerEdit;

  QGroupBox* programmingPanel;
  TSpinEdit* firstAddressEdit;
  QLabel* decoderNumberLabel;
  TSpinEdit* groupBAddressEdit;
  QGroupBox* groupABox;
  QGroupBox* groupBBox;
  // The mode buttons of each group, in the order of DecoderModel::kModes.
  std::array<QRadioButton*, 7> groupAModes;
  std::array<QRadioButton*, 7> groupBModes;
  QPushButton* programButton;
  // Offered beside closeButton once a run has ended: the next decoder on the same connection.
  QPushButton* nextDecoderButton;
  QPushButton* closeButton;
  QPushButton* stationAboutButton;
  QPushButton* decoderListButton;

  TMemo* connectionLog;
  TMemo* receiveLog;
  TMemo* infoLog;

  QGroupBox* signalsPanel;
  TComLed* connectionLed;
  TComLed* receiveLed;
  TComLed* ctsLed;
  QLabel* copyrightLabel;
  QPushButton* versionButton;

  TTimer* waitTimer;
  TTimer* eventPollTimer;
  TTimer* replyTimer;
  TTimer* stepPauseTimer;
  TTimer* connectionWatchTimer;

  TComPort* serialPort;
  TClientSocket* srcpCommandSocket;  // SRCP command session
  TClientSocket* srcpInfoSocket;     // SRCP information session
  TAboutBox* AboutBox;               // the version window, shown by stationAboutButton

  // --- handlers ---------------------------------------------------------------------------
  void ApplyStartDefaults();
  // The user checked the radio button of a central type.
  void CentralChosen(CentralType central);
  void FirstAddressChanged();
  void Connect();
  void RunProgramming();
  void ProgramNextDecoder();
  void CloseLink();
  void ShowStationAbout();
  void ShowDecoderList();
  void ListProgramVersion();
  void WaitTimerElapsed();
  void EventPollTick();
  void StepPauseElapsed();
  void ConnectionWatchElapsed();
  void SerialReceived(int count);
  void SerialClearToSendChanged(bool onOff);
  void SrcpServerEditingFinished();
  // The SRCP link lost a session of the handshake "Verbinden" made.
  void SrcpSessionLost();

  // Mode numbers of the checked buttons of group A and group B.
  int ModeOfGroupA() const;
  int ModeOfGroupB() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Marks a handler that waits and so lets other events run inside it; a close request that
  // arrives meanwhile is carried out once the outermost such handler has returned.
  class LongHandler {
   public:
    explicit LongHandler(MainWindow& window) : window_(window) { ++window_.longHandlers_; }
    ~LongHandler() {
      if (--window_.longHandlers_ == 0) window_.OnLongHandlersDone();
    }
    LongHandler(const LongHandler&) = delete;
    LongHandler& operator=(const LongHandler&) = delete;

   private:
    MainWindow& window_;
  };

  void BuildWindow();
  void BindHandlers();
  void ChooseCentral(CentralType central);
  void RestoreRememberedSettings();
  void RememberSettings(bool withWindowPosition);
  void SetStationAboutVisible(bool visible);
  void SetCentralChoiceEnabled(bool enabled);
  // The programming run of the address and modes the panel shows: what it came to, or nothing
  // when it did not start or a close stopped it.
  std::optional<RunRecord> ProgramDecoder();
  // A decoder of the list's series: the panel made ready as "Volgende decoder" does, the row
  // filled in, and run.
  std::optional<RunRecord> ProgramListedDecoder(const DecoderRow& row);
  void FillDecoder(const DecoderRow& row);
  bool ReadyToProgram() const;
  AccessoryCommand StepCommand(int step) const;
  AccessoryOutcome GuardedStep(const std::function<AccessoryOutcome()>& step);
  void StopRun(int step, const AccessoryCommand& command, const AccessoryOutcome& outcome);
  void ShowRunEnded();
  void StepPause();
  // The highest first address whose group B the station can switch, as far as the link says.
  int HighestReachableFirstAddress() const;
  // The last first address both the field and the station take.
  int HighestFirstAddress() const;
  bool RefuseUnreachableAddresses();
  void AbandonConnect();
  void OnLongHandlersDone();
  static int ModeOf(const std::array<QRadioButton*, 7>& modes);

  // Holds the hand-placed panels, and scrolls them on a screen smaller than the window.
  QScrollArea* canvasScroller_ = nullptr;
  std::unique_ptr<RememberedSettings> settings_;
  std::unique_ptr<LinkObserver> linkObserver_;
  std::unique_ptr<BlockedCloseWatch> blockedCloseWatch_;
  std::unique_ptr<CommandStationLink> link_;
  DecoderListWindow* listWindow_ = nullptr;
  // One radio button per central type, its id the type; in the order of LinkFactory's table.
  QButtonGroup* centralButtons_ = nullptr;
  CentralType central_ = CentralType::LocoNet;
  // The remembered central type is still to be chosen once the window is on the screen.
  bool centralRestorePending_ = false;
  // The server address the current link was built with.
  QString srcpServer_;
  // The last address the field held that named a server: what is remembered, so that a text
  // that names none does not replace the user's server at the next start.
  QString validSrcpServer_;
  // A central type chosen while a handler waits inside the current link: the link must
  // outlive that handler, so the choice is carried out once it has returned.
  std::optional<CentralType> pendingCentral_;
  // How much the window grew to show its captions in the desktop's font (1: as designed).
  double fontScale_ = 1;
  bool waitFlag_ = false;
  bool stepFlag_ = false;
  bool closingFlag_ = false;
  bool closeRequested_ = false;
  bool ctsSeenOn_ = false;
  bool runInProgress_ = false;
  int longHandlers_ = 0;
};
