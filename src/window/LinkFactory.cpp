#include "window/LinkFactory.h"

#include <QCoreApplication>
#include <algorithm>

#include "lenz/LenzLink.h"
#include "lenz/LenzVocabulary.h"
#include "loconet/LocoNetLink.h"
#include "maerklin/MaerklinLink.h"
#include "p50x/P50XLink.h"
#include "srcp/SrcpLink.h"
#include "srcp/SrcpServerAddress.h"
#include "window/DecoderModel.h"

namespace {

template <typename SerialLink>
std::unique_ptr<CommandStationLink> MakeSerialLink(const LinkTransport& transport,
                                                   LinkObserver& observer) {
  return std::make_unique<SerialLink>(transport.port, observer);
}

std::unique_ptr<CommandStationLink> MakeSrcpLink(const LinkTransport& transport,
                                                 LinkObserver& observer) {
  auto link = std::make_unique<SrcpLink>(transport.commandSession, transport.infoSession, observer);
  link->SetServerAddress(transport.serverAddress);
  link->OnSessionLost = transport.serverSessionLost;
  return link;
}

}  // namespace

std::span<const CentralFacts> CentralTypes() {
  const QString choosePort = QCoreApplication::translate("LinkFactory", "Kies Compoort");
  const QString noSuffix;
  static const CentralFacts table[] = {
      {CentralType::LocoNet, QStringLiteral("loconet"), QStringLiteral("IB/TC /LocoNet"),
       choosePort, noSuffix, false, std::nullopt, MakeSerialLink<LocoNetLink>},
      {CentralType::P50X, QStringLiteral("p50x"), QStringLiteral("IB/TC "), choosePort, noSuffix,
       true, std::nullopt, MakeSerialLink<P50XLink>},
      // The caption tells the user that the station's turnout numbers run ahead of the decoder's.
      {CentralType::Lenz, QStringLiteral("lenz"), QStringLiteral("Lenz/Multi-Maus"), choosePort,
       QStringLiteral(" OffSet = %1 Lenz/Roco").arg(Lenz::kAddressOffset), false, std::nullopt,
       MakeSerialLink<LenzLink>},
      {CentralType::Maerklin, QStringLiteral("maerklin"), QStringLiteral("Märklin (6050/6051)"),
       choosePort, noSuffix, false, DecoderModel::kMaxAddressMaerklin,
       MakeSerialLink<MaerklinLink>},
      {CentralType::Srcp, QStringLiteral("srcp"), QStringLiteral("SRCP 0.8"),
       QCoreApplication::translate("LinkFactory", "Verbinden"), std::nullopt, false, std::nullopt,
       MakeSrcpLink},
  };
  return table;
}

const CentralFacts& FactsOf(CentralType central) {
  const std::span<const CentralFacts> table = CentralTypes();
  return *std::ranges::find(table, central, &CentralFacts::central);
}

std::optional<CentralType> CentralTypeFromKey(const QString& key) {
  for (const CentralFacts& facts : CentralTypes())
    if (facts.key == key) return facts.central;
  return std::nullopt;
}

namespace {

LinkMadeHook& MadeHook() {
  static LinkMadeHook hook;
  return hook;
}

}  // namespace

void SetLinkMadeHook(LinkMadeHook hook) {
  MadeHook() = std::move(hook);
}

std::unique_ptr<CommandStationLink> MakeLink(CentralType central, const LinkTransport& transport,
                                             LinkObserver& observer) {
  std::unique_ptr<CommandStationLink> link = FactsOf(central).makeLink(transport, observer);
  if (MadeHook()) MadeHook()(*link);
  return link;
}

bool IsValidServerAddress(const QString& address) {
  return SrcpServerAddress::Parse(address).has_value();
}
