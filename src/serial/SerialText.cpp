#include "serial/SerialText.h"

#include <libintl.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <clocale>
#include <mutex>

namespace {

constexpr char kDomain[] = "cport";

void BindCatalogue() {
  static std::once_flag bound;
  std::call_once(bound, [] {
    // The application object sets the locale from the environment when it is made; a text
    // wanted before that must not come out in the C locale's English.
    if (!QCoreApplication::instance()) std::setlocale(LC_MESSAGES, "");
    // The kernel's link is right whether or not the application object exists yet.
    const QString executableDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    bindtextdomain(kDomain, QFile::encodeName(CatalogueDirectory(executableDir)).constData());
    bind_textdomain_codeset(kDomain, "UTF-8");
  });
}

}  // namespace

QString SerialText(const char* text) {
  BindCatalogue();
  return QString::fromUtf8(dgettext(kDomain, text));
}

QString CatalogueDirectory(const QString& executableDir) {
  const QDir dir(executableDir);
  const QString besideExecutable = dir.absoluteFilePath(QStringLiteral("locale"));
  const QString installed =
      QDir::cleanPath(dir.absoluteFilePath(QStringLiteral("../share/locale")));
  if (!QFileInfo(besideExecutable).isDir() && QFileInfo(installed).isDir()) return installed;
  return besideExecutable;
}
