#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"

namespace quantities {
class Units;
}

namespace frame {

class Messages;

inline constexpr std::size_t kProgramSettingsBytes = 2048;
inline constexpr std::string_view kProgramSettingsFileName = "progdata.dat";

// Offsets of the fields of progdata.dat. Every other byte is kept exactly as read.
namespace progdata {
inline constexpr std::size_t kTemperatureUnit = 0;
inline constexpr std::size_t kBarometerUnit = 1;
inline constexpr std::size_t kRainUnit = 2;
inline constexpr std::size_t kWindSpeedUnit = 3;
inline constexpr std::size_t kElevationUnit = 4;
inline constexpr std::size_t kZeroByte = 5;
inline constexpr std::size_t kMarker6 = 6;  // 16-bit, 5 at every start and save
inline constexpr std::size_t kMarker8 = 8;  // 16-bit, 5 at every start and save
inline constexpr std::size_t kLayoutVersion = 10;
inline constexpr std::size_t kMarker12 = 12;             // 16-bit, 1
inline constexpr std::size_t kViewPlacements = 16;       // 5 placements, 20 bytes apart
inline constexpr std::size_t kFramePlacement = 116;      // x, y, width, height
inline constexpr std::size_t kFrameMaximised = 132;      // 32-bit flag
inline constexpr std::size_t kMoreViewPlacements = 136;  // 5 placements, 20 bytes apart
inline constexpr std::size_t kScreenWidth = 236;
inline constexpr std::size_t kScreenHeight = 240;
inline constexpr std::size_t kProgramDirectory = 244;
inline constexpr std::size_t kProgramDirectoryBytes = 260;
inline constexpr std::size_t kLastStation = 504;
inline constexpr std::size_t kLastStationBytes = 260;
inline constexpr std::size_t kDownloadHours = 766;   // 24 flags
inline constexpr std::size_t kDownloadMinute = 790;  // signed byte
inline constexpr std::size_t kAutoDownloadEnabled = 791;
inline constexpr std::size_t kLastDownloadHour = 792;  // signed 16-bit, -1 none
inline constexpr std::size_t kViewSettings = 796;
inline constexpr std::size_t kViewSettingsBytes = 64;
inline constexpr std::size_t kExtraPlacement = 860;
inline constexpr std::size_t kLeapYearNoticeShown = 920;
inline constexpr std::size_t kMarker922 = 922;  // 16-bit, 9 at every start and save
inline constexpr std::size_t kPlacementBytes = 20;

static_assert(kViewPlacements + 5 * kPlacementBytes == kFramePlacement);
static_assert(kFramePlacement + 4 * 4 == kFrameMaximised);
static_assert(kMoreViewPlacements + 5 * kPlacementBytes == kScreenWidth);
static_assert(kProgramDirectory + kProgramDirectoryBytes == kLastStation);
static_assert(kLastStation + kLastStationBytes <= kDownloadHours);
static_assert(kDownloadHours + 24 == kDownloadMinute);
static_assert(kViewSettings + kViewSettingsBytes == kExtraPlacement);
static_assert(kExtraPlacement + kPlacementBytes <= kLeapYearNoticeShown);
static_assert(kMarker922 + 2 <= kProgramSettingsBytes);
}  // namespace progdata

// A saved window placement: five 32-bit integers whose meaning belongs to the views.
using WindowPlacement = std::array<std::int32_t, 5>;

// The five unit codes of the settings, in the order the unit layer takes them.
struct UnitCodes {
  std::uint8_t temperature = 0;
  std::uint8_t barometer = 0;
  std::uint8_t rain = 0;
  std::uint8_t windSpeed = 0;
  std::uint8_t elevation = 1;
};

// The program-wide settings record, progdata.dat: exactly 2048 bytes, little-endian, read
// and written whole. Bytes this program does not know are kept as read.
class ProgramSettings {
 public:
  // All zero bytes, then the defaults.
  ProgramSettings();

  // kCorrupt when `bytes` is not exactly 2048 bytes long. The version is not checked here.
  static platform::Result<ProgramSettings> decode(std::span<const std::byte> bytes);
  const std::array<std::byte, kProgramSettingsBytes>& bytes() const { return bytes_; }

  UnitCodes unitCodes() const;
  void setUnitCodes(const UnitCodes& units);

  std::uint16_t layoutVersion() const { return u16(progdata::kLayoutVersion); }

  // Placements 0-4 of the view windows at 16, 5-9 of the further ones at 136.
  // REQUIRES: index < 10
  WindowPlacement viewPlacement(std::size_t index) const;
  void setViewPlacement(std::size_t index, const WindowPlacement& p);
  WindowPlacement extraPlacement() const { return placementAt(progdata::kExtraPlacement); }
  void setExtraPlacement(const WindowPlacement& p) { setPlacementAt(progdata::kExtraPlacement, p); }
  // x, y, width, height of the frame window.
  std::array<std::int32_t, 4> framePlacement() const;
  void setFramePlacement(const std::array<std::int32_t, 4>& rect);
  bool frameMaximised() const { return i32(progdata::kFrameMaximised) != 0; }
  void setFrameMaximised(bool on) { setI32(progdata::kFrameMaximised, on ? 1 : 0); }
  std::int32_t screenWidth() const { return i32(progdata::kScreenWidth); }
  std::int32_t screenHeight() const { return i32(progdata::kScreenHeight); }

