// What a P50X reply decoder works with: the reply bytes of the command just written, the two log
// panes, follow-up commands and the About IB/TC window. The link supplies one that works on the
// serial port; the decoders themselves know nothing of ports or windows. Reads, follow-ups and
// pauses wait: a decoder is an operation of its own, awaited by the command whose reply it reads
// (which keeps the context for as long). Every co_await stands in a statement of its own, never
// in a condition or a ?: operand: Debian's GCC 12 builds those into a crash.
#pragma once

#include <QByteArray>
#include <QString>

#include "link/LinkObserver.h"
#include "platform/Task.h"

class P50XDecoderContext {
 public:
  virtual ~P50XDecoderContext() = default;

  // The next reply byte. Decoders take their reply one byte at a time and never read ahead.
  virtual Task<unsigned char> ReadByte() = 0;
  // count bytes in one read, as the version reply takes its blocks.
  virtual Task<QByteArray> ReadBlock(int count) = 0;
  // Replaces the whole text of the receive log.
  virtual void ShowStatus(const QString& text) = 0;
  // Adds a line to the connection log.
  virtual void AddLogLine(const QString& line) = 0;
  // Sends a binary command whose reply is read and decoded before this ends.
  virtual Task<void> SendFollowUp(unsigned char command) = 0;
  virtual void ShowVersionValue(StationVersionField field, const QString& text) = 0;
  virtual Task<void> Sleep(int milliseconds) = 0;
  // Throws away whatever has arrived, for replies that no decoder reads.
  virtual void DiscardInput() = 0;
  // The station has said that the track has power (on) or has none: `said` is its words.
  virtual void TrackPowerReported(bool on, const QString& said) = 0;
  // The decoder stops before the end of its reply: the rest must not be read as the reply of
  // the next command.
  virtual void LeaveRestUnread() = 0;
};
