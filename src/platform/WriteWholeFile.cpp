#include "platform/WriteWholeFile.h"

#include <QCoreApplication>
#include <QSaveFile>

QString WriteWholeFile(const QString& fileName, const QByteArray& bytes) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  // A full disk shows as a short write without an error; the temporary file is then dropped.
  if (file.write(bytes) != bytes.size())
    return QCoreApplication::translate("WriteWholeFile",
                                       "niet alles kon worden geschreven; is de schijf vol?");
  if (!file.commit()) return file.errorString();
  return {};
}
