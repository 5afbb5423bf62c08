// The one place that knows which link serves which central type.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "WD10/MainWindow.h"

class CommandStationLink;
class LinkObserver;
class TClientSocket;
class TComPort;
class TTimer;

// What the window lends a link for its life: the serial port, or the two SRCP sessions and the
// reply timer.
struct LinkTransport {
  TComPort& port;
  TClientSocket& commandSession;
  TClientSocket& infoSession;
  TTimer& replyTimer;
  QString serverAddress;  // "host[:port]" of the SRCP server
  // Told when a server session that "Verbinden" made goes without the link ending it.
  std::function<void()> serverSessionLost;
};

// The central type's name where it is written down (the user's settings): "loconet", "p50x",
// "lenz", "maerklin", "srcp", the names sorvell-sim knows them by too.
QString CentralTypeKey(MainWindow::CentralType central);
std::optional<MainWindow::CentralType> CentralTypeFromKey(const QString& key);

std::unique_ptr<CommandStationLink> MakeLink(MainWindow::CentralType central,
                                             const LinkTransport& transport,
                                             LinkObserver& observer);

// Whether the text names a server the SRCP link can reach ("host[:port]").
bool IsValidServerAddress(const QString& address);
