#pragma once

#include "link/console_link.h"
#include "station/station_config.h"

namespace stationlink {

// The open station's link parameters, as the station's configuration gives them (with the
// classic-speed and idle-time adjustments). Dial pause stays 0.
PortParams portParamsFromStation(const station::StationConfig& config);

// What the module interface asks about the station's link. `config` and `link` are null when
// no station is open.

// Closes the station's port so a module can use it; the link reopens on its next operation.
int CloseStationComPort(ConsoleLink* link);
// The station's port number when it uses a modem, else -1.
int GetStationModemPort(const station::StationConfig* config);
// The station's model code when a station is open (its name is not empty), else -1.
int GetStationModel(const station::StationConfig* config);
// Index 0: sensorMask; 2 and above: sensorMask2; 1 and negative indexes: 0.
std::uint32_t GetStationSensorMask(const station::StationConfig* config, int index);

}  // namespace stationlink
