#include "TtySpeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

int ReadTtyOutputSpeed(int fd) {
  termios2 settings{};
  if (::ioctl(fd, TCGETS2, &settings) != 0) return 0;
  return static_cast<int>(settings.c_ospeed);
}
