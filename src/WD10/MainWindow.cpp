// The window as the user sees it, start-up, the choice of central type and the millisecond wait.
#include "WD10/MainWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "About/TAboutBox.h"
#include "CPort/TComPort.h"
#include "CPortCtl/TComLed.h"
#include "ScktComp/TClientSocket.h"
#include "WD10/DecoderListWindow.h"
#include "WD10/DecoderModel.h"
#include "WD10/LinkFactory.h"
#include "WD10/RememberedSettings.h"
#include "WD10/TSpinEdit.h"
#include "WD10/WindowLinkObserver.h"
#include "link/CommandStationLink.h"
#include "platform/BlockedCloseWatch.h"
#include "platform/ExceptionDisplay.h"
#include "platform/FitToFont.h"
#include "platform/KeepOnScreen.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "platform/UserNotifier.h"

namespace {

const char* const kInstructions[] = {
    "1: Sluit de decoder op de digitale spanning aan. Druk aansluitend op de programmeer ",
    "toets voor enkele seconden en wel zolang dat de led van Groep A en Groep B samen ",
    "aangaan.",
    "",
    "2: Laat de programmeertoets los Nu brand alleen de LED van groep A.",
    "Nu kunnen de gegevens worden ingevuld in onderstaand scherm, nadat deze volledig ",
    "is ingevuld druk op het  'Programmeer Sorvell' knopje. Als de gegevens verzonden ",
    "zijn kan het programma worden afgesloten met de actief geworden knop Sluiten.",
};

const QString kCaption = QStringLiteral("Configuratie Kuehn WD10 via Programmeertoets.");
const QString kChoosePort = QStringLiteral("Kies Compoort");
const QString kDefaultSrcpServer = QStringLiteral("127.0.0.1:4303");

// The central types stand one row apart, the last on the row of the connect button, as designed
// for five of them; more take their room from the instructions above.
constexpr int kCentralRowHeight = 16;
constexpr int kLastCentralRowTop = 272;

// stationAboutButton's designed place lies outside the programming panel; it goes beside a narrowed
// programButton instead, so the user can reach it.
constexpr int kProgramButtonWidth = 353;
constexpr int kProgramButtonWidthBesideAbout = 248;

template <typename Handler>
void OnClicked(QPushButton* button, Handler handler) {
  QObject::connect(button, &QPushButton::clicked, button, [handler] { RunGuarded(handler); });
}

QRadioButton* MakeRadio(QWidget* parent, const QString& caption, int left, int top, int width) {
  auto* button = new QRadioButton(caption, parent);
  button->setGeometry(left, top, width, 17);
  return button;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent), settings_(std::make_unique<RememberedSettings>()) {
  BuildWindow();
  BindHandlers();
  ApplyStartDefaults();
  fontScale_ = FitToFont(*canvasScroller_->widget());
  setFixedSize(canvasScroller_->widget()->size());
  RestoreRememberedSettings();
  // Where the user left it, or where it was designed to open, but whole on a screen: a monitor
  // may have gone since, and a large scale makes the window outgrow a small screen.
  KeepWholeOnScreen(*this);
  blockedCloseWatch_ = BlockedCloseWatch::ForThisDesktop(
      [this](QWindow& window) { CloseRequestedWhileBlocked(window); });
}

MainWindow::~MainWindow() {
  // The link lets go of the handlers it put on the sockets and the reply timer.
  link_.reset();
  // The port outlives this body (the widget base destroys its children later) and its event
  // thread could still deliver a batch into a window that is no longer whole.
  serialPort->OnRxChar = nullptr;
  serialPort->OnCTSChange = nullptr;
  try {
    serialPort->Close();
  } catch (const std::exception&) {
    // Nothing is left to report to: the window is going.
  }
}

void MainWindow::BuildWindow() {
  setWindowTitle(QStringLiteral("Configuratie Kuehn WD10"));
  move(254, 110);
  // The panels are placed by hand on a canvas of the designed size. The window shows the canvas
  // whole where the screen has room; on a smaller screen (a 800 x 480 touch screen) the window
  // shrinks to the screen and the canvas scrolls, following the keyboard's focus, so every
  // control can still be reached.
  auto* canvas = new QWidget;
  canvas->setFixedSize(975, 560);
  canvasScroller_ = new QScrollArea(this);
  canvasScroller_->setFrameShape(QFrame::NoFrame);
  canvasScroller_->setFocusPolicy(Qt::NoFocus);
  canvasScroller_->setWidget(canvas);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(canvasScroller_);
  // Wherever the focus comes from (Tab, a mnemonic, the accessibility tree, a panel that hid the
  // control it was on), the control that has it is brought into view.
  // Whole where it fits: the scroll area's own rule would show only a text pane's cursor.
  connect(qApp, &QApplication::focusChanged, this, [this, canvas](QWidget*, QWidget* now) {
    if (!now || !canvas->isAncestorOf(now)) return;
    const QRect shown(now->mapTo(canvas, QPoint(0, 0)), now->size());
    canvasScroller_->ensureVisible(shown.center().x(), shown.center().y(), shown.width() / 2 + 1,
                                   shown.height() / 2 + 1);
  });

  selectionPanel = new QGroupBox(QStringLiteral("Selectie Scherm"), canvas);
  selectionPanel->setGeometry(16, 24, 689, 297);
  instructionsText = new QPlainTextEdit(selectionPanel);
  const int centralRows = int(CentralTypes().size());
  const int firstCentralRowTop = kLastCentralRowTop - kCentralRowHeight * (centralRows - 1);
  constexpr int instructionsTop = 16;
  // Down to the first central type's row, and one pixel into it, as designed.
  instructionsText->setGeometry(8, instructionsTop, 673, firstCentralRowTop + 1 - instructionsTop);
  instructionsText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  instructionsText->setFrameShape(QFrame::NoFrame);
  instructionsText->viewport()->setAutoFillBackground(false);
  QFont instructionFont = instructionsText->font();
  instructionFont.setPixelSize(15);
  instructionsText->setFont(instructionFont);
  QStringList instructions;
  for (const char* line : kInstructions) instructions << QString::fromUtf8(line);
  instructionsText->setPlainText(instructions.join(QLatin1Char('\n')));
  instructionsText->setAccessibleName(QStringLiteral("Aanwijzingen"));
  // The window opens with the focus here: Tab must lead on to the controls, not into the text.
  instructionsText->setTabChangesFocus(true);

  centralButtons_ = new QButtonGroup(this);
  int centralRowTop = firstCentralRowTop;
  for (const CentralFacts& facts : CentralTypes()) {
    centralButtons_->addButton(MakeRadio(selectionPanel, facts.caption, 24, centralRowTop, 240),
                               static_cast<int>(facts.central));
    centralRowTop += kCentralRowHeight;
  }
  // As designed; ApplyStartDefaults makes the choice for real.
  CentralButton(CentralType::LocoNet)->setChecked(true);
  connectButton = new QPushButton(kChoosePort, selectionPanel);
  connectButton->setGeometry(264, 264, 121, 25);
  // On the row of the server choice, beside the button that connects to it: the one free place
  // in the selection panel that keeps address and connect together.
  SrcpServerLabel = new QLabel(QStringLiteral("SRCP-server:"), selectionPanel);
  SrcpServerLabel->setGeometry(393, 268, 90, 17);
  SrcpServerEdit = new QLineEdit(kDefaultSrcpServer, selectionPanel);
  SrcpServerEdit->setGeometry(485, 266, 190, 22);
  SrcpServerEdit->setAccessibleName(QStringLiteral("Adres van de SRCP-server"));
  SrcpServerLabel->setBuddy(SrcpServerEdit);
  srcpServer_ = kDefaultSrcpServer;
  validSrcpServer_ = kDefaultSrcpServer;

  programmingPanel = new QGroupBox(QStringLiteral("Programmeren Kuehn WD10"), canvas);
  // One row taller than designed, for the decoder list's button below the run's buttons.
  programmingPanel->setGeometry(144, 32, 401, 497);
  programmingPanel->hide();
  firstAddressEdit = new TSpinEdit(programmingPanel);
  firstAddressEdit->setGeometry(64, 16, 81, 26);
  firstAddressEdit->SetMinValue(DecoderModel::kMinAddress);
  firstAddressEdit->SetMaxValue(DecoderModel::kMaxAddress);
  firstAddressEdit->SetIncrement(DecoderModel::kAddressStep);
  firstAddressEdit->SetMaxLength(4);
  firstAddressEdit->SetText(QStringLiteral("1"));
  firstAddressEdit->setAccessibleName(QStringLiteral("Eerste wisseladres"));
  decoderNumberLabel = new QLabel(programmingPanel);
  decoderNumberLabel->setGeometry(176, 16, 130, 26);
  decoderNumberLabel->setProperty(kWidestTextProperty, QStringLiteral("Decoderadres: 2500"));
  groupBAddressEdit = new TSpinEdit(programmingPanel);
  groupBAddressEdit->setGeometry(312, 16, 81, 26);
  groupBAddressEdit->SetText(QStringLiteral("0"));
  groupBAddressEdit->setEnabled(false);
  groupBAddressEdit->setAccessibleName(QStringLiteral("Eerste wisseladres Groep B"));

  groupABox = new QGroupBox(QStringLiteral("Groep A"), programmingPanel);
  groupABox->setGeometry(0, 32, 401, 193);
  groupBBox = new QGroupBox(QStringLiteral("Groep B"), programmingPanel);
  groupBBox->setGeometry(0, 224, 401, 193);
  // Their captions come with the start defaults.
  for (int i = 0; i < 7; ++i) {
    groupAModes[i] = MakeRadio(groupABox, {}, 16, 24 + 24 * i, 113);
    groupBModes[i] = MakeRadio(groupBBox, {}, 16, 24 + 24 * i, 113);
  }
  groupAModes[0]->setChecked(true);
  groupBModes[0]->setChecked(true);

  programButton = new QPushButton(QStringLiteral("Programmeer Kuehn WD10"), programmingPanel);
  programButton->setGeometry(24, 424, kProgramButtonWidth, 25);
  // Left of closeButton, where programButton begins, and created before it: Tab reaches the two
  // in reading order.
  nextDecoderButton = new QPushButton(QStringLiteral("Volgende decoder"), programmingPanel);
  nextDecoderButton->setGeometry(24, 424, 144, 25);
  nextDecoderButton->setAccessibleDescription(
      QStringLiteral("Houdt de verbinding en zet het volgende vrije wisseladres klaar"));
  nextDecoderButton->hide();
  closeButton = new QPushButton(QStringLiteral("Sluiten"), programmingPanel);
  closeButton->setGeometry(176, 424, 75, 25);
  closeButton->hide();
  stationAboutButton = new QPushButton(QStringLiteral("About IB/TC"), programmingPanel);
  stationAboutButton->setGeometry(24 + kProgramButtonWidthBesideAbout + 8, 424, 97, 25);
  decoderListButton = new QPushButton(QStringLiteral("Decoderlijst…"), programmingPanel);
  decoderListButton->setGeometry(24, 456, 97, 25);
  decoderListButton->setAccessibleDescription(
      QStringLiteral("Opent de lijst van de decoders van de baan"));

  connectionLog = new TMemo(canvas);
  connectionLog->setGeometry(704, 24, 257, 169);
  connectionLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connectionLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connectionLog->setAccessibleName(QStringLiteral("Verbindingslog"));
  receiveLog = new TMemo(canvas);
  receiveLog->setGeometry(704, 200, 257, 153);
  receiveLog->setLineWrapMode(QPlainTextEdit::NoWrap);
  receiveLog->setAccessibleName(QStringLiteral("Ontvangstlog"));
  infoLog = new TMemo(canvas);
  infoLog->setGeometry(704, 360, 257, 153);
  infoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
  infoLog->setAccessibleName(QStringLiteral("SRCP-informatielog"));
  for (TMemo* memo : {connectionLog, receiveLog, infoLog})
    memo->setPlainText(memo->accessibleName());

  signalsPanel = new QGroupBox(canvas);
  signalsPanel->setGeometry(544, 400, 161, 97);
  signalsPanel->setAccessibleName(QStringLiteral("Signalen"));
  signalsPanel->hide();
  connectionLed = new TComLed(signalsPanel);
  receiveLed = new TComLed(signalsPanel);
  ctsLed = new TComLed(signalsPanel);

  copyrightLabel = new QLabel(QStringLiteral("Copyright © Velmar"), canvas);
  // Below the programming panel, which grew a row over its designed place.
  copyrightLabel->move(224, 536);
  // Hidden, and so its caption is never seen; it is the one the window was designed with.
  versionButton = new QPushButton(QStringLiteral("Button5"), canvas);
  versionButton->setGeometry(56, 416, 75, 25);
  versionButton->hide();

  waitTimer = new TTimer(this, 1000, true);
  eventPollTimer = new TTimer(this, 100, false);
  replyTimer = new TTimer(this, 1000, false);
  stepPauseTimer = new TTimer(this, 4000, false);
  connectionWatchTimer = new TTimer(this, 1000, false);

  serialPort = new TComPort(this);
  serialPort->setObjectName(QStringLiteral("serialPort"));

  // The signal panel shows the port's connection, receive and CTS lines; unbound it would
  // only ever show three dark lamps.
  const struct {
    TComLed* led;
    int top;
    TComLedSignal signal;
    TLedKind kind;
    const char* name;
  } leds[] = {{connectionLed, 16, lsConn, lkGreenLight, "Verbinding"},
              {receiveLed, 40, lsRx, lkYellowLight, "Ontvangst"},
              {ctsLed, 64, lsCTS, lkRedLight, "CTS"}};
  for (const auto& entry : leds) {
    entry.led->setGeometry(8, entry.top, 25, 25);
    entry.led->SetKind(entry.kind);
    entry.led->SetLedSignal(entry.signal);
    entry.led->SetComPort(serialPort);
    auto* caption = new QLabel(QString::fromUtf8(entry.name), signalsPanel);
    caption->setGeometry(40, entry.top, 113, 25);
    caption->setBuddy(entry.led);
  }

  srcpCommandSocket = new TClientSocket(this);
  srcpInfoSocket = new TClientSocket(this);
  AboutBox = new TAboutBox(this);
  linkObserver_ = std::make_unique<WindowLinkObserver>(
      WindowLinkObserver::Panes{*connectionLog, *receiveLog, *infoLog, *AboutBox},
      [this](int milliseconds, const std::function<bool()>& done) { WaitMs(milliseconds, done); });
}

void MainWindow::BindHandlers() {
  // Toggled, not clicked: checking by keyboard, by the accessibility tree or in code all run
  // the handler.
  QObject::connect(centralButtons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) RunGuarded([this, id] { CentralChosen(static_cast<CentralType>(id)); });
  });
  OnClicked(connectButton, [this] { Connect(); });
  OnClicked(programButton, [this] { RunProgramming(); });
  OnClicked(nextDecoderButton, [this] { ProgramNextDecoder(); });
  OnClicked(closeButton, [this] { CloseLink(); });
  OnClicked(stationAboutButton, [this] { ShowStationAbout(); });
  OnClicked(decoderListButton, [this] { ShowDecoderList(); });
  OnClicked(versionButton, [this] { ListProgramVersion(); });
  firstAddressEdit->OnChange = [this](QObject*) { FirstAddressChanged(); };
  QObject::connect(SrcpServerEdit, &QLineEdit::editingFinished, this,
                   [this] { RunGuarded([this] { SrcpServerEditingFinished(); }); });
  waitTimer->OnTimer = [this](QObject*) { WaitTimerElapsed(); };
  eventPollTimer->OnTimer = [this](QObject*) { EventPollTick(); };
  stepPauseTimer->OnTimer = [this](QObject*) { StepPauseElapsed(); };
  connectionWatchTimer->OnTimer = [this](QObject*) { ConnectionWatchElapsed(); };
  serialPort->OnRxChar = [this](QObject*, int count) { SerialReceived(count); };
  serialPort->OnCTSChange = [this](QObject*, bool onOff) { SerialClearToSendChanged(onOff); };
}

