// Cuts the byte stream of a serial line into the frames of its protocol. The bytes of one frame
// may arrive in several reads and one read may carry several frames; a frame is handed out once
// it is whole, and the bytes of a frame still coming are kept for the next read.
#pragma once

#include <QByteArray>
#include <functional>
#include <vector>

class FrameSplitter {
 public:
  // The length of the frame at the front of pending (never empty), or 0 while the bytes so far
  // do not tell it yet. A rule must not answer 0 for ever: it bounds what it waits for.
  using FrameLength = std::function<qsizetype(const QByteArray& pending)>;

  explicit FrameSplitter(FrameLength frameLength);

  // The frames completed by bytes, in order.
  std::vector<QByteArray> Take(const QByteArray& bytes);
  // Bytes of a frame that is not complete yet.
  const QByteArray& Pending() const { return pending_; }

 private:
  FrameLength frameLength_;
  QByteArray pending_;
};
