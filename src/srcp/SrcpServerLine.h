// What one line from an SRCP server says. A server line is "time code text": the time stamp
// ("1700000000.123"), a three-digit code, and its text. 1xx codes are information (the state of
// a device), 2xx a command carried out, 4xx and 5xx a refusal. The greeting has no code.
#pragma once

#include <QByteArray>
#include <QList>

struct SrcpServerLine {
  int code = 0;        // 0 when the line carries no code (the greeting, garbage)
  QByteArray message;  // the code and its text, without the time stamp
  // The words after the code: for "100 INFO 6 GA 5 1 1", {"INFO", "6", "GA", "5", "1", "1"}.
  QList<QByteArray> words;

  bool IsReply() const { return code >= 200; }
  // "INFO bus group …" with this bus and group.
  bool IsInfo(const QByteArray& bus, const QByteArray& group) const;
};

SrcpServerLine ParseSrcpServerLine(const QByteArray& line);
