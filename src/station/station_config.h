#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "station/record_bytes.h"
#include "station/station_config_layout.h"

namespace station {

// Station model codes as stored in `model`.
enum class StationModel : std::uint16_t {
  kBasaltII = 0,
  kTesselIII = 1,
  kTesselII = 2,
  kTesselIIS = 3,
  kLumeno = 4,
  kCirrantPro = 5,
  kCirrantProPlus = 6,
};

inline constexpr std::uint16_t kStationFormatId = 4;
inline constexpr std::int16_t kCurrentRevision = 15;
inline constexpr std::int16_t kLocationNotSet = -500;
// The APRS defaults of a new record and of the revision upgrade.
inline constexpr std::string_view kDefaultAprsServer = "rotate.aprs2.net";
inline constexpr std::string_view kDefaultAprsLogin = "-1";

// The station's 4096-byte settings record, "STATION.CFG". The object is the record: every
// accessor reads or writes its bytes, so bytes no accessor knows are carried unchanged from
// read to save. Text accessors speak UTF-8.
class StationConfig {
 public:
  static constexpr std::size_t kSize = layout::kRecordSize;
  using Bytes = std::array<std::byte, kSize>;

  // A new record: zeros, then the defaults of a new station (model Cirrant Pro).
  StationConfig();
  // The record exactly as given, without any check.
  static StationConfig fromBytes(std::span<const std::byte, kSize> bytes);
  // A record of zeros, the starting point of conversions that fill every field themselves.
  static StationConfig zeroed();

  const Bytes& bytes() const { return bytes_; }
  std::span<std::byte, kSize> mutableBytes() { return bytes_; }
  // What goes to disk: the record with its run-time area cleared.
  Bytes encodeForDisk() const;

  // Generic access by layout field.
  template <typename T>
  T get(layout::Field<T> f) const {
    return loadLe<T>(bytes_, f.offset);
  }
  template <typename T>
  void set(layout::Field<T> f, T v) {
    storeLe<T>(bytes_, f.offset, v);
  }
  // REQUIRES: i < N
  template <typename T, std::size_t N>
  T get(layout::ArrayField<T, N> f, std::size_t i) const {
    return loadLe<T>(bytes_, f.offset + i * sizeof(T));
  }
  template <typename T, std::size_t N>
  void set(layout::ArrayField<T, N> f, std::size_t i, T v) {
    storeLe<T>(bytes_, f.offset + i * sizeof(T), v);
  }
  std::string text(layout::TextField f) const { return loadText(bytes_, f.offset, f.maxLength); }
  void setText(layout::TextField f, std::string_view v) {
    storeText(bytes_, f.offset, f.width, f.maxLength, v);
  }
  std::span<const std::byte> block(layout::BlockField f) const {
    return std::span(bytes_).subspan(f.offset, f.size);
  }
  std::span<std::byte> block(layout::BlockField f) {
    return std::span(bytes_).subspan(f.offset, f.size);
  }
  void fill(std::size_t offset, std::size_t count, std::byte value);

  // Model: sets `model`, `linkType`, `sensorMask` and clears `sensorMask2`. Returns false
  // and changes nothing for a code outside 0-6.
  bool setModel(std::uint16_t code);
  bool isBasalt() const { return model() == 0; }
  bool isTessel() const { return model() >= 1 && model() <= 3; }
  bool isLumeno() const { return model() == 4; }
  bool isCirrant() const { return model() == 5 || model() == 6; }
  // True when every bit of `mask` is set in sensor word `word` (0 `sensorMask`,
  // 1 `sensorMask2`); false for any other word.
  bool hasSensors(int word, std::uint32_t mask) const;
  bool locationSet() const { return latDeg() >= -499; }
  // The link time-out in force: `timeoutSeconds`, or 60 when it is outside 1-1999.
  int effectiveTimeoutSeconds() const;
  // The baud rate the link opens at: classic links never run above 2400.
  int effectiveBaudRate() const;

