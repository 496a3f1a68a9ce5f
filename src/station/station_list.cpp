#include "station/station_list.h"

#include <algorithm>

#include "quantities/text_format.h"
#include "station/message_text.h"
#include "station/station_config_layout.h"
#include "station/station_text_ids.h"

namespace station {

namespace {

constexpr std::string_view kEntrySeparator = "\t\t\t\t";
constexpr std::size_t kDirectoryNameLetters = 8;

bool isAsciiLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

std::string entryText(const StationEntry& entry) {
  std::string text = entry.name;
  text += kEntrySeparator;
  text += entry.directory;
  return text;
}

std::string entryPath(std::string_view text) {
  std::size_t at = text.find(kEntrySeparator);
  if (at == std::string_view::npos) return {};
  at += kEntrySeparator.size();
  // A name never holds tabs, but a longer run than four must not leak into the path.
  while (at < text.size() && text[at] == '\t') ++at;
  return std::string(text.substr(at));
}

platform::Result<std::string> stationDirectoryName(std::string_view stationName) {
  std::string dir;
  for (char c : stationName) {
    if (dir.size() == kDirectoryNameLetters) break;
    // Only ASCII letters and digits: the bytes of a multi-byte UTF-8 letter would cut a
    // character in half and give a directory name that is not valid text.
    if (isAsciiLetterOrDigit(c)) dir.push_back(c);
  }
  if (dir.empty()) {
    constexpr int kMsgNoLetterOrDigit = 65394;
    return platform::Status::badArgument(messageText(kMsgNoLetterOrDigit, {stationName}));
  }
  return dir;
}

platform::Status checkStationName(std::string_view name) {
  if (name.empty()) return platform::Status::badArgument(messageText(text::kEnterName));
  if (quantities::characterCount(name) > kMaxStationNameCharacters)
    return platform::Status::badArgument(messageText(text::kStationNameTooLong));
  if (name.size() > layout::kStationName.maxLength)
    return platform::Status::badArgument(messageText(text::kStationNameTooManyBytes));
  const bool control = std::any_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  if (control || !stationDirectoryName(name).isOk())
    return platform::Status::badArgument(messageText(text::kInvalidStationName, {name}));
  return platform::Status::ok();
}

platform::Result<std::vector<StationEntry>> listStations(platform::FileSystem& files,
                                                         const std::string& parent,
                                                         const StationNameReader& readName) {
  auto listing = files.listDirectory(parent);
  if (!listing) return listing.status();
  std::vector<StationEntry> stations;
  for (const platform::DirEntry& e : *listing) {
    if (!e.isDirectory || e.name == "." || e.name == "..") continue;
    std::string dir = platform::joinPath(parent, e.name);
    std::optional<std::string> name = readName(dir);
    if (!name || name->empty()) continue;
    stations.push_back({*name, dir});
  }
  std::sort(stations.begin(), stations.end(),
            [](const StationEntry& a, const StationEntry& b) { return a.directory < b.directory; });
  return stations;
}

platform::Status deleteStationDirectory(platform::FileSystem& files, const std::string& dir,
                                        std::string* failedPath) {
  auto fail = [&](const std::string& path, platform::Status s) {
    if (failedPath) *failedPath = path;
    return s;
  };
  for (std::string_view sub : kStationSubdirectories) {
    std::string path = platform::joinPath(dir, sub);
    if (!files.isDirectory(path)) continue;
    if (platform::Status s = files.removeAll(path); !s.isOk()) return fail(path, s);
  }
  auto listing = files.listDirectory(dir);
  if (!listing) return fail(dir, listing.status());
  bool foreignDirectory = false;
  for (const platform::DirEntry& e : *listing) {
    if (e.isDirectory) {
      foreignDirectory = true;
      continue;
    }
    std::string path = platform::joinPath(dir, e.name);
    if (platform::Status s = files.removeFile(path); !s.isOk()) return fail(path, s);
  }
  // A directory the user put there is not ours to delete; keep it and say so.
  if (foreignDirectory) {
    return fail(dir, platform::Status::busy("station directory '" + dir +
                                            "' still holds directories of its own"));
  }
  if (platform::Status s = files.removeAll(dir); !s.isOk()) return fail(dir, s);
  return platform::Status::ok();
}

}  // namespace station
