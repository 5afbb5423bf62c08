#include "srcp/SrcpLineFramer.h"

#include <utility>

void SrcpLineFramer::Feed(const QByteArray& bytes,
                          const std::function<void(const QByteArray&)>& line) {
  qsizetype from = 0;
  for (qsizetype end; (end = bytes.indexOf('\n', from)) >= 0; from = end + 1) {
    ++lineCount_;
    const bool overlong = skipping_ || pending_.size() + (end - from) > kLongestLine;
    QByteArray complete = std::exchange(pending_, {});
    skipping_ = false;
    if (overlong) continue;
    complete.append(bytes.constData() + from, end - from);
    if (complete.endsWith('\r')) complete.chop(1);
    line(complete);
  }
  if (skipping_) return;
  const qsizetype rest = bytes.size() - from;
  if (pending_.size() + rest > kLongestLine) {
    pending_.clear();
    skipping_ = true;
    return;
  }
  pending_.append(bytes.constData() + from, rest);
}

void SrcpLineFramer::Reset() {
  pending_.clear();
  skipping_ = false;
  lineCount_ = 0;
}
