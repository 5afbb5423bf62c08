// Connecting to the command station, receiving from it, supervising the line and shutting the
// link down when the user closes.
#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "CPort/TComPort.h"
#include "CPortSetup/ShowSetupDialog.h"
#include "WD10/Lenz.h"
#include "WD10/LongHandler.h"
#include "WD10/Maerklin.h"
#include "WD10/TFrm_WD10.h"
#include "loconet/LocoNetLink.h"
#include "p50x/P50XDetection.h"
#include "p50x/P50XLink.h"
#include "platform/Exception.h"
#include "platform/ExceptionDisplay.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "platform/UserNotifier.h"
#include "srcp/SrcpReplyWait.h"
#include "srcp/SrcpSession.h"

namespace {

// Central types that never consume the receive buffer would grow it for the whole run;
// the newest bytes are what a user or a later parser could want.
constexpr qsizetype kReceiveBufferLimit = 2 * 64 * 1024;

constexpr char kLocoNetPowerOn = '\x83';
constexpr char kLocoNetPowerOff = '\x82';
constexpr char kP50XPowerOn = '\xA7';
constexpr int kLenzResumeOperations[] = {0x21, 0x81};
constexpr int kLenzStopAllLocomotives = 0x80;

QByteArray SingleByte(char value) {
  return QByteArray(1, value);
}

}  // namespace

void TFrm_WD10::Button1Click() {
  LongHandler busy(*this);
  // Events run during the connect (detection, handshakes); a second click must not start a
  // second connect underneath the first.
  Button1->setEnabled(false);
  const struct Reenable {
    QPushButton* button;
    ~Reenable() { button->setEnabled(true); }
  } reenable{Button1};

  const CentralType central = SelectedCentral();
  // The programming panel shows at once but takes clicks only once the command station is
  // connected: a run started in the middle of detection or a handshake would report success
  // for commands that were never accepted.
  GroupBox2->setEnabled(false);
  if (central == CentralType::Srcp) {
    GroupBox2->show();
  } else {
    ShowSetupDialog(*ComPort1);
    if (!ComPort1->Connected() && central != CentralType::P50X) {
      ComPort1->Open();
      ComPort1->ClearBuffer(true, true);
      ProcessMessages();
    }
    GroupBox2->show();
    GroupBox5->show();
  }
  // A connect that fails from here on goes back to the selection, with the port closed, so
  // the user can pick another port instead of facing a panel that covers the connect button.
  try {
    if (!SwitchPowerOn(central)) {
      AbandonConnect();
      return;
    }
  } catch (...) {
    AbandonConnect();
    throw;
  }
  GroupBox1->hide();
  GroupBox2->setEnabled(true);
  if (central == CentralType::P50X) Timer2->SetEnabled(true);
}

bool TFrm_WD10::SwitchPowerOn(CentralType central) {
  switch (central) {
    case CentralType::LocoNet:
      SendLocoNet(*ComPort1, SingleByte(kLocoNetPowerOn));
      break;
    case CentralType::P50X:
      // Without a command station the P50X link would only wait for replies that never come.
      if (!DetectP50XInterface()) return false;
      SendP50X(SingleByte(kP50XPowerOn));
      break;
    case CentralType::Lenz:
      LenzFrameTable[0] = kLenzResumeOperations[0];
      LenzFrameTable[1] = kLenzResumeOperations[1];
      SendLenz(*ComPort1);
      break;
    case CentralType::Maerklin:
      ComPort1->WriteStr(SingleByte(Maerklin::kGo));
      break;
    case CentralType::Srcp:
      SrcpHandshake();
      break;
  }
  return true;
}

void TFrm_WD10::AbandonConnect() {
  ComPort1->Close();
  GroupBox2->hide();
  GroupBox5->hide();
}

