#include "link/console_session.h"

#include <charconv>

namespace stationlink {

platform::Result<PortParams> commandLinkParams(const ConsoleTarget& target) {
  if (target.port.empty()) return platform::Status::badArgument("no serial port given");
  switch (target.baudRate) {
    case 1200:
    case 2400:
    case 4800:
    case 9600:
    case 14400:
    case 19200:
      break;
    default:
      return platform::Status::badArgument("the console does not talk at " +
                                           std::to_string(target.baudRate) +
                                           " baud (1200, 2400, 4800, 9600, 14400 or 19200)");
  }
  PortParams params;
  params.devicePath = target.port;
  params.baudRate = static_cast<std::uint16_t>(target.baudRate);
  params.linkType = LinkType::kCirrant;
  params.label = target.port;
  return params;
}

std::optional<int> archiveIntervalCode(int minutes) {
  for (int code = 0; code <= 6; ++code) {
    if (archiveIntervalMinutes(code) == minutes) return code;
  }
  return std::nullopt;
}

namespace {

bool takeNumber(std::string_view& s, std::size_t digits, int& out) {
  if (s.size() < digits) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + digits, out);
  if (ec != std::errc() || end != s.data() + digits) return false;
  s.remove_prefix(digits);
  return true;
}

bool takeChar(std::string_view& s, std::string_view allowed) {
  if (s.empty() || allowed.find(s.front()) == std::string_view::npos) return false;
  s.remove_prefix(1);
  return true;
}

}  // namespace

platform::Result<ConsoleTime> parseConsoleTime(std::string_view text) {
  ConsoleTime t;
  std::string_view s = text;
  const bool shaped = takeNumber(s, 4, t.year) && takeChar(s, "-") && takeNumber(s, 2, t.month) &&
                      takeChar(s, "-") && takeNumber(s, 2, t.day) && takeChar(s, " T") &&
                      takeNumber(s, 2, t.hour) && takeChar(s, ":") && takeNumber(s, 2, t.minute) &&
                      s.empty();
  if (!shaped || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > platform::daysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59) {
    return platform::Status::badArgument("'" + std::string(text) +
                                         "' is not a time of the form YYYY-MM-DD HH:MM");
  }
  return t;
}

ConsoleTime consoleTimeFrom(const platform::CivilTime& local) {
  return ConsoleTime{local.year, local.month, local.day, local.hour, local.minute};
}

}  // namespace stationlink
