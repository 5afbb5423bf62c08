#include "p50x/P50XTrackReplies.h"

#include "p50x/P50XDecoderContext.h"

namespace {

constexpr unsigned char kNoProgrammingTrackEvent = 0xF5;
constexpr unsigned char kCommandCompleted = 0x00;
constexpr unsigned char kEndOfFeedbackList = 0x00;
// The CV that the result line names. Nothing in this program selects a CV, so it stays 0.
constexpr int kCvNumber = 0;

const char* ResultCodeMessage(unsigned char code) {
  switch (code) {
    case 0x00:
      return "Command completed, no errors";
    case 0xF2:
      return "Cannot terminate task";
    case 0xF3:
      return "No Task to terminated";
    case 0xF4:
      return "Task terminated";
    case 0xF6:
      return "XPT_DCCQD cmd: direct bit read is (probably) NOT supported";
    case 0xF7:
      return "XPT_DCCQD cmd: direct bit read is (probably) supported";
    case 0xF8:
      return "Error during Selectrix read";
    case 0xF9:
      return "No acknowlegde to Page operation (Paged R/W not supported)";
    case 0xFA:
      return "Error during DCC direct BIT mode operation";
    case 0xFB:
      return "Generic Error";
    case 0xFC:
      return "No Decoder detected";
    case 0xFD:
      return "Short!!!! (On the PT)";
    case 0xFE:
      return "No Acknowlegde from decoder(but a write maybe was succesfull";
    case 0xFF:
      return "TimeOut";
    default:
      return nullptr;
  }
}

// The value text of a completed programming-track task, by the reply's length byte.
Task<QString> ReadProgrammingTrackValue(P50XDecoderContext& context, unsigned char length) {
  switch (length) {
    case 1:
      co_return QString();
    case 2:
    case 0x80:
      co_return QString::number(co_await context.ReadByte());
    case 3: {
      const int low = co_await context.ReadByte();
      const int high = co_await context.ReadByte();
      co_return QString::number(high * 256 + low);
    }
    case 6:
      for (int i = 0; i < 5; ++i) co_await context.ReadByte();
      co_return QString();
    default:
      context.LeaveRestUnread();
      co_return QStringLiteral("Unsupported \"# of bytes\" reply!");
  }
}

}  // namespace

Task<void> DecodeProgrammingTrackReply(P50XDecoderContext& context) {
  const unsigned char length = co_await context.ReadByte();
  if (length == kNoProgrammingTrackEvent) co_return;
  const unsigned char result = co_await context.ReadByte();
  if (const char* message = ResultCodeMessage(result))
    context.AddLogLine(QString::fromLatin1(message));
  if (result != kCommandCompleted) co_return;
  const QString value = co_await ReadProgrammingTrackValue(context, length);
  context.AddLogLine(QStringLiteral("CV #%1 = %2").arg(kCvNumber).arg(value));
}

Task<void> DecodeFeedbackReply(P50XDecoderContext& context) {
  for (;;) {
    const int module = co_await context.ReadByte();
    if (module == kEndOfFeedbackList) co_return;
    const int low = co_await context.ReadByte();
    const int high = co_await context.ReadByte();
    context.AddLogLine(QStringLiteral("[S88 # %1] lb = %2 hb = %3").arg(module).arg(low).arg(high));
  }
}
