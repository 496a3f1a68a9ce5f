#include "station/station_setup.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

#include "platform/com_port_map.h"
#include "station/message_text.h"
#include "station/schedule.h"
#include "station/station_file.h"
#include "station/station_list.h"
#include "station/station_text_ids.h"
#include "station/zone_code.h"

namespace station {

namespace {

struct SensorInfo {
  Sensor sensor;
  const char* name;
  std::uint32_t bits;   // in sensorMask
  std::uint32_t bits2;  // in sensorMask2
  bool cirrantOnly;
};

constexpr std::uint32_t bit(int n) { return std::uint32_t{1} << n; }

constexpr SensorInfo kSensors[] = {
    {Sensor::kExtraTemp2, "extra-temp-2", bit(1), 0, true},
    {Sensor::kExtraTemp3, "extra-temp-3", bit(2), 0, true},
    {Sensor::kExtraTemp4, "extra-temp-4", bit(3), 0, true},
    {Sensor::kOutsideHumidity, "outside-humidity", bit(4), 0, false},
    {Sensor::kExtraHumidity2, "extra-humidity-2", bit(5), 0, true},
    {Sensor::kExtraHumidity3, "extra-humidity-3", bit(6), 0, true},
    {Sensor::kRain, "rain", bit(15), 0, false},
    {Sensor::kSolarRadiation, "solar-radiation", bit(11), bit(0), true},
    {Sensor::kUv, "uv", bit(12), bit(1), true},
    {Sensor::kSoilMoisture1, "soil-moisture-1", bit(16), 0, true},
    {Sensor::kSoilMoisture2, "soil-moisture-2", bit(17), 0, true},
    {Sensor::kSoilMoisture3, "soil-moisture-3", bit(18), 0, true},
    {Sensor::kSoilMoisture4, "soil-moisture-4", bit(19), 0, true},
    {Sensor::kSoilTemp1, "soil-temp-1", bit(20), 0, true},
    {Sensor::kSoilTemp2, "soil-temp-2", bit(21), 0, true},
    {Sensor::kSoilTemp3, "soil-temp-3", bit(22), 0, true},
    {Sensor::kSoilTemp4, "soil-temp-4", bit(23), 0, true},
    {Sensor::kLeafWetness1, "leaf-wetness-1", bit(24), 0, true},
    {Sensor::kLeafWetness2, "leaf-wetness-2", bit(25), 0, true},
    {Sensor::kLeafTemp1, "leaf-temp-1", bit(28), 0, true},
    {Sensor::kLeafTemp2, "leaf-temp-2", bit(29), 0, true},
};

const SensorInfo& infoOf(Sensor s) {
  for (const SensorInfo& i : kSensors) {
    if (i.sensor == s) return i;
  }
  return kSensors[0];
}

constexpr int kBaudRates[] = {1200, 2400, 4800, 9600, 14400, 19200};

// The refusals of the command line's station settings.
constexpr int kMsgUnknownModel = 65381;
constexpr int kMsgPortRange = 65385;
constexpr int kMsgBaudRates = 65386;
constexpr int kMsgSlowModel = 65387;
constexpr int kMsgTimeoutRange = 65388;
constexpr int kMsgNoSuchSensor = 65389;
constexpr int kMsgLocationRange = 65390;
constexpr int kMsgNotRenamed = 65391;
constexpr int kMsgDirectoryTooLong = 65392;
constexpr int kMsgDirectoryExists = 65393;

platform::Status refused(int id, std::initializer_list<std::string_view> args = {}) {
  return platform::Status::badArgument(messageText(id, args));
}

// Degrees, minutes and seconds of a magnitude, rounded to the nearest second.
void splitDegrees(double value, std::int16_t& deg, std::int16_t& min, std::int16_t& sec) {
  long total = std::lround(std::fabs(value) * 3600.0);
  deg = static_cast<std::int16_t>(total / 3600);
  min = static_cast<std::int16_t>(total / 60 % 60);
  sec = static_cast<std::int16_t>(total % 60);
}

}  // namespace

std::string sensorName(Sensor s) { return infoOf(s).name; }

std::optional<Sensor> sensorForName(std::string_view name) {
  for (const SensorInfo& i : kSensors) {
    if (name == i.name) return i.sensor;
  }
  return std::nullopt;
}

std::vector<Sensor> allSensors() {
  std::vector<Sensor> out;
  for (const SensorInfo& i : kSensors) out.push_back(i.sensor);
  return out;
}

bool sensorOn(const StationConfig& config, Sensor s) {
  return config.hasSensors(0, infoOf(s).bits);
}

platform::Status setSensor(StationConfig& config, Sensor s, bool on) {
  const SensorInfo& info = infoOf(s);
  if (on && info.cirrantOnly && !config.isCirrant()) {
    return refused(kMsgNoSuchSensor, {modelName(config.model()), info.name});
  }
  if (on && s == Sensor::kOutsideHumidity && !config.isBasalt() && !config.isCirrant()) {
    return refused(text::kNoOutsideHumidity);
  }
  std::uint32_t bits = info.bits;
  // A Cirrant console keeps its own rain-collector bit beside the common one.
  if (s == Sensor::kRain && config.isCirrant()) bits |= bit(7);
  config.setSensorMask(on ? config.sensorMask() | bits : config.sensorMask() & ~bits);
  config.setSensorMask2(on ? config.sensorMask2() | info.bits2
                           : config.sensorMask2() & ~info.bits2);
  if (s == Sensor::kSolarRadiation || s == Sensor::kUv) {
    const bool plusSensors = config.hasSensors(0, bit(11)) || config.hasSensors(0, bit(12));
    if (plusSensors && config.model() == 5) config.set(layout::kModel, std::uint16_t{6});
    if (!plusSensors && config.model() == 6) config.set(layout::kModel, std::uint16_t{5});
  }
  return platform::Status::ok();
}

platform::Status setLocation(StationConfig& config, double latitude, double longitude) {
  if (!(latitude >= -90 && latitude <= 90) || !(longitude >= -180 && longitude <= 180)) {
    return refused(kMsgLocationRange);
  }
  std::int16_t d = 0, m = 0, s = 0;
  splitDegrees(latitude, d, m, s);
  config.set(layout::kLatDeg, d);
  config.set(layout::kLatMin, m);
  config.set(layout::kLatSec, s);
  splitDegrees(longitude, d, m, s);
  config.set(layout::kLonDeg, d);
  config.set(layout::kLonMin, m);
  config.set(layout::kLonSec, s);
  config.set(layout::kLatitude, static_cast<float>(latitude));
  config.set(layout::kLongitude, static_cast<float>(longitude));
  config.set(layout::kLatSouth, std::uint8_t{latitude < 0});
  config.set(layout::kLonWest, std::uint8_t{longitude < 0});
  updateZoneCode(config);
  return platform::Status::ok();
}

platform::Status applyStationSettings(StationConfig& config, const StationSettings& in) {
  // Work on a copy so that a refusal anywhere leaves the record untouched.
  StationConfig c = config;
  if (in.name) {
    if (platform::Status s = checkStationName(*in.name); !s.isOk()) return s;
    c.setStationName(*in.name);
  }
  if (in.model && *in.model != c.model() && !c.setModel(*in.model)) {
    return refused(kMsgUnknownModel, {std::to_string(*in.model)});
  }
  if (in.comPort) {
    if (*in.comPort < platform::kMinComPort || *in.comPort > platform::kMaxStationComPort)
      return refused(kMsgPortRange);
    c.setComPort(static_cast<std::uint16_t>(*in.comPort));
  }
  if (in.baudRate) {
    if (std::find(std::begin(kBaudRates), std::end(kBaudRates), *in.baudRate) ==
        std::end(kBaudRates)) {
      return refused(kMsgBaudRates, {std::to_string(*in.baudRate)});
    }
    c.setBaudRate(static_cast<std::uint16_t>(*in.baudRate));
  }
  if (in.baudRate && !c.isCirrant() && c.baudRate() > 2400) {
    return refused(kMsgSlowModel, {modelName(c.model())});
  }
  if (in.useModem) c.setUseModem(*in.useModem);
  if (in.pulseDial) c.setPulseDial(*in.pulseDial);
  if (in.phoneNumber) c.setPhoneNumber(*in.phoneNumber);
  if (in.modemInit) c.setModemInit(*in.modemInit);
  if (c.useModem() && c.phoneNumber().empty()) return refused(text::kEnterPhone);
  if (in.connectWait) {
    int wait = 0;
    const std::string& t = *in.connectWait;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), wait);
    if (t.empty() || ec == std::errc::invalid_argument || end != t.data() + t.size()) {
      return refused(text::kConnectWaitInvalid, {t});
    }
    if (ec == std::errc::result_out_of_range || wait < 0 || wait > 127)
      return refused(text::kConnectWaitRange);
    c.setConnectWait(static_cast<std::int8_t>(wait));
  }
  if (in.timeoutMinutes) {
    const double seconds = std::round(*in.timeoutMinutes * 60.0);
    if (!(seconds >= 1 && seconds <= 1999)) {
      return refused(kMsgTimeoutRange);
    }
    c.setTimeoutSeconds(static_cast<std::int16_t>(seconds));
  }
  if (in.latitude || in.longitude) {
    const double lat = in.latitude ? *in.latitude : c.latitude();
    const double lon = in.longitude ? *in.longitude : c.longitude();
    if (platform::Status s = setLocation(c, lat, lon); !s.isOk()) return s;
  }
  for (const auto& [sensor, on] : in.sensors) {
    if (platform::Status s = setSensor(c, sensor, on); !s.isOk()) return s;
  }
  config = c;
  return platform::Status::ok();
}