void TFrm_WD10::Button3Click() {
  // A second close request while the first is shutting the link down (or after it) must not
  // send the power-off again to a port that is closing.
  if (closingFlag_) return;
  closingFlag_ = true;
  Button3->setEnabled(false);
  // The user must always be able to quit: when the power-off cannot be sent (the adapter is
  // gone), the error is shown, and still the port is closed and the window closes.
  try {
    SwitchPowerOff(SelectedCentral());
  } catch (const std::exception& error) {
    ShowException(error);
  }
  try {
    ComPort1->Close();
  } catch (const std::exception& error) {
    ShowException(error);
  }
  close();
}

void TFrm_WD10::SwitchPowerOff(CentralType central) {
  switch (central) {
    case CentralType::LocoNet:
      SendLocoNet(*ComPort1, SingleByte(kLocoNetPowerOff));
      break;
    case CentralType::P50X:
      P50XPowerOff();
      break;
    case CentralType::Lenz:
      LenzFrameTable[0] = kLenzStopAllLocomotives;
      SendLenz(*ComPort1);
      break;
    case CentralType::Maerklin:
      ComPort1->WriteStr(SingleByte(Maerklin::kStop));
      break;
    case CentralType::Srcp:
      EndSrcpSession();
      break;
  }
}

void TFrm_WD10::closeEvent(QCloseEvent* event) {
  if (longHandlers_ > 0) {
    // A handler is waiting underneath us; it stops at its next wait and the close is carried
    // out when it has returned (OnLongHandlersDone).
    closeRequested_ = true;
    event->ignore();
    return;
  }
  if (ComPort1->Connected()) {
    event->ignore();
    // Run the close button's action at the top of the event loop: closing the window from
    // inside its own close request would be refused by the toolkit.
    QMetaObject::invokeMethod(
        this, [this] { RunGuarded([this] { Button3Click(); }); }, Qt::QueuedConnection);
    return;
  }
  event->accept();
}

void TFrm_WD10::OnLongHandlersDone() {
  if (!closeRequested_) return;
  closeRequested_ = false;
  QMetaObject::invokeMethod(
      this, [this] { close(); }, Qt::QueuedConnection);
}

void TFrm_WD10::ComPort1RxChar(int count) {
  // Nothing may escape: an exception here would end all serial events for the connection.
  try {
    ComPort1->SetEvents({});
    QByteArray received;
    ComPort1->ReadStr(received, count);
    ReceiveHexBuffer.append(received.toHex().toUpper());
    if (ReceiveHexBuffer.size() > kReceiveBufferLimit)
      ReceiveHexBuffer.remove(0, ReceiveHexBuffer.size() - kReceiveBufferLimit);
    switch (SelectedCentral()) {
      case CentralType::LocoNet:
        ParseLocoNet(ReceiveHexBuffer, *Memo3, *ComPort1);
        break;
      case CentralType::Lenz:
        ParseLenz(ReceiveHexBuffer, *Memo3);
        break;
      default:
        break;
    }
  } catch (const std::exception& error) {
    const auto* own = dynamic_cast<const Exception*>(&error);
    Memo1->AddLine(own ? own->Message() : QString::fromLocal8Bit(error.what()));
  }
}

void TFrm_WD10::ComPort1CTSChange(bool onOff) {
  // Only a drop counts: an interface or a pty that never raised CTS has nothing to lose.
  if (onOff) {
    ctsSeenOn_ = true;
    Timer5->SetEnabled(false);
  } else if (ctsSeenOn_) {
    Timer5->SetEnabled(true);
  }
}

void TFrm_WD10::Timer2Timer() {
  Timer2->SetEnabled(false);
  if (RadioButton16->isChecked()) P50XEventPoll();
  // A poll that raised (the adapter is gone) leaves the timer off: the error is shown once,
  // not again every 100 ms while its box is open.
  Timer2->SetEnabled(true);
}

void TFrm_WD10::Timer3Timer() {
  Timer3->SetEnabled(false);
  SrcpReplyTimeout();
}

void TFrm_WD10::Timer5Timer() {
  Timer5->SetEnabled(false);
  ProcessMessages();
  if (ComPort1->Connected() && !closingFlag_)
    ShowMessage(QStringLiteral("Verbinding met de Centrale is verbroken"));
}