void MainWindow::ApplyStartDefaults() {
  connectionLog->Clear();
  receiveLog->Clear();
  infoLog->Clear();
  for (int i = 0; i < 7; ++i) {
    const QString caption = QString::fromUtf8(DecoderModel::kModes[i].caption);
    for (QRadioButton* button : {groupAModes[i], groupBModes[i]}) {
      button->setText(caption);
      // 200 pixels as designed, wider where this desktop's font needs it to show the caption.
      button->resize(std::max(200, button->sizeHint().width()), button->height());
    }
  }
  // Checking LocoNet alone would run nothing, as it is checked already; by way of P50X the
  // handler runs for both and the window starts as after a user's choice.
  CentralButton(CentralType::P50X)->setChecked(true);
  CentralButton(CentralType::LocoNet)->setChecked(true);
  groupAModes[1]->setChecked(true);
  groupAModes[0]->setChecked(true);
  groupBModes[1]->setChecked(true);
  groupBModes[0]->setChecked(true);
  firstAddressEdit->SetValue(2);
  firstAddressEdit->SetValue(1);
  serialPort->SetBaudRate(br19200);
  serialPort->SetStopBits(sbOneStopBit);
  SetStationAboutVisible(false);
}

// Each choice of central type gives the window the captions of its row and the link of that
// type, which sets up its transport. Nothing else in the window knows the central types.
void MainWindow::CentralChosen(CentralType central) {
  const CentralFacts& facts = FactsOf(central);
  if (facts.windowCaptionSuffix) setWindowTitle(kCaption + *facts.windowCaptionSuffix);
  firstAddressEdit->SetMaxValue(facts.highestFirstAddress.value_or(DecoderModel::kMaxAddress));
  connectButton->setText(facts.connectCaption);
  if (facts.stationAbout) stationAboutButton->setText(QStringLiteral("Over IB/TC"));
  SetStationAboutVisible(facts.stationAbout);
  ChooseCentral(central);
  if (listWindow_) listWindow_->StationChanged();
}

