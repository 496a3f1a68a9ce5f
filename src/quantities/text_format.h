#pragma once

// Number formatting for value strings: the printf formats "%.Nf" and "%d" in the C
// locale whatever the process locale is, never longer than a value buffer can hold.

#include <cstddef>
#include <string>
#include <string_view>

namespace quantities {

// Every value string fits a buffer of this size, terminator included.
inline constexpr std::size_t kValueBufferBytes = 32;

inline constexpr std::string_view kDash3 = "---";
inline constexpr std::string_view kDash4 = "----";
inline constexpr std::string_view kDash5 = "-----";

// "%.*f" of v; the dash text when the result would not fit a value buffer.
std::string fixedText(double v, int decimals);

// Characters, not bytes, of UTF-8 text: the columns it takes, so that "Máx." fills a
// column as wide as "Temp." does.
std::size_t characterCount(std::string_view utf8);

// Copies `text` into `buffer` of `size` bytes, cut at a character boundary and terminated.
// Returns `buffer`. Nothing is written when `buffer` is null or `size` is 0.
char* copyToBuffer(std::string_view text, char* buffer, std::size_t size);

}  // namespace quantities
