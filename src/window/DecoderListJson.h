// The decoder list's rows and runs as JSON, the form of its file and of its history's lines.
// Reading is strict about each value, so that a row the program did not write is never shown as
// something it is not; what does not read is named, and the caller keeps it as it stood.
#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include "window/DecoderList.h"

namespace DecoderListJson {

QJsonObject FromRun(const RunRecord& run);
// With the row's id when it has one.
QJsonObject FromRow(const DecoderRow& row);

// What a value read as. problem is empty when it was read; otherwise, in Dutch, what is wrong
// with it ("is onleesbaar", "heeft een ongeldige waarde bij \"modeB\""), to follow its place.
struct RunRead {
  RunRecord run;
  QString problem;
};
struct RowRead {
  DecoderRow row;  // id empty when the value holds none
  QString problem;
};
RunRead ToRun(const QJsonValue& value);
RowRead ToRow(const QJsonValue& value);

// One line of text for any value: a history line, or a value as it stood.
QByteArray Compact(const QJsonValue& value);

}  // namespace DecoderListJson
