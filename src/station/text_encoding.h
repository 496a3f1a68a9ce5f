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

// Bytes made fit for text people read (the event log, a listing) without guessing an
// encoding: well-formed UTF-8 is kept, and each byte that does not start a well-formed
// sequence becomes U+FFFD. For paths and other bytes whose meaning is not ours to decide.
std::string toValidUtf8(std::string_view bytes);

// The longest prefix of UTF-8 `text` that fits in `maxBytes` without splitting a
// character.
std::string_view cutAtCharBoundary(std::string_view text, std::size_t maxBytes);

}  // namespace station
