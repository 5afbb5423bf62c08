// The P50X link wired to the simulated Intellibox on a pty at 19200 baud, as the P50X
// benchmarks use it. Needs the application object to exist.
#pragma once

#include "About/TAboutBox.h"
#include "CPort/TComPort.h"
#include "P50XSimulator.h"
#include "p50x/P50XLink.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"

struct P50XBenchLink {
  P50XBenchLink() {
    station.SetBaudRate(19200);
    port.SetPort(station.SlavePath());
    port.SetBaudRate(br19200);
    port.SetStopBits(sbTwoStopBits);
    port.SetEvents({evBreak, evCTS});
    port.Open();
    P50XHost host;
    host.port = &port;
    host.memo1 = &memo1;
    host.memo3 = &memo3;
    host.about = &about;
    host.waitMs = [](int ms) { SleepMs(ms); };
    host.xPrefixMode = &xPrefixMode;
    SetP50XHost(host);
  }

  P50XSimulator station;
  TComPort port;
  TMemo memo1;
  TMemo memo3;
  TAboutBox about;
  bool xPrefixMode = true;
};
