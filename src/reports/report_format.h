#pragma once

// printf formats for report lines, done without the process locale: numbers always take
// '.' as the decimal point, and text padded to a width ("%6s", "%-20s") counts characters,
// not UTF-8 bytes, so "Máx" fills the same columns as "Max".
//
// Understood: %d %s %f %% with the flags '-' and '0', a width and a precision
// ("%02d", "%-2d", "%6.1f", "%.2f", "%-20s", "%6s"). Arguments are taken in order; a
// directive without a matching argument of its kind prints nothing.

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace reports {

using FormatArg = std::variant<long long, double, std::string_view>;

std::string formatLine(std::string_view format, std::initializer_list<FormatArg> args);

// `count` copies of `c`, for the rules and indents of the report layouts.
inline std::string repeated(char c, std::size_t count) { return std::string(count, c); }

}  // namespace reports
