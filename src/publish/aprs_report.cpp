#include "publish/aprs_report.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "link/calibrated_image.h"
#include "platform/string_table.h"
#include "publish/publish_text.h"
#include "quantities/units.h"

namespace publish {

namespace {

constexpr int kMsgCirrantReport = 62770;
constexpr int kMsgOlderReport = 62771;

constexpr std::uint32_t kOutsideTemperatureBit = 1u << 0;
constexpr std::uint32_t kOutsideHumidityBit = 1u << 4;
constexpr std::uint32_t kBarometerBit = 1u << 8;
constexpr std::uint32_t kAnemometerBit = 1u << 9;
constexpr std::uint32_t kWindVaneBit = 1u << 10;
constexpr std::uint32_t kSolarBit = 1u << 11;
constexpr std::uint32_t kRainCollectorBit = 1u << 15;

// The readings of a console barometer that can be true ones, in thousandths of inHg.
constexpr int kLowestBarometer = 16000;
constexpr int kHighestBarometer = 32500;
// Solar radiation from which the luminosity piece has no form that fits its slot.
constexpr int kLuminosityLimit = 2000;

std::string printed(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string printed(const char* format, ...) {
  char buf[64];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  return n < 0 ? std::string() : std::string(buf, std::min<std::size_t>(n, sizeof buf - 1));
}

// A piece of `width` characters: the value printed when it fits, else dots, so no slot
// ever grows or reads "nan".
std::string fitted(std::string text, std::size_t width) {
  if (text.size() != width || text.find_first_not_of("-0123456789") != std::string::npos)
    return std::string(width, '.');
  return text;
}
std::string dots(std::size_t width) { return std::string(width, '.'); }
std::string rounded(double v, std::size_t width) {
  if (!std::isfinite(v)) return dots(width);
  return fitted(width == 5 ? printed("%05.0f", v) : width == 2 ? printed("%02.0f", v)
                                                               : printed("%03.0f", v),
                width);
}
std::string whole(int v, std::size_t width) {
  return fitted(width == 2 ? printed("%02d", v) : printed("%03d", v), width);
}

bool validDirection(int degrees) { return degrees >= 0 && degrees <= 360; }

struct Wind {
  std::string direction, speed, gust;
};

Wind cirrantWind(const AprsInputs& in) {
  const int direction = in.image.windDirection;
  const bool speedMissing = in.image.windSpeed == stationlink::kImageNone8;
  if (speedMissing || !validDirection(direction)) return {dots(3), dots(3), dots(3)};
  Wind w;
  w.direction = whole(direction == 0 ? 360 : direction, 3);
  if (!in.windHistory) {
    w.speed = whole(in.image.windSpeed, 3);
    w.gust = dots(3);
    return w;
  }
  if (!in.windHistory->speedMph) return {dots(3), dots(3), dots(3)};
  w.speed = rounded(*in.windHistory->speedMph, 3);
  w.gust = in.windHistory->gustMph ? rounded(*in.windHistory->gustMph, 3) : dots(3);
  return w;
}

Wind olderWind(const AprsInputs& in, const stationlink::SensorImage& image) {
  const station::StationConfig& c = in.config;
  Wind w{dots(3), dots(3), dots(3)};
  const int direction = image.windDirection;
  if (c.hasSensors(0, kWindVaneBit) && validDirection(direction))
    w.direction = whole(direction == 360 ? 0 : direction, 3);
  if (in.windHistory) {
    if (in.windHistory->speedMph) w.speed = rounded(*in.windHistory->speedMph, 3);
    if (in.windHistory->gustMph) w.gust = rounded(*in.windHistory->gustMph, 3);
  } else if (c.hasSensors(0, kAnemometerBit) && image.windSpeed != stationlink::kImageNone8) {
    w.speed = rounded(image.windSpeed, 3);
  }
  return w;
}

bool temperatureMissing(std::int16_t tenths) { return tenths == -32768 || tenths == 32767; }

std::string temperature(std::int16_t tenths) {
  return temperatureMissing(tenths) ? dots(3) : rounded(tenths * 0.1, 3);
}

std::string luminosity(const AprsInputs& in) {
  const int v = in.image.solarRadiation;
  // The field is 16 bits: 65535 arrives as -1, and no negative radiation is real.
  if (!in.config.hasSensors(0, kSolarBit) || v < 0 || v == 32767 || v >= kLuminosityLimit)
    return {};
  return v < 1000 ? printed("L%03d", v) : printed("l%03d", v - 1000);
}

std::string cirrantRain(const AprsInputs& in) {
  const int tips = in.image.rainDay;
  if (!in.config.hasSensors(0, kRainCollectorBit) || tips < 0) return dots(3);
  const quantities::StationRainCollector collector{in.config.rainCollectorType(),
                                                   in.config.rainClick()};
  return rounded(tips * quantities::stationInchesPerTip(collector) * 100.0, 3);
}

std::string cirrantHumidity(int h) {
  if (h == 100) return "00";
  if (h < 1 || h > 100) return dots(2);
  return whole(h, 2);
}

bool barometerUsable(const AprsInputs& in) {
  const int raw = in.image.barometer;
  return in.config.hasSensors(0, kBarometerBit) && raw >= kLowestBarometer &&
         raw <= kHighestBarometer;
}

// The console's reduction of its barometer to sea level and back to an altimeter setting.
struct Altimeter {
  std::string piece = dots(5);
  double stationHpa = 0;
  double ratio = 0;
};

Altimeter cirrantPressure(const AprsInputs& in) {
  Altimeter a;
  if (!barometerUsable(in)) return a;
  // The reply is bounded; copy it so the scan always meets a terminator.
  const std::string reply(in.barometerData.substr(0, 256));
  int elevation = 0, virtualTemp = 0, r = 0;
  if (std::sscanf(reply.c_str(), "%*s%*s%*s%d%*s%*s%*s%*s%*s%d%*s%*s%*s%d", &elevation,
                  &virtualTemp, &r) != 3)
    return a;
  const double ratio = std::abs(elevation) > 925
                           ? r * 0.001
                           : std::pow(10.0, elevation / ((virtualTemp + 460) * 122.894311));
  if (!std::isfinite(ratio) || ratio <= 0) return a;
  a.ratio = ratio;
  const double stationInHg = in.image.barometer / ratio * 0.001;
  a.stationHpa = stationInHg * 33.864;
  const double altimeter =
      std::pow(std::pow(stationInHg, 0.1903) + 1.313e-5 * elevation, 1.0 / 0.1903);
  a.piece = rounded(altimeter * 338.64, 5);
  return a;
}

std::string olderPressure(const AprsInputs& in, const stationlink::SensorImage& calibrated) {
  const int v = calibrated.barometer;
  if (!barometerUsable(in) || v <= 0 || v == 32767) return dots(5);
  return rounded(v * 0.001 * 338.64, 5);
}

std::string olderHumidity(const AprsInputs& in, int h) {
  if (!in.config.hasSensors(0, kOutsideHumidityBit) || h < 1 || h >= 100) return dots(2);
  return rounded(h, 2);
}

// "DDMM.mmN" and "DDDMM.mmW"; empty when the location is not a place on Earth.
std::optional<std::string> position(const station::StationConfig& c) {
  if (!c.locationSet()) return std::nullopt;
  const int latD = c.latDeg(), latM = c.latMin(), latS = c.latSec();
  const int lonD = c.lonDeg(), lonM = c.lonMin(), lonS = c.lonSec();
  auto inRange = [](int deg, int min, int sec, int maxDeg) {
    return deg >= 0 && min >= 0 && min <= 59 && sec >= 0 && sec <= 59 &&
           deg * 3600 + min * 60 + sec <= maxDeg * 3600;
  };
  if (!inRange(latD, latM, latS, 90) || !inRange(lonD, lonM, lonS, 180)) return std::nullopt;
  return printed("%02d%02d.%02.0f%c", latD, latM, latS * 100.0 / 60.0, c.latSouth() ? 'S' : 'N') +
         "/" +
         printed("%03d%02d.%02.0f%c", lonD, lonM, lonS * 100.0 / 60.0, c.lonWest() ? 'W' : 'E');
}

}  // namespace

HistoryWind historyWind(std::span<const double> samples) {
  auto usable = [](std::span<const double> part) {
    return !part.empty() && std::none_of(part.begin(), part.end(), [](double v) {
      return v == kWindSampleMissing || !std::isfinite(v);
    });
  };
  const std::size_t n = samples.size();
  const auto lastTwo = samples.subspan(n - std::min<std::size_t>(n, 2));
  const auto lastTen = samples.subspan(n - std::min<std::size_t>(n, 10));
  HistoryWind w;
  if (usable(lastTwo)) {
    double sum = 0;
    for (double v : lastTwo) sum += v;
    w.speedMph = sum / static_cast<double>(lastTwo.size());
  }
  if (usable(lastTen)) w.gustMph = *std::max_element(lastTen.begin(), lastTen.end());
  return w;
}

std::optional<std::string> normalisedCallSign(std::string_view callSign) {
  std::string s(callSign);
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
  auto alnum = [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'); };
  const std::size_t dash = s.find('-');
  const std::string_view base = std::string_view(s).substr(0, dash);
  if (base.empty() || base.size() > 6 || !std::all_of(base.begin(), base.end(), alnum))
    return std::nullopt;
  if (dash != std::string::npos) {
    const std::string_view ssid = std::string_view(s).substr(dash + 1);
    if (ssid.empty() || ssid.size() > 2 || !std::all_of(ssid.begin(), ssid.end(), alnum))
      return std::nullopt;
  }
  return s;
}

bool validAprsLogin(std::string_view login) {
  return !login.empty() && std::all_of(login.begin(), login.end(), [](char ch) {
    const auto u = static_cast<unsigned char>(ch);
    return u > 0x20 && u != 0x7F;
  });
}

platform::Result<AprsReport> BuildAprsReport(const AprsInputs& in) {
  const station::StationConfig& c = in.config;
  auto place = position(c);
  if (!place) return platform::Status::badArgument("location not set or out of range");
  auto source = normalisedCallSign(c.aprsCallSign());
  if (!source) return platform::Status::badArgument("call sign not valid");
  const std::string time = printed("%02d%02d%02dz", in.utc.day, in.utc.hour, in.utc.minute);

  AprsReport report;
  if (c.isCirrant()) {
    const Wind w = cirrantWind(in);
    const Altimeter a = cirrantPressure(in);
    report.packet = *source + ">APRS,TCPIP*:@" + time + *place + "_" + w.direction + "/" +
                    w.speed + "g" + w.gust + "t" + temperature(in.image.outsideTemperature) +
                    luminosity(in) + "P" + cirrantRain(in) + "h" +
                    cirrantHumidity(in.image.outsideHumidity) + "b" + a.piece + ".Kqzt";
    const double seaLevelHpa = barometerUsable(in) ? in.image.barometer * 0.033864 : 0.0;
    report.logText = formatText(kMsgCirrantReport, report.packet.c_str(), seaLevelHpa,
                                a.stationHpa, a.ratio);
    return report;
  }
  const stationlink::SensorImage calibrated = stationlink::calibrateSensorImage(in.image, c);
  const Wind w = olderWind(in, calibrated);
  const std::string temp = c.hasSensors(0, kOutsideTemperatureBit)
                               ? temperature(calibrated.outsideTemperature)
                               : dots(3);
  const std::string rain = c.hasSensors(0, kRainCollectorBit) && in.todayRainInches
                               ? rounded(*in.todayRainInches * 100.0, 3)
                               : dots(3);
  report.packet = *source + ">APRS,TCPIP*:@" + time + *place + "_" + w.direction + "/" + w.speed +
                  "g" + w.gust + "t" + temp + "P" + rain + "h" +
                  olderHumidity(in, calibrated.outsideHumidity) + "b" +
                  olderPressure(in, calibrated) + ".Kqz";
  report.logText = formatText(kMsgOlderReport, report.packet.c_str());
  return report;
}

}  // namespace publish
