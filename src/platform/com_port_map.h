#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"

namespace platform {

// The port map: which device stands for COM port number n. It lives in the program
// directory as lines "n<TAB>path"; a number without an entry is /dev/ttyS(n-1).
inline constexpr std::string_view kComPortMapFileName = "comports.txt";

// Port numbers the map and the port names accept.
inline constexpr int kMinComPort = 1;
inline constexpr int kMaxComPort = 255;
// Port numbers a station's record may hold (COM1 to COM18).
inline constexpr int kMaxStationComPort = 18;

// Reads the map's text. CRLF and LF are accepted; blank lines, lines starting with '#' and
// lines that do not hold a valid number, a tab and a path are ignored (a later line for the
// same number wins).
std::map<int, std::string> parseComPortMap(std::string_view text);
std::string formatComPortMap(const std::map<int, std::string>& map);

// The device path for port `number`: the map's entry, else /dev/ttyS(number-1). A missing
// map file is an empty map; an unreadable one is an error.
Result<std::string> comPortDevice(FileSystem& files, const std::string& programDir, int number);

// True when `port` names a device: a path that starts with "/".
bool isDevicePath(std::string_view port);

// Enters `devicePath` as port `number` in the map, replacing the file atomically. The path is
// kept as given, so stable names such as /dev/serial/by-id/... stay stable. Every other line
// of the file (comments, lines it cannot parse, other ports) is kept byte for byte.
// kBadArgument for a number out of range or a text that is not a device path.
Status setComPortDevice(FileSystem& files, const std::string& programDir, int number,
                        const std::string& devicePath);

// How portForDevice found its number.
enum class PortEntry {
  kAlreadyMapped,  // the device already was that port (an entry, or /dev/ttyS(n-1)); unchanged
  kEntered,        // the device was entered under a number no other station uses
};

struct PortForDevice {
  int number = 0;
  PortEntry entry = PortEntry::kAlreadyMapped;
};

// The port number for `devicePath` among the numbers a station may hold (1 to 18): the
// number the map already gives that device, or else the lowest number that is not in
// `otherStationsPorts`, which is then entered in the map. A number another station uses is
// never re-pointed: when all eighteen are taken the map stays as it was and kBusy says so.
// kBadArgument when `devicePath` is not a device path.
Result<PortForDevice> portForDevice(FileSystem& files, const std::string& programDir,
                                    const std::string& devicePath,
                                    const std::set<int>& otherStationsPorts);

// A port as a user or a setting names it: a decimal port number ("3"), looked up as above,
// or a device path (starting with "/"), taken as it is. Anything else is refused.
Result<std::string> resolvePortName(FileSystem& files, const std::string& programDir,
                                    const std::string& port);

// The port number in `port` when it is one, else 0.
int parsePortNumber(std::string_view port);

}  // namespace platform
