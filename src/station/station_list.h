#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"

namespace station {

// One station found on disk: the name stored in its STATION.CFG and its directory.
struct StationEntry {
  std::string name;
  std::string directory;  // full path of the station directory
  bool operator==(const StationEntry&) const = default;
};

// The text a station list shows and keeps per entry: the name, four tabs, the path.
std::string entryText(const StationEntry& entry);
// The path part of an entry text: everything after the first run of four tabs.
// Empty when the text has no such run.
std::string entryPath(std::string_view text);

// The directory name of a new station: the first 8 ASCII letters or digits of the name,
// in order, every other character skipped ("Casa 2 - Jardín" gives "Casa2Jar").
// kBadArgument when the name holds no letter or digit.
platform::Result<std::string> stationDirectoryName(std::string_view stationName);

// The most characters a station name may have: the setup dialog's limit, below the
// record's 63 bytes.
inline constexpr std::size_t kMaxStationNameCharacters = 40;

// The one check of a station name, for a new station and for a change of name alike; a
// name that fails it is refused, never cut. kBadArgument with the text to show: an empty
// name ("Introduzca un nombre para su estación."), more than 40 characters or more bytes
// than the record holds, a line break or tab (which would split the station lists), or no
// letter or digit to name its directory ("Nombre de estación '%s' no válido.").
platform::Status checkStationName(std::string_view name);

// Reads the station name stored in a directory's STATION.CFG; nullopt when the directory
// holds no readable station configuration. Supplied by the station configuration code.
using StationNameReader = std::function<std::optional<std::string>(const std::string& dir)>;

// Every subdirectory of `parent` whose configuration yields a name, sorted by directory.
platform::Result<std::vector<StationEntry>> listStations(platform::FileSystem& files,
                                                         const std::string& parent,
                                                         const StationNameReader& readName);

// The subdirectories a station creates; deleting a station removes these by name.
inline constexpr std::string_view kStationSubdirectories[] = {
    "Plots", "DegDays", "DataNote", "Templates", "Images", "Fuel", "Backup"};

// Removes a station directory from disk: first the subdirectories the program created
// (with everything in them), then the files of the directory, then the directory. A
// directory the program did not create is never removed: the station directory is then
// left in place and kBusy names it. `failedPath` receives the path that stopped the
// deletion.
platform::Status deleteStationDirectory(platform::FileSystem& files, const std::string& dir,
                                        std::string* failedPath = nullptr);

}  // namespace station
