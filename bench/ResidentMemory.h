// Resident memory of this process as the kernel counts it.
#pragma once

#include <QFile>
#include <QRegularExpression>

// In KiB; 0 when it cannot be read.
inline long ResidentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  static const QRegularExpression vmRss(QStringLiteral("^VmRSS:\\s+(\\d+) kB"),
                                        QRegularExpression::MultilineOption);
  return vmRss.match(QString::fromLatin1(status.readAll())).captured(1).toLong();
}
