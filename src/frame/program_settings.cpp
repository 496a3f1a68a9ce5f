#include "frame/program_settings.h"

#include <algorithm>

#include "frame/messages.h"
#include "quantities/units.h"

namespace frame {

namespace {

using platform::Result;
using platform::Status;

constexpr std::uint16_t kLayoutVersionCurrent = 1;
constexpr int kMsgCannotOpen = 61865;
constexpr int kMsgOldVersion = 62029;
constexpr int kMsgReadError = 61016;
constexpr int kMsgSaveError = 61702;

// Placements zeroed when the screen changed, the frame's (116, with its maximised flag)
// among them; 156, 196 and 860 keep theirs.
constexpr std::size_t kScreenBoundPlacements[] = {16, 36, 56, 76, 96, 116, 136, 176, 216};

std::size_t viewPlacementOffset(std::size_t index) {
  return index < 5 ? progdata::kViewPlacements + index * progdata::kPlacementBytes
                   : progdata::kMoreViewPlacements + (index - 5) * progdata::kPlacementBytes;
}

Status withCode(Status s, platform::Errc kind, int code) { return Status(kind, s.message(), code); }

}  // namespace

ProgramSettings::ProgramSettings() {
  setUnitCodes(UnitCodes{});
  setU16(progdata::kLayoutVersion, kLayoutVersionCurrent);
  setU16(progdata::kMarker12, 1);
  setDownloadMinute(5);
  setLastDownloadHour(-1);
  stampMarkers();
}

Result<ProgramSettings> ProgramSettings::decode(std::span<const std::byte> bytes) {
  if (bytes.size() != kProgramSettingsBytes) {
    return Status::corrupt("program settings hold " + std::to_string(bytes.size()) +
                           " bytes, not 2048");
  }
  ProgramSettings s;
  std::copy(bytes.begin(), bytes.end(), s.bytes_.begin());
  return s;
}

std::uint16_t ProgramSettings::u16(std::size_t at) const {
  return static_cast<std::uint16_t>(u8(at) | (u8(at + 1) << 8));
}

void ProgramSettings::setU16(std::size_t at, std::uint16_t v) {
  setU8(at, static_cast<std::uint8_t>(v & 0xFF));
  setU8(at + 1, static_cast<std::uint8_t>(v >> 8));
}

std::int32_t ProgramSettings::i32(std::size_t at) const {
  const std::uint32_t v = static_cast<std::uint32_t>(u8(at)) |
                          (static_cast<std::uint32_t>(u8(at + 1)) << 8) |
                          (static_cast<std::uint32_t>(u8(at + 2)) << 16) |
                          (static_cast<std::uint32_t>(u8(at + 3)) << 24);
  return static_cast<std::int32_t>(v);
}

void ProgramSettings::setI32(std::size_t at, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (std::size_t k = 0; k < 4; ++k) setU8(at + k, static_cast<std::uint8_t>(v >> (8 * k)));
}

UnitCodes ProgramSettings::unitCodes() const {
  return UnitCodes{u8(progdata::kTemperatureUnit), u8(progdata::kBarometerUnit),
                   u8(progdata::kRainUnit), u8(progdata::kWindSpeedUnit),
                   u8(progdata::kElevationUnit)};
}

void ProgramSettings::setUnitCodes(const UnitCodes& units) {
  setU8(progdata::kTemperatureUnit, units.temperature);
  setU8(progdata::kBarometerUnit, units.barometer);
  setU8(progdata::kRainUnit, units.rain);
  setU8(progdata::kWindSpeedUnit, units.windSpeed);
  setU8(progdata::kElevationUnit, units.elevation);
}

WindowPlacement ProgramSettings::placementAt(std::size_t at) const {
  WindowPlacement p{};
  for (std::size_t k = 0; k < p.size(); ++k) p[k] = i32(at + 4 * k);
  return p;
}

void ProgramSettings::setPlacementAt(std::size_t at, const WindowPlacement& p) {
  for (std::size_t k = 0; k < p.size(); ++k) setI32(at + 4 * k, p[k]);
}

WindowPlacement ProgramSettings::viewPlacement(std::size_t index) const {
  if (index >= 10) return {};
  return placementAt(viewPlacementOffset(index));
}

void ProgramSettings::setViewPlacement(std::size_t index, const WindowPlacement& p) {
  if (index >= 10) return;
  setPlacementAt(viewPlacementOffset(index), p);
}

std::array<std::int32_t, 4> ProgramSettings::framePlacement() const {
  std::array<std::int32_t, 4> r{};
  for (std::size_t k = 0; k < r.size(); ++k) r[k] = i32(progdata::kFramePlacement + 4 * k);
  return r;
}

void ProgramSettings::setFramePlacement(const std::array<std::int32_t, 4>& rect) {
  for (std::size_t k = 0; k < rect.size(); ++k) setI32(progdata::kFramePlacement + 4 * k, rect[k]);
}

std::string ProgramSettings::pathAt(std::size_t at, std::size_t width) const {
  std::string path;
  for (std::size_t k = 0; k < width && bytes_[at + k] != std::byte{0}; ++k) {
    path += static_cast<char>(bytes_[at + k]);
  }
  return path;
}

void ProgramSettings::setPathAt(std::size_t at, std::size_t width, std::string_view path) {
  // A path cut short names another directory, so one that does not fit (one byte stays
  // for the terminating zero) is not kept at all.
  const bool fits = path.size() < width && path.find('\0') == std::string_view::npos;
  for (std::size_t k = 0; k < width; ++k) {
    bytes_[at + k] = fits && k < path.size() ? static_cast<std::byte>(path[k]) : std::byte{0};
  }
}

std::string ProgramSettings::programDirectory() const {
  return pathAt(progdata::kProgramDirectory, progdata::kProgramDirectoryBytes);
}

void ProgramSettings::setProgramDirectory(std::string_view dir) {
  setPathAt(progdata::kProgramDirectory, progdata::kProgramDirectoryBytes, dir);
}

std::string ProgramSettings::lastStationDirectory() const {
  return pathAt(progdata::kLastStation, progdata::kLastStationBytes);
}

void ProgramSettings::setLastStationDirectory(std::string_view dir) {
  setPathAt(progdata::kLastStation, progdata::kLastStationBytes, dir);
}

bool ProgramSettings::downloadInHour(int hour) const {
  if (hour < 0 || hour > 23) return false;
  return u8(progdata::kDownloadHours + static_cast<std::size_t>(hour)) != 0;
}

void ProgramSettings::setDownloadInHour(int hour, bool on) {
  if (hour < 0 || hour > 23) return;
  setU8(progdata::kDownloadHours + static_cast<std::size_t>(hour), on ? 1 : 0);
}

std::span<const std::byte> ProgramSettings::viewSettings() const {
  return std::span(bytes_).subspan(progdata::kViewSettings, progdata::kViewSettingsBytes);
}

void ProgramSettings::setViewSettings(std::span<const std::byte> bytes) {
  for (std::size_t k = 0; k < progdata::kViewSettingsBytes; ++k) {
    bytes_[progdata::kViewSettings + k] = k < bytes.size() ? bytes[k] : std::byte{0};
  }
}

void ProgramSettings::stampMarkers() {
  setU16(progdata::kMarker6, 5);
  setU16(progdata::kMarker8, 5);
  setU16(progdata::kMarker922, 9);
}

void ProgramSettings::prepareForRun() {
  if (u16(progdata::kMarker12) <= 1) setU16(progdata::kMarker12, 1);
  setLeapYearNoticeShown(false);
  stampMarkers();
}

void ProgramSettings::adjustForScreen(std::int32_t width, std::int32_t height) {
  if (width != screenWidth() || height != screenHeight()) {
    for (std::size_t at : kScreenBoundPlacements) setPlacementAt(at, WindowPlacement{});
  }
  setI32(progdata::kScreenWidth, width);
  setI32(progdata::kScreenHeight, height);
}

Status ProgramSettings::save(platform::FileSystem& files, const std::string& path) {
  stampMarkers();
  const auto* data = reinterpret_cast<const char*>(bytes_.data());
  return files.replaceFileAtomically(path, std::string_view(data, bytes_.size()));
}

Result<ProgramSettings> readProgramSettings(platform::FileSystem& files, const std::string& path) {
  auto opened = files.open(path, platform::OpenMode::kRead);
  if (!opened) {
    const platform::Errc kind = opened.status().kind() == platform::Errc::kNotFound
                                    ? platform::Errc::kNotFound
                                    : platform::Errc::kIo;
    return withCode(opened.status(), kind, -1);
  }
  auto size = (*opened)->size();
  if (!size) return withCode(size.status(), platform::Errc::kIo, -3);
  if (*size != kProgramSettingsBytes) {
    return Status(platform::Errc::kCorrupt,
                  path + ": " + std::to_string(*size) + " bytes, not 2048", -2);
  }
  std::array<std::byte, kProgramSettingsBytes> raw{};
  auto n = (*opened)->readAt(0, raw);
  if (!n) return withCode(n.status(), platform::Errc::kIo, -3);
  if (*n != raw.size()) return Status(platform::Errc::kIo, path + ": short read", -3);
  return ProgramSettings::decode(raw);
}

Result<ProgramSettings> loadProgramSettingsAtStart(platform::FileSystem& files,
                                                   const std::string& programDirectory,
                                                   Messages& messages) {
  const std::string path = platform::joinPath(programDirectory, kProgramSettingsFileName);
  auto read = readProgramSettings(files, path);
  int replaceMessage = 0;
  bool createNew = false;
  if (!read) {
    switch (read.status().code()) {
      case -1:
        // A first start in a new program directory simply has no settings yet; only a
        // file that is there but cannot be opened deserves the message.
        if (read.status().kind() == platform::Errc::kNotFound) {
          createNew = true;
        } else {
          replaceMessage = kMsgCannotOpen;
        }
        break;
      case -2:
        replaceMessage = kMsgOldVersion;
        break;
      default:
        messages.ShowError(kMsgReadError);
        return read.status();
    }
  } else if (read->layoutVersion() != kLayoutVersionCurrent) {
    replaceMessage = kMsgOldVersion;
  }

  ProgramSettings settings = read ? *read : ProgramSettings();
  if (replaceMessage != 0 || createNew) {
    if (replaceMessage != 0) messages.ShowError(replaceMessage);
    settings = ProgramSettings();
    if (!settings.save(files, path).isOk()) messages.ShowError(kMsgSaveError);
  }
  settings.prepareForRun();
  settings.setProgramDirectory(programDirectory);
  return settings;
}

void applyUnits(const ProgramSettings& settings, quantities::Units& units) {
  const UnitCodes u = settings.unitCodes();
  (void)units.SetTempUnit(u.temperature);
  (void)units.SetBarUnit(u.barometer);
  (void)units.SetRainUnit(u.rain);
  (void)units.SetWindSpeedUnit(u.windSpeed);
  (void)units.SetElevUnit(u.elevation);
  units.SaveUnits();
}

Status saveProgramSettingsAtExit(ProgramSettings& settings, platform::FileSystem& files,
                                 const std::string& programDirectory, Messages& messages) {
  settings.setLastDownloadHour(-1);
  Status s = settings.save(files, platform::joinPath(programDirectory, kProgramSettingsFileName));
  if (!s.isOk()) messages.ShowError(kMsgSaveError);
  return s;
}

Status followRenamedStation(platform::FileSystem& files, const std::string& programDirectory,
                            const std::string& from, const std::string& to) {
  const std::string path = platform::joinPath(programDirectory, kProgramSettingsFileName);
  if (!files.exists(path)) return Status::ok();
  auto settings = readProgramSettings(files, path);
  if (!settings) return settings.status();
  if (settings->lastStationDirectory() != from) return Status::ok();
  settings->setLastStationDirectory(to);
  return settings->save(files, path);
}

}  // namespace frame