platform::Status renameStationDirectory(platform::FileSystem& files, StationState& station,
                                        StationPrompts& prompts) {
  const std::string oldDir = station.config.stationDir();
  auto dirName = stationDirectoryName(station.config.stationName());
  if (!dirName.isOk()) return dirName.status();
  const std::size_t slash = oldDir.find_last_of('/');
  const std::string parent = slash == std::string::npos ? std::string() : oldDir.substr(0, slash);
  const std::string newDir =
      parent.empty() && slash == 0 ? "/" + *dirName : platform::joinPath(parent, *dirName);
  if (newDir == oldDir) return platform::Status::ok();
  if (!prompts.ask(messageText(text::kRenameTitle),
                   messageText(text::kRenameQuestion, {*dirName}))) {
    return platform::Status::cancelled(messageText(kMsgNotRenamed));
  }
  if (newDir.size() > layout::kStationDir.maxLength) {
    return refused(kMsgDirectoryTooLong, {newDir});
  }
  // 17 is the system's "file exists" number, shown in the message like any other failure.
  platform::Status s =
      files.exists(newDir)
          ? platform::Status(platform::Errc::kBusy, messageText(kMsgDirectoryExists, {newDir}), 17)
          : files.rename(oldDir, newDir);
  if (!s.isOk()) {
    prompts.showError(messageText(text::kRenameFailed, {oldDir, newDir, std::to_string(s.code())}));
    return s;
  }
  station.config.setStationDir(newDir);
  return saveStation(files, station);
}

