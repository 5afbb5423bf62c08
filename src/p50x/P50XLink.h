// The P50X link to an Intellibox or Twin-Center: one command at a time is written and its reply
// read and decoded before the next may start. Every read has a time limit; a command whose
// reply does not come is given up whole, with a line in the connection log.
#pragma once

#include <QByteArray>
#include <functional>

class TAboutBox;
class TComPort;
class TMemo;

// What the link works on; the main window sets it once, tests set their own.
struct P50XHost {
  TComPort* port = nullptr;
  TMemo* memo1 = nullptr;  // connection log
  TMemo* memo3 = nullptr;  // receive log
  TAboutBox* about = nullptr;
  std::function<void(int)> waitMs;  // the window's millisecond wait, events keep running
  bool* xPrefixMode = nullptr;
  // The fixed sleeps of the link and of interface detection; empty means the real SleepMs.
  // Tests shorten them here.
  std::function<void(int)> sleepMs;
};

void SetP50XHost(const P50XHost& host);
const P50XHost& CurrentP50XHost();

// The link state: the bytes of the last read with a count above zero, its first byte, and its
// count.
extern QByteArray ReplyBuffer;
extern unsigned char ReplyByte;
extern int ReplyCount;

// Writes one command: binary (first byte 0x80 and up) in one write, its reply decoded before
// this returns; ASCII (below 0x80) with CR, one byte a write, nothing read.
void SendP50X(const QByteArray& command);
// Waits (at most 1 s) until count bytes are waiting and reads them into ReplyBuffer. False
// when the reply did not come and the command was given up.
bool ReadP50XReply(int count);
// Reads up to and including the prompt "]" (at most 2 s); a zero byte adds nothing.
QByteArray ReadUntilPrompt();
// Reads and decodes the reply to the binary command just written.
void DispatchP50XReply(int commandByte);

// Output on, waitMs(200), output off; each reply decoded into the receive log.
void SwitchTurnoutP50X(int address, int direction);
void P50XPowerOff();

// A command is waiting for its reply (the window is processing events in the middle of it).
bool P50XBusy();
// One tick of the event poll: the event query, unless a command is waiting for its reply.
void P50XEventPoll();