  // The two directories are paths: their bytes are stored and read back exactly, never
  // decoded (a folder named in Latin-1 stays that folder). Each field keeps at most 259
  // bytes before its zero; a longer path is not stored (the field is left empty), since
  // any shorter one would name another directory.
  std::string programDirectory() const;
  void setProgramDirectory(std::string_view dir);
  std::string lastStationDirectory() const;
  void setLastStationDirectory(std::string_view dir);

  // Automatic download: one flag per hour, the minute past the hour, enabled, and the hour
  // of the last automatic download (-1 for none).
  bool downloadInHour(int hour) const;  // false for an hour outside 0-23
  void setDownloadInHour(int hour, bool on);
  std::int8_t downloadMinute() const {
    return static_cast<std::int8_t>(u8(progdata::kDownloadMinute));
  }
  void setDownloadMinute(std::int8_t minute) {
    setU8(progdata::kDownloadMinute, static_cast<std::uint8_t>(minute));
  }
  bool autoDownloadEnabled() const { return u8(progdata::kAutoDownloadEnabled) != 0; }
  void setAutoDownloadEnabled(bool on) { setU8(progdata::kAutoDownloadEnabled, on ? 1 : 0); }
  std::int16_t lastDownloadHour() const {
    return static_cast<std::int16_t>(u16(progdata::kLastDownloadHour));
  }
  void setLastDownloadHour(std::int16_t hour) {
    setU16(progdata::kLastDownloadHour, static_cast<std::uint16_t>(hour));
  }

  // The plot and strip-chart view settings, kept for the views.
  std::span<const std::byte> viewSettings() const;
  void setViewSettings(std::span<const std::byte> bytes);  // at most 64 bytes; the rest zero

  bool leapYearNoticeShown() const { return u8(progdata::kLeapYearNoticeShown) != 0; }
  void setLeapYearNoticeShown(bool on) { setU8(progdata::kLeapYearNoticeShown, on ? 1 : 0); }

  // What every start does to a record just read: the field at 12 becomes 1 when it holds 0
  // or 1, the leap-year notice is cleared, and the fields at 6, 8 and 922 take 5, 5, 9.
  void prepareForRun();
  // When the screen differs from the one the placements were saved on, zeroes the
  // placements at 16-96, the frame's at 116, and those at 136, 176 and 216 (those at 156,
  // 196 and 860 stay), then stores the current size.
  void adjustForScreen(std::int32_t width, std::int32_t height);

  // Writes the record whole through replaceFileAtomically, so an interrupted save leaves
  // the old file whole; the fields at 6, 8 and 922 take 5, 5, 9 first.
  platform::Status save(platform::FileSystem& files, const std::string& path);

 private:
  std::uint8_t u8(std::size_t at) const { return static_cast<std::uint8_t>(bytes_[at]); }
  void setU8(std::size_t at, std::uint8_t v) { bytes_[at] = std::byte{v}; }
  std::uint16_t u16(std::size_t at) const;
  void setU16(std::size_t at, std::uint16_t v);
  std::int32_t i32(std::size_t at) const;
  void setI32(std::size_t at, std::int32_t v);
  WindowPlacement placementAt(std::size_t at) const;
  void setPlacementAt(std::size_t at, const WindowPlacement& p);
  std::string pathAt(std::size_t at, std::size_t width) const;
  void setPathAt(std::size_t at, std::size_t width, std::string_view path);
  void stampMarkers();

  std::array<std::byte, kProgramSettingsBytes> bytes_{};
};

// Reads progdata.dat whole. Failures carry the reader's codes: -1 the file cannot be
// opened (kNotFound when missing), -2 its size is not 2048 bytes (kCorrupt), -3 another
// read error (kIo).
platform::Result<ProgramSettings> readProgramSettings(platform::FileSystem& files,
                                                      const std::string& path);

// Start-up: reads `programDirectory`/progdata.dat and settles what the run will use.
//   missing (a first start): defaults, file written, no message;
//   there but cannot be opened: message 61865, defaults, file written;
//   wrong size, or layout version not 1: message 62029, defaults, file written;
//   any other read error: message 61016 and a kIo failure: the program must end.
// Then prepareForRun() and the program directory stored at 244. A failed write of the
// defaults shows 61702 and the run goes on with the defaults in memory.
platform::Result<ProgramSettings> loadProgramSettingsAtStart(platform::FileSystem& files,
                                                             const std::string& programDirectory,
                                                             Messages& messages);

// At start-up: the unit codes at 0 to 4 go to the unit layer through its setters
// (a code outside a unit's range leaves that unit as it was), and become the saved units
// that RestoreUnits returns to.
void applyUnits(const ProgramSettings& settings, quantities::Units& units);

// A station's directory was renamed: progdata.dat in `programDirectory`, when it exists and
// names `from` as the last station, names `to` instead.
platform::Status followRenamedStation(platform::FileSystem& files,
                                      const std::string& programDirectory, const std::string& from,
                                      const std::string& to);

// Shutdown: the hour of the last automatic download becomes -1 and the record is saved;
// message 61702 on failure.
platform::Status saveProgramSettingsAtExit(ProgramSettings& settings, platform::FileSystem& files,
                                           const std::string& programDirectory, Messages& messages);

}  // namespace frame
