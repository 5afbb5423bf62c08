// The window as the user sees it, start-up, the choice of central type and the millisecond wait.
#include "WD10/TFrm_WD10.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "About/TAboutBox.h"
#include "CPort/TComPort.h"
#include "CPortCtl/TComLed.h"
#include "ScktComp/TClientSocket.h"
#include "WD10/DecoderModel.h"
#include "WD10/LinkFactory.h"
#include "WD10/LongHandler.h"
#include "WD10/RememberedSettings.h"
#include "WD10/TSpinEdit.h"
#include "WD10/WindowLinkObserver.h"
#include "link/CommandStationLink.h"
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

// Button4's designed place lies outside the programming panel; it goes beside a narrowed
// Button2 instead, so the user can reach it.
constexpr int kButton2Width = 353;
constexpr int kButton2WidthBesideButton4 = 248;

template <typename Handler>
void OnChecked(QRadioButton* button, Handler handler) {
  // Toggled, not clicked: checking by keyboard, by the accessibility tree or in code all run
  // the handler.
  QObject::connect(button, &QRadioButton::toggled, button, [handler](bool checked) {
    if (checked) RunGuarded(handler);
  });
}

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

TFrm_WD10::TFrm_WD10(QWidget* parent)
    : QWidget(parent), settings_(std::make_unique<RememberedSettings>()) {
  BuildWindow();
  BindHandlers();
  FormCreate();
  fontScale_ = FitToFont(*this);
  RestoreRememberedSettings();
}

TFrm_WD10::~TFrm_WD10() {
  // The link lets go of the handlers it put on the sockets and the reply timer.
  link_.reset();
  // The port outlives this body (the widget base destroys its children later) and its event
  // thread could still deliver a batch into a window that is no longer whole.
  ComPort1->OnRxChar = nullptr;
  ComPort1->OnCTSChange = nullptr;
  try {
    ComPort1->Close();
  } catch (const std::exception&) {
    // Nothing is left to report to: the window is going.
  }
}

