#include "reports/time_zones.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/string_table.h"
#include "reports/report_format.h"
#include "reports/sun_text_ids.h"

namespace reports {

namespace {

std::optional<int> digitsAt(std::string_view s, std::size_t from, std::size_t count) {
  if (s.size() < from + count) return std::nullopt;
  int v = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
  }
  return v;
}

}  // namespace

std::string zoneText(int index) { return platform::loadString(kZoneTexts + index); }

std::optional<double> zoneTextOffset(std::string_view text) {
  if (text.find("(GMT)") != std::string_view::npos) return 0.0;
  if (text.substr(0, 4) != "(GMT" || text.size() < 10) return std::nullopt;
  const char sign = text[4];
  const auto hours = digitsAt(text, 5, 2);
  const auto minutes = digitsAt(text, 8, 2);
  if ((sign != '+' && sign != '-') || !hours || !minutes) return std::nullopt;
  const double value = *hours + *minutes / 60.0;
  return sign == '-' ? -value : value;
}

std::string zoneLabel(int index, double gmtOffsetHours) {
  if (index >= 0 && index < kZoneCount) return zoneText(index);
  const long long minutes =
      std::isfinite(gmtOffsetHours) ? std::llround(std::fabs(gmtOffsetHours) * 60.0) : 0;
  if (minutes == 0) return "(GMT)";
  return formatLine("(GMT%s%02d:%02d)",
                    {std::string_view(gmtOffsetHours < 0 ? "-" : "+"), minutes / 60, minutes % 60});
}

platform::Result<double> parseTypedOffset(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return platform::Status::badArgument(platform::loadString(kMsgChooseZone));
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
    return platform::Status::badArgument(
        formatLine(platform::loadString(kMsgZoneNotValid), {text}));
  }
  if (value < -12 || value > 12) {
    return platform::Status::badArgument(
        formatLine(platform::loadString(kMsgZoneOutOfRange), {text}));
  }
  return value;
}

}  // namespace reports
