// The main window's version display: the version data of the program's own executable.
#include "window/VersionListing.h"

#include <QCoreApplication>
#include <QFile>
#include <string>
#include <vector>

#include "platform/LogPane.h"
#include "platform/VersionInfo.h"

namespace {

const char* const kKeys[] = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTradeMarks", "OriginalFileName", "ProductName", "ProductVersion", "Comments",
};

}  // namespace

void ListVersionInformation(const QString& fileName, LogPane& memo) {
  const QByteArray name = QFile::encodeName(fileName);
  const std::uint32_t size = VersionBlockSize(name.constData());
  if (size == 0) {
    memo.AddLine(QStringLiteral("No version information found"));
    return;
  }
  std::vector<char> buffer(size);
  memo.AddLine(QStringLiteral("VersionInfoSize = %1").arg(size));
  // Should the file change between the two calls, the copy fails and leaves the buffer zeroed,
  // in which no key is found: only the size line shows.
  CopyVersionBlock(name.constData(), buffer);
  for (const char* key : kKeys) {
    const char* value = nullptr;
    std::uint32_t length = 0;
    if (FindVersionValue(buffer, std::string("StringFileInfo\\040904E4\\") + key, &value, &length))
      memo.AddLine(QString::fromLatin1(key) + QStringLiteral(" = ") +
                   QString::fromLatin1(value, qstrnlen(value, length)));
  }
}
