#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"

namespace platform {

// The port map: which device stands for COM port number n. It lives in the program
// directory as lines "n<TAB>path"; a number without an entry is /dev/ttyS(n-1).
inline constexpr std::string_view kComPortMapFileName = "comports.txt";

// Port numbers a station may use.
inline constexpr int kMinComPort = 1;
inline constexpr int kMaxComPort = 255;

// Reads the map's text. CRLF and LF are accepted; blank lines, lines starting with '#' and
// lines that do not hold a valid number, a tab and a path are ignored (a later line for the
// same number wins).
std::map<int, std::string> parseComPortMap(std::string_view text);
std::string formatComPortMap(const std::map<int, std::string>& map);

// The device path for port `number`: the map's entry, else /dev/ttyS(number-1). A missing
// map file is an empty map; an unreadable one is an error.
Result<std::string> comPortDevice(FileSystem& files, const std::string& programDir, int number);

// Enters `devicePath` as port `number` in the map, replacing the file atomically. The path is
// kept as given, so stable names such as /dev/serial/by-id/... stay stable.
Status setComPortDevice(FileSystem& files, const std::string& programDir, int number,
                        const std::string& devicePath);

// A port as a user or a setting names it: a decimal port number ("3"), looked up as above,
// or a device path, taken as it is. Empty text and numbers out of range are refused.
Result<std::string> resolvePortName(FileSystem& files, const std::string& programDir,
                                    const std::string& port);

// The port number in `port` when it is one, else 0.
int parsePortNumber(std::string_view port);

}  // namespace platform