void MainWindow::ChooseCentral(CentralType central) {
  if (longHandlers_ > 0) {
    pendingCentral_ = central;
    return;
  }
  LongHandler busy(*this);
  centralRestorePending_ = false;
  central_ = central;
  link_.reset();
  srcpServer_ = SrcpServerEdit->text().trimmed();
  link_ = MakeLink(central,
                   {*serialPort, *srcpCommandSocket, *srcpInfoSocket, *replyTimer, srcpServer_,
                    [this] { SrcpSessionLost(); }},
                   *linkObserver_);
  const bool server = !link_->UsesSerialPort();
  if (IsValidServerAddress(srcpServer_)) validSrcpServer_ = srcpServer_;
  SrcpServerLabel->setVisible(server);
  SrcpServerEdit->setVisible(server);
  link_->Attach();
  settings_->RestorePort(central, *serialPort);
}

QRadioButton* MainWindow::CentralButton(CentralType central) const {
  return static_cast<QRadioButton*>(centralButtons_->button(static_cast<int>(central)));
}

void MainWindow::SrcpServerEditingFinished() {
  const QString address = SrcpServerEdit->text().trimmed();
  const bool valid = IsValidServerAddress(address);
  if (valid) SrcpServerEdit->setText(address);
  // Pressing Enter again on the same address does not connect again, nor says again that it
  // is no address.
  if (address == srcpServer_) return;
  if (!valid) {
    ShowMessage(QStringLiteral("\"%1\" is geen geldig adres van een SRCP-server.\n"
                               "Geef een computernaam of IP-adres, eventueel met een poort, "
                               "bijvoorbeeld %2.")
                    .arg(address, kDefaultSrcpServer));
  }
  // The link follows the field, an invalid text too: it then refuses "Verbinden" instead of
  // connecting to the server the field showed before.
  if (!link_->UsesSerialPort()) ChooseCentral(central_);
}

