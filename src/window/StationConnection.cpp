#include "window/StationConnection.h"

#include <QGroupBox>
#include <QTimer>

#include "link/CommandStationLink.h"
#include "platform/Elapsed.h"
#include "platform/ExceptionDisplay.h"
#include "platform/LogPane.h"
#include "platform/UserNotifier.h"
#include "serial/SerialPort.h"
#include "serialwidgets/EditPortSettings.h"
#include "window/MainWindowWidgets.h"
#include "window/StationChoice.h"

namespace {

QTimer* NamedTimer(QWidget& window, const char* name, int milliseconds) {
  auto* timer = new QTimer(&window);
  timer->setObjectName(QString::fromLatin1(name));
  timer->setInterval(milliseconds);
  timer->setSingleShot(true);
  return timer;
}

}  // namespace

StationConnection::StationConnection(QWidget& window, MainWindowWidgets& widgets, SerialPort& port,
                                     StationChoice& station)
    : w_(widgets),
      port_(port),
      station_(station),
      eventPollTimer_(NamedTimer(window, "eventPollTimer", 100)),
      connectionWatchTimer_(NamedTimer(window, "connectionWatchTimer", 1000)) {
  port_.OnRxChar = [this](QObject*, int count) { Received(count); };
  port_.OnCTSChange = [this](QObject*, bool on) { ClearToSendChanged(on); };
  QObject::connect(connectionWatchTimer_, &QTimer::timeout, [this] {
    if (port_.Connected() && lineDropped) lineDropped();
  });
}

StationConnection::~StationConnection() {
  poll_.End();
  connectionWatchTimer_->disconnect();
  connectionWatchTimer_->stop();
  // The port outlives this object (the window destroys its children later), and its event
  // thread could still deliver a batch.
  port_.OnRxChar = nullptr;
  port_.OnCTSChange = nullptr;
  try {
    port_.Close();
  } catch (const std::exception&) {
    // Nothing is left to report to: the window is going.
  }
}

Task<void> StationConnection::ChoosePort() {
  if (!station_.Link().UsesSerialPort()) co_return;
  co_await EditPortSettings(port_);
}

Task<bool> StationConnection::Connect() {
  CommandStationLink& link = station_.Link();
  w_.programmingPanel->setEnabled(false);
  if (link.UsesSerialPort()) w_.signalsPanel->show();
  w_.programmingPanel->show();
  // A connect that fails from here on goes back to the selection, with the port closed, so
  // the user can pick another port instead of facing a panel that covers the connect button.
  bool connected = false;
  try {
    connected = co_await link.Connect();
  } catch (...) {
    Abandon();
    throw;
  }
  if (!connected) {
    Abandon();
    co_return false;
  }
  w_.selectionPanel->hide();
  w_.programmingPanel->setEnabled(true);
  co_return true;
}

void StationConnection::StartPoll() {
  if (station_.Link().PollsEvents()) poll_ = Poll();
}

Task<void> StationConnection::Poll() {
  for (;;) {
    co_await Elapsed(*eventPollTimer_);
    if (!port_.Connected()) co_return;
    // A poll that raised (the adapter is gone) ends the polling: the error is shown once, not
    // again every 100 ms while its box is open.
    try {
      co_await station_.Link().PollEvents();
    } catch (const std::exception& error) {
      ShowException(error);
      co_return;
    }
  }
}

Task<void> StationConnection::Shutdown(bool powerOff) {
  // The event poll has nothing to ask a port that is closing.
  poll_.End();
  connectionWatchTimer_->stop();
  std::optional<ErrorText> failure;
  if (powerOff) {
    try {
      co_await station_.Link().SwitchPowerOff();
    } catch (const std::exception& error) {
      failure = DescribeException(error);
    }
  }
  if (failure) co_await ShowMessageAndWait(failure->message, failure->detail);
  failure.reset();
  try {
    port_.Close();
  } catch (const std::exception& error) {
    failure = DescribeException(error);
  }
  if (failure) co_await ShowMessageAndWait(failure->message, failure->detail);
}

void StationConnection::Abandon() {
  poll_.End();
  port_.Close();
  w_.programmingPanel->hide();
  w_.signalsPanel->hide();
}

bool StationConnection::PortOpen() const {
  return port_.Connected();
}

void StationConnection::StopLineWatch() {
  connectionWatchTimer_->stop();
}

void StationConnection::Received(int count) {
  // Nothing may escape: an exception here would end all serial events for the connection.
  try {
    port_.SetEvents({});
    QByteArray received;
    port_.ReadStr(received, count);
    station_.Link().Received(received);
  } catch (const std::exception& error) {
    w_.connectionLog->AddLine(MessageOf(error));
  }
}

void StationConnection::ClearToSendChanged(bool on) {
  station_.Link().ClearToSendChanged(on);
  // Only a drop counts: an interface or a pty that never raised CTS has nothing to lose.
  if (on) {
    ctsSeenOn_ = true;
    connectionWatchTimer_->stop();
  } else if (ctsSeenOn_) {
    connectionWatchTimer_->start();
  }
}
