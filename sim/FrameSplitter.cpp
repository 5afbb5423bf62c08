#include "FrameSplitter.h"

#include <utility>

FrameSplitter::FrameSplitter(FrameLength frameLength) : frameLength_(std::move(frameLength)) {}

std::vector<QByteArray> FrameSplitter::Take(const QByteArray& bytes) {
  pending_.append(bytes);
  std::vector<QByteArray> frames;
  qsizetype start = 0;
  while (start < pending_.size()) {
    // A view, not a copy: one read can carry many frames.
    const QByteArray rest =
        QByteArray::fromRawData(pending_.constData() + start, pending_.size() - start);
    const qsizetype length = frameLength_(rest);
    if (length <= 0 || length > rest.size()) break;
    frames.emplace_back(rest.constData(), length);
    start += length;
  }
  pending_.remove(0, start);
  return frames;
}
