#include "platform/com_port_map.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace platform {

int parsePortNumber(std::string_view port) {
  if (port.empty() || port.size() > 3) return 0;
  int n = 0;
  auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), n);
  if (ec != std::errc() || end != port.data() + port.size()) return 0;
  return (n >= kMinComPort && n <= kMaxComPort) ? n : 0;
}

bool isDevicePath(std::string_view port) { return !port.empty() && port.front() == '/'; }

namespace {

// One line of the file as it stands (without its '\n', with any '\r'), and the entry it
// holds: number 0 for a comment or a line that cannot be parsed.
struct MapLine {
  std::string raw;
  int number = 0;
  std::string path;
};

std::vector<MapLine> splitMapLines(std::string_view text) {
  std::vector<MapLine> lines;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    MapLine line{std::string(text.substr(0, eol)), 0, {}};
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    std::string_view entry = line.raw;
    if (!entry.empty() && entry.back() == '\r') entry.remove_suffix(1);
    const std::size_t tab = entry.find('\t');
    if (!entry.empty() && entry.front() != '#' && tab != std::string_view::npos &&
        tab + 1 < entry.size()) {
      if (const int n = parsePortNumber(entry.substr(0, tab)); n != 0) {
        line.number = n;
        line.path = std::string(entry.substr(tab + 1));
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string joinMapLines(const std::vector<MapLine>& lines) {
  std::string text;
  for (const MapLine& line : lines) {
    text += line.raw;
    text += '\n';
  }
  return text;
}

Result<std::vector<MapLine>> loadMapLines(FileSystem& files, const std::string& programDir) {
  const std::string path = joinPath(programDir, kComPortMapFileName);
  if (!files.exists(path)) return std::vector<MapLine>{};
  Result<std::string> text = files.readFile(path);
  if (!text) return text.status();
  return splitMapLines(*text);
}

// The device of port `number` as the lines give it; empty when none names it.
std::string entryOf(const std::vector<MapLine>& lines, int number) {
  std::string path;
  for (const MapLine& line : lines) {
    if (line.number == number) path = line.path;  // a later line for the same number wins
  }
  return path;
}

std::string defaultDevice(int number) { return "/dev/ttyS" + std::to_string(number - 1); }

Status checkDevicePath(const std::string& devicePath) {
  if (!isDevicePath(devicePath) || devicePath.find_first_of("\t\r\n") != std::string::npos) {
    return Status::badArgument("'" + devicePath +
                               "' is not a device path that can be entered in the port map");
  }
  return Status::ok();
}

// Points `number` at `devicePath`: the line that decides the number is replaced in place,
// or a line is inserted; every other line stays as it was.
Status writeEntry(FileSystem& files, const std::string& programDir, std::vector<MapLine> lines,
                  int number, const std::string& devicePath) {
  MapLine entry{std::to_string(number) + '\t' + devicePath, number, devicePath};
  MapLine* last = nullptr;
  for (MapLine& line : lines) {
    if (line.number == number) last = &line;
  }
  if (last != nullptr) {
    *last = std::move(entry);
  } else {
    // A new number goes before the first entry of a higher one, so a file in order stays so.
    auto at = std::find_if(lines.begin(), lines.end(),
                           [number](const MapLine& line) { return line.number > number; });
    lines.insert(at, std::move(entry));
  }
  return files.replaceFileAtomically(joinPath(programDir, kComPortMapFileName),
                                     joinMapLines(lines));
}

}  // namespace

std::map<int, std::string> parseComPortMap(std::string_view text) {
  std::map<int, std::string> map;
  for (MapLine& line : splitMapLines(text)) {
    if (line.number != 0) map[line.number] = std::move(line.path);
  }
  return map;
}

std::string formatComPortMap(const std::map<int, std::string>& map) {
  std::string text;
  for (const auto& [n, path] : map) {
    text += std::to_string(n);
    text += '\t';
    text += path;
    text += '\n';
  }
  return text;
}

Result<std::string> comPortDevice(FileSystem& files, const std::string& programDir, int number) {
  if (number < kMinComPort || number > kMaxComPort) {
    return Status::badArgument("port number " + std::to_string(number) + " is out of range");
  }
  Result<std::vector<MapLine>> lines = loadMapLines(files, programDir);
  if (!lines) return lines.status();
  std::string path = entryOf(*lines, number);
  if (!path.empty()) return path;
  return defaultDevice(number);
}

Status setComPortDevice(FileSystem& files, const std::string& programDir, int number,
                        const std::string& devicePath) {
  if (number < kMinComPort || number > kMaxComPort) {
    return Status::badArgument("port number " + std::to_string(number) + " is out of range");
  }
  if (Status s = checkDevicePath(devicePath); !s.isOk()) return s;
  Result<std::vector<MapLine>> lines = loadMapLines(files, programDir);
  if (!lines) return lines.status();
  return writeEntry(files, programDir, std::move(*lines), number, devicePath);
}

Result<PortForDevice> portForDevice(FileSystem& files, const std::string& programDir,
                                    const std::string& devicePath,
                                    const std::set<int>& otherStationsPorts) {
  if (Status s = checkDevicePath(devicePath); !s.isOk()) return s;
  Result<std::vector<MapLine>> lines = loadMapLines(files, programDir);
  if (!lines) return lines.status();
  for (int n = kMinComPort; n <= kMaxStationComPort; ++n) {
    const std::string current = entryOf(*lines, n);
    if (current == devicePath || (current.empty() && defaultDevice(n) == devicePath)) {
      return PortForDevice{n, PortEntry::kAlreadyMapped};
    }
  }
  for (int n = kMinComPort; n <= kMaxStationComPort; ++n) {
    if (otherStationsPorts.contains(n)) continue;
    if (Status s = writeEntry(files, programDir, std::move(*lines), n, devicePath); !s.isOk())
      return s;
    return PortForDevice{n, PortEntry::kEntered};
  }
  return Status(Errc::kBusy, "every port number from 1 to 18 is another station's; " + devicePath +
                                 " was not entered in " + std::string(kComPortMapFileName));
}

Result<std::string> resolvePortName(FileSystem& files, const std::string& programDir,
                                    const std::string& port) {
  if (port.empty()) return Status::badArgument("no serial port given");
  if (int n = parsePortNumber(port); n != 0) return comPortDevice(files, programDir, n);
  if (port.find_first_not_of("0123456789") == std::string::npos) {
    return Status::badArgument("port number " + port + " is out of range (1 to 255)");
  }
  if (!isDevicePath(port)) {
    return Status::badArgument(
        "'" + port + "' is neither a port number (1 to 255) nor a device path (/dev/...)");
  }
  return port;
}

}  // namespace platform
