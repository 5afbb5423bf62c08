#include "WD10/Lenz.h"

#include "CPort/TComPort.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"

TLenzFrameTable LenzFrameTable{};

namespace {

constexpr int kHeaderAccessoryOperation = 0x52;
// Data byte 1000 DBBP of an accessory operation: D (0x08) switches on, BB picks one of the
// four turnouts of the address byte, P = 0 the first output of the pair.
constexpr int kAccessoryOutputOff = 0x80;
constexpr int kAccessoryOutputOn = 0x88;

// Bytes in a frame whose header has `digit` as its second, low hex digit. The receive handler
// writes only hex digits; anything else counts as 0 rather than stalling the buffer.
int FrameLength(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0' + 2;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10 + 2;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10 + 2;
  return 2;
}

void SendLenzAccessory(TComPort& port, int address, int data) {
  LenzFrameTable[0] = kHeaderAccessoryOperation;
  LenzFrameTable[1] = address;
  LenzFrameTable[2] = data;
  SendLenz(port);
}

}  // namespace

QByteArray BuildLenzFrame(TLenzFrameTable& table) {
  const int dataBytes = table[0] & 0x0F;
  table[kLenzRunningXorEntry] = 0;
  QByteArray frame;
  for (int i = 0; i <= dataBytes; ++i) {
    table[kLenzRunningXorEntry] ^= table[i];
    frame.append(char(table[i]));
  }
  frame.append(char(table[kLenzRunningXorEntry]));
  return frame;
}

LenzParse ParseLenzBuffer(QByteArray receiveHexBuffer) {
  const QByteArray& hex = receiveHexBuffer;
  LenzParse result;
  // Characters before `consumed` belong to logged frames; the text is cut once at the end.
  qsizetype consumed = 0;
  while (hex.size() - consumed >= 2) {
    const int length = FrameLength(hex[consumed + 1]);
    if (hex.size() - consumed < 2 * length) break;
    // Every byte's two digits followed by a blank.
    QString line(3 * length, QLatin1Char(' '));
    for (int i = 0; i < length; ++i) {
      line[3 * i] = QLatin1Char(hex[consumed + 2 * i]);
      line[3 * i + 1] = QLatin1Char(hex[consumed + 2 * i + 1]);
    }
    result.lines.append(std::move(line));
    consumed += 2 * length;
  }
  receiveHexBuffer.remove(0, consumed);
  result.rest = std::move(receiveHexBuffer);
  return result;
}

void SendLenz(TComPort& port) {
  port.WriteStr(BuildLenzFrame(LenzFrameTable));
}

void ParseLenz(QByteArray& receiveHexBuffer, TMemo& memo3) {
  LenzParse parsed = ParseLenzBuffer(std::move(receiveHexBuffer));
  receiveHexBuffer = std::move(parsed.rest);
  for (const QString& line : parsed.lines) memo3.AddLine(line);
}

void LenzSwitch(TComPort& port, int turnout, const std::function<void(int)>& waitMs) {
  const int address = (turnout - 1) / 4;
  const int output = 2 * ((turnout - 1) % 4);
  SendLenzAccessory(port, address, kAccessoryOutputOn + output);
  waitMs(250);
  ProcessMessages();
  SendLenzAccessory(port, address, kAccessoryOutputOff + output);
}
