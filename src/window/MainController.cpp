#include "window/MainController.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "about/AboutBox.h"
#include "link/CommandStationLink.h"
#include "platform/ExceptionDisplay.h"
#include "platform/LogPane.h"
#include "platform/Pause.h"
#include "platform/UserNotifier.h"
#include "serial/SerialPort.h"
#include "serialwidgets/LineLed.h"
#include "tcp/TcpClient.h"
#include "window/AddressSpinBox.h"
#include "window/DecoderListWindow.h"
#include "window/DecoderSeries.h"
#include "window/MainWindowWidgets.h"
#include "window/ProgrammingRun.h"
#include "window/StationChoice.h"
#include "window/StationConnection.h"
#include "window/VersionListing.h"
#include "window/WindowLinkObserver.h"

namespace {

template <typename Handler>
void OnClicked(QPushButton* button, Handler handler) {
  QObject::connect(button, &QPushButton::clicked, button, [handler] { RunGuarded(handler); });
}

}  // namespace

MainController::MainController(QWidget& window, MainWindowWidgets& widgets)
    : window_(window),
      w_(widgets),
      port_(new SerialPort(&window)),
      srcpCommandSocket_(new TcpClient(&window)),
      srcpInfoSocket_(new TcpClient(&window)),
      observer_(std::make_unique<WindowLinkObserver>(
          WindowLinkObserver::Panes{*w_.connectionLog, *w_.receiveLog, *w_.infoLog, *w_.aboutBox})),
      form_(widgets) {
  port_->setObjectName(QStringLiteral("serialPort"));
  // The signal panel shows the port's connection, receive and CTS lines.
  for (LineLed* led : {w_.connectionLed, w_.receiveLed, w_.ctsLed}) led->SetComPort(port_);
  station_ = std::make_unique<StationChoice>(
      window_, w_, form_,
      StationChoice::Transport{*port_, *srcpCommandSocket_, *srcpInfoSocket_,
                               [this] { ServerSessionLost(); }},
      *observer_);
  connection_ = std::make_unique<StationConnection>(window_, w_, *port_, *station_);
  connection_->lineDropped = [this] { LineDropped(); };
  run_ = std::make_unique<ProgrammingRun>(window_, w_, form_, *station_, *connection_);
  BindHandlers();
  ApplyStartDefaults();
}

MainController::~MainController() {
  closing_.End();
  operation_.End();
  attach_.End();
}

void MainController::BindHandlers() {
  // Toggled, not clicked: checking by keyboard, by the accessibility tree or in code all run
  // the handler.
  QObject::connect(w_.centralButtons, &QButtonGroup::idToggled, &window_,
                   [this](int id, bool checked) {
                     if (checked)
                       RunGuarded([this, id] { CentralChosen(static_cast<CentralType>(id)); });
                   });
  OnClicked(w_.connectButton, [this] { StartConnect(); });
  OnClicked(w_.programButton, [this] { StartRun(); });
  OnClicked(w_.nextDecoderButton, [this] { ProgramNextDecoder(); });
  // The one way to leave, whether by this button or the title bar: CloseRequested decides.
  OnClicked(w_.closeButton, [this] { window_.close(); });
  OnClicked(w_.stationAboutButton, [this] { ShowStationAbout(); });
  OnClicked(w_.decoderListButton, [this] { ShowDecoderList(); });
  OnClicked(w_.versionButton, [this] { ListProgramVersion(); });
  QObject::connect(w_.srcpServerEdit, &QLineEdit::editingFinished, &window_,
                   [this] { RunGuarded([this] { ServerAddressEdited(); }); });
}

void MainController::ApplyStartDefaults() {
  w_.connectionLog->Clear();
  w_.receiveLog->Clear();
  w_.infoLog->Clear();
  // Checking LocoNet alone would run nothing, as it is checked already; by way of P50X the
  // handler runs for both and the window starts as after a user's choice.
  w_.CentralButton(CentralType::P50X)->setChecked(true);
  w_.CentralButton(CentralType::LocoNet)->setChecked(true);
  form_.ApplyStartDefaults();
  port_->SetBaudRate(br19200);
  port_->SetStopBits(sbOneStopBit);
}

