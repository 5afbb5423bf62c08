#include "WD10/LinkFactory.h"

#include "lenz/LenzLink.h"
#include "loconet/LocoNetLink.h"
#include "maerklin/MaerklinLink.h"
#include "p50x/P50XLink.h"
#include "srcp/SrcpLink.h"
#include "srcp/SrcpServerAddress.h"

namespace {

using CentralType = MainWindow::CentralType;
using LinkMaker = std::unique_ptr<CommandStationLink> (*)(const LinkTransport&, LinkObserver&);

template <typename SerialLink>
std::unique_ptr<CommandStationLink> MakeSerialLink(const LinkTransport& transport,
                                                   LinkObserver& observer) {
  return std::make_unique<SerialLink>(transport.port, observer);
}

std::unique_ptr<CommandStationLink> MakeSrcpLink(const LinkTransport& transport,
                                                 LinkObserver& observer) {
  auto link = std::make_unique<SrcpLink>(transport.commandSession, transport.infoSession,
                                         transport.replyTimer, observer);
  link->SetServerAddress(transport.serverAddress);
  link->OnSessionLost = transport.serverSessionLost;
  return link;
}

const struct {
  CentralType central;
  const char* key;
  LinkMaker make;
} kCentralTypes[] = {
    {CentralType::LocoNet, "loconet", MakeSerialLink<LocoNetLink>},
    {CentralType::P50X, "p50x", MakeSerialLink<P50XLink>},
    {CentralType::Lenz, "lenz", MakeSerialLink<LenzLink>},
    {CentralType::Maerklin, "maerklin", MakeSerialLink<MaerklinLink>},
    {CentralType::Srcp, "srcp", MakeSrcpLink},
};

}  // namespace

QString CentralTypeKey(CentralType central) {
  for (const auto& entry : kCentralTypes)
    if (entry.central == central) return QLatin1String(entry.key);
  return {};
}

std::optional<CentralType> CentralTypeFromKey(const QString& key) {
  for (const auto& entry : kCentralTypes)
    if (key == QLatin1String(entry.key)) return entry.central;
  return std::nullopt;
}

std::unique_ptr<CommandStationLink> MakeLink(CentralType central, const LinkTransport& transport,
                                             LinkObserver& observer) {
  for (const auto& entry : kCentralTypes)
    if (entry.central == central) return entry.make(transport, observer);
  return nullptr;
}

bool IsValidServerAddress(const QString& address) {
  return SrcpServerAddress::Parse(address).has_value();
}
