#pragma once

#include <string_view>

namespace frame {

// Link error codes of the station link and of the download and console-command code.
inline constexpr int kLinkErrorCrc = -4;
inline constexpr int kLinkErrorTimeout = -5;
inline constexpr int kLinkErrorRead = -6;
inline constexpr int kLinkErrorWrite = -7;
inline constexpr int kLinkErrorNoAck = -8;
inline constexpr int kLinkErrorNoSuchPort = -11;
inline constexpr int kLinkErrorPortInUse = -12;
inline constexpr int kLinkErrorIntervalZero = -50;

// The string id of the message for a link error code: 61265 CRC, 61266 time-out (also the
// system error values 1121 and 1460), 61267 read error, 61268 no acknowledge, 61269 no
// such port, 61270 port in use, 61467 archive interval zero, 61461 any other non-zero
// code. Zero (no error) gives 0.
int linkErrorStringId(int code);

// The text of that message; empty for code 0.
std::string_view linkErrorText(int code);

}  // namespace frame
