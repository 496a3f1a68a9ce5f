#include "link/console_text.h"

#include <charconv>

namespace stationlink {

namespace {

void skipBlanks(std::string_view& s) {
  while (!s.empty() &&
         (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n')) {
    s.remove_prefix(1);
  }
}

// Reads one decimal integer, as scanf's %d would after skipping white space.
std::optional<int> takeInt(std::string_view& s) {
  skipBlanks(s);
  const char* begin = s.data();
  const char* end = s.data() + s.size();
  if (begin != end && *begin == '+') ++begin;
  int value = 0;
  auto [stop, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc()) return std::nullopt;
  s.remove_prefix(static_cast<std::size_t>(stop - s.data()));
  return value;
}

}  // namespace

FirmwareDate parseFirmwareDate(std::string_view reply) {
  static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  FirmwareDate date;
  if (reply.size() < 3) return date;
  for (int m = 0; m < 12; ++m) {
    if (reply.substr(0, 3) == kMonths[m]) date.month = m + 1;
  }
  if (date.month == 0) return date;
  std::string_view rest = reply.substr(3);
  auto day = takeInt(rest);
  auto year = day ? takeInt(rest) : std::nullopt;
  if (!day || !year) return FirmwareDate{};
  date.day = *day;
  date.year = *year;
  date.valid = true;
  return date;
}

std::optional<ReceptionCounts> parseReceptionCounts(std::string_view reply) {
  ReceptionCounts counts{};
  for (int& c : counts) {
    auto v = takeInt(reply);
    if (!v) return std::nullopt;
    c = *v;
  }
  return counts;
}

std::string replyText(std::span<const std::uint8_t> bytes, std::size_t limit) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size() && i < limit && bytes[i] != 0; ++i) {
    text += static_cast<char>(bytes[i]);
  }
  return text;
}

}  // namespace stationlink
