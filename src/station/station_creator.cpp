#include "station/station_creator.h"

#include "station/legacy_conversion.h"
#include "station/message_text.h"
#include "station/station_file.h"
#include "station/station_list.h"
#include "station/station_state.h"
#include "station/station_text_ids.h"
#include "station/station_tree.h"

namespace station {

namespace {

// An existing STATION.CFG in a directory that a new station takes over.
platform::Status keepExistingRecord(platform::FileSystem& files, const std::string& dir) {
  const std::string path = stationFilePath(dir);
  if (!files.exists(path)) return platform::Status::ok();
  auto old = files.readFile(path);
  if (!old.isOk()) return old.status();
  if (platform::Status s = files.createDirectories(platform::joinPath(dir, kBackupDir)); !s.isOk())
    return s;
  return files.replaceFileAtomically(uniqueBackupPath(files, dir, kStationFileName), *old,
                                     /*privateMode=*/true);
}

}  // namespace

platform::Result<std::string> createStation(platform::FileSystem& files, const NewStation& request,
                                            std::vector<DataSet> dataSets,
                                            StationPrompts& prompts) {
  if (platform::Status s = checkStationName(request.name); !s.isOk()) {
    prompts.showError(s.message());
    return s;
  }
  auto dirName = stationDirectoryName(request.name);
  if (!dirName.isOk()) return dirName.status();
  const std::string dir = platform::joinPath(request.parentDir, *dirName);
  if (dir.size() > layout::kStationDir.maxLength) {
    const std::string why = dir + ": a station directory path may have at most 259 bytes";
    prompts.showError(why);
    return platform::Status::badArgument(why);
  }

  StationState station;
  if (!station.config.setModel(request.model)) {
    const std::string why = "unknown station model " + std::to_string(request.model);
    prompts.showError(why);
    return platform::Status::badArgument(why);
  }
  station.config.setStationName(request.name);
  station.config.setStationDir(dir);
  station.dataSets = std::move(dataSets);
  station.dataLists = buildDefaultDataLists(station.config);

  if (files.exists(dir)) {
    const std::string question =
        messageText(text::kDirectoryExists, {dir}) + "\n" + messageText(text::kUseDirectoryAnyway);
    if (!prompts.ask(messageText(text::kWarningTitle), question)) {
      return platform::Status::cancelled(dir + ": exists, not used");
    }
    if (platform::Status s = keepExistingRecord(files, dir); !s.isOk()) {
      prompts.showError(messageText(text::kSaveError));
      return s;
    }
  } else if (platform::Status s = files.createDirectories(dir); !s.isOk()) {
    prompts.showError(messageText(text::kCreateDirectoryError, {std::to_string(s.code())}));
    return s;
  }
  if (platform::Status s = createNewStationTree(files, dir); !s.isOk()) {
    prompts.showError(messageText(text::kCreateDirectoryError, {std::to_string(s.code())}));
    return s;
  }
  if (platform::Status s = saveStation(files, station); !s.isOk()) {
    prompts.showError(messageText(text::kSaveError));
    return s;
  }
  return dir;
}

}  // namespace station
