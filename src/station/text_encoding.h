#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace station {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

// Text from a record: kept as is when it is UTF-8, otherwise taken as Windows-1252 (what
// stations written by earlier versions hold) and converted.
std::string decodeStoredText(std::string_view bytes);

// The longest prefix of UTF-8 `text` that fits in `maxBytes` without splitting a
// character.
std::string_view cutAtCharBoundary(std::string_view text, std::size_t maxBytes);

}  // namespace station
