// Cuts what a server sends into lines. A line ends with LF; a CR before it is dropped. A line
// may come in any number of reads, and one read may hold many lines. The part of a line that
// has not ended yet is kept, but never more than kLongestLine bytes: a server that never ends
// a line (or floods with one endless line) loses that line, and framing picks up again after
// its end, so the lines that follow are still seen.
#pragma once

#include <QByteArray>
#include <functional>

class SrcpLineFramer {
 public:
  // An SRCP line is a few dozen characters; this leaves room for any reply a server writes.
  static constexpr qsizetype kLongestLine = 4096;

  // Hands every line completed by bytes to line, in order, without its line end. Each byte is
  // looked at once, however the stream is cut.
  void Feed(const QByteArray& bytes, const std::function<void(const QByteArray&)>& line);

  // The start of the line not ended yet; empty after an overlong line until its end.
  const QByteArray& Pending() const { return pending_; }
  // Lines completed so far, overlong ones included.
  qint64 LineCount() const { return lineCount_; }

  void Reset();

 private:
  QByteArray pending_;
  bool skipping_ = false;  // inside a line that grew too long: dropped up to its end
  qint64 lineCount_ = 0;
};
