#include "frame/station_argument.h"

#include <vector>

#include "database/month_names.h"
#include "frame/command_line_switches.h"
#include "frame/program_settings.h"
#include "platform/string_table.h"
#include "station/station_file.h"
#include "station/station_list.h"
#include "station/text_encoding.h"

namespace frame {

namespace {

constexpr int kMsgStationUnknown = 64340;    // "No hay ninguna estación '%s'."
constexpr int kMsgStationAmbiguous = 64341;  // "Hay varias estaciones llamadas '%s'."
constexpr int kMsgStationMissing = 64342;    // "Indique la estación con --station."
constexpr int kMsgStationsAre = 64343;       // "Estaciones:"
constexpr int kMsgNoStations = 64344;        // "No hay estaciones en %s."

std::vector<station::StationEntry> stationsBelow(platform::FileSystem& files,
                                                 const std::string& programDir) {
  auto found = station::listStations(files, programDir, [&files](const std::string& dir) {
    return station::readStationName(files, dir);
  });
  return found ? *found : std::vector<station::StationEntry>{};
}

std::string fill(int id, const std::string& arg) {
  std::string text = platform::loadString(id);
  if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, arg);
  return text;
}

// The refusal with the list of the stations a person may name instead.
platform::Status refusal(platform::Errc kind, const std::string& first,
                         const std::vector<station::StationEntry>& stations,
                         const std::string& programDir) {
  std::string text = first;
  if (stations.empty()) {
    text += " " + fill(kMsgNoStations, station::toValidUtf8(programDir));
  } else {
    text += " " + platform::loadString(kMsgStationsAre);
    for (const station::StationEntry& e : stations) {
      text += "\n  " + e.name + "  (" + station::toValidUtf8(e.directory) + ")";
    }
  }
  return platform::Status(kind, text);
}

bool holdsMonthFiles(platform::FileSystem& files, const std::string& dir) {
  auto listing = database::listMonthFiles(files, dir);
  return listing && !listing->months.empty();
}

}  // namespace

platform::Result<std::string> resolveStationArgument(platform::FileSystem& files,
                                                     const std::string& programDir,
                                                     const std::string& given,
                                                     bool monthFilesSuffice) {
  if (!given.empty()) {
    const std::string path = resolveStationName(given, programDir);
    if (station::isStationDirectory(files, path)) return path;
    if (monthFilesSuffice && holdsMonthFiles(files, path)) return path;
  }
  const std::vector<station::StationEntry> stations = stationsBelow(files, programDir);
  if (given.empty()) {
    if (stations.size() == 1) return stations.front().directory;
    const std::string settings = platform::joinPath(programDir, kProgramSettingsFileName);
    if (files.exists(settings)) {
      if (auto read = readProgramSettings(files, settings)) {
        const std::string last = read->lastStationDirectory();
        if (!last.empty() && station::isStationDirectory(files, last)) return last;
      }
    }
    return refusal(platform::Errc::kBadArgument, platform::loadString(kMsgStationMissing), stations,
                   programDir);
  }
  std::vector<std::string> named;
  for (const station::StationEntry& e : stations) {
    if (e.name == given) named.push_back(e.directory);
  }
  if (named.size() == 1) return named.front();
  if (named.size() > 1) {
    return refusal(platform::Errc::kBadArgument, fill(kMsgStationAmbiguous, given), stations,
                   programDir);
  }
  return refusal(platform::Errc::kNotFound, fill(kMsgStationUnknown, station::toValidUtf8(given)),
                 stations, programDir);
}

}  // namespace frame
