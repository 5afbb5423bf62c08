// Connecting to the command station, receiving from it, supervising the line and shutting the
// link down when the user closes.
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "CPort/TComPort.h"
#include "CPortSetup/ShowSetupDialog.h"
#include "WD10/LongHandler.h"
#include "WD10/TFrm_WD10.h"
#include "link/CommandStationLink.h"
#include "platform/Exception.h"
#include "platform/ExceptionDisplay.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "platform/UserNotifier.h"

void TFrm_WD10::Button1Click() {
  LongHandler busy(*this);
  // Events run during the connect (detection, handshakes); a second click must not start a
  // second connect underneath the first, nor a new choice of central type pull the link away.
  Button1->setEnabled(false);
  SetCentralChoiceEnabled(false);
  const struct Reenable {
    TFrm_WD10* window;
    ~Reenable() {
      window->Button1->setEnabled(true);
      window->SetCentralChoiceEnabled(true);
    }
  } reenable{this};

  CommandStationLink& link = *link_;
  // The programming panel shows at once but takes clicks only once the command station is
  // connected: a run started in the middle of detection or a handshake would report success
  // for commands that were never accepted.
  GroupBox2->setEnabled(false);
  if (link.UsesSerialPort()) {
    ShowSetupDialog(*ComPort1);
    GroupBox5->show();
  }
  GroupBox2->show();
  // A connect that fails from here on goes back to the selection, with the port closed, so
  // the user can pick another port instead of facing a panel that covers the connect button.
  try {
    if (!link.Connect()) {
      AbandonConnect();
      return;
    }
  } catch (...) {
    AbandonConnect();
    throw;
  }
  GroupBox1->hide();
  GroupBox2->setEnabled(true);
  if (link.PollsEvents()) Timer2->SetEnabled(true);
  RememberSettings(false);
}

void TFrm_WD10::SetCentralChoiceEnabled(bool enabled) {
  for (QRadioButton* button :
       {RadioButton15, RadioButton16, RadioButton17, RadioButton18, RadioButton19})
    button->setEnabled(enabled);
  // Another server address would replace the link as much as another central type would.
  SrcpServerEdit->setEnabled(enabled);
}

void TFrm_WD10::AbandonConnect() {
  Timer2->SetEnabled(false);
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
  // The event poll has nothing to ask a port that is closing.
  Timer2->SetEnabled(false);
  try {
    link_->SwitchPowerOff();
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
  RememberSettings(true);
  event->accept();
}

void TFrm_WD10::OnLongHandlersDone() {
  if (pendingCentral_) {
    const CentralType central = *pendingCentral_;
    pendingCentral_.reset();
    ChooseCentral(central);
  }
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
    link_->Received(received);
  } catch (const std::exception& error) {
    Memo1->AddLine(MessageOf(error));
  }
}

void TFrm_WD10::ComPort1CTSChange(bool onOff) {
  link_->ClearToSendChanged(onOff);
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
  if (!ComPort1->Connected() || closingFlag_) return;
  // A close that arrives while the poll waits for its reply is carried out after it, so that the
  // power-off is not a second command in the middle of the first.
  LongHandler busy(*this);
  link_->PollEvents();
  // A poll that raised (the adapter is gone) leaves the timer off: the error is shown once,
  // not again every 100 ms while its box is open. So does a close that ran inside the poll.
  if (ComPort1->Connected() && !closingFlag_) Timer2->SetEnabled(true);
}

void TFrm_WD10::Timer5Timer() {
  Timer5->SetEnabled(false);
  ProcessMessages();
  // During a run the step that the drop hit fails with the run's own box; a second box for the
  // same drop would only confuse.
  if (ComPort1->Connected() && !closingFlag_ && !runInProgress_)
    ShowMessage(QStringLiteral("Verbinding met de Centrale is verbroken"));
}
