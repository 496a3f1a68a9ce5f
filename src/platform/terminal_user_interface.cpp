#include "platform/terminal_user_interface.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <istream>
#include <ostream>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace platform {

namespace {

constexpr int kChoiceAttempts = 3;

bool isYes(std::string_view answer) {
  while (!answer.empty() && answer.front() == ' ') answer.remove_prefix(1);
  if (answer.empty()) return false;
  const char c = answer.front();
  return c == 's' || c == 'S' || c == 'y' || c == 'Y';
}

// Dialog resource names ("SET_PASSWORD") are the program's own labels, not texts for a
// person: upper-case words joined by underscores.
bool isResourceName(std::string_view title) {
  if (title.find('_') == std::string_view::npos) return false;
  for (char c : title) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

std::string_view trimEnd(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == ':')) s.remove_suffix(1);
  return s;
}

// Turns the echo of a terminal off for the life of the scope, so a password is not shown
// as it is typed. Does nothing when `fd` is not a terminal.
class EchoOff {
 public:
  explicit EchoOff(int fd) : fd_(fd) {
    if (fd_ < 0 || ::isatty(fd_) != 1 || ::tcgetattr(fd_, &saved_) != 0) return;
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    // Lines typed ahead must reach the entry, so nothing waiting is flushed.
    active_ = ::tcsetattr(fd_, TCSANOW, &quiet) == 0;
  }
  ~EchoOff() {
    if (active_) (void)::tcsetattr(fd_, TCSANOW, &saved_);
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  int fd_;
  termios saved_{};
  bool active_ = false;
};

}  // namespace

std::string promptHeading(std::string_view title, std::string_view text) {
  std::string_view t = trimEnd(title);
  std::string_view x = trimEnd(text);
  std::string h;
  if (!t.empty() && !isResourceName(t) && t != x) {
    h += t;
    if (!x.empty()) h += ": ";
  }
  if (!x.empty()) h += text;
  while (!h.empty() && h.back() == ' ') h.pop_back();
  return h;
}

std::optional<std::string> TerminalUserInterface::readLine() {
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool TerminalUserInterface::waitOneSecondForInput() {
  if (in_.rdbuf() != nullptr && in_.rdbuf()->in_avail() > 0) return true;
  if (inputFd_ < 0) {
    clock_.sleepFor(std::chrono::seconds(1));
    return false;
  }
  pollfd p{};
  p.fd = inputFd_;
  p.events = POLLIN;
  const int ready = ::poll(&p, 1, 1000);
  // A hang-up counts as ready, so the read that follows sees the end of input at once.
  return ready > 0 && (p.revents & (POLLIN | POLLHUP)) != 0;
}

void TerminalUserInterface::message(std::string_view title, std::string_view text) {
  out_ << promptHeading(title, text) << '\n' << std::flush;
}

bool TerminalUserInterface::question(std::string_view title, std::string_view text) {
  out_ << promptHeading(title, text) << " [s/n] " << std::flush;
  auto answer = readLine();
  if (!answer) out_ << '\n';
  return answer && isYes(*answer);
}

bool TerminalUserInterface::countDown(std::string_view title, std::string_view text, int seconds) {
  out_ << promptHeading(title, text) << " (Intro para cancelar)\n" << std::flush;
  for (int left = seconds; left > 0; --left) {
    // Each second is a whole line: output printed meanwhile (a bulletin) keeps its lines.
    out_ << left << "...\n" << std::flush;
    if (waitOneSecondForInput()) {
      auto typed = readLine();
      // The end of input is not a person cancelling: the work goes ahead.
      if (!typed) return true;
      return false;
    }
  }
  return true;
}

std::optional<std::size_t> TerminalUserInterface::choose(std::string_view title,
                                                         std::string_view prompt,
                                                         std::span<const std::string> items) {
  if (items.empty()) return std::nullopt;
  out_ << promptHeading(title, prompt) << '\n';
  for (std::size_t i = 0; i < items.size(); ++i)
    out_ << "  " << (i + 1) << ". " << items[i] << '\n';
  for (int attempt = 0; attempt < kChoiceAttempts; ++attempt) {
    out_ << "> " << std::flush;
    auto line = readLine();
    if (!line || line->empty()) return std::nullopt;
    std::size_t number = 0;
    auto [end, ec] = std::from_chars(line->data(), line->data() + line->size(), number);
    if (ec == std::errc() && end == line->data() + line->size() && number >= 1 &&
        number <= items.size()) {
      return number - 1;
    }
  }
  return std::nullopt;
}

std::optional<std::string> TerminalUserInterface::enterText(std::string_view title,
                                                            std::string_view prompt,
                                                            std::string_view initial, bool secret) {
  // The echo goes off before the prompt shows, so nothing typed after it is echoed.
  std::optional<EchoOff> quiet;
  if (secret) quiet.emplace(inputFd_);
  out_ << promptHeading(title, prompt);
  if (!initial.empty() && !secret) out_ << " [" << initial << ']';
  out_ << ' ' << std::flush;
  auto line = readLine();
  // The Enter that ended a hidden entry was not echoed either.
  if (secret) out_ << '\n' << std::flush;
  if (!line) return std::nullopt;
  if (line->empty()) return std::string(initial);
  return line;
}

void TerminalUserInterface::showTextFile(std::string_view title, const std::string& path) {
  auto text = files_.readFile(path);
  out_ << "== " << title << " (" << path << ") ==\n";
  if (!text) {
    out_ << text.status().message() << '\n' << std::flush;
    return;
  }
  out_ << *text;
  if (!text->empty() && text->back() != '\n') out_ << '\n';
  out_ << std::flush;
}

}  // namespace platform
