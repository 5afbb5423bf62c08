// The window as the user sees it: its panels, placed by hand as designed, and the controls in
// them. MainController brings them to life.
#include "window/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "about/AboutBox.h"
#include "platform/FitToFont.h"
#include "platform/KeepOnScreen.h"
#include "platform/LogPane.h"
#include "serialwidgets/LineLed.h"
#include "window/AddressSpinBox.h"
#include "window/DecoderModel.h"
#include "window/LinkFactory.h"
#include "window/MainController.h"

namespace {

// Broken into lines as the window was designed; a translation breaks its own.
const char* const kInstructions = QT_TRANSLATE_NOOP(
    "MainWindow",
    "1: Sluit de decoder op de digitale spanning aan. Druk aansluitend op de programmeer \n"
    "toets voor enkele seconden en wel zolang dat de led van Groep A en Groep B samen \n"
    "aangaan.\n"
    "\n"
    "2: Laat de programmeertoets los Nu brand alleen de LED van groep A.\n"
    "Nu kunnen de gegevens worden ingevuld in onderstaand scherm, nadat deze volledig \n"
    "is ingevuld druk op het  'Programmeer Sorvell' knopje. Als de gegevens verzonden \n"
    "zijn kan het programma worden afgesloten met de actief geworden knop Sluiten.");

// The central types stand one row apart, the last on the row of the connect button, as designed
// for five of them; more take their room from the instructions above.
constexpr int kCentralRowHeight = 16;
constexpr int kLastCentralRowTop = 272;

QRadioButton* MakeRadio(QWidget* parent, const QString& caption, int left, int top, int width) {
  auto* button = new QRadioButton(caption, parent);
  button->setGeometry(left, top, width, 17);
  return button;
}

void NameAfterMembers(MainWindowWidgets& w) {
  const std::pair<QObject*, const char*> named[] = {
      {w.selectionPanel, "selectionPanel"},
      {w.instructionsText, "instructionsText"},
      {w.connectButton, "connectButton"},
      {w.srcpServerLabel, "srcpServerLabel"},
      {w.srcpServerEdit, "srcpServerEdit"},
      {w.programmingPanel, "programmingPanel"},
      {w.firstAddressEdit, "firstAddressEdit"},
      {w.decoderNumberLabel, "decoderNumberLabel"},
      {w.groupBAddressEdit, "groupBAddressEdit"},
      {w.groupABox, "groupABox"},
      {w.groupBBox, "groupBBox"},
      {w.programButton, "programButton"},
      {w.nextDecoderButton, "nextDecoderButton"},
      {w.closeButton, "closeButton"},
      {w.stationAboutButton, "stationAboutButton"},
      {w.decoderListButton, "decoderListButton"},
      {w.connectionLog, "connectionLog"},
      {w.receiveLog, "receiveLog"},
      {w.infoLog, "infoLog"},
      {w.signalsPanel, "signalsPanel"},
      {w.connectionLed, "connectionLed"},
      {w.receiveLed, "receiveLed"},
      {w.ctsLed, "ctsLed"},
      {w.copyrightLabel, "copyrightLabel"},
      {w.versionButton, "versionButton"},
      {w.aboutBox, "aboutBox"},
      {w.languageBox, "languageBox"},
  };
  for (const auto& [object, name] : named) object->setObjectName(QString::fromLatin1(name));
  for (std::size_t i = 0; i < w.groupAModes.size(); ++i) {
    w.groupAModes[i]->setObjectName(QStringLiteral("groupAMode%1").arg(i));
    w.groupBModes[i]->setObjectName(QStringLiteral("groupBMode%1").arg(i));
  }
  for (QAbstractButton* button : w.centralButtons->buttons())
    button->setObjectName(QStringLiteral("central_") +
                          FactsOf(static_cast<CentralType>(w.centralButtons->id(button))).key);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  BuildWindow();
  controller_ = std::make_unique<MainController>(*this, widgets_);
  const double fontScale = FitToFont(*widgets_.canvasScroller->widget());
  setFixedSize(widgets_.canvasScroller->widget()->size());
  controller_->Begin(fontScale);
  // Where the user left it, or where it was designed to open, but whole on a screen: a monitor
  // may have gone since, and a large scale makes the window outgrow a small screen.
  KeepWholeOnScreen(*this);
}

MainWindow::~MainWindow() = default;

void MainWindow::closeEvent(QCloseEvent* event) {
  event->setAccepted(controller_->CloseRequested());
}

void MainWindow::BuildWindow() {
  MainWindowWidgets& w = widgets_;
  setWindowTitle(QCoreApplication::translate("MainWindow", "Configuratie Kuehn WD10"));
  move(254, 110);
  // The panels are placed by hand on a canvas of the designed size. The window shows the canvas
  // whole where the screen has room; on a smaller screen (a 800 x 480 touch screen) the window
  // shrinks to the screen and the canvas scrolls, following the keyboard's focus, so every
  // control can still be reached.
  auto* canvas = new QWidget;
  canvas->setFixedSize(975, 560);
  w.canvasScroller = new QScrollArea(this);
  w.canvasScroller->setFrameShape(QFrame::NoFrame);
  w.canvasScroller->setFocusPolicy(Qt::NoFocus);
  w.canvasScroller->setWidget(canvas);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(w.canvasScroller);
  // Wherever the focus comes from (Tab, a mnemonic, the accessibility tree, a panel that hid the
  // control it was on), the control that has it is brought into view.
  // Whole where it fits: the scroll area's own rule would show only a text pane's cursor.
  connect(qApp, &QApplication::focusChanged, this, [&w, canvas](QWidget*, QWidget* now) {
    if (!now || !canvas->isAncestorOf(now)) return;
    const QRect shown(now->mapTo(canvas, QPoint(0, 0)), now->size());
    w.canvasScroller->ensureVisible(shown.center().x(), shown.center().y(), shown.width() / 2 + 1,
                                    shown.height() / 2 + 1);
  });

  w.selectionPanel =
      new QGroupBox(QCoreApplication::translate("MainWindow", "Selectie Scherm"), canvas);
  w.selectionPanel->setGeometry(16, 24, 689, 297);
  w.instructionsText = new QPlainTextEdit(w.selectionPanel);
  const int centralRows = int(CentralTypes().size());
  const int firstCentralRowTop = kLastCentralRowTop - kCentralRowHeight * (centralRows - 1);
  constexpr int instructionsTop = 16;
  // Down to the first central type's row, and one pixel into it, as designed.
  w.instructionsText->setGeometry(8, instructionsTop, 673,
                                  firstCentralRowTop + 1 - instructionsTop);
  w.instructionsText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  w.instructionsText->setFrameShape(QFrame::NoFrame);
  w.instructionsText->viewport()->setAutoFillBackground(false);
  QFont instructionFont = w.instructionsText->font();
  instructionFont.setPixelSize(15);
  w.instructionsText->setFont(instructionFont);
  w.instructionsText->setPlainText(QCoreApplication::translate("MainWindow", kInstructions));
  w.instructionsText->setAccessibleName(QCoreApplication::translate("MainWindow", "Aanwijzingen"));
  // The window opens with the focus here: Tab must lead on to the controls, not into the text.
  w.instructionsText->setTabChangesFocus(true);

  w.centralButtons = new QButtonGroup(this);
  int centralRowTop = firstCentralRowTop;
  for (const CentralFacts& facts : CentralTypes()) {
    w.centralButtons->addButton(MakeRadio(w.selectionPanel, facts.caption, 24, centralRowTop, 240),
                                static_cast<int>(facts.central));
    centralRowTop += kCentralRowHeight;
  }
  // As designed; ApplyStartDefaults makes the choice for real.
  w.CentralButton(CentralType::LocoNet)->setChecked(true);
  w.connectButton = new QPushButton(QCoreApplication::translate("LinkFactory", "Kies Compoort"),
                                    w.selectionPanel);
  w.connectButton->setGeometry(264, 264, 121, 25);
  // On the row of the server choice, beside the button that connects to it: the one free place
  // in the selection panel that keeps address and connect together.
  w.srcpServerLabel =
      new QLabel(QCoreApplication::translate("MainWindow", "SRCP-server:"), w.selectionPanel);
  w.srcpServerLabel->setGeometry(393, 268, 90, 17);
  w.srcpServerEdit = new QLineEdit(w.selectionPanel);
  w.srcpServerEdit->setGeometry(485, 266, 190, 22);
  w.srcpServerEdit->setAccessibleName(
      QCoreApplication::translate("MainWindow", "Adres van de SRCP-server"));
  w.srcpServerLabel->setBuddy(w.srcpServerEdit);

  w.programmingPanel =
      new QGroupBox(QCoreApplication::translate("MainWindow", "Programmeren Kuehn WD10"), canvas);
  // One row taller than designed, for the decoder list's button below the run's buttons.
  w.programmingPanel->setGeometry(144, 32, 401, 497);
  w.programmingPanel->hide();
  w.firstAddressEdit = new AddressSpinBox(w.programmingPanel);
  w.firstAddressEdit->setGeometry(64, 16, 81, 26);
  w.firstAddressEdit->SetMinValue(DecoderModel::kMinAddress);
  w.firstAddressEdit->SetMaxValue(DecoderModel::kMaxAddress);
  w.firstAddressEdit->SetIncrement(DecoderModel::kAddressStep);
  w.firstAddressEdit->SetMaxLength(4);
  w.firstAddressEdit->SetText(QStringLiteral("1"));
  w.firstAddressEdit->setAccessibleName(
      QCoreApplication::translate("MainWindow", "Eerste wisseladres"));
  w.decoderNumberLabel = new QLabel(w.programmingPanel);
  w.decoderNumberLabel->setGeometry(176, 16, 130, 26);
  w.decoderNumberLabel->setProperty(
      kWidestTextProperty, QCoreApplication::translate("MainWindow", "Decoderadres: 2500"));
  w.groupBAddressEdit = new AddressSpinBox(w.programmingPanel);
  w.groupBAddressEdit->setGeometry(312, 16, 81, 26);
  w.groupBAddressEdit->SetText(QStringLiteral("0"));
  w.groupBAddressEdit->setEnabled(false);
  w.groupBAddressEdit->setAccessibleName(
      QCoreApplication::translate("MainWindow", "Eerste wisseladres Groep B"));

  w.groupABox =
      new QGroupBox(QCoreApplication::translate("MainWindow", "Groep A"), w.programmingPanel);
  w.groupABox->setGeometry(0, 32, 401, 193);
  w.groupBBox =
      new QGroupBox(QCoreApplication::translate("MainWindow", "Groep B"), w.programmingPanel);
  w.groupBBox->setGeometry(0, 224, 401, 193);
  // Their captions come with the start defaults.
  for (int i = 0; i < 7; ++i) {
    w.groupAModes[i] = MakeRadio(w.groupABox, {}, 16, 24 + 24 * i, 113);
    w.groupBModes[i] = MakeRadio(w.groupBBox, {}, 16, 24 + 24 * i, 113);
  }
  w.groupAModes[0]->setChecked(true);
  w.groupBModes[0]->setChecked(true);

  w.programButton = new QPushButton(
      QCoreApplication::translate("MainWindow", "Programmeer Kuehn WD10"), w.programmingPanel);
  w.programButton->setGeometry(24, 424, kProgramButtonWidth, 25);
  // Left of w.closeButton, where w.programButton begins, and created before it: Tab reaches the two
  // in reading order.
  w.nextDecoderButton = new QPushButton(
      QCoreApplication::translate("MainWindow", "Volgende decoder"), w.programmingPanel);
  w.nextDecoderButton->setGeometry(24, 424, 144, 25);
  w.nextDecoderButton->setAccessibleDescription(QCoreApplication::translate(
      "MainWindow", "Houdt de verbinding en zet het volgende vrije wisseladres klaar"));
  w.nextDecoderButton->hide();
  w.closeButton =
      new QPushButton(QCoreApplication::translate("MainWindow", "Sluiten"), w.programmingPanel);
  w.closeButton->setGeometry(176, 424, 75, 25);
  w.closeButton->hide();
  w.stationAboutButton =
      new QPushButton(QCoreApplication::translate("MainWindow", "About IB/TC"), w.programmingPanel);
  w.stationAboutButton->setGeometry(24 + kProgramButtonWidthBesideAbout + 8, 424, 97, 25);
  w.decoderListButton = new QPushButton(QCoreApplication::translate("MainWindow", "Decoderlijst…"),
                                        w.programmingPanel);
  w.decoderListButton->setGeometry(24, 456, 97, 25);
  w.decoderListButton->setAccessibleDescription(
      QCoreApplication::translate("MainWindow", "Opent de lijst van de decoders van de baan"));

  w.connectionLog = new LogPane(canvas);
  w.connectionLog->setGeometry(704, 24, 257, 169);
  w.connectionLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  w.connectionLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  w.connectionLog->setAccessibleName(QCoreApplication::translate("MainWindow", "Verbindingslog"));
  w.receiveLog = new LogPane(canvas);
  w.receiveLog->setGeometry(704, 200, 257, 153);
  w.receiveLog->setLineWrapMode(QPlainTextEdit::NoWrap);
  w.receiveLog->setAccessibleName(QCoreApplication::translate("MainWindow", "Ontvangstlog"));
  w.infoLog = new LogPane(canvas);
  w.infoLog->setGeometry(704, 360, 257, 153);
  w.infoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
  w.infoLog->setAccessibleName(QCoreApplication::translate("MainWindow", "SRCP-informatielog"));
  for (LogPane* memo : {w.connectionLog, w.receiveLog, w.infoLog})
    memo->setPlainText(memo->accessibleName());

  // Under the logs, the last stop of the right column: out of the way of the designed panels.
  w.languageBox = new QComboBox(canvas);
  w.languageBox->setGeometry(840, 530, 121, 24);
  w.languageBox->setAccessibleName(QCoreApplication::translate("MainWindow", "Taal"));

  w.signalsPanel = new QGroupBox(canvas);
  w.signalsPanel->setGeometry(544, 400, 161, 97);
  w.signalsPanel->setAccessibleName(QCoreApplication::translate("MainWindow", "Signalen"));
  w.signalsPanel->hide();
  w.connectionLed = new LineLed(w.signalsPanel);
  w.receiveLed = new LineLed(w.signalsPanel);
  w.ctsLed = new LineLed(w.signalsPanel);

  w.copyrightLabel = new QLabel(QStringLiteral("Copyright © Velmar"), canvas);
  // Below the programming panel, which grew a row over its designed place.
  w.copyrightLabel->move(224, 536);
  // Hidden, and so its caption is never seen; it is the one the window was designed with.
  w.versionButton = new QPushButton(QStringLiteral("Button5"), canvas);
  w.versionButton->setGeometry(56, 416, 75, 25);
  w.versionButton->hide();

  // The signal panel shows the port's connection, receive and CTS lines; unbound it would
  // only ever show three dark lamps.
  const struct {
    LineLed* led;
    int top;
    LineLedSignal signal;
    LedKind kind;
    const char* name;
  } leds[] = {
      {w.connectionLed, 16, lsConn, lkGreenLight, QT_TRANSLATE_NOOP("MainWindow", "Verbinding")},
      {w.receiveLed, 40, lsRx, lkYellowLight, QT_TRANSLATE_NOOP("MainWindow", "Ontvangst")},
      {w.ctsLed, 64, lsCTS, lkRedLight, "CTS"}};
  for (const auto& entry : leds) {
    entry.led->setGeometry(8, entry.top, 25, 25);
    entry.led->SetKind(entry.kind);
    entry.led->SetLedSignal(entry.signal);
    auto* caption =
        new QLabel(QCoreApplication::translate("MainWindow", entry.name), w.signalsPanel);
    caption->setGeometry(40, entry.top, 113, 25);
    caption->setBuddy(entry.led);
  }

  widgets_.aboutBox = new AboutBox(this);
  NameAfterMembers(widgets_);
}
