#include "station/station_tree.h"

#include <vector>

namespace station {

namespace {

platform::Status createAll(platform::FileSystem& files, const std::string& stationDir,
                           const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    const std::string path = platform::joinPath(stationDir, name);
    if (files.isDirectory(path)) continue;
    if (platform::Status s = files.createDirectories(path); !s.isOk()) return s;
  }
  return platform::Status::ok();
}

std::vector<std::string> baseDirs() {
  return {std::string(kPlotsDir), std::string(kDataNoteDir), std::string(kDegDaysDir),
          std::string(kTemplatesDir), std::string(kImagesDir)};
}

}  // namespace

std::string profileImagesDir(int profile) {
  return platform::joinPath(kImagesDir, "Profile" + std::to_string(profile));
}

std::string stationFilePath(std::string_view stationDir) {
  return platform::joinPath(stationDir, kStationFileName);
}

platform::Status ensureOpenTree(platform::FileSystem& files, const std::string& stationDir) {
  std::vector<std::string> names = baseDirs();
  for (int p = 1; p <= 8; ++p) names.push_back(profileImagesDir(p));
  return createAll(files, stationDir, names);
}

platform::Status createNewStationTree(platform::FileSystem& files, const std::string& stationDir) {
  std::vector<std::string> names = baseDirs();
  for (int p = 1; p <= 3; ++p) names.push_back(profileImagesDir(p));
  names.emplace_back(kFuelDir);
  return createAll(files, stationDir, names);
}

}  // namespace station
