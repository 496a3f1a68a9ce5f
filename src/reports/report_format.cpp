#include "reports/report_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "quantities/text_format.h"

namespace reports {

namespace {

struct FieldFormat {
  bool left = false;
  bool zero = false;
  std::size_t width = 0;
  int precision = -1;
};

void pad(std::string& out, std::string_view body, std::size_t columns, const FieldFormat& field) {
  const std::size_t fill = field.width > columns ? field.width - columns : 0;
  if (field.left) {
    out.append(body);
    out.append(fill, ' ');
    return;
  }
  if (field.zero && !body.empty() && body.front() == '-') {
    out.push_back('-');
    out.append(fill, '0');
    out.append(body.substr(1));
    return;
  }
  out.append(fill, field.zero ? '0' : ' ');
  out.append(body);
}

std::string integerText(long long v) { return std::to_string(v); }

std::string fixed(double v, int precision) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  std::array<char, 400> buf{};
  auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed,
                                 precision < 0 ? 6 : precision);
  if (ec != std::errc()) return "---";
  return std::string(buf.data(), end);
}

}  // namespace

std::string formatLine(std::string_view format, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(format.size() + 16);
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    FieldFormat field;
    std::size_t j = i + 1;
    for (; j < format.size() && (format[j] == '-' || format[j] == '0'); ++j) {
      if (format[j] == '-') field.left = true;
      if (format[j] == '0') field.zero = true;
    }
    for (; j < format.size() && format[j] >= '0' && format[j] <= '9'; ++j) {
      field.width = field.width * 10 + static_cast<std::size_t>(format[j] - '0');
    }
    if (j < format.size() && format[j] == '.') {
      field.precision = 0;
      for (++j; j < format.size() && format[j] >= '0' && format[j] <= '9'; ++j) {
        field.precision = field.precision * 10 + (format[j] - '0');
      }
    }
    if (j >= format.size()) break;
    const char conversion = format[j];
    i = j;
    if (field.left) field.zero = false;
    if (next == args.end()) continue;
    const FormatArg& arg = *next++;
    switch (conversion) {
      case 'd':
        if (const auto* v = std::get_if<long long>(&arg)) {
          const std::string body = integerText(*v);
          pad(out, body, body.size(), field);
        }
        break;
      case 'f':
        if (const auto* v = std::get_if<double>(&arg)) {
          const std::string body = fixed(*v, field.precision);
          pad(out, body, body.size(), field);
        }
        break;
      case 's':
        if (const auto* v = std::get_if<std::string_view>(&arg)) {
          field.zero = false;
          pad(out, *v, quantities::characterCount(*v), field);
        }
        break;
      default:
        break;
    }
  }
  return out;
}

}  // namespace reports
