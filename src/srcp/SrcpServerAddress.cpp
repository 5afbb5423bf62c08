#include "srcp/SrcpServerAddress.h"

#include <QStringList>

namespace {

// A host name as the resolver takes it: labels of letters, digits and hyphens, 1 to 63
// characters, neither starting nor ending with a hyphen, 253 characters in all.
constexpr qsizetype kLongestLabel = 63;
constexpr qsizetype kLongestHostName = 253;

bool IsDecimal(QStringView text) {
  if (text.isEmpty()) return false;
  for (const QChar c : text)
    if (c < u'0' || c > u'9') return false;
  return true;
}

bool IsDottedQuad(const QString& host) {
  const QStringList parts = host.split(QLatin1Char('.'));
  if (parts.size() != 4) return false;
  for (const QString& part : parts) {
    // Leading zeros read as octal to some resolvers; such an address means different things to
    // different programs, so it is no address here.
    if (!IsDecimal(part) || part.size() > 3 || (part.size() > 1 && part.front() == u'0'))
      return false;
    if (part.toInt() > 255) return false;
  }
  return true;
}

bool IsLabel(QStringView label) {
  if (label.isEmpty() || label.size() > kLongestLabel) return false;
  if (label.front() == u'-' || label.back() == u'-') return false;
  for (const QChar c : label) {
    const bool allowed = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                         (c >= u'0' && c <= u'9') || c == u'-';
    if (!allowed) return false;
  }
  return true;
}

bool IsHostName(const QString& host) {
  if (host.isEmpty() || host.size() > kLongestHostName) return false;
  const QStringList labels = host.split(QLatin1Char('.'));
  for (const QString& label : labels)
    if (!IsLabel(label)) return false;
  // "10.1.1" or "300.1.1.1" are mistyped addresses, not names: no top-level name is numeric.
  return !IsDecimal(labels.back());
}

}  // namespace

std::optional<SrcpServerAddress> SrcpServerAddress::Parse(const QString& text) {
  const QString trimmed = text.trimmed();
  SrcpServerAddress address;
  const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
  address.host = colon < 0 ? trimmed : trimmed.left(colon);
  if (colon >= 0) {
    const QStringView port = QStringView(trimmed).mid(colon + 1);
    if (!IsDecimal(port) || port.size() > 5) return std::nullopt;
    address.port = port.toInt();
    if (address.port < 1 || address.port > 65535) return std::nullopt;
  }
  if (!IsDottedQuad(address.host) && !IsHostName(address.host)) return std::nullopt;
  return address;
}

bool SrcpServerAddress::IsDottedAddress() const {
  return IsDottedQuad(host);
}

QString SrcpServerAddress::ToString() const {
  return host + QLatin1Char(':') + QString::number(port);
}
