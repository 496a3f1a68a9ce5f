#include "station/legacy_conversion.h"

#include <string_view>

#include "station/station_file.h"
#include "station/station_tree.h"

namespace station {

namespace {

using namespace layout;

// Reads the old file; every offset below lies inside its 2088 bytes.
class OldRecord {
 public:
  explicit OldRecord(std::span<const std::byte> bytes) : bytes_(bytes) {}
  std::uint8_t u8(std::size_t at) const { return loadLe<std::uint8_t>(bytes_, at); }
  std::uint8_t flag(std::size_t at) const { return u8(at) != 0 ? 1 : 0; }
  std::uint16_t u16(std::size_t at) const { return loadLe<std::uint16_t>(bytes_, at); }
  std::int16_t i16(std::size_t at) const { return loadLe<std::int16_t>(bytes_, at); }
  std::uint32_t u32(std::size_t at) const { return loadLe<std::uint32_t>(bytes_, at); }
  float f32(std::size_t at) const { return loadLe<float>(bytes_, at); }
  // An old text, never read past `room` (the old field's width, or the start of the next
  // old field where the old layout lets them overlap).
  std::string text(std::size_t at, std::size_t room) const { return loadText(bytes_, at, room); }

 private:
  std::span<const std::byte> bytes_;
};

struct TextMap {
  std::size_t oldOffset;
  std::size_t room;
  TextField field;
};

constexpr TextMap kTexts[] = {
    {kLegacy50NameOffset, kLegacy50NameRoom, kStationName},
    {53, 80, kPhoneNumber},
    {133, 80, kModemInit},
    {392, 16, kRainCollectorText},
    {1032, 40, kNoaaCity},
    {1072, 30, kNoaaState},
    {1102, 12, kNoaaElevationText},
    {1407, 15, kNoaaLonText},
    {1422, 15, kNoaaLatText},
    {1306, 79, kLegacyText},
};

constexpr std::int16_t kOldNotSet = 32767;

}  // namespace

platform::Result<StationConfig> convertLegacy50Record(std::span<const std::byte> bytes) {
  if (bytes.size() != kLegacy50FileSize) {
    return platform::Status::corrupt("a version 5.0 station file has 2088 bytes, not " +
                                     std::to_string(bytes.size()));
  }
  const OldRecord old(bytes);
  StationConfig c;
  for (const TextMap& t : kTexts) c.setText(t.field, old.text(t.oldOffset, t.room));

  c.setComPort(old.u16(0));
  c.setBaudRate(old.u16(2));
  c.set(kUseModem, old.flag(10));
  c.set(kPulseDial, old.flag(8));
  c.setConnectWait(static_cast<std::int8_t>(old.u8(1896)));
  c.setLinkType(old.u16(1898));
  c.setTimeoutSeconds(old.i16(1912));
  c.set(kSpare178, old.flag(1406));
  const Field<i16> position[] = {kLatDeg, kLatMin, kLatSec, kLonDeg, kLonMin, kLonSec};
  for (std::size_t i = 0; i < 6; ++i) c.set(position[i], old.i16(1294 + 2 * i));
  c.set(kLatitude, old.f32(1900));
  c.set(kLongitude, old.f32(1904));
  c.setElevation(old.i16(622));
  c.set(kLatSouth, old.flag(1268));
  c.set(kLonWest, old.flag(1269));
  c.set(kDstOn, old.flag(1452));
  c.set(kDstManualOn, old.flag(1452));
  c.setConsoleDstManual(true);
  c.setDstManual(true);
  c.setTimeZoneIndex(old.i16(1386));
  c.setGmtOffset(old.f32(1456));
  const std::size_t calOld[] = {610, 1438, 612, 1114};
  for (std::size_t i = 0; i < 4; ++i) c.setCalOffsets(i, old.i16(calOld[i]));
  c.setRainClick(old.f32(388));
  c.setRainCollectorType(old.u8(1491));
  c.setCalOffsetExtra(old.i16(608));
  c.setArchiveInterval(old.u8(1437));
  // Degree-day bases and normal temperatures were kept in tenths of a degree.
  c.setCoolBase(static_cast<float>(old.i16(1028) * 0.1));
  c.setHeatBase(static_cast<float>(old.i16(1030) * 0.1));
  for (std::size_t m = 0; m < 12; ++m) {
    const std::int16_t t = old.i16(954 + 2 * m);
    c.setNormalTemp(m, t == kOldNotSet ? -32768.0F : static_cast<float>(t * 0.1));
    c.setNormalRain(m, old.f32(980 + 4 * m));
  }
  c.setNoaaDegreeDayMethod(old.flag(1440));
  c.set(kNoaaOpt1001, old.flag(802));
  c.set(kAutoClearEnabled, old.flag(1474));
  c.set(kExportAfterDownload, old.flag(1385));
  c.set(kOpt1004, old.u16(620));
  c.setAutoClearTime(old.i16(1492));
  for (std::size_t h = 0; h < 24; ++h) c.set(kLegacyHourFlags, h, old.flag(1270 + h));
  c.setLastAutoClear(old.u32(1496));
  c.set(kClearAfterDownload, old.flag(1388));

  // Temperature/humidity-hours entries, soil hours and chill hours of the report data.
  for (std::size_t i = 0; i < 4; ++i) {
    c.setText(TextField{1162 + 20 * i, 20, 19}, old.text(1134 + 20 * i, 20));
    c.set(Field<u32>{1244 + 4 * i}, old.u32(1216 + 4 * i));
    c.set(Field<u16>{1260 + 2 * i}, old.u16(1232 + 2 * i));
    c.set(Field<u16>{1268 + 2 * i}, old.u16(1240 + 2 * i));
    c.set(Field<u8>{1276 + i}, old.flag(1248 + i));
    c.set(Field<u8>{1280 + i}, old.u8(1252 + i));
  }
  c.set(Field<u32>{1284}, old.u32(1256));
  c.set(kSoilHoursThreshold, old.u16(1260));
  c.set(Field<u32>{1292}, old.u32(1264));
  c.set(Field<u32>{1296}, old.u32(1392));
  c.set(kChillHoursThreshold, old.u16(1400));

  c.setModel(static_cast<std::uint16_t>(StationModel::kCirrantPro));
  // setModel also sets the link type; the old file's own link type is kept.
  c.setLinkType(old.u16(1898));
  return c;
}

std::string uniqueBackupPath(platform::FileSystem& files, const std::string& stationDir,
                             std::string_view name) {
  const std::string backup = platform::joinPath(stationDir, kBackupDir);
  std::string path = platform::joinPath(backup, name);
  for (int n = 1; files.exists(path); ++n)
    path = platform::joinPath(backup, std::string(name) + "." + std::to_string(n));
  return path;
}

platform::Result<StationConfig> convertLegacy50StationFile(platform::FileSystem& files,
                                                           const std::string& stationDir) {
  const std::string path = stationFilePath(stationDir);
  auto old = files.readFile(path);
  if (!old.isOk()) return old.status();
  auto converted = convertLegacy50Record(std::as_bytes(std::span(old->data(), old->size())));
  if (!converted.isOk()) return converted.status();
  converted->setStationDir(stationDir);

  if (platform::Status s = files.createDirectories(platform::joinPath(stationDir, kBackupDir));
      !s.isOk())
    return s;
  const std::string backup = uniqueBackupPath(files, stationDir, kStationFileName);
  if (platform::Status s = files.replaceFileAtomically(backup, *old, /*privateMode=*/true);
      !s.isOk())
    return s;
  if (platform::Status s = writeStationRecord(files, *converted, stationDir); !s.isOk()) return s;
  return converted;
}

}  // namespace station