  // Named fields. Each pair reads and writes the field of the same name.
  std::uint16_t formatId() const { return get(layout::kFormatId); }
  void setFormatId(std::uint16_t v) { set(layout::kFormatId, v); }
  std::int16_t revision() const { return get(layout::kRevision); }
  void setRevision(std::int16_t v) { set(layout::kRevision, v); }
  std::uint16_t comPort() const { return get(layout::kComPort); }
  void setComPort(std::uint16_t v) { set(layout::kComPort, v); }
  std::uint16_t baudRate() const { return get(layout::kBaudRate); }
  void setBaudRate(std::uint16_t v) { set(layout::kBaudRate, v); }
  bool useModem() const { return get(layout::kUseModem) != 0; }
  void setUseModem(bool v) { set(layout::kUseModem, std::uint8_t{v}); }
  bool pulseDial() const { return get(layout::kPulseDial) != 0; }
  void setPulseDial(bool v) { set(layout::kPulseDial, std::uint8_t{v}); }
  std::uint8_t linkBusy() const { return get(layout::kLinkBusy); }
  void setLinkBusy(std::uint8_t v) { set(layout::kLinkBusy, v); }
  std::int8_t connectWait() const { return get(layout::kConnectWait); }
  void setConnectWait(std::int8_t v) { set(layout::kConnectWait, v); }
  std::string phoneNumber() const { return text(layout::kPhoneNumber); }
  void setPhoneNumber(std::string_view v) { setText(layout::kPhoneNumber, v); }
  std::string modemInit() const { return text(layout::kModemInit); }
  void setModemInit(std::string_view v) { setText(layout::kModemInit, v); }
  std::uint16_t linkType() const { return get(layout::kLinkType); }
  void setLinkType(std::uint16_t v) { set(layout::kLinkType, v); }
  std::int16_t timeoutSeconds() const { return get(layout::kTimeoutSeconds); }
  void setTimeoutSeconds(std::int16_t v) { set(layout::kTimeoutSeconds, v); }
  std::uint16_t model() const { return get(layout::kModel); }
  std::string stationName() const { return text(layout::kStationName); }
  void setStationName(std::string_view v) { setText(layout::kStationName, v); }
  // The station directory is a path: its bytes are kept exactly as given and read back
  // exactly as stored, never decoded (a folder named in Latin-1 is not its UTF-8
  // look-alike). The reader overwrites it with the directory actually read from.
  // REQUIRES: v.size() <= 259 (the open, create and rename refuse longer paths)
  std::string stationDir() const {
    return std::string(rawText(bytes_, layout::kStationDir.offset, layout::kStationDir.maxLength));
  }
  void setStationDir(std::string_view v);
  // The directory as text for people: invalid UTF-8 bytes shown as U+FFFD.
  std::string stationDirForDisplay() const;
  std::uint32_t sensorMask() const { return get(layout::kSensorMask); }
  void setSensorMask(std::uint32_t v) { set(layout::kSensorMask, v); }
  std::uint32_t sensorMask2() const { return get(layout::kSensorMask2); }
  void setSensorMask2(std::uint32_t v) { set(layout::kSensorMask2, v); }

  std::int16_t latDeg() const { return get(layout::kLatDeg); }
  std::int16_t latMin() const { return get(layout::kLatMin); }
  std::int16_t latSec() const { return get(layout::kLatSec); }
  std::int16_t lonDeg() const { return get(layout::kLonDeg); }
  std::int16_t lonMin() const { return get(layout::kLonMin); }
  std::int16_t lonSec() const { return get(layout::kLonSec); }
  float latitude() const { return get(layout::kLatitude); }
  float longitude() const { return get(layout::kLongitude); }
  bool latSouth() const { return get(layout::kLatSouth) != 0; }
  bool lonWest() const { return get(layout::kLonWest) != 0; }
  std::int16_t elevation() const { return get(layout::kElevation); }
  void setElevation(std::int16_t v) { set(layout::kElevation, v); }
  bool dstOn() const { return get(layout::kDstOn) != 0; }
  void setDstOn(bool v) { set(layout::kDstOn, std::uint8_t{v}); }
  std::int16_t timeZoneIndex() const { return get(layout::kTimeZoneIndex); }
  void setTimeZoneIndex(std::int16_t v) { set(layout::kTimeZoneIndex, v); }
  float gmtOffset() const { return get(layout::kGmtOffset); }
  void setGmtOffset(float v) { set(layout::kGmtOffset, v); }
  std::int16_t calOffsets(std::size_t i) const { return get(layout::kCalOffsets, i); }
  void setCalOffsets(std::size_t i, std::int16_t v) { set(layout::kCalOffsets, i, v); }
  std::string rainCollectorText() const { return text(layout::kRainCollectorText); }
  void setRainCollectorText(std::string_view v) { setText(layout::kRainCollectorText, v); }
  float rainClick() const { return get(layout::kRainClick); }
  void setRainClick(float v) { set(layout::kRainClick, v); }
  std::int16_t calOffsetExtra() const { return get(layout::kCalOffsetExtra); }
  void setCalOffsetExtra(std::int16_t v) { set(layout::kCalOffsetExtra, v); }
  std::uint8_t rainCollectorType() const { return get(layout::kRainCollectorType); }
  void setRainCollectorType(std::uint8_t v) { set(layout::kRainCollectorType, v); }
  std::uint8_t archiveInterval() const { return get(layout::kArchiveInterval); }
  void setArchiveInterval(std::uint8_t v) { set(layout::kArchiveInterval, v); }
  float skinFactor() const { return get(layout::kSkinFactor); }
  void setSkinFactor(float v) { set(layout::kSkinFactor, v); }
  bool consoleDstManual() const { return get(layout::kConsoleDstManual) != 0; }
  void setConsoleDstManual(bool v) { set(layout::kConsoleDstManual, std::uint8_t{v}); }
  bool dstManual() const { return get(layout::kDstManual) != 0; }
  void setDstManual(bool v) { set(layout::kDstManual, std::uint8_t{v}); }
  bool dstManualOn() const { return get(layout::kDstManualOn) != 0; }
  void setDstManualOn(bool v) { set(layout::kDstManualOn, std::uint8_t{v}); }
  std::int16_t sensorOffsets(std::size_t i) const { return get(layout::kSensorOffsets, i); }
  void setSensorOffsets(std::size_t i, std::int16_t v) { set(layout::kSensorOffsets, i, v); }
  std::uint16_t zoneCode() const { return get(layout::kZoneCode); }
  void setZoneCode(std::uint16_t v) { set(layout::kZoneCode, v); }

