#include "link/station_link.h"

namespace stationlink {

PortParams portParamsFromStation(const station::StationConfig& config) {
  PortParams p;
  p.portNumber = config.comPort();
  p.baudRate = config.baudRate();
  p.linkType = static_cast<LinkType>(config.linkType());
  const int idle = config.timeoutSeconds();
  p.idleSeconds = static_cast<std::uint16_t>(idle < 0 ? 0 : idle);
  p.modem = config.useModem() ? 1 : 0;
  p.pulseDialling = config.pulseDial() ? 1 : 0;
  p.phoneNumber = config.phoneNumber();
  p.modemInit = config.modemInit();
  p.label = config.stationName();
  return normalizePortParams(p);
}

int CloseStationComPort(ConsoleLink* link) {
  if (link) link->Close();
  return 0;
}

int GetStationModemPort(const station::StationConfig* config) {
  if (!config || !config->useModem()) return -1;
  return config->comPort();
}

int GetStationModel(const station::StationConfig* config) {
  if (!config || config->stationName().empty()) return -1;
  return config->model();
}

std::uint32_t GetStationSensorMask(const station::StationConfig* config, int index) {
  if (!config || index < 0 || index == 1) return 0;
  return index == 0 ? config->sensorMask() : config->sensorMask2();
}

}  // namespace stationlink
