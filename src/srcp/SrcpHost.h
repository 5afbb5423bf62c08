// What the SRCP link acts on: the main window's two connections, its receive log and SRCP
// information log, the reply timer and the window's millisecond wait. The window sets it once,
// before the user can choose "SRCP 0.8"; the link owns none of it.
#pragma once

#include <functional>

class TClientSocket;
class TMemo;
class TTimer;

struct SrcpHost {
  TClientSocket* ClientSocket1 = nullptr;  // command session
  TClientSocket* ClientSocket2 = nullptr;  // information session
  TMemo* Memo3 = nullptr;                  // text of the command session; searched for replies
  TMemo* memo4 = nullptr;                  // text of the information session
  // Bounds the reply wait. Its OnTimer must disable it and then call SrcpReplyTimeout().
  TTimer* Timer3 = nullptr;
  std::function<void(int milliseconds)> waitMs;
};

void SetSrcpHost(const SrcpHost& host);
const SrcpHost& CurrentSrcpHost();
