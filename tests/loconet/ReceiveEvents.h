// What the main window's receive handler does with arriving bytes, for driving the parsers as
// a serial line would: bytes become upper-case hex text, and a stream arrives in pieces.
#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>
#include <random>
#include <vector>

// Readable test failures for log lines.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

// Hex text as the receive hex buffer holds it; spaces in `spacedHex` are for readability.
inline QByteArray Hex(const char* spacedHex) {
  return QByteArray(spacedHex).replace(' ', "");
}

inline QByteArray HexText(const QByteArray& bytes) {
  return bytes.toHex().toUpper();
}

// The stream cut into receive events of 1 to maxPiece bytes.
inline std::vector<QByteArray> SplitIntoEvents(const QByteArray& stream, std::mt19937& random,
                                               int maxPiece = 40) {
  std::vector<QByteArray> events;
  std::uniform_int_distribution<int> piece(1, maxPiece);
  for (qsizetype at = 0; at < stream.size();) {
    const qsizetype size = std::min<qsizetype>(piece(random), stream.size() - at);
    events.push_back(stream.mid(at, size));
    at += size;
  }
  return events;
}

inline QByteArray RandomBytes(std::mt19937& random, int count) {
  std::uniform_int_distribution<int> byte(0, 255);
  QByteArray bytes;
  for (int i = 0; i < count; ++i) bytes.append(char(byte(random)));
  return bytes;
}
