#include "window/StationChoice.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "link/CommandStationLink.h"
#include "platform/UserNotifier.h"
#include "serial/SerialPort.h"
#include "window/DecoderForm.h"
#include "window/DecoderModel.h"
#include "window/LinkFactory.h"
#include "window/MainWindowWidgets.h"
#include "window/RememberedSettings.h"

namespace {

const QString kDefaultSrcpServer = QStringLiteral("127.0.0.1:4303");

}  // namespace

StationChoice::StationChoice(QWidget& window, MainWindowWidgets& widgets, DecoderForm& form,
                             Transport transport, LinkObserver& observer)
    : window_(window),
      w_(widgets),
      form_(form),
      transport_(std::move(transport)),
      observer_(observer),
      settings_(std::make_unique<RememberedSettings>()),
      srcpServer_(kDefaultSrcpServer),
      validSrcpServer_(kDefaultSrcpServer) {
  w_.srcpServerEdit->setText(kDefaultSrcpServer);
  for (const Language language : kLanguages) {
    w_.languageBox->addItem(LanguageName(language));
    if (language == LanguageInUse()) w_.languageBox->setCurrentIndex(w_.languageBox->count() - 1);
  }
  QObject::connect(w_.languageBox, &QComboBox::activated, &window_,
                   [this](int index) { ChooseLanguage(kLanguages[index]); });
}

void StationChoice::ChooseLanguage(Language language) {
  settings_->RememberLanguage(language);
  // The window's texts are made once; telling the user so in the language chosen.
  if (language != LanguageInUse())
    ShowMessage(TextIn(
        language, "StationChoice",
        QT_TRANSLATE_NOOP("StationChoice", "Sorvell spreekt Nederlands vanaf de volgende start.")));
}

StationChoice::~StationChoice() = default;

void StationChoice::ShowChoice(CentralType central) {
  const CentralFacts& facts = FactsOf(central);
  central_ = central;
  if (facts.windowCaptionSuffix)
    window_.setWindowTitle(QCoreApplication::translate(
                               "StationChoice", "Configuratie Kuehn WD10 via Programmeertoets.") +
                           *facts.windowCaptionSuffix);
  form_.SetFieldHighestAddress(facts.highestFirstAddress.value_or(DecoderModel::kMaxAddress));
  w_.connectButton->setText(facts.connectCaption);
  if (facts.stationAbout)
    w_.stationAboutButton->setText(QCoreApplication::translate("StationChoice", "Over IB/TC"));
  SetStationAboutVisible(facts.stationAbout);
}

Task<void> StationChoice::BuildLink() {
  link_.reset();
  srcpServer_ = w_.srcpServerEdit->text().trimmed();
  link_ = MakeLink(central_,
                   {transport_.port, transport_.commandSession, transport_.infoSession, srcpServer_,
                    transport_.serverSessionLost},
                   observer_);
  const bool server = !link_->UsesSerialPort();
  if (IsValidServerAddress(srcpServer_)) validSrcpServer_ = srcpServer_;
  w_.srcpServerLabel->setVisible(server);
  w_.srcpServerEdit->setVisible(server);
  // The link puts its own settings on the port as it starts; the user's remembered ones for
  // this station go over them.
  Task<void> attach = link_->Attach();
  settings_->RestorePort(central_, transport_.port);
  co_await std::move(attach);
}

bool StationChoice::ServerAddressEdited() {
  const QString address = w_.srcpServerEdit->text().trimmed();
  const bool valid = IsValidServerAddress(address);
  if (valid) w_.srcpServerEdit->setText(address);
  // Pressing Enter again on the same address does not connect again, nor says again that it
  // is no address.
  if (address == srcpServer_) return false;
  if (!valid) {
    ShowMessage(
        QCoreApplication::translate("StationChoice",
                                    "\"%1\" is geen geldig adres van een SRCP-server.\n"
                                    "Geef een computernaam of IP-adres, eventueel met een poort, "
                                    "bijvoorbeeld %2.")
            .arg(address, kDefaultSrcpServer));
  }
  // The link follows the field, an invalid text too: it then refuses "Verbinden" instead of
  // connecting to the server the field showed before.
  return !link_->UsesSerialPort();
}

int StationChoice::HighestReachableFirstAddress() const {
  return link_->HighestTurnout() - link_->TurnoutOffset() - DecoderModel::kGroupBOffset;
}

int StationChoice::HighestFirstAddress() const {
  return std::min(form_.FieldHighestAddress(), HighestReachableFirstAddress());
}

QString StationChoice::UnreachableAddressRefusal(int groupBAddress) const {
  if (groupBAddress + link_->TurnoutOffset() <= link_->HighestTurnout()) return {};
  return QCoreApplication::translate(
             "StationChoice",
             "Deze Centrale kan geen wisselnummers boven %1 "
             "schakelen; met dit adres zou de decoder een verkeerd adres leren.\n"
             "Kies als eerste wisseladres %2 of lager.")
      .arg(link_->HighestTurnout())
      .arg(HighestReachableFirstAddress());
}

void StationChoice::SetEnabled(bool enabled) {
  for (QAbstractButton* button : w_.centralButtons->buttons()) button->setEnabled(enabled);
  // Another server address would replace the link as much as another central type would.
  w_.srcpServerEdit->setEnabled(enabled);
}

std::optional<CentralType> StationChoice::RestoreRemembered() {
  if (std::optional<QString> server = settings_->SrcpServer();
      server && IsValidServerAddress(*server)) {
    w_.srcpServerEdit->setText(*server);
    validSrcpServer_ = *server;
  }
  if (std::optional<QPoint> position = settings_->WindowPosition()) window_.move(*position);
  settings_->RestorePort(central_, transport_.port);
  return settings_->Central();
}

void StationChoice::Remember(bool withWindowPosition) {
  const QString server = w_.srcpServerEdit->text().trimmed();
  if (IsValidServerAddress(server)) validSrcpServer_ = server;
  settings_->Remember(central_, link_->UsesSerialPort() ? &transport_.port : nullptr,
                      validSrcpServer_,
                      withWindowPosition ? std::optional<QPoint>(window_.pos()) : std::nullopt);
}

void StationChoice::SetStationAboutVisible(bool visible) {
  w_.stationAboutButton->setVisible(visible);
  const int width = visible ? kProgramButtonWidthBesideAbout : kProgramButtonWidth;
  w_.programButton->resize(int(std::lround(width * fontScale_)), w_.programButton->height());
}
