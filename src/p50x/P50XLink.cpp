#include "p50x/P50XLink.h"

#include <QLabel>
#include <chrono>

#include "About/TAboutBox.h"
#include "CPort/TComPort.h"
#include "p50x/P50XCommandScope.h"
#include "p50x/P50XDecoderContext.h"
#include "p50x/P50XReplyDecoders.h"
#include "p50x/P50XReplyWait.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"

QByteArray ReplyBuffer;
unsigned char ReplyByte = 0;
int ReplyCount = 0;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kReplyByteLimit = std::chrono::seconds(1);
constexpr auto kPromptReplyLimit = std::chrono::seconds(2);
constexpr unsigned char kPrefix = 'x';
constexpr unsigned char kFirstBinaryByte = 0x80;
constexpr char kPrompt = ']';
constexpr int kAsciiBytePauseMs = 1;
constexpr int kTurnoutOnTimeMs = 200;
constexpr unsigned char kTurnoutCommand = 0x90;
constexpr unsigned char kTurnoutOutputOn = 0x40;
constexpr unsigned char kPowerOffCommand = 0xA6;
constexpr unsigned char kEventQuery = 0xC8;

P50XHost host;

void SleepLink(int milliseconds) {
  if (host.sleepMs)
    host.sleepMs(milliseconds);
  else
    SleepMs(milliseconds);
}

// Reads count bytes into the link state; raises P50XNoReply when they have not all arrived by
// the deadline.
void ReadReplyBytes(int count, Clock::time_point deadline) {
  if (!WaitForP50XInput(*host.port, count, deadline)) throw P50XNoReply();
  QByteArray bytes;
  host.port->ReadStr(bytes, count);
  if (count <= 0) return;
  ReplyBuffer = bytes;
  ReplyCount = count;
  ReplyByte = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]);
}

QLabel* VersionLabel(P50XVersionField field) {
  TAboutBox* about = host.about;
  if (!about) return nullptr;
  switch (field) {
    case P50XVersionField::SPU:
      return about->SPU;
    case P50XVersionField::KPU:
      return about->KPU;
    case P50XVersionField::PPU:
      return about->PPU;
    case P50XVersionField::LIPU:
      return about->LIPU;
    case P50XVersionField::DNC:
      return about->DNC;
    case P50XVersionField::Serial:
      return about->Serial;
  }
  return nullptr;
}

class PortDecoderContext final : public P50XDecoderContext {
 public:
  unsigned char ReadByte() override {
    ReadReplyBytes(1, Clock::now() + kReplyByteLimit);
    return ReplyByte;
  }
  QByteArray ReadBlock(int count) override {
    ReadReplyBytes(count, Clock::now() + kReplyByteLimit);
    return ReplyBuffer;
  }
  void ShowStatus(const QString& text) override { host.memo3->SetText(text); }
  void AddLogLine(const QString& line) override { host.memo1->AddLine(line); }
  void SendFollowUp(unsigned char command) override {
    SendP50X(QByteArray(1, static_cast<char>(command)));
  }
  void ShowVersionValue(P50XVersionField field, const QString& text) override {
    if (QLabel* label = VersionLabel(field)) label->setText(text);
  }
  void Sleep(int milliseconds) override { SleepLink(milliseconds); }
  void DiscardInput() override { host.port->ClearBuffer(true, false); }
};

QByteArray TurnoutFrame(int address, int direction, bool outputOn) {
  QByteArray frame(3, '\0');
  frame[0] = static_cast<char>(kTurnoutCommand);
  frame[1] = static_cast<char>(address % 256);
  frame[2] =
      static_cast<char>((address / 256 + direction + (outputOn ? kTurnoutOutputOn : 0)) % 256);
  return frame;
}

}  // namespace

void SetP50XHost(const P50XHost& newHost) {
  host = newHost;
}

const P50XHost& CurrentP50XHost() {
  return host;
}

void SendP50X(const QByteArray& command) {
  if (command.isEmpty()) return;
  RunP50XCommand([&] {
    const auto commandByte = static_cast<unsigned char>(command[0]);
    QByteArray frame = command;
    if (*host.xPrefixMode) frame.prepend(static_cast<char>(kPrefix));
    if (commandByte < kFirstBinaryByte) {
      frame.append('\r');
      for (char byte : frame) {
        if (!host.port->Connected()) continue;
        host.port->WriteStr(QByteArray(1, byte));
        SleepLink(kAsciiBytePauseMs);
      }
      return;
    }
    host.port->WriteStr(frame);
    DispatchP50XReply(commandByte);
  });
}

bool ReadP50XReply(int count) {
  return RunP50XCommand([&] { ReadReplyBytes(count, Clock::now() + kReplyByteLimit); });
}

QByteArray ReadUntilPrompt() {
  QByteArray text;
  RunP50XCommand([&] {
    const auto deadline = Clock::now() + kPromptReplyLimit;
    do {
      ReadReplyBytes(1, deadline);
      if (ReplyByte != 0) text.append(static_cast<char>(ReplyByte));
    } while (ReplyByte != kPrompt);
  });
  return text;
}

void DispatchP50XReply(int commandByte) {
  RunP50XCommand([&] {
    PortDecoderContext context;
    DecodeP50XReply(commandByte, context);
  });
}

void SwitchTurnoutP50X(int address, int direction) {
  RunP50XCommand([&] {
    SendP50X(TurnoutFrame(address, direction, true));
    {
      // The poll may run in this pause; no reply is outstanding, so it may send.
      const P50XEventWindow pause(false);
      host.waitMs(kTurnoutOnTimeMs);
    }
    SendP50X(TurnoutFrame(address, direction, false));
  });
}

void P50XPowerOff() {
  SendP50X(QByteArray(1, static_cast<char>(kPowerOffCommand)));
}

void P50XEventPoll() {
  if (P50XBusy()) return;
  SendP50X(QByteArray(1, static_cast<char>(kEventQuery)));
}
