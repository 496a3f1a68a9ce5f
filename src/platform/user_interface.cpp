#include "platform/user_interface.h"

#include <unistd.h>

#include <iostream>

#include "platform/headless_user_interface.h"
#include "platform/terminal_user_interface.h"

namespace platform {

std::unique_ptr<UserInterface> makeUserInterface(FileSystem& files, Clock& clock) {
  if (::isatty(STDIN_FILENO) == 1) {
    return std::make_unique<TerminalUserInterface>(std::cin, std::cout, files, clock, STDIN_FILENO);
  }
  return std::make_unique<HeadlessUserInterface>(std::cerr);
}

}  // namespace platform
