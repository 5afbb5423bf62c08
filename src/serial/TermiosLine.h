// termios2 settings of a tty, kept apart because <asm/termbits.h> and <termios.h> cannot meet
// in one translation unit.
#pragma once

struct SerialLineSettings;

// Raw 8N1 with no flow control and non-blocking reads: a port is usable from the moment it
// opens, even before its own settings are applied.
int MakeTermiosRaw(int fd);
// Line format, rate (any rate: standard ones as their B-code, so that plain tcgetattr on a pty
// master reads them back; others through BOTHER), parity, flow control and the held DTR/RTS
// levels. Returns 0 or errno.
int ApplyTermiosLine(int fd, const SerialLineSettings& settings);