  float coolBase() const { return get(layout::kCoolBase); }
  void setCoolBase(float v) { set(layout::kCoolBase, v); }
  float heatBase() const { return get(layout::kHeatBase); }
  void setHeatBase(float v) { set(layout::kHeatBase, v); }
  std::string noaaCity() const { return text(layout::kNoaaCity); }
  void setNoaaCity(std::string_view v) { setText(layout::kNoaaCity, v); }
  std::string noaaState() const { return text(layout::kNoaaState); }
  void setNoaaState(std::string_view v) { setText(layout::kNoaaState, v); }
  std::string noaaElevationText() const { return text(layout::kNoaaElevationText); }
  void setNoaaElevationText(std::string_view v) { setText(layout::kNoaaElevationText, v); }
  float normalTemp(std::size_t month0) const { return get(layout::kNormalTemp, month0); }
  void setNormalTemp(std::size_t month0, float v) { set(layout::kNormalTemp, month0, v); }
  float normalRain(std::size_t month0) const { return get(layout::kNormalRain, month0); }
  void setNormalRain(std::size_t month0, float v) { set(layout::kNormalRain, month0, v); }
  std::string noaaLonText() const { return text(layout::kNoaaLonText); }
  void setNoaaLonText(std::string_view v) { setText(layout::kNoaaLonText, v); }
  std::string noaaLatText() const { return text(layout::kNoaaLatText); }
  void setNoaaLatText(std::string_view v) { setText(layout::kNoaaLatText, v); }
  std::uint8_t noaaDegreeDayMethod() const { return get(layout::kNoaaDegreeDayMethod); }
  void setNoaaDegreeDayMethod(std::uint8_t v) { set(layout::kNoaaDegreeDayMethod, v); }

  bool autoClearEnabled() const { return get(layout::kAutoClearEnabled) != 0; }
  void setAutoClearEnabled(bool v) { set(layout::kAutoClearEnabled, std::uint8_t{v}); }
  bool exportAfterDownload() const { return get(layout::kExportAfterDownload) != 0; }
  void setExportAfterDownload(bool v) { set(layout::kExportAfterDownload, std::uint8_t{v}); }
  std::int16_t autoClearTime() const { return get(layout::kAutoClearTime); }
  void setAutoClearTime(std::int16_t v) { set(layout::kAutoClearTime, v); }
  std::uint32_t lastAutoClear() const { return get(layout::kLastAutoClear); }
  void setLastAutoClear(std::uint32_t v) { set(layout::kLastAutoClear, v); }
  bool clearAfterDownload() const { return get(layout::kClearAfterDownload) != 0; }
  void setClearAfterDownload(bool v) { set(layout::kClearAfterDownload, std::uint8_t{v}); }
  std::uint8_t autoClearItems(std::size_t i) const { return get(layout::kAutoClearItems, i); }
  void setAutoClearItems(std::size_t i, std::uint8_t v) { set(layout::kAutoClearItems, i, v); }
  std::uint8_t alarmFlags(std::size_t i) const { return get(layout::kAlarmFlags, i); }
  void setAlarmFlags(std::size_t i, std::uint8_t v) { set(layout::kAlarmFlags, i, v); }
  std::uint8_t hiLowOnBulletin() const { return get(layout::kHiLowOnBulletin); }
  void setHiLowOnBulletin(std::uint8_t v) { set(layout::kHiLowOnBulletin, v); }
  std::uint8_t archiveOnBulletin() const { return get(layout::kArchiveOnBulletin); }
  void setArchiveOnBulletin(std::uint8_t v) { set(layout::kArchiveOnBulletin, v); }