void MainController::Begin(double fontScale) {
  station_->SetFontScale(fontScale);
  if (const std::optional<CentralType> central = station_->RestoreRemembered()) {
    // Choosing a server connects to it, and what goes wrong there is shown in a box: that waits
    // until the window is on the screen. A choice made before then is the one that counts.
    centralRestorePending_ = true;
    QMetaObject::invokeMethod(
        &window_,
        [this, central] {
          if (centralRestorePending_) w_.CentralButton(*central)->setChecked(true);
        },
        Qt::QueuedConnection);
  }
}

void MainController::SetState(State state) {
  // An operation that ends while the program closes leaves the state to the close.
  if (state_ == State::Closing || state_ == State::Closed) return;
  state_ = state;
  // The list neither starts a run nor changes the fields while one goes on.
  if (listWindow_) listWindow_->SetRunInProgress(state == State::Running);
}

bool MainController::ReadyToProgram() const {
  return (state_ == State::Connected || state_ == State::InSeries) &&
         w_.programmingPanel->isEnabled();
}

// Each choice of central type gives the window the captions of its row and the link of that
// type, which sets up its transport. Nothing else in the window knows the central types.
void MainController::CentralChosen(CentralType central) {
  // The choice is closed to the user from the connect on.
  if (state_ != State::Idle) return;
  centralRestorePending_ = false;
  station_->ShowChoice(central);
  // The link that was there goes, and its preparation with it, before the new one is built.
  attach_.End();
  attach_ = Guarded(AttachLink());
  if (listWindow_) listWindow_->StationChanged();
}

void MainController::ServerAddressEdited() {
  if (state_ != State::Idle || !station_->ServerAddressEdited()) return;
  attach_.End();
  attach_ = Guarded(AttachLink());
}

Task<void> MainController::AttachLink() {
  co_await station_->BuildLink();
}

void MainController::StartConnect() {
  if (state_ == State::Idle) operation_ = Guarded(Connect());
}

Task<void> MainController::Connect() {
  // A second click must not start a second connect, nor a new choice of central type or server
  // replace the link the connect uses.
  w_.connectButton->setEnabled(false);
  station_->SetEnabled(false);
  const struct Reenable {
    MainWindowWidgets& w;
    StationChoice& station;
    ~Reenable() {
      w.connectButton->setEnabled(true);
      station.SetEnabled(true);
    }
  } reenable{w_, *station_};
  // A server's greeting that is still on its way belongs to the connect.
  Task<void> attach = std::move(attach_);
  if (!attach.Done()) co_await std::move(attach);
  SetState(State::ChoosingPort);
  bool connected = false;
  try {
    co_await connection_->ChoosePort();
    SetState(State::Connecting);
    connected = co_await connection_->Connect();
  } catch (...) {
    SetState(State::Idle);
    throw;
  }
  if (!connected) {
    SetState(State::Idle);
    co_return;
  }
  SetState(State::Connected);
  // The decoder's address comes next; the connect button that had the focus has gone, and the
  // focus would otherwise have fallen into a log pane.
  w_.firstAddressEdit->setFocus();
  connection_->StartPoll();
  station_->Remember(false);
}

void MainController::StartRun() {
  if (state_ == State::Connected) operation_ = Guarded(RunOnce());
}

Task<void> MainController::RunOnce() {
  SetState(State::Running);
  std::optional<RunRecord> run;
  try {
    run = co_await run_->Program();
  } catch (...) {
    SetState(State::Connected);
    throw;
  }
  SetState(State::Connected);
  if (run) ListWindow().RecordRun(*run);
}

void MainController::StartSeries(std::vector<QString> ids) {
  if (state_ == State::Connected) operation_ = Guarded(Series(std::move(ids)));
}

Task<void> MainController::Series(std::vector<QString> ids) {
  SetState(State::InSeries);
  DecoderSeries series(ListWindow(), {[this] { return ReadyToProgram(); },
                                      [this](DecoderRow row) { return ProgramListed(row); }});
  try {
    co_await series.Run(std::move(ids));
  } catch (...) {
    SetState(State::Connected);
    throw;
  }
  SetState(State::Connected);
}

