#include "database/view_text.h"

#include "platform/string_table.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace database {

std::string viewText(int id, std::initializer_list<std::string_view> args) {
  const std::string pattern = platform::loadString(id);
  std::string text;
  std::size_t from = 0;
  for (std::string_view arg : args) {
    const std::size_t at = pattern.find("%s", from);
    if (at == std::string::npos) break;
    text.append(pattern, from, at - from);
    text += arg;
    from = at + 2;
  }
  text.append(pattern, from, std::string::npos);
  return text;
}

std::string countText(long long count, int singularId, int pluralId) {
  return count == 1 ? platform::loadString(singularId)
                    : viewText(pluralId, {std::to_string(count)});
}

std::string padLeft(const std::string& text, std::size_t width) {
  const std::size_t columns = quantities::characterCount(text);
  return columns < width ? std::string(width - columns, ' ') + text : text;
}

std::string padRight(const std::string& text, std::size_t width) {
  const std::size_t columns = quantities::characterCount(text);
  return columns < width ? text + std::string(width - columns, ' ') : text;
}

std::string shownUnit(const quantities::Units& units, quantities::SensorCode code) {
  constexpr int kAirDensityUnit = 21060;
  switch (quantities::codeClass(code)) {
    case quantities::kClassUvIndex:
      return "";
    case quantities::kClassAirDensity:
      return platform::loadString(kAirDensityUnit);
    default:
      return quantities::GetUnitStr(units, code);
  }
}

std::string standaloneValue(const std::string& value) {
  const std::size_t first = value.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  std::string text = value.substr(first);
  if (text.front() == '.') text.insert(0, "0");
  return text;
}

std::string capitalised(std::string text) {
  if (text.empty()) return text;
  const auto c = static_cast<unsigned char>(text[0]);
  if (c >= 'a' && c <= 'z') {
    text[0] = static_cast<char>(c - 'a' + 'A');
  } else if (c == 0xC3 && text.size() > 1) {
    // Latin-1 lower-case letters (á é í ó ú ñ ...) lie 0x20 above their capitals.
    const auto d = static_cast<unsigned char>(text[1]);
    if (d >= 0xA0 && d <= 0xBE && d != 0xB7) text[1] = static_cast<char>(d - 0x20);
  }
  return text;
}

}  // namespace database