void TFrm_WD10::BuildWindow() {
  setWindowTitle(QStringLiteral("Configuratie Kuehn WD10"));
  setGeometry(254, 110, 975, 560);
  setFixedSize(975, 560);

  GroupBox1 = new QGroupBox(QStringLiteral("Selectie Scherm"), this);
  GroupBox1->setGeometry(16, 24, 689, 297);
  Memo2 = new QPlainTextEdit(GroupBox1);
  Memo2->setGeometry(8, 16, 673, 193);
  Memo2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo2->setFrameShape(QFrame::NoFrame);
  Memo2->viewport()->setAutoFillBackground(false);
  QFont instructionFont = Memo2->font();
  instructionFont.setPixelSize(15);
  Memo2->setFont(instructionFont);
  QStringList instructions;
  for (const char* line : kInstructions) instructions << QString::fromUtf8(line);
  Memo2->setPlainText(instructions.join(QLatin1Char('\n')));
  Memo2->setAccessibleName(QStringLiteral("Aanwijzingen"));
  // The window opens with the focus here: Tab must lead on to the controls, not into the text.
  Memo2->setTabChangesFocus(true);

  RadioButton15 = MakeRadio(GroupBox1, QStringLiteral("IB/TC /LocoNet"), 24, 208, 240);
  RadioButton16 = MakeRadio(GroupBox1, QStringLiteral("IB/TC "), 24, 224, 240);
  RadioButton17 = MakeRadio(GroupBox1, QStringLiteral("Lenz/Multi-Maus"), 24, 240, 240);
  RadioButton18 = MakeRadio(GroupBox1, QStringLiteral("Märklin (6050/6051)"), 24, 256, 240);
  RadioButton19 = MakeRadio(GroupBox1, QStringLiteral("SRCP 0.8"), 24, 272, 240);
  RadioButton15->setChecked(true);  // as designed; FormCreate makes the choice for real
  Button1 = new QPushButton(kChoosePort, GroupBox1);
  Button1->setGeometry(264, 264, 121, 25);
  // On the row of the server choice, beside the button that connects to it: the one free place
  // in the selection panel that keeps address and connect together.
  SrcpServerLabel = new QLabel(QStringLiteral("SRCP-server:"), GroupBox1);
  SrcpServerLabel->setGeometry(393, 268, 90, 17);
  SrcpServerEdit = new QLineEdit(kDefaultSrcpServer, GroupBox1);
  SrcpServerEdit->setGeometry(485, 266, 190, 22);
  SrcpServerEdit->setAccessibleName(QStringLiteral("Adres van de SRCP-server"));
  SrcpServerLabel->setBuddy(SrcpServerEdit);
  srcpServer_ = kDefaultSrcpServer;
  validSrcpServer_ = kDefaultSrcpServer;

  GroupBox2 = new QGroupBox(QStringLiteral("Programmeren Kuehn WD10"), this);
  GroupBox2->setGeometry(144, 32, 401, 465);
  GroupBox2->hide();
  SpinEdit1 = new TSpinEdit(GroupBox2);
  SpinEdit1->setGeometry(64, 16, 81, 26);
  SpinEdit1->SetMinValue(DecoderModel::kMinAddress);
  SpinEdit1->SetMaxValue(DecoderModel::kMaxAddress);
  SpinEdit1->SetIncrement(DecoderModel::kAddressStep);
  SpinEdit1->SetMaxLength(4);
  SpinEdit1->SetText(QStringLiteral("1"));
  SpinEdit1->setAccessibleName(QStringLiteral("Eerste wisseladres"));
  Label1 = new QLabel(GroupBox2);
  Label1->setGeometry(176, 16, 130, 26);
  Label1->setProperty(kWidestTextProperty, QStringLiteral("Decoderadres: 2500"));
  SpinEdit2 = new TSpinEdit(GroupBox2);
  SpinEdit2->setGeometry(312, 16, 81, 26);
  SpinEdit2->SetText(QStringLiteral("0"));
  SpinEdit2->setEnabled(false);
  SpinEdit2->setAccessibleName(QStringLiteral("Eerste wisseladres Groep B"));

  GroupBox3 = new QGroupBox(QStringLiteral("Groep A"), GroupBox2);
  GroupBox3->setGeometry(0, 32, 401, 193);
  GroupBox4 = new QGroupBox(QStringLiteral("Groep B"), GroupBox2);
  GroupBox4->setGeometry(0, 224, 401, 193);
  RadioButton[0] = nullptr;
  for (int i = 0; i < 7; ++i) {
    const QString placeholder = QStringLiteral("RadioButton%1");
    RadioButton[1 + i] = MakeRadio(GroupBox3, placeholder.arg(1 + i), 16, 24 + 24 * i, 113);
    RadioButton[8 + i] = MakeRadio(GroupBox4, placeholder.arg(8 + i), 16, 24 + 24 * i, 113);
  }
  RadioButton[1]->setChecked(true);
  RadioButton[8]->setChecked(true);

  Button2 = new QPushButton(QStringLiteral("Programmeer Kuehn WD10"), GroupBox2);
  Button2->setGeometry(24, 424, kButton2Width, 25);
  Button3 = new QPushButton(QStringLiteral("Sluiten"), GroupBox2);
  Button3->setGeometry(176, 424, 75, 25);
  Button3->hide();
  Button4 = new QPushButton(QStringLiteral("About IB/TC"), GroupBox2);
  Button4->setGeometry(24 + kButton2WidthBesideButton4 + 8, 424, 97, 25);

  Memo1 = new TMemo(this);
  Memo1->setGeometry(704, 24, 257, 169);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setAccessibleName(QStringLiteral("Verbindingslog"));
  Memo3 = new TMemo(this);
  Memo3->setGeometry(704, 200, 257, 153);
  Memo3->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo3->setAccessibleName(QStringLiteral("Ontvangstlog"));
  memo4 = new TMemo(this);
  memo4->setGeometry(704, 360, 257, 153);
  memo4->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo4->setAccessibleName(QStringLiteral("SRCP-informatielog"));
  for (TMemo* memo : {Memo1, Memo3, memo4}) memo->setPlainText(memo->accessibleName());

  GroupBox5 = new QGroupBox(this);
  GroupBox5->setGeometry(544, 400, 161, 97);
  GroupBox5->setAccessibleName(QStringLiteral("Signalen"));
  GroupBox5->hide();
  ComLed1 = new TComLed(GroupBox5);
  ComLed2 = new TComLed(GroupBox5);
  ComLed3 = new TComLed(GroupBox5);

  Label2 = new QLabel(QStringLiteral("Copyright © Velmar"), this);
  Label2->move(224, 504);
  Button5 = new QPushButton(QStringLiteral("Button5"), this);
  Button5->setGeometry(56, 416, 75, 25);
  Button5->hide();

  Timer1 = new TTimer(this, 1000, true);
  Timer2 = new TTimer(this, 100, false);
  Timer3 = new TTimer(this, 1000, false);
  Timer4 = new TTimer(this, 4000, false);
  Timer5 = new TTimer(this, 1000, false);

  ComPort1 = new TComPort(this);
  ComPort1->setObjectName(QStringLiteral("ComPort1"));

  // The signal panel shows the port's connection, receive and CTS lines; unbound it would
  // only ever show three dark lamps.
  const struct {
    TComLed* led;
    int top;
    TComLedSignal signal;
    TLedKind kind;
    const char* name;
  } leds[] = {{ComLed1, 16, lsConn, lkGreenLight, "Verbinding"},
              {ComLed2, 40, lsRx, lkYellowLight, "Ontvangst"},
              {ComLed3, 64, lsCTS, lkRedLight, "CTS"}};
  for (const auto& entry : leds) {
    entry.led->setGeometry(8, entry.top, 25, 25);
    entry.led->SetKind(entry.kind);
    entry.led->SetLedSignal(entry.signal);
    entry.led->SetComPort(ComPort1);
    auto* caption = new QLabel(QString::fromUtf8(entry.name), GroupBox5);
    caption->setGeometry(40, entry.top, 113, 25);
    caption->setBuddy(entry.led);
  }

  ClientSocket1 = new TClientSocket(this);
  ClientSocket2 = new TClientSocket(this);
  AboutBox = new TAboutBox(this);
  linkObserver_ = std::make_unique<WindowLinkObserver>(*this);
}

