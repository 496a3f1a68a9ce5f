#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/console_types.h"

namespace stationlink {

// The text replies of the console, read only within the bytes that arrived.

// VER's reply: an English month abbreviation, then day and year ("Apr 10 2002").
FirmwareDate parseFirmwareDate(std::string_view reply);

// RXCHECK's reply: five integers separated by blanks. Nothing unless all five are there.
std::optional<ReceptionCounts> parseReceptionCounts(std::string_view reply);

// A reply as text: cut at the first NUL, at most `limit` bytes.
std::string replyText(std::span<const std::uint8_t> bytes, std::size_t limit);

}  // namespace stationlink
