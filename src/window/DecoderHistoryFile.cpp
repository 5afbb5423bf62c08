#include "window/DecoderHistoryFile.h"

#include <unistd.h>
#include <QCoreApplication>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include "window/DecoderListJson.h"

DecoderHistoryFile::Read DecoderHistoryFile::ReadFrom(qint64 from) const {
  Read read;
  QFile file(fileName_);
  if (!file.exists()) return read;
  if (!file.open(QIODevice::ReadOnly)) {
    read.error = file.errorString();
    return read;
  }
  // A file that shrank was replaced underneath: read the whole of the new one.
  if (from > file.size()) from = 0;
  if (!file.seek(from)) {
    read.error = file.errorString();
    return read;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    read.error = file.errorString();
    return read;
  }
  read.end = from + bytes.size();
  qsizetype start = 0;
  for (int number = 1; start < bytes.size(); ++number) {
    const qsizetype newline = bytes.indexOf('\n', start);
    const bool cutShort = newline < 0;
    const QByteArrayView line =
        QByteArrayView(bytes).sliced(start, (cutShort ? bytes.size() : newline) - start);
    start = cutShort ? bytes.size() : newline + 1;
    if (line.trimmed().isEmpty()) continue;
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &parsed);
    const QString where =
        QCoreApplication::translate("DecoderHistoryFile", "regel %1 van de geschiedenis")
            .arg(number);
    if (parsed.error != QJsonParseError::NoError) {
      read.problems.append(
          cutShort ? where + QCoreApplication::translate("DecoderHistoryFile",
                                                         " is afgebroken (een onderbroken "
                                                         "schrijfbeurt)")
                   : where + QCoreApplication::translate("DecoderHistoryFile", " is onleesbaar"));
      continue;
    }
    DecoderListJson::RunRead run = DecoderListJson::ToRun(document.object());
    if (!document.isObject())
      run.problem = QCoreApplication::translate("DecoderHistoryFile", "is onleesbaar");
    if (run.problem.isEmpty())
      read.runs.push_back(std::move(run.run));
    else
      read.problems.append(where + u' ' + run.problem);
  }
  return read;
}

QString DecoderHistoryFile::Append(const QList<QByteArray>& lines) {
  if (lines.isEmpty()) return {};
  QFile file(fileName_);
  // Unbuffered: a write that fails fails here, and nothing is left to flush over the take-back.
  if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return file.errorString();
  const qint64 before = file.size();
  QByteArray bytes;
  // A line cut short by a crash is ended first, so that it stays a line of its own and the
  // first new run is not glued to it.
  if (before > 0 && file.seek(before - 1) && file.read(1) != "\n") bytes += '\n';
  for (const QByteArray& line : lines) bytes += line + '\n';
  // On the disk before the list that names these runs as its rows' last is written.
  if (!file.seek(before) || file.write(bytes) != bytes.size() || !file.flush() ||
      ::fsync(file.handle()) != 0) {
    const QString why =
        file.error() != QFileDevice::NoError
            ? file.errorString()
            : QCoreApplication::translate("DecoderHistoryFile",
                                          "niet alles kon worden geschreven; is de schijf vol?");
    file.resize(before);
    return why;
  }
  return {};
}

void DecoderHistoryFile::TruncateTo(qint64 size) {
  QFile(fileName_).resize(size);
}

qint64 DecoderHistoryFile::Size() const {
  return QFileInfo(fileName_).size();
}
