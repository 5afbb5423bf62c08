// The one place that knows the central types: what the window shows for each and which link
// serves it.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "window/CentralType.h"

class CommandStationLink;
class LinkObserver;
class TcpClient;
class SerialPort;

// What the window lends a link for its life: the serial port, or the two SRCP sessions.
struct LinkTransport {
  SerialPort& port;
  TcpClient& commandSession;
  TcpClient& infoSession;
  QString serverAddress;  // "host[:port]" of the SRCP server
  // Told when a server session that "Verbinden" made goes without the link ending it.
  std::function<void()> serverSessionLost;
};

using LinkMaker = std::unique_ptr<CommandStationLink> (*)(const LinkTransport&, LinkObserver&);

// Everything that differs between central types, apart from what the link itself answers.
struct CentralFacts {
  CentralType central;
  // Its name where it is written down (the user's settings), the name sorvell-sim knows it by.
  QString key;
  QString caption;         // of its radio button
  QString connectCaption;  // of the connect button while it is chosen
  // Added to the window caption; none leaves the caption of the previous choice.
  std::optional<QString> windowCaptionSuffix;
  bool stationAbout;  // offers the "Over IB/TC" window
  // The highest first address the field takes while this type is chosen; none: the field's own
  // (a Märklin interface's turnouts end long before the decoder's addresses do, and the limit
  // goes with the choice, so that a station chosen afterwards reaches its own).
  std::optional<int> highestFirstAddress;
  LinkMaker makeLink;
};

// In the order the window offers them, top to bottom.
std::span<const CentralFacts> CentralTypes();
const CentralFacts& FactsOf(CentralType central);
std::optional<CentralType> CentralTypeFromKey(const QString& key);

std::unique_ptr<CommandStationLink> MakeLink(CentralType central, const LinkTransport& transport,
                                             LinkObserver& observer);
// Told of every link made, before it is used: where a test shortens a link's long pauses on the
// window it drives (nullptr: none).
using LinkMadeHook = std::function<void(CommandStationLink&)>;
void SetLinkMadeHook(LinkMadeHook hook);

// Whether the text names a server the SRCP link can reach ("host[:port]").
bool IsValidServerAddress(const QString& address);
