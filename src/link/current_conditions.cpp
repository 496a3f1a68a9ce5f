#include "link/current_conditions.h"

#include <cstdio>
#include <cstdlib>

#include "link/loop_packet.h"

namespace stationlink {

namespace {

std::string tenths(std::int16_t v, const char* unit) {
  if (v == kImageNone16) return "---";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%d.%d %s", v < 0 ? "-" : "", std::abs(v) / 10, std::abs(v) % 10,
                unit);
  return buf;
}

std::string whole(int v, bool none, const char* unit) {
  return none ? std::string("---") : std::to_string(v) + " " + unit;
}

}  // namespace

platform::Result<SensorImage> readCurrentConditions(ConsoleLink& link) {
  SensorImage image = resetSensorImage();
  if (platform::Status s = link.GetSensorImage(image); !s) return s;
  return image;
}

std::string currentConditionsText(const SensorImage& s) {
  std::string out;
  out += "outside temperature: " + tenths(s.outsideTemperature, "F") + "\n";
  out += "inside temperature: " + tenths(s.insideTemperature, "F") + "\n";
  out += "outside humidity: " + whole(s.outsideHumidity, s.outsideHumidity > 100, "%") + "\n";
  out += "inside humidity: " + whole(s.insideHumidity, s.insideHumidity > 100, "%") + "\n";
  char bar[32] = "---";
  if (s.barometer != kImageNone16) {
    std::snprintf(bar, sizeof bar, "%d.%03d inHg", s.barometer / 1000, s.barometer % 1000);
  }
  out += std::string("barometer: ") + bar + "\n";
  out += "wind speed: " + whole(s.windSpeed, s.windSpeed == kImageNone8, "mph") + "\n";
  const bool noDir = s.windDirection == 0x7FFF || s.windDirection == 0x8000;
  out +=
      "wind direction: " + whole(s.windDirection == 0 ? 360 : s.windDirection, noDir, "deg") + "\n";
  out += "rain today: " + std::to_string(s.rainDay) + " tips\n";
  out += "solar radiation: " + whole(s.solarRadiation, s.solarRadiation == kImageNone16, "W/m2") +
         "\n";
  out += "console battery: " + consoleBatteryText(s.consoleBattery) + "\n";
  return out;
}

}  // namespace stationlink