  std::string aprsCallSign() const { return text(layout::kAprsCallSign); }
  void setAprsCallSign(std::string_view v) { setText(layout::kAprsCallSign, v); }
  std::string aprsServer() const { return text(layout::kAprsServer); }
  void setAprsServer(std::string_view v) { setText(layout::kAprsServer, v); }
  std::string aprsLogin() const { return text(layout::kAprsLogin); }
  void setAprsLogin(std::string_view v) { setText(layout::kAprsLogin, v); }
  std::uint32_t aprsPort() const { return get(layout::kAprsPort); }
  void setAprsPort(std::uint32_t v) { set(layout::kAprsPort, v); }
  std::uint8_t aprsOptions(std::size_t i) const { return get(layout::kAprsOptions, i); }
  void setAprsOptions(std::size_t i, std::uint8_t v) { set(layout::kAprsOptions, i, v); }
  std::uint32_t wuLastTime() const { return get(layout::kWuLastTime); }
  void setWuLastTime(std::uint32_t v) { set(layout::kWuLastTime, v); }
  std::int16_t wuLastDate() const { return get(layout::kWuLastDate); }
  void setWuLastDate(std::int16_t v) { set(layout::kWuLastDate, v); }
  std::string wuStationId() const { return text(layout::kWuStationId); }
  void setWuStationId(std::string_view v) { setText(layout::kWuStationId, v); }
  std::string wuPassword() const { return text(layout::kWuPassword); }
  void setWuPassword(std::string_view v) { setText(layout::kWuPassword, v); }
  std::uint8_t wuMaxDaysChoice() const { return get(layout::kWuMaxDaysChoice); }
  void setWuMaxDaysChoice(std::uint8_t v) { set(layout::kWuMaxDaysChoice, v); }
  std::string globeSchoolId() const { return text(layout::kGlobeSchoolId); }
  void setGlobeSchoolId(std::string_view v) { setText(layout::kGlobeSchoolId, v); }
  std::string globeSiteId() const { return text(layout::kGlobeSiteId); }
  void setGlobeSiteId(std::string_view v) { setText(layout::kGlobeSiteId, v); }
  std::string globeSoilSiteId() const { return text(layout::kGlobeSoilSiteId); }
  void setGlobeSoilSiteId(std::string_view v) { setText(layout::kGlobeSoilSiteId, v); }
  bool globeIncludeSoil() const { return get(layout::kGlobeIncludeSoil) != 0; }
  void setGlobeIncludeSoil(bool v) { set(layout::kGlobeIncludeSoil, std::uint8_t{v}); }
  bool repeatersEnabled() const { return get(layout::kRepeatersEnabled) != 0; }
  void setRepeatersEnabled(bool v) { set(layout::kRepeatersEnabled, std::uint8_t{v}); }
  std::uint16_t retransmitChoice() const { return get(layout::kRetransmitChoice); }
  void setRetransmitChoice(std::uint16_t v) { set(layout::kRetransmitChoice, v); }
  std::uint8_t bulletinFlags(std::size_t i) const { return get(layout::kBulletinFlags, i); }
  void setBulletinFlags(std::size_t i, std::uint8_t v) { set(layout::kBulletinFlags, i, v); }

 private:
  struct Zeroed {};
  explicit StationConfig(Zeroed) {}

  Bytes bytes_{};
};

// The name of a model code as shown to people ("Cirrant Pro"), or empty for an unknown code.
std::string_view modelName(std::uint16_t code);
// The model code for a name as shown, compared without regard to case; -1 when unknown.
int modelCodeForName(std::string_view name);

}  // namespace station
