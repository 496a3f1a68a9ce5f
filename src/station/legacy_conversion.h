#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "platform/file_system.h"
#include "platform/status.h"
#include "station/station_config.h"

namespace station {

// The old station name field of a 2088-byte file: offset 12, up to the phone number at 53.
inline constexpr std::size_t kLegacy50NameOffset = 12;
inline constexpr std::size_t kLegacy50NameRoom = 41;

// A new record holding every setting a 2088-byte STATION.CFG (versions 5.0 and 5.1) holds.
// Texts are taken up to their new width and terminated; text that is not UTF-8 is read as
// Windows-1252. The model becomes Cirrant Pro with its sensors. kCorrupt when `old` is
// not 2088 bytes long.
platform::Result<StationConfig> convertLegacy50Record(std::span<const std::byte> old);

// Where the conversion keeps the old files: `stationDir`/Backup/<name>, or, when a file of
// that name is there already, the first free "<name>.1", "<name>.2", ... so that an
// earlier backup is never replaced.
std::string uniqueBackupPath(platform::FileSystem& files, const std::string& stationDir,
                             std::string_view name);

// Converts `stationDir`/STATION.CFG of 2088 bytes in place: the old file is first copied
// into Backup (synced), then the new record replaces it atomically, so at every instant
// the directory holds a whole STATION.CFG, old or new. Returns the new record.
platform::Result<StationConfig> convertLegacy50StationFile(platform::FileSystem& files,
                                                           const std::string& stationDir);

}  // namespace station
