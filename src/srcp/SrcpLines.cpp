#include "srcp/SrcpLines.h"

namespace SrcpLine {

QByteArray SetGA(const QString& bus, const QString& address, const QString& port) {
  return (QStringLiteral("SET ") + bus + QStringLiteral(" GA ") + address + QLatin1Char(' ') +
          port + QStringLiteral(" 1 200\r\n"))
      .toLatin1();
}

QByteArray InitGA(const QString& bus, const QString& address, const QString& protocol) {
  return (QStringLiteral("INIT ") + bus + QStringLiteral(" GA ") + address + QLatin1Char(' ') +
          protocol + QStringLiteral("\r\n"))
      .toLatin1();
}

QByteArray SetBusPower(const QString& bus, bool on) {
  return (QStringLiteral("SET ") + bus +
          (on ? QStringLiteral(" POWER ON\r\n") : QStringLiteral(" POWER OFF\r\n")))
      .toLatin1();
}

}  // namespace SrcpLine
