// The reply decoders fed through an in-memory line: every reply byte arrives with the command's
// write, so a decoder that reads ahead, reads too little or sends a follow-up at the wrong
// moment takes the wrong bytes and shows it. A reply that breaks off gives the whole command up
// (reads wait with timers running), and the link is free for the next.
#include <gtest/gtest.h>

#include "support/AwaitTask.h"
#include "support/P50XTestLink.h"

namespace {

const QString kUntouched = QStringLiteral("(untouched)");

struct DecoderCase {
  const char* name;
  const char* command;  // hex, as passed to SendP50X
  const char* replies;  // hex: the reply and the replies of the follow-ups, in order
  const char* written;  // hex: every byte on the wire
  int leftUnread;
  QStringList connectionLog = {};
  QString receiveLog = kUntouched;            // receiveLog afterwards
  QStringList versions = QStringList(6, {});  // SPU, KPU, PPU, LIPU, DNC, Serial; empty: not shown
};

class P50XReplyDecoder : public testing::TestWithParam<DecoderCase> {};

TEST_P(P50XReplyDecoder, ReadsItsReplyAndShowsWhatItSays) {
  const DecoderCase& c = GetParam();
  P50XTestLink link;
  auto line = link.OpenOnMemoryLine();
  link.memo3.SetText(kUntouched);
  line->AnswerWrites({QByteArray::fromHex(c.replies)});

  Await(link->SendP50X(QByteArray::fromHex(c.command)));

  EXPECT_EQ(line->TakeWritten().toHex(' '), QByteArray::fromHex(c.written).toHex(' '));
  EXPECT_EQ(link.memo3.Text(), c.receiveLog);
  EXPECT_EQ(link.memo1.Lines(), c.connectionLog);
  EXPECT_EQ(line->InputCount(), c.leftUnread);
  EXPECT_FALSE(link->P50XBusy());
  using enum StationVersionField;
  QStringList shown;
  for (const auto field : {SPU, KPU, PPU, LIPU, DNC, Serial})
    shown << link.observer.versions[field];
  EXPECT_EQ(shown, c.versions);
}

const QString kCompleted = QStringLiteral("Command completed, no errors");
const QString kNoReply = QStringLiteral("No reply from the command station");
const QString kUnexpectedLoco = QStringLiteral("Unexpected reply to XEvtLok cmd!");

// clang-format off
const DecoderCase kCases[] = {
  // Event replies and their follow-ups
  {"NothingHappened", "C8", "00 55", "78 C8", 1},
  {"PowerOffWithoutThirdByte", "C8", "88 00 55", "78 C8", 1, {}, "There has been a Power Off."},
  {"LaterBitWins", "C8", "18", "78 C8", 0, {}, "Attempt at switching PC-reserved accessories!"},
  {"LocomotiveEventsAfterAllEventBytes", "C8", "81 00  05 01 02 03 04 90 80", "78 C8 78 C9", 0,
   {kUnexpectedLoco}},
  {"InternalBoosterShortTestedLast", "C8", "80 1C", "78 C8", 0, {},
   "Short from IB (internal) booster!"},
  {"UndocumentedFlag", "C8", "40", "78 C8", 0, {}, "Unsupported/undocumented event flag."},
  {"ProgrammingTrackThenRxOverflow", "C8", "80 80 03  F5", "78 C8 78 CE", 0, {},
   "RS232 rx overflow"},
  {"CommandA2WithSecondByte", "C8", "80 40  80 07  55", "78 C8 78 A2", 1},
  {"ListStopsAtEmptyEntry", "C8", "20  02 00 00 77", "78 C8 78 CA", 1},
  {"ListReadsAllEntries", "C8", "20  02 00 40 00 00 77", "78 C8 78 CA", 1},
  {"ReplyOfCCIsThrownAway", "C8", "02  01 02 03", "78 C8 78 CC", 0},
  {"LocomotiveEventsBreakingOff", "C8", "01  05 01", "78 C8 78 C9", 0, {kNoReply}},
  // Status replies
  {"TurnoutUnknownValue", "90 01 40", "01 55", "78 90 01 40", 1},
  {"PowerOnRefused", "A7", "06", "78 A7", 0, {}, "Power Off"},
  {"PowerOff", "A6", "00", "78 A6", 0, {}, "Power Off"},
  {"LocomotiveRecordsAndStrayByte", "C9", "05 01 02 03 04 90 80 33", "78 C9", 1, {kUnexpectedLoco}},
  {"CommandWithoutDecoderReadsNothing", "B0", "11", "78 B0", 1},
  // Programming track and feedback
  {"NoProgrammingTrackEvent", "CE", "F5 00", "78 CE", 1},
  {"OneValueByte", "CE", "02 00 11", "78 CE", 0, {kCompleted, "CV #0 = 17"}},
  {"OneValueByteOfLength80", "CE", "80 00 11", "78 CE", 0, {kCompleted, "CV #0 = 17"}},
  {"FiveBytesRead", "CE", "06 00 01 02 03 04 05", "78 CE", 0, {kCompleted, "CV #0 = "}},
  {"TimeOutEndsAfterTwoBytes", "CE", "01 FF 00", "78 CE", 1, {"TimeOut"}},
  {"CodeWithoutMessage", "CE", "01 05 00", "78 CE", 1},
  {"UnknownLength", "CE", "04 00 00", "78 CE", 1,
   {kCompleted, "CV #0 = Unsupported \"# of bytes\" reply!"}},
  {"FeedbackTwoRecords", "CB", "03 10 00 05 FF 01 00 22", "78 CB", 1,
   {"[S88 # 3] lb = 16 hb = 0", "[S88 # 5] lb = 255 hb = 1"}},
  // The version reply's blocks of their expected length; the closing byte is read, nothing after
  // it.
  {"AllBlocks", "A0", "02 02 15  02 00 01  01 12  01 34  01 56  05 00 01 02 03 04  00  77", "78 A0",
   1, {}, kUntouched, {"1.502", "0.100", "1.2", "3.4", "5.6", "0001020304"}},
  {"OtherLengthSkippedAndNextBlockStillRead", "A0",
   "03 01 02 03  02 0A 20  00  01 12  01 34  05 00 01 02 03 04  00", "78 A0", 0, {}, kUntouched,
   {"", "2.00A", "", "1.2", "3.4", "0001020304"}}};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Replies, P50XReplyDecoder, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The replies and events that say the track has lost its power: after them, and only after them,
// the next run switches it on first (78 A7), and a step taken meanwhile is refused unsent.
TEST(P50XTrackPower, RepliesAndEventsThatCutThePowerAreSwitchedOnBeforeTheNextRun) {
  const struct {
    const char *command, *reply;
    bool cut;
  } cases[] = {
      {"C8", "08", true},       {"C8", "80 01", true},     {"C8", "80 04", true},
      {"C8", "80 20", true},    {"C8", "10", false},       {"C8", "80 02", false},
      {"C8", "80 08", false},   {"A7", "06", true},        {"A7", "00", false},
      {"90 01 40", "A6", true}, {"90 01 40", "09", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " answered " + c.reply);
    P50XTestLink link;
    auto line = link.OpenOnMemoryLine();
    line->AnswerWrites({QByteArray::fromHex(c.reply)});
    Await(link->SendP50X(QByteArray::fromHex(c.command)));
    line->TakeWritten();
    if (c.cut) {
      EXPECT_EQ(Await(link->SwitchAccessory({1})).result, AccessoryOutcome::Result::Refused);
      EXPECT_EQ(line->TakeWritten(), QByteArray()) << "nothing sent onto a dead track";
    }
    line->AnswerWrites({QByteArray::fromHex("00")});
    EXPECT_EQ(Await(link->PowerTrackForRun()).result, AccessoryOutcome::Result::CarriedOut);
    EXPECT_EQ(line->TakeWritten().toHex(' '), c.cut ? "78 a7" : "");
  }
}

}  // namespace
