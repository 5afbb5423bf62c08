#include "p50x/P50XVersionReply.h"

#include "p50x/P50XDecoderContext.h"

namespace {

struct VersionBlock {
  StationVersionField field;
  int expectedLength;
};

constexpr VersionBlock kBlocks[] = {
    {StationVersionField::SPU, 2},  {StationVersionField::KPU, 2}, {StationVersionField::PPU, 1},
    {StationVersionField::LIPU, 1}, {StationVersionField::DNC, 1}, {StationVersionField::Serial, 5},
};

QChar HexDigit(int value) {
  return QLatin1Char("0123456789ABCDEF"[value & 0x0F]);
}

// A version byte shows as major.minor, one hexadecimal digit each: 0x12 is 1.2.
QString OneByteVersion(unsigned char version) {
  return QString(HexDigit(version >> 4)) + QLatin1Char('.') + HexDigit(version);
}

// The second byte is major.minor, the first the sub-version: the bytes 02 15 show as 1.502.
QString TwoByteVersion(unsigned char subVersion, unsigned char version) {
  return OneByteVersion(version) + HexDigit(subVersion >> 4) + HexDigit(subVersion);
}

QString BlockText(StationVersionField field, const QByteArray& data) {
  const auto byte = [&](int i) { return static_cast<unsigned char>(data[i]); };
  switch (field) {
    case StationVersionField::SPU:
    case StationVersionField::KPU:
      return TwoByteVersion(byte(0), byte(1));
    case StationVersionField::Serial:
      return QString::fromLatin1(data.toHex().toUpper());
    default:
      return OneByteVersion(byte(0));
  }
}

}  // namespace

Task<void> DecodeVersionReply(P50XDecoderContext& context) {
  for (const VersionBlock& block : kBlocks) {
    const int length = co_await context.ReadByte();
    QByteArray data;
    if (length > 0) data = co_await context.ReadBlock(length);
    // A block of another length is consumed all the same, so the next block stays in step.
    if (length == block.expectedLength && data.size() == length)
      context.ShowVersionValue(block.field, BlockText(block.field, data));
  }
  co_await context.ReadByte();
}
