#include "p50x/P50XReplyDecoders.h"

#include "p50x/P50XDecoderContext.h"
#include "p50x/P50XTrackReplies.h"
#include "p50x/P50XVersionReply.h"

namespace {

constexpr unsigned char kMoreFollows = 0x80;
constexpr unsigned char kEndOfLocomotiveEvents = 0x80;
constexpr int kLocomotiveRecordLength = 5;
// The command station needs a moment to assemble the locomotive event list.
constexpr int kLocomotiveEventsSettleMs = 50;
// The reply to 0xCC has no documented length; it is left to arrive and then thrown away.
constexpr int kUnreadReplySettleMs = 50;

void DecodeOneByteStatus(P50XDecoderContext& context, unsigned char okValue, const char* okText) {
  if (context.ReadByte() == okValue) context.ShowStatus(QString::fromLatin1(okText));
}

void DecodePowerOnReply(P50XDecoderContext& context) {
  switch (context.ReadByte()) {
    case 0x00:
      context.ShowStatus(QStringLiteral("Power On"));
      break;
    case 0x06:
      context.ShowStatus(QStringLiteral("Power Off"));
      break;
    default:
      break;
  }
}

void DecodeA2Reply(P50XDecoderContext& context) {
  if (context.ReadByte() & kMoreFollows) context.ReadByte();
}

void DecodeTurnoutReply(P50XDecoderContext& context) {
  if (const char* text = TurnoutReplyText(context.ReadByte()))
    context.ShowStatus(QString::fromLatin1(text));
}

// One flag of the event reply: either a status text or a follow-up command.
struct EventFlag {
  int byteIndex;
  unsigned char mask;
  const char* status;
  unsigned char followUp;
};

// The order of this table is the order in which the flags are acted on; byte 2 is deliberately
// not in bit order, so that of several shorts the internal booster's is the one left showing.
constexpr EventFlag kEventFlags[] = {
    {0, 0x01, nullptr, 0xC9},
    {0, 0x02, nullptr, 0xCC},
    {0, 0x04, nullptr, 0xCB},
    {0, 0x08, "There has been a Power Off.", 0},
    {0, 0x10, "Attempt at switching PC-reserved accessories!", 0},
    {0, 0x20, nullptr, 0xCA},
    {0, 0x40, "Unsupported/undocumented event flag.", 0},
    {1, 0x01, "Short on an external Booster!", 0},
    {1, 0x02, "Short on Lokmaus bus!", 0},
    {1, 0x08, "Overload or short on PT, C/D or Rail Sync +/- lines!", 0},
    {1, 0x10, "Illegal electrical contact btw PT, C/D or Rail Sync +/- and normal tracks!", 0},
    {1, 0x04, "Short from IB (internal) booster!", 0},
    {1, 0x20, "IB overheated!", 0},
    {1, 0x40, nullptr, 0xA2},
    {2, 0x01, nullptr, 0xCE},
    {2, 0x02, "RS232 rx overflow", 0},
};

void DecodeEventReply(P50XDecoderContext& context) {
  unsigned char flags[3] = {context.ReadByte(), 0, 0};
  if (flags[0] & kMoreFollows) flags[1] = context.ReadByte();
  if (flags[1] & kMoreFollows) flags[2] = context.ReadByte();
  if (flags[0] == 0x00) return;
  for (const EventFlag& flag : kEventFlags) {
    if (!(flags[flag.byteIndex] & flag.mask)) continue;
    if (flag.status)
      context.ShowStatus(QString::fromLatin1(flag.status));
    else
      context.SendFollowUp(flag.followUp);
  }
}

void DecodeLocomotiveEventReply(P50XDecoderContext& context) {
  context.Sleep(kLocomotiveEventsSettleMs);
  for (;;) {
    const unsigned char first = context.ReadByte();
    if (first == kEndOfLocomotiveEvents) return;
    if (first > kEndOfLocomotiveEvents) {
      context.AddLogLine(QStringLiteral("Unexpected reply to XEvtLok cmd!"));
      continue;
    }
    for (int i = 1; i < kLocomotiveRecordLength; ++i) context.ReadByte();
  }
}

void DecodeListReply(P50XDecoderContext& context) {
  const int count = context.ReadByte();
  for (int entry = 0; entry < count; ++entry) {
    const unsigned char low = context.ReadByte();
    const unsigned char high = context.ReadByte();
    if (!(high & 0xC0) && low == 0x00) return;
  }
}

void DiscardUnreadReply(P50XDecoderContext& context) {
  context.Sleep(kUnreadReplySettleMs);
  context.DiscardInput();
}

}  // namespace

const char* TurnoutReplyText(unsigned char reply) {
  switch (reply) {
    case 0x00:
      return "Turnout command accepted";
    case 0x02:
      return "illegal parameter value";
    case 0x09:
      return "the fifo for turnout cmds is full, please try later";
    case 0x0E:
      return "illegal Turnout address for this protocol";
    case 0x10:
      return "the I2C fifo for turnout cmds is full, please try later";
    case 0x40:
      return "the fifo for turnout cmds is 75% full";
    case 0xA6:
      return "the Power is Off!";
    default:
      return nullptr;
  }
}

void DecodeP50XReply(int commandByte, P50XDecoderContext& context) {
  switch (commandByte & 0xFF) {
    case 0x90:
      DecodeTurnoutReply(context);
      break;
    case 0x99:
      DecodeOneByteStatus(context, 0x00, "XSensOff \"Ok\"");
      break;
    case 0xA0:
      DecodeVersionReply(context);
      break;
    case 0xA2:
      DecodeA2Reply(context);
      break;
    case 0xA6:
      DecodeOneByteStatus(context, 0x00, "Power Off");
      break;
    case 0xA7:
      DecodePowerOnReply(context);
      break;
    case 0xC8:
      DecodeEventReply(context);
      break;
    case 0xC9:
      DecodeLocomotiveEventReply(context);
      break;
    case 0xCA:
      DecodeListReply(context);
      break;
    case 0xCB:
      DecodeFeedbackReply(context);
      break;
    case 0xCC:
      DiscardUnreadReply(context);
      break;
    case 0xCE:
      DecodeProgrammingTrackReply(context);
      break;
    default:
      break;
  }
}