void TFrm_WD10::BindHandlers() {
  OnChecked(RadioButton15, [this] { RadioButton15Click(); });
  OnChecked(RadioButton16, [this] { RadioButton16Click(); });
  OnChecked(RadioButton17, [this] { RadioButton17Click(); });
  OnChecked(RadioButton18, [this] { RadioButton18Click(); });
  OnChecked(RadioButton19, [this] { RadioButton19Click(); });
  OnClicked(Button1, [this] { Button1Click(); });
  OnClicked(Button2, [this] { Button2Click(); });
  OnClicked(Button3, [this] { Button3Click(); });
  OnClicked(Button4, [this] { Button4Click(); });
  OnClicked(Button5, [this] { Button5Click(); });
  SpinEdit1->OnChange = [this](QObject*) { SpinEdit1Change(); };
  QObject::connect(SrcpServerEdit, &QLineEdit::editingFinished, this,
                   [this] { RunGuarded([this] { SrcpServerEditingFinished(); }); });
  Timer1->OnTimer = [this](QObject*) { Timer1Timer(); };
  Timer2->OnTimer = [this](QObject*) { Timer2Timer(); };
  Timer4->OnTimer = [this](QObject*) { Timer4Timer(); };
  Timer5->OnTimer = [this](QObject*) { Timer5Timer(); };
  ComPort1->OnRxChar = [this](QObject*, int count) { ComPort1RxChar(count); };
  ComPort1->OnCTSChange = [this](QObject*, bool onOff) { ComPort1CTSChange(onOff); };
}

