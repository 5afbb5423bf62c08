// Writing a file the user keeps: whole or not at all, so that a crash or a full disk never
// leaves half a file where the last whole one was.
#pragma once

#include <QByteArray>
#include <QString>

// Empty when the file now holds bytes; otherwise why not, in Dutch, and the file is as it was.
QString WriteWholeFile(const QString& fileName, const QByteArray& bytes);
