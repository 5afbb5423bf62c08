#include "window/RememberedSettings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>

#include "serial/SerialPort.h"
#include "window/LinkFactory.h"

namespace {

const QString kCentral = QStringLiteral("central");
const QString kSrcpServer = QStringLiteral("srcp/server");
const QString kWindowPosition = QStringLiteral("window/position");
const QString kLanguage = QStringLiteral("window/language");
const QString kPort = QStringLiteral("port");
const QString kBaudRate = QStringLiteral("baudrate");
const QString kDataBits = QStringLiteral("databits");
const QString kStopBits = QStringLiteral("stopbits");
const QString kParity = QStringLiteral("parity");
const QString kFlowControl = QStringLiteral("flowcontrol");

// The converters of the serial component answer an unknown text with a default; a value that
// does not read back as itself was not written by us and is left alone.
template <typename Value, typename FromText, typename ToText>
std::optional<Value> Parse(const QVariant& stored, FromText fromText, ToText toText) {
  if (!stored.isValid()) return std::nullopt;
  const QString text = stored.toString();
  const Value value = fromText(text);
  if (toText(value) != text) return std::nullopt;
  return value;
}

}  // namespace

RememberedSettings::RememberedSettings(Complaints complaints)
    : complained_(complaints == Complaints::LeftToTheWindow) {
  const QString name = FileName();
  const QFileInfo info(name);
  // QSettings takes a folder or an unreadable file for an empty one; it must not be written over
  // either, so such a file means the defaults for the whole run.
  if (info.exists() && (!info.isFile() || !info.isReadable())) {
    Complain(QT_TRANSLATE_NOOP("RememberedSettings",
                               "cannot read the settings file %1; starting with the defaults"));
    return;
  }
  file_ = std::make_unique<QSettings>(name, QSettings::IniFormat);
  if (file_->status() != QSettings::NoError) {
    // Our own file, and nothing in it can be read: the next write replaces it whole.
    file_->clear();
    Complain(QT_TRANSLATE_NOOP("RememberedSettings",
                               "the settings file %1 is damaged; starting with the defaults"));
  }
}

RememberedSettings::~RememberedSettings() = default;

QString RememberedSettings::FileName() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Sorvell/sorvell.conf");
}

std::optional<CentralType> RememberedSettings::Central() const {
  if (!file_) return std::nullopt;
  return CentralTypeFromKey(file_->value(kCentral).toString());
}

void RememberedSettings::RestorePort(CentralType central, SerialPortBase& port) const {
  if (!file_) return;
  file_->beginGroup(FactsOf(central).key);
  const QString path = file_->value(kPort).toString();
  const auto baud = Parse<BaudRateSetting>(file_->value(kBaudRate), StrToBaudRate, BaudRateToStr);
  const auto dataBits =
      Parse<DataBitsSetting>(file_->value(kDataBits), StrToDataBits, DataBitsToStr);
  const auto stopBits =
      Parse<StopBitsSetting>(file_->value(kStopBits), StrToStopBits, StopBitsToStr);
  const auto parity = Parse<ParityBits>(file_->value(kParity), StrToParity, ParityToStr);
  const auto flow =
      Parse<FlowControlSetting>(file_->value(kFlowControl), StrToFlowControl, FlowControlToStr);
  file_->endGroup();
  if (!path.isEmpty()) port.SetPort(path);
  if (baud) port.SetBaudRate(*baud);
  if (dataBits) port.SetDataBits(*dataBits);
  if (stopBits) port.SetStopBits(*stopBits);
  if (parity) port.Parity().SetBits(*parity);
  if (flow && *flow != fcCustom) port.FlowControl().SetFlowControl(*flow);
}

std::optional<QString> RememberedSettings::SrcpServer() const {
  if (!file_ || !file_->contains(kSrcpServer)) return std::nullopt;
  return file_->value(kSrcpServer).toString();
}

std::optional<QPoint> RememberedSettings::WindowPosition() const {
  if (!file_ || !file_->contains(kWindowPosition)) return std::nullopt;
  const QPoint position = file_->value(kWindowPosition).toPoint();
  return position;
}

std::optional<Language> RememberedSettings::ChosenLanguage() const {
  if (!file_) return std::nullopt;
  return LanguageFromCode(file_->value(kLanguage).toString());
}

void RememberedSettings::RememberLanguage(Language language) {
  if (!file_) return;
  file_->setValue(kLanguage, LanguageCode(language));
  Write();
}

Language WindowLanguage(const RememberedSettings& settings) {
  return settings.ChosenLanguage().value_or(DesktopLanguage());
}

void RememberedSettings::Remember(CentralType central, SerialPortBase* port,
                                  const QString& srcpServer, std::optional<QPoint> windowPosition) {
  if (!file_) return;
  file_->setValue(kCentral, FactsOf(central).key);
  file_->setValue(kSrcpServer, srcpServer);
  if (windowPosition) file_->setValue(kWindowPosition, *windowPosition);
  if (port) {
    file_->beginGroup(FactsOf(central).key);
    file_->setValue(kPort, port->Port());
    file_->setValue(kBaudRate, BaudRateToStr(port->BaudRate()));
    file_->setValue(kDataBits, DataBitsToStr(port->DataBits()));
    file_->setValue(kStopBits, StopBitsToStr(port->StopBits()));
    file_->setValue(kParity, ParityToStr(port->Parity().Bits()));
    file_->setValue(kFlowControl, FlowControlToStr(port->FlowControl().FlowControl()));
    file_->endGroup();
  }
  Write();
}

void RememberedSettings::Write() {
  file_->sync();
  if (file_->status() != QSettings::NoError)
    Complain(QT_TRANSLATE_NOOP("RememberedSettings",
                               "cannot write the settings file %1; nothing is remembered"));
}

void RememberedSettings::Complain(const char* sentence) const {
  if (complained_) return;
  complained_ = true;
  // Before the window exists, so in the language it will have: a file that cannot be read has
  // no choice in it, and the desktop's language holds.
  const QString text = TextIn(WindowLanguage(*this), "RememberedSettings", sentence);
  std::fprintf(stderr, "sorvell: %s\n", qPrintable(text.arg(FileName())));
}
