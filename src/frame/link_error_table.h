#pragma once

#include <string_view>

namespace frame {

// The string id of the message for a link error code: 61265 CRC, 61266 time-out (also the
// system error values 1121 and 1460), 61267 read error, 61268 no acknowledge, 61269 no
// such port, 61270 port in use, 61467 archive interval zero, 61461 any other non-zero
// code. Zero (no error) gives 0.
int linkErrorStringId(int code);

// The text of that message; empty for code 0.
std::string_view linkErrorText(int code);

}  // namespace frame
