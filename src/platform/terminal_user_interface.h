#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "platform/user_interface.h"

namespace platform {

class Clock;
class FileSystem;

// The heading of a prompt: the title once and the text once ("Abrir estación", not
// "Abrir estación: Abrir estación"); a title equal to the text, an empty one or a dialog
// resource name ("SET_PASSWORD") is left out.
std::string promptHeading(std::string_view title, std::string_view text);

// A person at a terminal: messages are printed, questions and choices are asked and the
// answer read as a line. The end of input counts as the negative answer, so a closed
// terminal never hangs the program.
//
// A count-down prints the seconds left and is cancelled by any line typed before it runs
// out. A secret text entry turns the echo of `inputFd` off while it reads.
// With `inputFd` >= 0 it waits on that descriptor in real time; otherwise (tests) it
// checks `in` for waiting characters and lets `clock` pass each second.
class TerminalUserInterface : public UserInterface {
 public:
  TerminalUserInterface(std::istream& in, std::ostream& out, FileSystem& files, Clock& clock,
                        int inputFd = -1)
      : in_(in), out_(out), files_(files), clock_(clock), inputFd_(inputFd) {}

  void message(std::string_view title, std::string_view text) override;
  bool question(std::string_view title, std::string_view text) override;
  bool countDown(std::string_view title, std::string_view text, int seconds) override;
  std::optional<std::size_t> choose(std::string_view title, std::string_view prompt,
                                    std::span<const std::string> items) override;
  std::optional<std::string> enterText(std::string_view title, std::string_view prompt,
                                       std::string_view initial, bool secret = false) override;
  void showTextFile(std::string_view title, const std::string& path) override;

 private:
  std::optional<std::string> readLine();
  // True when a line was typed within one second.
  bool waitOneSecondForInput();

  std::istream& in_;
  std::ostream& out_;
  FileSystem& files_;
  Clock& clock_;
  int inputFd_;
};

}  // namespace platform