void TFrm_WD10::FormCreate() {
  Memo1->Clear();
  Memo3->Clear();
  memo4->Clear();
  for (int i = 0; i < 7; ++i) {
    const QString caption = QString::fromUtf8(DecoderModel::kModes[i].caption);
    for (QRadioButton* button : {RadioButton[1 + i], RadioButton[8 + i]}) {
      button->setText(caption);
      // 200 pixels as designed, wider where this desktop's font needs it to show the caption.
      button->resize(std::max(200, button->sizeHint().width()), button->height());
    }
  }
  // Checking RadioButton15 alone would run nothing, as it is checked already; by way of
  // RadioButton16 both handlers run and the window starts as after a user's choice.
  RadioButton16->setChecked(true);
  RadioButton15->setChecked(true);
  RadioButton[2]->setChecked(true);
  RadioButton[1]->setChecked(true);
  RadioButton[9]->setChecked(true);
  RadioButton[8]->setChecked(true);
  SpinEdit1->SetValue(2);
  SpinEdit1->SetValue(1);
  ComPort1->SetBaudRate(br19200);
  ComPort1->SetStopBits(sbOneStopBit);
  SetButton4Visible(false);
}

// Each choice of central type gives the window its captions and the link of that type, which
// sets up its transport. Nothing else in the window knows the central types.
void TFrm_WD10::RadioButton15Click() {
  setWindowTitle(kCaption);
  Button1->setText(kChoosePort);
  SetButton4Visible(false);
  ChooseCentral(CentralType::LocoNet);
}

void TFrm_WD10::RadioButton16Click() {
  setWindowTitle(kCaption);
  Button1->setText(kChoosePort);
  Button4->setText(QStringLiteral("Over IB/TC"));
  SetButton4Visible(true);
  ChooseCentral(CentralType::P50X);
}

void TFrm_WD10::RadioButton17Click() {
  setWindowTitle(kCaption + QStringLiteral(" OffSet = 4 Lenz/Roco"));
  Button1->setText(kChoosePort);
  SetButton4Visible(false);
  ChooseCentral(CentralType::Lenz);
}

void TFrm_WD10::RadioButton18Click() {
  setWindowTitle(kCaption);
  SpinEdit1->SetMaxValue(DecoderModel::kMaxAddressMaerklin);
  Button1->setText(kChoosePort);
  SetButton4Visible(false);
  ChooseCentral(CentralType::Maerklin);
}

void TFrm_WD10::RadioButton19Click() {
  SetButton4Visible(false);
  Button1->setText(QStringLiteral("Verbinden"));
  ChooseCentral(CentralType::Srcp);
}

void TFrm_WD10::ChooseCentral(CentralType central) {
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
                   {*ComPort1, *ClientSocket1, *ClientSocket2, *Timer3, srcpServer_,
                    [this] { SrcpSessionLost(); }},
                   *linkObserver_);
  const bool server = !link_->UsesSerialPort();
  if (IsValidServerAddress(srcpServer_)) validSrcpServer_ = srcpServer_;
  SrcpServerLabel->setVisible(server);
  SrcpServerEdit->setVisible(server);
  link_->Attach();
  settings_->RestorePort(central, *ComPort1);
}

QRadioButton* TFrm_WD10::CentralButton(CentralType central) const {
  switch (central) {
    case CentralType::LocoNet:
      return RadioButton15;
    case CentralType::P50X:
      return RadioButton16;
    case CentralType::Lenz:
      return RadioButton17;
    case CentralType::Maerklin:
      return RadioButton18;
    case CentralType::Srcp:
      return RadioButton19;
  }
  return RadioButton15;
}

