// The history of runs beside the decoder list: one run per line (JSON Lines), only ever
// appended to. A save then costs the runs it adds, however long the history has grown, and a
// run once written is never written again, so no later save can take it away. A line cut short
// by a crash, or one that does not read, stays where it is and is skipped.
#pragma once

#include <QList>
#include <QString>
#include <vector>

#include "window/DecoderList.h"

class DecoderHistoryFile {
 public:
  explicit DecoderHistoryFile(QString fileName) : fileName_(std::move(fileName)) {}

  struct Read {
    std::vector<RunRecord> runs;
    // One Dutch line per line that did not read, numbered from the first line read.
    QStringList problems;
    // Where the next read begins: the end of the file as it was read.
    qint64 end = 0;
    // Empty when the file could be read (a file not there yet reads as empty); otherwise why not.
    QString error;
  };
  // The runs from byte from (the start of a line) to the end.
  Read ReadFrom(qint64 from) const;

  // Appends the lines (without their line ends), all or none. Empty on success, else why not.
  QString Append(const QList<QByteArray>& lines);
  // Takes the file back to size bytes: what an append that must not stand had added.
  void TruncateTo(qint64 size);
  qint64 Size() const;

  const QString& FileName() const { return fileName_; }

 private:
  QString fileName_;
};
