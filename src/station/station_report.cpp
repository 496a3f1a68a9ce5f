#include "station/station_report.h"

#include <cstdio>

#include "platform/string_table.h"
#include "station/station_setup.h"

namespace station {

namespace {

std::string number(double v, const char* format) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

// The labels of the description, in the order they are shown.
constexpr int kLabelName = 65300;
constexpr int kLabelDirectory = 65301;
constexpr int kLabelModel = 65302;
constexpr int kLabelPort = 65303;
constexpr int kLabelBaud = 65304;
constexpr int kLabelModem = 65305;
constexpr int kLabelPulse = 65306;
constexpr int kLabelPhone = 65307;
constexpr int kLabelModemInit = 65308;
constexpr int kLabelConnectWait = 65309;
constexpr int kLabelTimeout = 65310;
constexpr int kLabelLatitude = 65311;
constexpr int kLabelLongitude = 65312;
constexpr int kLabelLocation = 65313;
constexpr int kTextNotSet = 65314;
constexpr int kLabelZone = 65315;
constexpr int kLabelElevation = 65316;
constexpr int kLabelInterval = 65317;
constexpr int kLabelRainCollector = 65318;
constexpr int kLabelSensors = 65319;
constexpr int kTextNone = 65320;
constexpr int kLabelSensorMasks = 65321;
constexpr int kLabelRevision = 65322;
constexpr int kTextOn = 65323;
constexpr int kTextOff = 65324;

void line(std::string& out, int label, const std::string& value) {
  out += platform::loadString(label);
  out += ": ";
  out += value;
  out += '\n';
}

std::string onOff(bool v) { return platform::loadString(v ? kTextOn : kTextOff); }

}  // namespace

std::string describeStation(const StationState& station, const quantities::Units& units) {
  const StationConfig& c = station.config;
  std::string out;
  line(out, kLabelName, c.stationName());
  line(out, kLabelDirectory, c.stationDirForDisplay());
  line(out, kLabelModel,
       std::string(modelName(c.model())) + " (" + std::to_string(c.model()) + ")");
  line(out, kLabelPort, std::to_string(c.comPort()));
  line(out, kLabelBaud, std::to_string(c.baudRate()));
  line(out, kLabelModem, onOff(c.useModem()));
  line(out, kLabelPulse, onOff(c.pulseDial()));
  line(out, kLabelPhone, c.phoneNumber());
  line(out, kLabelModemInit, c.modemInit());
  line(out, kLabelConnectWait, std::to_string(c.connectWait()) + " s");
  line(out, kLabelTimeout, number(c.effectiveTimeoutSeconds() / 60.0, "%g") + " min");
  if (c.locationSet()) {
    line(out, kLabelLatitude, number(c.latitude(), "%.4f"));
    line(out, kLabelLongitude, number(c.longitude(), "%.4f"));
  } else {
    line(out, kLabelLocation, platform::loadString(kTextNotSet));
  }
  line(out, kLabelZone, std::to_string(c.zoneCode()));
  line(out, kLabelElevation,
       std::to_string(units.ConvertElevation(c.elevation(), 0)) + " " + units.elevUnitText());
  line(out, kLabelInterval, std::to_string(c.archiveInterval()) + " min");
  line(out, kLabelRainCollector, c.rainCollectorText());
  std::string sensors;
  for (Sensor s : allSensors()) {
    if (!sensorOn(c, s)) continue;
    if (!sensors.empty()) sensors += ", ";
    sensors += sensorName(s);
  }
  line(out, kLabelSensors, sensors.empty() ? platform::loadString(kTextNone) : sensors);
  char mask[32];
  std::snprintf(mask, sizeof mask, "0x%08X 0x%08X", c.sensorMask(), c.sensorMask2());
  line(out, kLabelSensorMasks, mask);
  line(out, kLabelRevision, std::to_string(c.revision()));
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