void TFrm_WD10::SrcpServerEditingFinished() {
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

void TFrm_WD10::SrcpSessionLost() {
  // Queued: the link reports from inside its socket's notification.
  QMetaObject::invokeMethod(
      this,
      [this] {
        // A run and a connect report the loss in their own words, and a close caused it. Only
        // a connected window that has not run yet goes back to "Verbinden".
        if (runInProgress_ || longHandlers_ > 0 || closingFlag_ || !GroupBox1->isHidden() ||
            Button2->isHidden())
          return;
        GroupBox2->hide();
        GroupBox1->show();
        ShowMessage(QStringLiteral("De verbinding met de SRCP-server op %1 is verbroken.\n"
                                   "Start de server zo nodig opnieuw en druk daarna op "
                                   "\"Verbinden\".")
                        .arg(srcpServer_));
      },
      Qt::QueuedConnection);
}

void TFrm_WD10::RestoreRememberedSettings() {
  if (std::optional<QString> server = settings_->SrcpServer();
      server && IsValidServerAddress(*server)) {
    SrcpServerEdit->setText(*server);
    validSrcpServer_ = *server;
  }
  if (std::optional<QPoint> position = settings_->WindowPosition()) move(*position);
  settings_->RestorePort(central_, *ComPort1);
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

void TFrm_WD10::showEvent(QShowEvent* event) {
  // Where the user left it, or where it was designed to open, but whole on a screen: a monitor
  // may have gone since, and a large scale makes the window outgrow a small screen. Only now is
  // the window's frame known (where the platform knows it before a window manager adds one).
  if (!event->spontaneous()) KeepOnScreen(*this, pos());
  QWidget::showEvent(event);
}

void TFrm_WD10::RememberSettings(bool withWindowPosition) {
  const QString server = SrcpServerEdit->text().trimmed();
  if (IsValidServerAddress(server)) validSrcpServer_ = server;
  settings_->Remember(central_, *ComPort1, validSrcpServer_,
                      withWindowPosition ? std::optional<QPoint>(pos()) : std::nullopt);
}

void TFrm_WD10::SetButton4Visible(bool visible) {
  Button4->setVisible(visible);
  const int width = visible ? kButton2WidthBesideButton4 : kButton2Width;
  Button2->resize(int(std::lround(width * fontScale_)), Button2->height());
}

void TFrm_WD10::SpinEdit1Change() {
  bool ok = false;
  const int address = SpinEdit1->Text().trimmed().toInt(&ok);
  if (!ok) {
    SpinEdit1->SetValue(1);
    return;
  }
  Label1->setText(QStringLiteral("Decoderadres: %1").arg(DecoderModel::DecoderNumber(address)));
  SpinEdit2->SetText(QString::number(address + DecoderModel::kGroupBOffset));
}

int TFrm_WD10::ModeOf(int firstButton) const {
  for (int i = 0; i < 7; ++i)
    if (RadioButton[firstButton + i]->isChecked()) return DecoderModel::kModes[i].number;
  return DecoderModel::kModes[0].number;
}

int TFrm_WD10::ModeOfGroupA() const {
  return ModeOf(1);
}
int TFrm_WD10::ModeOfGroupB() const {
  return ModeOf(8);
}

void TFrm_WD10::WaitMs(int milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  const auto arm = [this](int interval) {
    waitFlag_ = false;
    Timer1->SetInterval(interval);
    Timer1->SetEnabled(true);
  };
  arm(milliseconds);
  WaitUntil([&] {
    if (closeRequested_) return true;
    if (!waitFlag_) return false;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return true;
    // A wait nested inside ours took Timer1 and has ended: wait out what is left of ours.
    arm(static_cast<int>(left.count()));
    return false;
  });
}

void TFrm_WD10::Timer1Timer() {
  waitFlag_ = true;
  Timer1->SetEnabled(false);
}

void TFrm_WD10::Button4Click() {
  AboutBox->show();
  AboutBox->raise();
  AboutBox->activateWindow();
}
