#include "station/station_report.h"

#include <cstdio>

#include "station/station_setup.h"

namespace station {

namespace {

std::string number(double v, const char* format) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

void line(std::string& out, const char* name, const std::string& value) {
  out += name;
  out += ": ";
  out += value;
  out += '\n';
}

std::string onOff(bool v) { return v ? "on" : "off"; }

}  // namespace

std::string describeStation(const StationState& station) {
  const StationConfig& c = station.config;
  std::string out;
  line(out, "name", c.stationName());
  line(out, "directory", c.stationDirForDisplay());
  line(out, "model", std::string(modelName(c.model())) + " (" + std::to_string(c.model()) + ")");
  line(out, "port", std::to_string(c.comPort()));
  line(out, "baud rate", std::to_string(c.baudRate()));
  line(out, "modem", onOff(c.useModem()));
  line(out, "pulse dialling", onOff(c.pulseDial()));
  line(out, "phone number", c.phoneNumber());
  line(out, "modem init", c.modemInit());
  line(out, "connect wait", std::to_string(c.connectWait()) + " s");
  line(out, "time-out", number(c.effectiveTimeoutSeconds() / 60.0, "%g") + " min");
  if (c.locationSet()) {
    line(out, "latitude", number(c.latitude(), "%.4f"));
    line(out, "longitude", number(c.longitude(), "%.4f"));
  } else {
    line(out, "location", "not set");
  }
  line(out, "zone code", std::to_string(c.zoneCode()));
  line(out, "elevation", std::to_string(c.elevation()) + " ft");
  line(out, "archive interval", std::to_string(c.archiveInterval()) + " min");
  line(out, "rain collector", c.rainCollectorText());
  std::string sensors;
  for (Sensor s : allSensors()) {
    if (!sensorOn(c, s)) continue;
    if (!sensors.empty()) sensors += ", ";
    sensors += sensorName(s);
  }
  line(out, "sensors", sensors.empty() ? "none" : sensors);
  char mask[32];
  std::snprintf(mask, sizeof mask, "0x%08X 0x%08X", c.sensorMask(), c.sensorMask2());
  line(out, "sensor masks", mask);
  line(out, "revision", std::to_string(c.revision()));
  return out;
}

std::string describeDataLists(const StationState& station) {
  std::string out;
  for (std::size_t i = 0; i < station.dataLists.size(); ++i) {
    const DataList& list = station.dataLists[i];
    out += std::to_string(i) + "\t" + list.name + "\t";
    bool first = true;
    for (const DataListItem& item : list.items) {
      if (item.set < 0 || static_cast<std::size_t>(item.set) >= station.dataSets.size()) continue;
      const auto& rows = station.dataSets[static_cast<std::size_t>(item.set)].rows;
      if (item.row < 0 || static_cast<std::size_t>(item.row) >= rows.size()) continue;
      out += (first ? "" : ", ") + rows[static_cast<std::size_t>(item.row)].longName;
      first = false;
    }
    out += '\n';
  }
  return out;
}

}  // namespace station
