#include "consolesim/weather_model.h"

#include <algorithm>
#include <cmath>

namespace consolesim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::int64_t kDay = 86400;

std::uint64_t mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

}  // namespace

LocalSeconds localSecondsFromCivil(const platform::CivilTime& c) {
  return platform::wallFromCivil(c).time_since_epoch().count();
}

platform::CivilTime civilFromLocalSeconds(LocalSeconds t) {
  return platform::civilFromWall(platform::WallTime{std::chrono::seconds{t}});
}

double WeatherModel::unit(std::int64_t key, std::uint64_t stream) const {
  const std::uint64_t h = mix(seed_ ^ mix(static_cast<std::uint64_t>(key) ^ (stream << 56)));
  return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

Reading WeatherModel::at(LocalSeconds t) const {
  const platform::CivilTime c = civilFromLocalSeconds(t);
  const double hour = c.hour + c.minute / 60.0 + c.second / 3600.0;
  const double season = std::cos(2 * kPi * (c.yearDay - 200) / 365.0);
  // Slow weather systems: noise sampled every three hours and interpolated.
  auto smooth = [&](std::uint64_t stream, std::int64_t period) {
    const std::int64_t k = floorDiv(t, period);
    const double f = static_cast<double>(t - k * period) / static_cast<double>(period);
    const double a = unit(k, stream) * 2 - 1;
    const double b = unit(k + 1, stream) * 2 - 1;
    const double w = (1 - std::cos(f * kPi)) / 2;
    return a + (b - a) * w;
  };
  Reading r;
  const double daily = std::sin(2 * kPi * (hour - 9) / 24.0);
  const double tempF = 55 + 20 * season + 10 * daily + 6 * smooth(1, 3 * 3600) + smooth(2, 900);
  r.outsideTemp = static_cast<int>(std::lround(tempF * 10));
  r.outsideHum = std::clamp(
      static_cast<int>(std::lround(72 - (tempF - 55) * 1.1 + 12 * smooth(3, 4 * 3600))), 8, 100);
  r.insideTemp = static_cast<int>(std::lround((70 + 2 * daily + smooth(4, 3600)) * 10));
  r.insideHum = std::clamp(static_cast<int>(std::lround(42 + 5 * smooth(5, 6 * 3600))), 1, 100);
  r.barometer =
      static_cast<int>(std::lround(29920 + 350 * smooth(6, 12 * 3600) + 60 * smooth(7, 2 * 3600)));
  r.windSpeed = std::max(0, static_cast<int>(std::lround(6 + 5 * smooth(8, 2 * 3600) +
                                                         4 * smooth(9, 300) + 2 * daily)));
  int dir = static_cast<int>(std::lround(180 + 170 * smooth(10, 6 * 3600) + 30 * smooth(11, 600)));
  dir = ((dir % 360) + 360) % 360;
  r.windDir = dir == 0 ? 360 : dir;
  const double sunUp = std::sin(kPi * (hour - 6 - season) / (12 + 2 * season));
  const double cloud = 0.55 + 0.45 * smooth(12, 3 * 3600);
  r.solar =
      sunUp > 0 ? static_cast<int>(std::lround(1000 * sunUp * (0.8 + 0.2 * season) * cloud)) : 0;
  r.uv = std::clamp(r.solar / 9, 0, 160);
  r.rainRate = hourRate(floorDiv(t, 3600));
  return r;
}

int WeatherModel::hourRate(std::int64_t hourIndex) const {
  // About one hour in twenty-five rains, at a steady rate for the hour.
  if (unit(hourIndex, 20) >= 0.04) return 0;
  return 1 + static_cast<int>(unit(hourIndex, 21) * 80);
}

double WeatherModel::rainCumulative(LocalSeconds dayStart, LocalSeconds t) const {
  double total = 0;
  const std::int64_t firstHour = floorDiv(dayStart, 3600);
  for (std::int64_t h = firstHour; h * 3600 < t; ++h) {
    const std::int64_t from = h * 3600;
    const std::int64_t to = std::min<std::int64_t>(t, from + 3600);
    total += hourRate(h) * static_cast<double>(to - from) / 3600.0;
  }
  return total;
}

int WeatherModel::rainSinceMidnight(LocalSeconds t) const {
  const LocalSeconds dayStart = floorDiv(t, kDay) * kDay;
  return static_cast<int>(std::floor(rainCumulative(dayStart, t)));
}

int WeatherModel::rainBetween(LocalSeconds from, LocalSeconds to) const {
  // Both ends are measured from the midnight that starts `from`'s day, so an interval that
  // closes at midnight still gets its share and whole days add up exactly.
  const LocalSeconds dayStart = floorDiv(from, kDay) * kDay;
  const auto a = static_cast<int>(std::floor(rainCumulative(dayStart, from)));
  const auto b = static_cast<int>(std::floor(rainCumulative(dayStart, to)));
  return std::max(0, b - a);
}

int WeatherModel::etBetween(LocalSeconds from, LocalSeconds to) const {
  // Roughly 0.2 inch on a clear summer day, driven by the sunshine at the interval's middle.
  const Reading mid = at(from + (to - from) / 2);
  const double hours = static_cast<double>(to - from) / 3600.0;
  return std::clamp(static_cast<int>(std::lround(mid.solar * 0.025 * hours)), 0, 254);
}

}  // namespace consolesim
