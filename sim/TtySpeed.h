#pragma once

// The output speed of a tty in baud, custom rates included; 0 when it cannot be read.
// Kept apart because the kernel's termios2 header clashes with <termios.h>.
int ReadTtyOutputSpeed(int fd);