Task<std::optional<RunRecord>> MainController::ProgramListed(DecoderRow row) {
  if (row.firstAddress > station_->HighestFirstAddress()) {
    ShowMessage(
        QCoreApplication::translate("MainController",
                                    "Deze Centrale kan het eerste wisseladres %1 niet bereiken.\n"
                                    "Kies in de decoderlijst als eerste wisseladres %2 of lager.")
            .arg(row.firstAddress)
            .arg(station_->HighestFirstAddress()));
    co_return std::nullopt;
  }
  // Between decoders as "Volgende decoder" goes on: the log cleared, the button usable again.
  if (w_.programButton->isHidden()) run_->ReadyNextDecoder();
  form_.Fill(row);
  SetState(State::Running);
  std::optional<RunRecord> run;
  try {
    run = co_await run_->Program();
  } catch (...) {
    SetState(State::InSeries);
    throw;
  }
  SetState(State::InSeries);
  co_return run;
}

void MainController::ProgramNextDecoder() {
  run_->ReadyNextDecoder();
}

bool MainController::CloseRequested() {
  if (state_ == State::Closing) return false;
  if (state_ != State::Closed) {
    // Whatever was under way ends where it waits: no further command goes out for it, and
    // nothing is reported for what the user left. A run first finishes the command under way.
    if (state_ == State::Running)
      run_->Stop();
    else
      operation_.End();
    attach_.End();
    const bool stationConnected =
        connection_->PortOpen() || (!station_->Link().UsesSerialPort() && state_ != State::Idle &&
                                    state_ != State::ChoosingPort);
    if (stationConnected) {
      SetState(State::Closing);
      closing_ = CloseDown();
      return false;
    }
  }
  state_ = State::Closed;
  station_->Remember(true);
  // Boxes left open, the list and the station's version window go with the program.
  for (QWidget* other : QApplication::topLevelWidgets())
    if (other != &window_ && other->isVisible()) other->close();
  return true;
}

Task<void> MainController::CloseDown() {
  w_.closeButton->setEnabled(false);
  // Out of the close request first: the toolkit refuses to close a window from inside its own
  // close request.
  co_await Pause(0);
  Task<void> stopping = std::move(operation_);
  if (!stopping.Done()) co_await std::move(stopping);
  co_await connection_->Shutdown(true);
  state_ = State::Closed;
  window_.close();
}

void MainController::LineDropped() {
  // During a run the step that the drop hit fails with the run's own box; a second box for the
  // same drop would only confuse.
  if (state_ == State::Running || state_ == State::Closing || state_ == State::Closed) return;
  ShowMessage(
      QCoreApplication::translate("MainController", "Verbinding met de Centrale is verbroken"));
}

void MainController::ServerSessionLost() {
  // Queued: the link reports from inside its socket's event.
  QMetaObject::invokeMethod(
      &window_,
      [this] {
        // A run and a connect report the loss in their own words, and a close caused it. Only
        // a connected window that has not run yet goes back to "Verbinden".
        if (state_ != State::Connected || w_.programButton->isHidden()) return;
        SetState(State::Idle);
        w_.programmingPanel->hide();
        w_.selectionPanel->show();
        ShowMessage(
            QCoreApplication::translate("MainController",
                                        "De verbinding met de SRCP-server op %1 is verbroken.\n"
                                        "Start de server zo nodig opnieuw en druk daarna op "
                                        "\"Verbinden\".")
                .arg(station_->ServerAddress()));
      },
      Qt::QueuedConnection);
}

void MainController::ShowStationAbout() {
  w_.aboutBox->show();
  w_.aboutBox->raise();
  w_.aboutBox->activateWindow();
}

DecoderListWindow& MainController::ListWindow() {
  if (!listWindow_) {
    listWindow_ = new DecoderListWindow(
        {[this] { return station_->HighestFirstAddress(); },
         [this](const DecoderRow& row) { form_.Fill(row); }, [this] { return ReadyToProgram(); },
         [this](std::vector<QString> ids) { StartSeries(std::move(ids)); }},
        &window_);
    // Opened in the middle of a run, it waits for the run's end as if it had been there before.
    listWindow_->SetRunInProgress(state_ == State::Running);
  }
  return *listWindow_;
}

void MainController::ShowDecoderList() {
  DecoderListWindow& list = ListWindow();
  list.show();
  list.raise();
  list.activateWindow();
}

void MainController::ListProgramVersion() {
  ListVersionInformation(QCoreApplication::applicationFilePath(), *w_.connectionLog);
}
