#include "p50x/P50XReplyDecoders.h"

#include "p50x/P50XVocabulary.h"

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

Task<void> DecodeOneByteStatus(P50XDecoderContext& context, unsigned char okValue,
                               const char* okText) {
  const unsigned char reply = co_await context.ReadByte();
  if (reply == okValue) context.ShowStatus(QString::fromLatin1(okText));
}

Task<void> DecodePowerOnReply(P50XDecoderContext& context) {
  const unsigned char reply = co_await context.ReadByte();
  switch (reply) {
    case 0x00:
      context.ShowStatus(QStringLiteral("Power On"));
      context.TrackPowerReported(true, QStringLiteral("0x00: Power On"));
      break;
    case 0x06:
      context.ShowStatus(QStringLiteral("Power Off"));
      context.TrackPowerReported(false, QStringLiteral("0x06: Power Off"));
      break;
    default:
      break;
  }
}

Task<void> DecodeA2Reply(P50XDecoderContext& context) {
  const unsigned char first = co_await context.ReadByte();
  if (first & kMoreFollows) co_await context.ReadByte();
}

Task<void> DecodeTurnoutReply(P50XDecoderContext& context) {
  const unsigned char reply = co_await context.ReadByte();
  const char* text = TurnoutReplyText(reply);
  if (text) context.ShowStatus(QString::fromLatin1(text));
  if (reply == P50X::kTurnoutPowerOff)
    context.TrackPowerReported(false, QStringLiteral("0xA6: ") + QLatin1String(text));
}

// One flag of the event reply: either a status text or a follow-up command, and whether the
// event leaves the track without power.
struct EventFlag {
  int byteIndex;
  unsigned char mask;
  const char* status;
  unsigned char followUp;
  bool cutsTrackPower = false;
};

// The order of this table is the order in which the flags are acted on; byte 2 is deliberately
// not in bit order, so that of several shorts the internal booster's is the one left showing.
constexpr EventFlag kEventFlags[] = {
    {0, 0x01, nullptr, P50X::XEvtLok},
    {0, 0x02, nullptr, P50X::XEvtIR},
    {0, 0x04, nullptr, P50X::XEvtSen},
    {0, 0x08, "There has been a Power Off.", 0, true},
    {0, 0x10, "Attempt at switching PC-reserved accessories!", 0},
    {0, 0x20, nullptr, P50X::XEvtTrn},
    {0, 0x40, "Unsupported/undocumented event flag.", 0},
    {1, 0x01, "Short on an external Booster!", 0, true},
    {1, 0x02, "Short on Lokmaus bus!", 0},
    {1, 0x08, "Overload or short on PT, C/D or Rail Sync +/- lines!", 0},
    {1, 0x10, "Illegal electrical contact btw PT, C/D or Rail Sync +/- and normal tracks!", 0},
    {1, 0x04, "Short from IB (internal) booster!", 0, true},
    {1, 0x20, "IB overheated!", 0, true},
    {1, 0x40, nullptr, P50X::XP50XCh},
    {2, 0x01, nullptr, P50X::XEvtPT},
    {2, 0x02, "RS232 rx overflow", 0},
};

Task<void> DecodeEventReply(P50XDecoderContext& context) {
  unsigned char flags[3] = {co_await context.ReadByte(), 0, 0};
  if (flags[0] & kMoreFollows) flags[1] = co_await context.ReadByte();
  if (flags[1] & kMoreFollows) flags[2] = co_await context.ReadByte();
  // Newer firmware may add flag bytes that this program has no use for.
  if (flags[2] & kMoreFollows) context.LeaveRestUnread();
  if (flags[0] == 0x00) co_return;
  for (const EventFlag& flag : kEventFlags) {
    if (!(flags[flag.byteIndex] & flag.mask)) continue;
    if (flag.status)
      context.ShowStatus(QString::fromLatin1(flag.status));
    else
      co_await context.SendFollowUp(flag.followUp);
    if (flag.cutsTrackPower) context.TrackPowerReported(false, QString::fromLatin1(flag.status));
  }
}

Task<void> DecodeLocomotiveEventReply(P50XDecoderContext& context) {
  co_await context.Sleep(kLocomotiveEventsSettleMs);
  for (;;) {
    const unsigned char first = co_await context.ReadByte();
    if (first == kEndOfLocomotiveEvents) co_return;
    if (first > kEndOfLocomotiveEvents) {
      context.AddLogLine(QStringLiteral("Unexpected reply to XEvtLok cmd!"));
      continue;
    }
    for (int i = 1; i < kLocomotiveRecordLength; ++i) co_await context.ReadByte();
  }
}

Task<void> DecodeListReply(P50XDecoderContext& context) {
  const int count = co_await context.ReadByte();
  for (int entry = 0; entry < count; ++entry) {
    const unsigned char low = co_await context.ReadByte();
    const unsigned char high = co_await context.ReadByte();
    if (!(high & 0xC0) && low == 0x00) {
      if (entry + 1 < count) context.LeaveRestUnread();
      co_return;
    }
  }
}

Task<void> DiscardUnreadReply(P50XDecoderContext& context) {
  co_await context.Sleep(kUnreadReplySettleMs);
  context.DiscardInput();
}

}  // namespace

const char* TurnoutReplyText(unsigned char reply) {
  switch (reply) {
    case P50X::kTurnoutAccepted:
      return "Turnout command accepted";
    case P50X::kTurnoutBadParameter:
      return "illegal parameter value";
    case P50X::kTurnoutFifoFull:
      return "the fifo for turnout cmds is full, please try later";
    case P50X::kTurnoutBadAddress:
      return "illegal Turnout address for this protocol";
    case P50X::kTurnoutI2CFifoFull:
      return "the I2C fifo for turnout cmds is full, please try later";
    case P50X::kTurnoutFifoNearlyFull:
      return "the fifo for turnout cmds is 75% full";
    case P50X::kTurnoutPowerOff:
      return "the Power is Off!";
    default:
      return nullptr;
  }
}

Task<void> DecodeP50XReply(int commandByte, P50XDecoderContext& context) {
  switch (commandByte & 0xFF) {
    case P50X::XTrnt:
      co_await DecodeTurnoutReply(context);
      break;
    case P50X::XSensOff:
      co_await DecodeOneByteStatus(context, 0x00, "XSensOff \"Ok\"");
      break;
    case P50X::XVer:
      co_await DecodeVersionReply(context);
      break;
    case P50X::XP50XCh:
      co_await DecodeA2Reply(context);
      break;
    case P50X::XPwrOff:
      co_await DecodeOneByteStatus(context, 0x00, "Power Off");
      break;
    case P50X::XPwrOn:
      co_await DecodePowerOnReply(context);
      break;
    case P50X::XEvent:
      co_await DecodeEventReply(context);
      break;
    case P50X::XEvtLok:
      co_await DecodeLocomotiveEventReply(context);
      break;
    case P50X::XEvtTrn:
      co_await DecodeListReply(context);
      break;
    case P50X::XEvtSen:
      co_await DecodeFeedbackReply(context);
      break;
    case P50X::XEvtIR:
      co_await DiscardUnreadReply(context);
      break;
    case P50X::XEvtPT:
      co_await DecodeProgrammingTrackReply(context);
      break;
    default:
      break;
  }
}
