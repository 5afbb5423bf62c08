// Connecting to the command station, receiving from it, supervising the line and shutting the
// link down when the user closes.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "CPort/TComPort.h"
#include "CPortSetup/ShowSetupDialog.h"
#include "WD10/DecoderListWindow.h"
#include "WD10/MainWindow.h"
#include "WD10/TSpinEdit.h"
#include "link/CommandStationLink.h"
#include "platform/Exception.h"
#include "platform/ExceptionDisplay.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "platform/UserNotifier.h"

void MainWindow::Connect() {
  LongHandler busy(*this);
  // Events run during the connect (detection, handshakes); a second click must not start a
  // second connect underneath the first, nor a new choice of central type pull the link away.
  connectButton->setEnabled(false);
  SetCentralChoiceEnabled(false);
  const struct Reenable {
    MainWindow* window;
    ~Reenable() {
      window->connectButton->setEnabled(true);
      window->SetCentralChoiceEnabled(true);
    }
  } reenable{this};

  CommandStationLink& link = *link_;
  // The programming panel shows at once but takes clicks only once the command station is
  // connected: a run started in the middle of detection or a handshake would report success
  // for commands that were never accepted.
  programmingPanel->setEnabled(false);
  if (link.UsesSerialPort()) {
    ShowSetupDialog(*serialPort);
    // The dialog's end must reach the desktop before the panel becomes usable: a window manager
    // that still saw the modal dialog would not pass on a close asked for at once (an
    // accessibility client learns of the panel without waiting for the display). A close that
    // came meanwhile, or while the port was being chosen, ends the program, not connected.
    QGuiApplication::sync();
    if (closeRequested_) {
      AbandonConnect();
      return;
    }
    signalsPanel->show();
  }
  programmingPanel->show();
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
  selectionPanel->hide();
  programmingPanel->setEnabled(true);
  // The decoder's address comes next; the connect button that had the focus has gone, and the
  // focus would otherwise have fallen into a log pane.
  firstAddressEdit->setFocus();
  if (link.PollsEvents()) eventPollTimer->SetEnabled(true);
  RememberSettings(false);
}

void MainWindow::SetCentralChoiceEnabled(bool enabled) {
  for (QAbstractButton* button : centralButtons_->buttons()) button->setEnabled(enabled);
  // Another server address would replace the link as much as another central type would.
  SrcpServerEdit->setEnabled(enabled);
}

void MainWindow::AbandonConnect() {
  eventPollTimer->SetEnabled(false);
  serialPort->Close();
  programmingPanel->hide();
  signalsPanel->hide();
}

void MainWindow::CloseLink() {
  // A second close request while the first is shutting the link down (or after it) must not
  // send the power-off again to a port that is closing.
  if (closingFlag_) return;
  closingFlag_ = true;
  closeButton->setEnabled(false);
  // The user must always be able to quit: when the power-off cannot be sent (the adapter is
  // gone), the error is shown, and still the port is closed and the window closes.
  // The event poll has nothing to ask a port that is closing.
  eventPollTimer->SetEnabled(false);
  try {
    link_->SwitchPowerOff();
  } catch (const std::exception& error) {
    ShowException(error);
  }
  try {
    serialPort->Close();
  } catch (const std::exception& error) {
    ShowException(error);
  }
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (longHandlers_ > 0) {
    // A handler is waiting underneath us; it stops at its next wait and the close is carried
    // out when it has returned (OnLongHandlersDone).
    closeRequested_ = true;
    event->ignore();
    return;
  }
  if (serialPort->Connected()) {
    event->ignore();
    // Run the close button's action at the top of the event loop: closing the window from
    // inside its own close request would be refused by the toolkit.
    QMetaObject::invokeMethod(
        this, [this] { RunGuarded([this] { CloseLink(); }); }, Qt::QueuedConnection);
    return;
  }
  RememberSettings(true);
  if (listWindow_) listWindow_->close();
  event->accept();
}

void MainWindow::CloseRequestedWhileBlocked(QWindow& window) {
  // The program's own close passes the modal window, and is carried out as any close.
  QMetaObject::invokeMethod(
      &window, [&window] { window.close(); }, Qt::QueuedConnection);
  // Leaving the program, the user wants no answer to the modal window: it ends as if cancelled.
  // A box over the main window stays when only the decoder list's window is closed.
  if (&window != windowHandle()) return;
  if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
}

void MainWindow::OnLongHandlersDone() {
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

void MainWindow::SerialReceived(int count) {
  // Nothing may escape: an exception here would end all serial events for the connection.
  try {
    serialPort->SetEvents({});
    QByteArray received;
    serialPort->ReadStr(received, count);
    link_->Received(received);
  } catch (const std::exception& error) {
    connectionLog->AddLine(MessageOf(error));
  }
}

void MainWindow::SerialClearToSendChanged(bool onOff) {
  link_->ClearToSendChanged(onOff);
  // Only a drop counts: an interface or a pty that never raised CTS has nothing to lose.
  if (onOff) {
    ctsSeenOn_ = true;
    connectionWatchTimer->SetEnabled(false);
  } else if (ctsSeenOn_) {
    connectionWatchTimer->SetEnabled(true);
  }
}

void MainWindow::EventPollTick() {
  eventPollTimer->SetEnabled(false);
  if (!serialPort->Connected() || closingFlag_) return;
  // A close that arrives while the poll waits for its reply is carried out after it, so that the
  // power-off is not a second command in the middle of the first.
  LongHandler busy(*this);
  link_->PollEvents();
  // A poll that raised (the adapter is gone) leaves the timer off: the error is shown once,
  // not again every 100 ms while its box is open. So does a close that ran inside the poll.
  if (serialPort->Connected() && !closingFlag_) eventPollTimer->SetEnabled(true);
}

void MainWindow::ConnectionWatchElapsed() {
  connectionWatchTimer->SetEnabled(false);
  ProcessMessages();
  // During a run the step that the drop hit fails with the run's own box; a second box for the
  // same drop would only confuse.
  if (serialPort->Connected() && !closingFlag_ && !runInProgress_)
    ShowMessage(QStringLiteral("Verbinding met de Centrale is verbroken"));
}
