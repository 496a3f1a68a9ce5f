#include "station/station_file.h"

#include <array>
#include <memory>
#include <vector>

#include "station/revision_upgrade.h"
#include "station/station_tree.h"

namespace station {

namespace {

platform::Status readFailed(const std::string& what) {
  return {platform::Errc::kCorrupt, what, kStationReadFailed};
}

// Reads exactly `into.size()` bytes from the start of the file; a short read is an error.
platform::Status readWhole(platform::File& file, std::span<std::byte> into,
                           const std::string& path) {
  std::size_t done = 0;
  while (done < into.size()) {
    auto n = file.readAt(done, into.subspan(done));
    if (!n.isOk())
      return {platform::Errc::kIo, path + ": " + n.status().message(), kStationReadFailed};
    if (*n == 0) return {platform::Errc::kIo, path + ": file ended early", kStationReadFailed};
    done += *n;
  }
  return platform::Status::ok();
}

}  // namespace

platform::Result<std::uint64_t> stationFileSize(platform::FileSystem& files,
                                                const std::string& stationDir) {
  const std::string path = stationFilePath(stationDir);
  auto file = files.open(path, platform::OpenMode::kRead);
  if (!file.isOk()) return file.status();
  return (*file)->size();
}

platform::Result<StationConfig> readStationRecord(platform::FileSystem& files,
                                                  const std::string& stationDir) {
  const std::string path = stationFilePath(stationDir);
  if (stationDir.size() > layout::kStationDir.maxLength) {
    return platform::Status(platform::Errc::kBadArgument,
                            stationDir + ": a station directory path may have at most 259 bytes",
                            kStationReadFailed);
  }
  auto file = files.open(path, platform::OpenMode::kRead);
  if (!file.isOk()) {
    return platform::Status(file.status().kind(), file.status().message(), kStationReadFailed);
  }
  auto size = (*file)->size();
  if (!size.isOk())
    return platform::Status(platform::Errc::kIo, size.status().message(), kStationReadFailed);
  if (*size != StationConfig::kSize) {
    return platform::Status(
        platform::Errc::kCorrupt,
        path + ": " + std::to_string(*size) + " bytes, a station record has 4096",
        kStationWrongSize);
  }
  std::array<std::byte, StationConfig::kSize> raw{};
  if (platform::Status s = readWhole(**file, raw, path); !s.isOk()) return s;

  StationConfig config = StationConfig::fromBytes(raw);
  // The directory the record was read from is the truth; the stored one may be a copy's.
  config.setStationDir(stationDir);
  if (config.formatId() != kStationFormatId) {
    return readFailed(path + ": format " + std::to_string(config.formatId()) +
                      " is not a station record");
  }
  if (platform::Status s = upgradeRevision(config); !s.isOk())
    return readFailed(path + ": " + s.message());
  config.setLinkBusy(0);
  config.fill(layout::kRunTimeArea.offset, layout::kRunTimeArea.size, std::byte{0});
  return config;
}

platform::Status writeStationRecord(platform::FileSystem& files, const StationConfig& config,
                                    const std::string& stationDir) {
  const StationConfig::Bytes bytes = config.encodeForDisk();
  // The record holds upload passwords, so only its owner may read it.
  return files.replaceFileAtomically(
      stationFilePath(stationDir),
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
      /*privateMode=*/true);
}

std::optional<std::string> readStationName(platform::FileSystem& files,
                                           const std::string& stationDir) {
  const std::string path = stationFilePath(stationDir);
  auto file = files.open(path, platform::OpenMode::kRead);
  if (!file.isOk()) return std::nullopt;
  auto size = (*file)->size();
  if (!size.isOk()) return std::nullopt;

  std::size_t offset = 0;
  std::size_t room = layout::kStationName.maxLength;
  switch (*size) {
    case StationConfig::kSize:
      offset = layout::kStationName.offset;
      break;
    case kLegacy50FileSize:
      // The old name field ends where the phone number begins.
      offset = 12;
      room = 41;
      break;
    case kLegacy4xFileSize:
      offset = 12;
      break;
    case kLegacy3xFileSize:
      offset = 121;
      break;
    default:
      return std::nullopt;
  }
  std::vector<std::byte> raw(static_cast<std::size_t>(*size));
  if (!readWhole(**file, raw, path).isOk()) return std::nullopt;
  if (*size == StationConfig::kSize && loadLe<std::uint16_t>(raw, 0) != kStationFormatId)
    return std::nullopt;
  return loadText(raw, offset, room);
}

bool isStationDirectory(platform::FileSystem& files, const std::string& stationDir) {
  auto size = stationFileSize(files, stationDir);
  if (!size.isOk()) return false;
  return *size == StationConfig::kSize || *size == kLegacy50FileSize ||
         *size == kLegacy4xFileSize || *size == kLegacy3xFileSize;
}

}  // namespace station
