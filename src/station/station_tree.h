#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"

namespace station {

// Names inside a station directory. Linux names are case sensitive, so every part of the
// program creates and looks up these exact spellings.
inline constexpr std::string_view kStationFileName = "STATION.CFG";
inline constexpr std::string_view kDataSetsFileName = "DataSets.dat";
inline constexpr std::string_view kDataListsFileName = "DataLists.dat";
inline constexpr std::string_view kPlotsDir = "Plots";
inline constexpr std::string_view kDataNoteDir = "DataNote";
inline constexpr std::string_view kDegDaysDir = "DegDays";
inline constexpr std::string_view kTemplatesDir = "Templates";
inline constexpr std::string_view kImagesDir = "Images";
inline constexpr std::string_view kFuelDir = "Fuel";
inline constexpr std::string_view kBackupDir = "Backup";

// "Images/Profile<n>", the image directory of upload profile n (1-8).
std::string profileImagesDir(int profile);

// The path of STATION.CFG in `stationDir`.
std::string stationFilePath(std::string_view stationDir);

// Creates the subdirectories every open needs (Plots, DataNote, DegDays, Templates, Images
// and Images/Profile1-8) where they are missing. Existing ones and their files are kept.
platform::Status ensureOpenTree(platform::FileSystem& files, const std::string& stationDir);

// Creates the subdirectories of a new station (Plots, DegDays, DataNote, Templates, Images,
// Images/Profile1-3 and Fuel) where they are missing.
platform::Status createNewStationTree(platform::FileSystem& files, const std::string& stationDir);

}  // namespace station
