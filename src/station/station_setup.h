#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"
#include "station/station_config.h"
#include "station/station_creator.h"
#include "station/station_state.h"

namespace station {

// The sensors the station setup offers, with their bits in `sensorMask`.
enum class Sensor {
  kExtraTemp2,
  kExtraTemp3,
  kExtraTemp4,
  kOutsideHumidity,
  kExtraHumidity2,
  kExtraHumidity3,
  kRain,
  kSolarRadiation,
  kUv,
  kSoilMoisture1,
  kSoilMoisture2,
  kSoilMoisture3,
  kSoilMoisture4,
  kSoilTemp1,
  kSoilTemp2,
  kSoilTemp3,
  kSoilTemp4,
  kLeafWetness1,
  kLeafWetness2,
  kLeafTemp1,
  kLeafTemp2,
};

// The setup's name for a sensor ("outside-humidity", "soil-temp-3", ...) and back.
std::string sensorName(Sensor s);
std::optional<Sensor> sensorForName(std::string_view name);
std::vector<Sensor> allSensors();
// True when the station has the sensor switched on.
bool sensorOn(const StationConfig& config, Sensor s);

// Switches a sensor as the setup dialog does: the extra sensors, solar radiation, UV, soil
// and leaf sensors only on a Cirrant; outside humidity only on a Basalt or a Cirrant
// ("El modelo seleccionado no tiene humedad exterior."). Solar radiation or UV on turns a
// Cirrant Pro into a Cirrant Pro Plus; both off turns it back. kBadArgument with the
// message text when refused; the record is then unchanged.
platform::Status setSensor(StationConfig& config, Sensor s, bool on);

// Sets the location from decimal degrees (south and west negative): the degree, minute and
// second fields, the hemisphere flags, the decimal fields and the zone code.
// kBadArgument outside -90..90 and -180..180.
platform::Status setLocation(StationConfig& config, double latitude, double longitude);

// The fields of the station setup and link dialogs; each one that is set is changed.
struct StationSettings {
  std::optional<std::string> name;
  std::optional<std::uint16_t> model;
  std::optional<int> comPort;
  std::optional<int> baudRate;
  std::optional<bool> useModem;
  std::optional<bool> pulseDial;
  std::optional<std::string> phoneNumber;
  std::optional<std::string> modemInit;
  std::optional<std::string> connectWait;  // as typed: a whole number of seconds 0-127
  std::optional<double> timeoutMinutes;    // shown in minutes, kept in seconds 1-1999
  std::optional<double> latitude;
  std::optional<double> longitude;
  std::vector<std::pair<Sensor, bool>> sensors;
};

// Checks every given field and, only when all are valid, applies them to `config`: a
// refused change leaves the record as it was. The message of a refusal is the dialog's
// text (for example "Introduzca un número de teléfono.").
platform::Status applyStationSettings(StationConfig& config, const StationSettings& settings);

// Renames the station directory after a change of name: the new directory is named from
// the station name in the same parent directory. Asks "¿Desea cambiar el nombre del
// directorio de datos a '%s'?"; on yes renames, updates `stationDir` and saves the station
// in its new place. A directory of that name that exists already is never replaced.
// The caller closes the station's database before and reopens it after.
platform::Status renameStationDirectory(platform::FileSystem& files, StationState& station,
                                        StationPrompts& prompts);

}  // namespace station

namespace station {

// The command line's change of a station's settings: loads the station of `dir`, applies
// `settings` (all or nothing), enters `portDevice` in the port map of `programDir` under
// the station's port number when given, saves, and when the name changed offers to
// rename the directory. Returns the station as saved.
platform::Result<StationState> changeStation(platform::FileSystem& files, const std::string& dir,
                                             const StationSettings& settings,
                                             const std::string& portDevice,
                                             const std::string& programDir,
                                             StationPrompts& prompts);

}  // namespace station
