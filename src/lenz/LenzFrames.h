// Frames of the Lenz computer interface: a header whose low four bits count the data bytes,
// the data bytes, and a check byte that is the exclusive-or of all bytes before it.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <array>

// The frame a Lenz link sends next: entry 0 is the header, the entries after it the data bytes
// the header announces; entries beyond those are ignored. Only the low 8 bits of an entry are
// sent.
using LenzFrameBuffer = std::array<int, 20>;
inline constexpr int kLenzRunningXorEntry = 19;

// The frame the table describes, check byte included; leaves the check byte in entry 19.
QByteArray BuildLenzFrame(LenzFrameBuffer& table);

struct LenzParse {
  QByteArray rest;    // the receive hex buffer after this call
  QStringList lines;  // each complete frame as "42 01 89 CA ", every byte followed by a blank
};

// Cuts the complete frames from the front of the receive hex buffer (two upper-case hex digits
// a byte). A frame that is not complete stays, from its header on, for the next call. The check
// byte is not verified: the interface's frames are logged whatever they hold.
LenzParse ParseLenzBuffer(QByteArray receiveHexBuffer);
