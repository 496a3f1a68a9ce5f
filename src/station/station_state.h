#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"
#include "station/data_lists.h"
#include "station/data_sets.h"
#include "station/station_config.h"

namespace station {

// A station as the program holds it while it is open: its record, its data sets (always
// the catalogue's), its data lists and the lists selected for the views.
struct StationState {
  StationConfig config;
  std::vector<DataSet> dataSets;
  std::vector<DataList> dataLists;
  std::array<std::uint16_t, 5> selectedSets{0, 1, 2, 3, 4};

  std::string directory() const { return config.stationDir(); }
};

// Reads a station directory's record and lists without opening anything else (the
// scheduler's other stations, the command line). `dataSets` are the catalogue's sets
// (stationDataSets() when empty).
// "DataLists.dat" that is missing or holds no list is replaced by the default lists of the
// station's sensors. Failures carry the codes of readStationRecord.
platform::Result<StationState> loadStation(platform::FileSystem& files,
                                           const std::string& stationDir,
                                           std::vector<DataSet> dataSets);

// The lists of a station directory: the file's lists, or the defaults when there is none.
std::vector<DataList> loadDataLists(platform::FileSystem& files, const std::string& stationDir,
                                    const StationConfig& config,
                                    const std::vector<DataSet>& dataSets);

// Writes STATION.CFG, "DataSets.dat" and "DataLists.dat" to the station's directory, each
// replaced atomically. An empty directory (no station open) is success without writing.
// The first failure is returned; the record in memory is never changed by a save.
platform::Status saveStation(platform::FileSystem& files, const StationState& station);

// The exported form: 1 on success, 0 on failure.
int SaveStation(platform::FileSystem& files, const StationState& station);

}  // namespace station
