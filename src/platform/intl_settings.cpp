#include "platform/intl_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace platform {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool parseInt(std::string_view s, int& out) {
  int v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size()) return false;
  out = v;
  return true;
}

// Separators are single characters in the texts that use them; only printable ASCII is
// taken, so that a stray byte never ends up alone inside UTF-8 text.
bool parseSeparator(std::string_view s, char& out) {
  if (s.empty()) return false;
  const unsigned char c = static_cast<unsigned char>(s.front());
  if (c < 0x20 || c > 0x7E) return false;
  out = static_cast<char>(c);
  return true;
}

}  // namespace

IntlSettings parseIntlSettings(std::string_view text) {
  IntlSettings s;
  bool inIntl = false;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = trim(text.substr(0, nl));
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      inIntl = close != std::string_view::npos &&
               equalsIgnoreCase(trim(line.substr(1, close - 1)), "intl");
      continue;
    }
    if (!inIntl) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = trim(line.substr(0, eq));
    const std::string_view value = trim(line.substr(eq + 1));
    int n = 0;
    if (equalsIgnoreCase(key, "iDate")) {
      if (parseInt(value, n) && n >= 0 && n <= 2) s.dateOrder = n;
    } else if (equalsIgnoreCase(key, "iTime")) {
      if (parseInt(value, n)) s.clock24 = n == 1;
    } else if (equalsIgnoreCase(key, "sDate")) {
      (void)parseSeparator(value, s.dateSeparator);
    } else if (equalsIgnoreCase(key, "sTime")) {
      (void)parseSeparator(value, s.timeSeparator);
    }
  }
  return s;
}

Result<IntlSettings> readIntlSettings(FileSystem& files, const std::string& programDir) {
  Result<std::string> text = files.readFile(joinPath(programDir, kIntlFileName));
  if (!text.isOk()) {
    if (text.status().kind() == Errc::kNotFound) return IntlSettings{};
    return text.status();
  }
  return parseIntlSettings(*text);
}

}  // namespace platform