// The port numbers of the stations of `programDir` other than the one in `dir`: those
// below it and those of its automatic-download list.
std::set<int> otherStationsPorts(platform::FileSystem& files, const std::string& programDir,
                                 const std::string& dir) {
  std::set<std::string> dirs;
  auto below = listStations(files, programDir,
                            [&files](const std::string& d) { return readStationName(files, d); });
  if (below) {
    for (const StationEntry& e : *below) dirs.insert(e.directory);
  }
  if (auto listed = readDownloadList(files, programDir))
    dirs.insert(listed->begin(), listed->end());
  std::set<int> ports;
  for (const std::string& d : dirs) {
    if (d == dir) continue;
    if (auto record = readStationRecord(files, d)) ports.insert(record->comPort());
  }
  return ports;
}

}  // namespace station

namespace station {

platform::Result<StationState> changeStation(platform::FileSystem& files, const std::string& dir,
                                             const StationSettings& settings,
                                             const std::string& portDevice,
                                             const std::string& programDir,
                                             StationPrompts& prompts) {
  auto station = loadStation(files, dir, stationDataSets());
  if (!station.isOk()) return station.status();
  const std::string oldName = station->config.stationName();
  if (platform::Status s = applyStationSettings(station->config, settings); !s.isOk()) return s;
  if (!portDevice.empty()) {
    // The device gets the number already mapped to it, or a number no other station uses:
    // another station's port is never re-pointed.
    auto port = platform::portForDevice(files, programDir, portDevice,
                                        otherStationsPorts(files, programDir, dir));
    if (!port) return port.status();
    station->config.setComPort(static_cast<std::uint16_t>(port->number));
  }
  if (platform::Status s = saveStation(files, *station); !s.isOk()) {
    prompts.showError(messageText(text::kSaveError));
    return s;
  }
  if (station->config.stationName() != oldName) {
    const std::string oldDir = station->config.stationDir();
    platform::Status s = renameStationDirectory(files, *station, prompts);
    if (!s.isOk() && s.kind() != platform::Errc::kCancelled) return s;
    // The automatic-download list follows the station to its new folder.
    if (s.isOk() && station->config.stationDir() != oldDir) {
      if (platform::Status l =
              renameInDownloadList(files, programDir, oldDir, station->config.stationDir());
          !l.isOk()) {
        return l;
      }
    }
  }
  return station;
}

}  // namespace station