void MainWindow::SrcpSessionLost() {
  // Queued: the link reports from inside its socket's notification.
  QMetaObject::invokeMethod(
      this,
      [this] {
        // A run and a connect report the loss in their own words, and a close caused it. Only
        // a connected window that has not run yet goes back to "Verbinden".
        if (runInProgress_ || longHandlers_ > 0 || closingFlag_ || !selectionPanel->isHidden() ||
            programButton->isHidden())
          return;
        programmingPanel->hide();
        selectionPanel->show();
        ShowMessage(QStringLiteral("De verbinding met de SRCP-server op %1 is verbroken.\n"
                                   "Start de server zo nodig opnieuw en druk daarna op "
                                   "\"Verbinden\".")
                        .arg(srcpServer_));
      },
      Qt::QueuedConnection);
}

void MainWindow::RestoreRememberedSettings() {
  if (std::optional<QString> server = settings_->SrcpServer();
      server && IsValidServerAddress(*server)) {
    SrcpServerEdit->setText(*server);
    validSrcpServer_ = *server;
  }
  if (std::optional<QPoint> position = settings_->WindowPosition()) move(*position);
  settings_->RestorePort(central_, *serialPort);
  if (std::optional<CentralType> central = settings_->Central()) {
    // Choosing a server connects to it, and what goes wrong there is shown in a box: that waits
    // until the window is on the screen. A choice made before then is the one that counts.
    centralRestorePending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, central] {
          if (centralRestorePending_) CentralButton(*central)->setChecked(true);
        },
        Qt::QueuedConnection);
  }
}

