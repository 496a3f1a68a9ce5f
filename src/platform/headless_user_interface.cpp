#include "platform/headless_user_interface.h"

#include <ostream>

namespace platform {

void HeadlessUserInterface::message(std::string_view title, std::string_view text) {
  out_ << title << ": " << text << '\n' << std::flush;
}

bool HeadlessUserInterface::question(std::string_view title, std::string_view text) {
  out_ << title << ": " << text << " -> no\n" << std::flush;
  return false;
}

bool HeadlessUserInterface::countDown(std::string_view, std::string_view, int) { return true; }

std::optional<std::size_t> HeadlessUserInterface::choose(std::string_view, std::string_view,
                                                         std::span<const std::string>) {
  return std::nullopt;
}

std::optional<std::string> HeadlessUserInterface::enterText(std::string_view, std::string_view,
                                                            std::string_view, bool) {
  return std::nullopt;
}

void HeadlessUserInterface::showTextFile(std::string_view, const std::string&) {}

}  // namespace platform
