// termios2 lives in the kernel's headers, which clash with <termios.h>; this file includes
// only the former.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdint>

#include "platform/posix_serial_port.h"

namespace platform {

int setArbitraryBaudRate(int fd, std::uint32_t baudRate) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return errno;
  tio.c_cflag &= ~CBAUD;
  tio.c_cflag |= BOTHER;
  tio.c_cflag &= ~(CBAUD << IBSHIFT);
  tio.c_cflag |= BOTHER << IBSHIFT;
  tio.c_ospeed = baudRate;
  tio.c_ispeed = baudRate;
  if (ioctl(fd, TCSETS2, &tio) != 0) return errno;
  return 0;
}

}  // namespace platform
