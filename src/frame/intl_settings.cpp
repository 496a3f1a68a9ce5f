#include "frame/intl_settings.h"

#include <string_view>

namespace frame {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// A separator is one printable ASCII character that is not a digit.
bool usableSeparator(std::string_view v) {
  return v.size() == 1 && v[0] > ' ' && v[0] < 0x7F && !(v[0] >= '0' && v[0] <= '9');
}

}  // namespace

LogDateStyle readIntlSettings(platform::FileSystem& files, const std::string& programDirectory) {
  LogDateStyle style;
  auto text = files.readFile(platform::joinPath(programDirectory, "intl.ini"));
  if (!text) return style;
  bool inIntl = false;
  std::string_view rest = *text;
  while (!rest.empty()) {
    std::size_t nl = rest.find('\n');
    std::string_view line = trim(rest.substr(0, nl));
    rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      inIntl = equalNoCase(line, "[intl]");
      continue;
    }
    if (!inIntl) continue;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view key = trim(line.substr(0, eq));
    std::string_view value = trim(line.substr(eq + 1));
    if (equalNoCase(key, "iDate") && value.size() == 1 && value[0] >= '0' && value[0] <= '2') {
      style.dateOrder = value[0] - '0';
    } else if (equalNoCase(key, "sDate") && usableSeparator(value)) {
      style.dateSeparator = value[0];
    } else if (equalNoCase(key, "iTime") && (value == "0" || value == "1")) {
      style.clock24 = value == "1";
    } else if (equalNoCase(key, "sTime") && usableSeparator(value)) {
      style.timeSeparator = value[0];
    }
  }
  return style;
}

}  // namespace frame
