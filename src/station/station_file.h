#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/status.h"
#include "station/station_config.h"

namespace station {

// Sizes of STATION.CFG: the current record, and the files of earlier versions (5.0/5.1,
// then 3.x/4.x).
inline constexpr std::uint64_t kLegacy50FileSize = 2088;
inline constexpr std::uint64_t kLegacy4xFileSize = 2052;
inline constexpr std::uint64_t kLegacy3xFileSize = 348;

// Numeric results of the station reader, carried in Status::code().
inline constexpr int kStationReadFailed = -1;
inline constexpr int kStationWrongSize = -2;

// The size of `stationDir`/STATION.CFG; kNotFound when there is none.
platform::Result<std::uint64_t> stationFileSize(platform::FileSystem& files,
                                                const std::string& stationDir);

// Reads the 4096-byte record of `stationDir` into a new object: the stored directory is
// replaced by `stationDir`, a record of an earlier revision is upgraded, `linkBusy` and the
// run-time area are cleared. Nothing is returned unless the whole read succeeded, so a
// failure can never leave a half-read record in anyone's hands. Failures carry
// kStationReadFailed (cannot open, cannot read, format or revision refused) or
// kStationWrongSize in their code.
platform::Result<StationConfig> readStationRecord(platform::FileSystem& files,
                                                  const std::string& stationDir);

// Writes the record to `stationDir`/STATION.CFG, replacing the file atomically: an
// interrupted save leaves the previous file whole. The run-time area is written as zeros.
platform::Status writeStationRecord(platform::FileSystem& files, const StationConfig& config,
                                    const std::string& stationDir);

// The station name stored in a directory's STATION.CFG, whatever its version: offset 179
// of a 4096-byte record whose formatId is 4, offset 12 of a 2088- or 2052-byte file,
// offset 121 of a 348-byte file. nullopt for a missing file, another size or format.
std::optional<std::string> readStationName(platform::FileSystem& files,
                                           const std::string& stationDir);

// True when `stationDir` holds a STATION.CFG of one of the four known sizes.
bool isStationDirectory(platform::FileSystem& files, const std::string& stationDir);

}  // namespace station