void MainWindow::RememberSettings(bool withWindowPosition) {
  const QString server = SrcpServerEdit->text().trimmed();
  if (IsValidServerAddress(server)) validSrcpServer_ = server;
  settings_->Remember(central_, link_->UsesSerialPort() ? serialPort : nullptr, validSrcpServer_,
                      withWindowPosition ? std::optional<QPoint>(pos()) : std::nullopt);
}

void MainWindow::SetStationAboutVisible(bool visible) {
  stationAboutButton->setVisible(visible);
  const int width = visible ? kProgramButtonWidthBesideAbout : kProgramButtonWidth;
  programButton->resize(int(std::lround(width * fontScale_)), programButton->height());
}

void MainWindow::FirstAddressChanged() {
  bool ok = false;
  const int address = firstAddressEdit->Text().trimmed().toInt(&ok);
  if (!ok) {
    firstAddressEdit->SetValue(1);
    return;
  }
  decoderNumberLabel->setText(
      QStringLiteral("Decoderadres: %1").arg(DecoderModel::DecoderNumber(address)));
  groupBAddressEdit->SetText(QString::number(address + DecoderModel::kGroupBOffset));
}

int MainWindow::ModeOf(const std::array<QRadioButton*, 7>& modes) {
  for (int i = 0; i < 7; ++i)
    if (modes[i]->isChecked()) return DecoderModel::kModes[i].number;
  return DecoderModel::kModes[0].number;
}

