#include "platform/ExceptionDisplay.h"

#include <grp.h>
#include <sys/stat.h>
#include <QCoreApplication>

#include <cerrno>
#include <cstring>

#include "platform/Exception.h"
#include "platform/UserNotifier.h"

namespace {

QString DeviceGroup(const QString& path) {
  struct stat info {};
  if (path.isEmpty() || ::stat(path.toLocal8Bit().constData(), &info) != 0) return {};
  const group* owner = ::getgrgid(info.st_gid);
  return owner ? QString::fromLocal8Bit(owner->gr_name) : QString();
}

}  // namespace

QString OsErrorDetail(const Exception& error) {
  const int number = error.OsErrorNumber();
  if (number <= 0) return {};
  QString detail = QString::fromLocal8Bit(std::strerror(number));
  if (number == EACCES || number == EPERM) {
    QString group = DeviceGroup(error.OsErrorSubject());
    if (group.isEmpty()) group = QStringLiteral("dialout");
    detail += QCoreApplication::translate(
                  "ExceptionDisplay",
                  "\n\nU hebt geen toegang tot %1. Voeg uw gebruiker toe aan de groep \"%2\" "
                  "(sudo adduser $USER %2), meld u af en weer aan, en probeer het opnieuw.")
                  .arg(error.OsErrorSubject().isEmpty()
                           ? QCoreApplication::translate("ExceptionDisplay", "deze poort")
                           : error.OsErrorSubject(),
                       group);
  }
  if (number == EIO || number == ENXIO || number == ENODEV) {
    detail += QCoreApplication::translate(
        "ExceptionDisplay",
        "\n\nDe verbinding met de poort is weggevallen. Is de USB-adapter losgetrokken of de "
        "centrale uitgeschakeld? Sluit het programma, sluit de adapter weer aan en start "
        "opnieuw.");
  }
  return detail;
}

ErrorText DescribeException(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error))
    return {own->Message(), OsErrorDetail(*own)};
  return {QString::fromLocal8Bit(error.what()), {}};
}

void ShowException(const std::exception& error) {
  const ErrorText text = DescribeException(error);
  ShowMessage(text.message, text.detail);
}

Task<void> Guarded(Task<void> operation) {
  try {
    co_await std::move(operation);
  } catch (const std::exception& error) {
    ShowException(error);
  }
}
