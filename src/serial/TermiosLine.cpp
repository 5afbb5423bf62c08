#include "serial/TermiosLine.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <utility>

#include "serial/SerialDevice.h"

namespace {

constexpr std::pair<int, unsigned> kStandardRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000}};

unsigned RateCode(int rate) {
  for (const auto& [value, code] : kStandardRates) {
    if (value == rate) return code;
  }
  return BOTHER;
}

void SetRate(termios2& t, int rate) {
  // A zero input-rate field makes the input rate follow the output rate.
  t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= RateCode(rate);
  t.c_ispeed = t.c_ospeed = static_cast<unsigned>(rate);
}

unsigned SizeFlag(DataBitsSetting bits) {
  switch (bits) {
    case dbFive:
      return CS5;
    case dbSix:
      return CS6;
    case dbSeven:
      return CS7;
    case dbEight:
      break;
  }
  return CS8;
}

unsigned ParityFlags(ParityBits parity) {
  switch (parity) {
    case prNone:
      break;
    case prOdd:
      return PARENB | PARODD;
    case prEven:
      return PARENB;
    case prMark:
      return PARENB | CMSPAR | PARODD;
    case prSpace:
      return PARENB | CMSPAR;
  }
  return 0;
}

// The descriptor is non-blocking, so with VMIN 1 an empty tty reads EAGAIN and only a hung-up
// one reads 0 (with VMIN 0 an empty one would read 0 too).
void SetReadMode(termios2& t) {
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
}

// A pty has no modem lines; the kernel says so with ENOTTY or EINVAL.
bool NoModemLines(int error) {
  return error == ENOTTY || error == EINVAL;
}

int ChangeModemLines(int fd, int set, int clear) {
  if (set && ::ioctl(fd, TIOCMBIS, &set) != 0 && !NoModemLines(errno)) return errno;
  if (clear && ::ioctl(fd, TIOCMBIC, &clear) != 0 && !NoModemLines(errno)) return errno;
  return 0;
}

}  // namespace

int MakeTermiosRaw(int fd) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return errno;
  t.c_iflag = 0;
  t.c_oflag = 0;
  t.c_lflag = 0;
  t.c_cflag = (t.c_cflag & (CBAUD | (CBAUD << IBSHIFT))) | CS8 | CREAD | CLOCAL | HUPCL;
  SetReadMode(t);
  return ::ioctl(fd, TCSETS2, &t) == 0 ? 0 : errno;
}

int ApplyTermiosLine(int fd, const SerialLineSettings& s) {
  // Rate 0 would mean "hang up" to the kernel.
  if (s.baudRate <= 0) return EINVAL;
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return errno;

  // Parity errors: with INPCK and neither IGNPAR nor PARMRK the kernel hands a bad byte on as
  // NUL, which is the Windows replacement with the default ReplaceChar 0. A break arrives as a
  // NUL byte too (neither IGNBRK nor BRKINT) and is counted for the break event.
  t.c_iflag = 0;
  if (s.parityCheck) t.c_iflag |= INPCK;
  if (s.xonXoffOut) t.c_iflag |= IXON;
  if (s.xonXoffIn) t.c_iflag |= IXOFF;
  t.c_oflag = 0;
  t.c_lflag = 0;

  // CLOCAL: the port never waits for carrier; carrier changes still reach evRLSD.
  t.c_cflag = CREAD | CLOCAL | HUPCL | SizeFlag(s.dataBits) | ParityFlags(s.parity);
  // termios has no 1.5 stop bits. CSTOPB is the nearest: a 16550-style UART sends 1.5 stop
  // bits with it at 5 data bits (the only width Windows allows 1.5 at) and 2 otherwise.
  if (s.stopBits != sbOneStopBit) t.c_cflag |= CSTOPB;
  // Linux ties CTS output flow and the RTS receive handshake together in one flag.
  if (s.outCTSFlow || s.rtsControl == rtsHandshake) t.c_cflag |= CRTSCTS;
  SetRate(t, s.baudRate);
  SetReadMode(t);
  t.c_cc[VSTART] = s.xonChar;
  t.c_cc[VSTOP] = s.xoffChar;
  if (::ioctl(fd, TCSETS2, &t) != 0) return errno;

  // DSR output flow, DSR sensitivity, transmit-on-XOFF and the DTR handshake have no termios
  // counterpart; the DTR handshake holds DTR high (ready) and RTS toggle holds RTS high, so a
  // device waiting for either line still sees it.
  int set = 0;
  int clear = 0;
  (s.dtrControl == dtrDisable ? clear : set) |= TIOCM_DTR;
  if (s.rtsControl == rtsDisable) clear |= TIOCM_RTS;
  if (s.rtsControl == rtsEnable || s.rtsControl == rtsToggle) set |= TIOCM_RTS;
  return ChangeModemLines(fd, set, clear);
}
