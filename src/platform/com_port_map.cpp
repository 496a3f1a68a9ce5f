#include "platform/com_port_map.h"

#include <charconv>

namespace platform {

int parsePortNumber(std::string_view port) {
  if (port.empty() || port.size() > 3) return 0;
  int n = 0;
  auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), n);
  if (ec != std::errc() || end != port.data() + port.size()) return 0;
  return (n >= kMinComPort && n <= kMaxComPort) ? n : 0;
}

std::map<int, std::string> parseComPortMap(std::string_view text) {
  std::map<int, std::string> map;
  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    int n = parsePortNumber(line.substr(0, tab));
    std::string_view path = line.substr(tab + 1);
    if (n == 0 || path.empty()) continue;
    map[n] = std::string(path);
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

namespace {

Result<std::map<int, std::string>> loadMap(FileSystem& files, const std::string& programDir) {
  const std::string path = joinPath(programDir, kComPortMapFileName);
  if (!files.exists(path)) return std::map<int, std::string>{};
  Result<std::string> text = files.readFile(path);
  if (!text) return text.status();
  return parseComPortMap(*text);
}

}  // namespace

Result<std::string> comPortDevice(FileSystem& files, const std::string& programDir, int number) {
  if (number < kMinComPort || number > kMaxComPort) {
    return Status::badArgument("port number " + std::to_string(number) + " is out of range");
  }
  Result<std::map<int, std::string>> map = loadMap(files, programDir);
  if (!map) return map.status();
  auto it = map->find(number);
  if (it != map->end()) return it->second;
  return "/dev/ttyS" + std::to_string(number - 1);
}

Status setComPortDevice(FileSystem& files, const std::string& programDir, int number,
                        const std::string& devicePath) {
  if (number < kMinComPort || number > kMaxComPort) {
    return Status::badArgument("port number " + std::to_string(number) + " is out of range");
  }
  if (devicePath.empty() || devicePath.find_first_of("\t\r\n") != std::string::npos) {
    return Status::badArgument("device path '" + devicePath + "' cannot be entered in the map");
  }
  Result<std::map<int, std::string>> map = loadMap(files, programDir);
  if (!map) return map.status();
  (*map)[number] = devicePath;
  return files.replaceFileAtomically(joinPath(programDir, kComPortMapFileName),
                                     formatComPortMap(*map));
}

Result<std::string> resolvePortName(FileSystem& files, const std::string& programDir,
                                    const std::string& port) {
  if (port.empty()) return Status::badArgument("no serial port given");
  if (int n = parsePortNumber(port); n != 0) return comPortDevice(files, programDir, n);
  if (port.find_first_not_of("0123456789") == std::string::npos) {
    return Status::badArgument("port number " + port + " is out of range (1 to 255)");
  }
  return port;
}

}  // namespace platform