int MainWindow::ModeOfGroupA() const {
  return ModeOf(groupAModes);
}
int MainWindow::ModeOfGroupB() const {
  return ModeOf(groupBModes);
}

void MainWindow::WaitMs(int milliseconds, const std::function<bool()>& done) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  const auto arm = [this](int interval) {
    waitFlag_ = false;
    waitTimer->SetInterval(interval);
    waitTimer->SetEnabled(true);
  };
  arm(milliseconds);
  WaitUntil([&] {
    if (closeRequested_ || (done && done())) return true;
    if (!waitFlag_) return false;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return true;
    // A wait nested inside ours took waitTimer and has ended: wait out what is left of ours.
    arm(static_cast<int>(left.count()));
    return false;
  });
}

void MainWindow::WaitTimerElapsed() {
  waitFlag_ = true;
  waitTimer->SetEnabled(false);
}

void MainWindow::ShowStationAbout() {
  AboutBox->show();
  AboutBox->raise();
  AboutBox->activateWindow();
}

DecoderListWindow& MainWindow::ListWindow() {
  if (!listWindow_) {
    listWindow_ = new DecoderListWindow(
        {[this] { return HighestFirstAddress(); },
         [this](const DecoderRow& row) { FillDecoder(row); }, [this] { return ReadyToProgram(); },
         [this](const DecoderRow& row) { return ProgramListedDecoder(row); }},
        this);
    // Opened in the middle of a run, it waits for the run's end as if it had been there before.
    listWindow_->SetRunInProgress(runInProgress_);
  }
  return *listWindow_;
}

void MainWindow::ShowDecoderList() {
  DecoderListWindow& list = ListWindow();
  list.show();
  list.raise();
  list.activateWindow();
}

void MainWindow::FillDecoder(const DecoderRow& row) {
  // As typed: a row the station cannot reach shows its own address, which the run then refuses,
  // instead of another one it was clamped to.
  firstAddressEdit->SetText(QString::number(row.firstAddress));
  for (int i = 0; i < 7; ++i) {
    if (DecoderModel::kModes[i].number == row.modeA) groupAModes[i]->setChecked(true);
    if (DecoderModel::kModes[i].number == row.modeB) groupBModes[i]->setChecked(true);
  }
}
