#include "station/station_state.h"

#include "station/station_file.h"
#include "station/station_tree.h"

namespace station {

std::vector<DataList> loadDataLists(platform::FileSystem& files, const std::string& stationDir,
                                    const StationConfig& config,
                                    const std::vector<DataSet>& dataSets) {
  auto text = files.readFile(platform::joinPath(stationDir, kDataListsFileName));
  if (text.isOk()) {
    ParsedDataLists parsed = parseDataListsFile(*text, dataSetSizes(dataSets));
    if (!parsed.lists.empty()) return std::move(parsed.lists);
  }
  // A station without lists would show empty browsers and write empty download files.
  return buildDefaultDataLists(config);
}

platform::Result<StationState> loadStation(platform::FileSystem& files,
                                           const std::string& stationDir,
                                           std::vector<DataSet> dataSets) {
  auto config = readStationRecord(files, stationDir);
  if (!config.isOk()) return config.status();
  // Without the sets every list item would look out of range and the lists would be lost
  // at the next save.
  if (dataSets.empty()) dataSets = stationDataSets();
  StationState state{std::move(*config), std::move(dataSets), {}, {0, 1, 2, 3, 4}};
  state.dataLists = loadDataLists(files, stationDir, state.config, state.dataSets);
  return state;
}

platform::Status saveStation(platform::FileSystem& files, const StationState& station) {
  const std::string dir = station.config.stationDir();
  if (dir.empty()) return platform::Status::ok();
  if (platform::Status s = writeStationRecord(files, station.config, dir); !s.isOk()) return s;
  if (platform::Status s = files.replaceFileAtomically(platform::joinPath(dir, kDataSetsFileName),
                                                       formatDataSetsFile(station.dataSets));
      !s.isOk()) {
    return s;
  }
  return files.replaceFileAtomically(platform::joinPath(dir, kDataListsFileName),
                                     formatDataListsFile(station.dataLists));
}

int SaveStation(platform::FileSystem& files, const StationState& station) {
  return saveStation(files, station).isOk() ? 1 : 0;
}

}  // namespace station
