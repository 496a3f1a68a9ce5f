#include "reports/noaa_compute.h"

#include <cmath>

#include "platform/clock.h"
#include "reports/summary_day.h"

namespace reports {

namespace {

constexpr float kNotSet = -32768.0F;
constexpr double kStoredBase = 65.0;

double finiteOr(float v, double fallback) { return std::isfinite(v) ? v : fallback; }

// The integer thousandths of an inch that the inch rain-day classes compare against, so
// that 0.010 in is no rain day however the double multiplication rounds.
constexpr std::array<int, 3> kRainDayThousandths = {10, 100, 1000};

struct MonthInput {
  const NoaaSettings& settings;
  const NoaaThresholds& limits;
  const quantities::Units& units;
  bool recompute;  // integration from the archive records
};

platform::Status addDay(database::WeatherDatabase& db, const MonthInput& in, NoaaMonth& m,
                        int day) {
  auto read = readSummaryDay(db, m.year, m.month, day);
  if (!read) return read.status();
  if (!read->has_value() || (*read)->minutes <= 0) return platform::Status::ok();
  const SummaryDay& s = **read;
  const quantities::Units& u = in.units;
  NoaaDay& d = m.days[static_cast<std::size_t>(day)];
  d.hasData = true;
  ++m.daysWithData;

  d.rain = u.ConvertRain(s.rainThousandths * 0.001, 0);
  if (d.rain > m.topRain) {
    m.topRain = d.rain;
    m.topRainDay = day;
  }
  m.rainTotal += d.rain;
  for (std::size_t k = 0; k < 3; ++k) {
    const bool rainDay = in.limits.millimetres ? d.rain > in.limits.rainDay[k]
                                               : s.rainThousandths > kRainDayThousandths[k];
    if (rainDay) ++m.rainDays[k];
  }

  if (s.meanWind) d.meanWind = u.ConvertSpeed(*s.meanWind, 0);
  if (s.highWind) {
    d.highWind = u.ConvertSpeed(*s.highWind, 0);
    d.highWindTime = s.highWindTime;
    if (m.topWindDay == 0 || *d.highWind > m.topWind) {
      m.topWind = *d.highWind;
      m.topWindDay = day;
    }
  }
  d.direction = s.dominantDirection;
  for (std::size_t i = 0; i < 16; ++i) m.directionBins[i] += s.directionMinutes[i];

  if (s.highF) {
    d.high = u.ConvertTemp(*s.highF, 0);
    d.highTime = s.highTime;
    if (m.highestHighDay == 0 || *d.high > m.highestHigh) {
      m.highestHigh = *d.high;
      m.highestHighDay = day;
    }
    if (*d.high >= in.limits.hot) ++m.hotDays;
    if (*d.high <= in.limits.freezing) ++m.highFreezingDays;
  }
  if (s.lowF) {
    d.low = u.ConvertTemp(*s.lowF, 0);
    d.lowTime = s.lowTime;
    if (m.lowestLowDay == 0 || *d.low < m.lowestLow) {
      m.lowestLow = *d.low;
      m.lowestLowDay = day;
    }
    if (*d.low <= in.limits.freezing) ++m.lowFreezingDays;
    if (*d.low <= in.limits.cold) ++m.coldDays;
  }
  if (in.settings.integration) {
    if (s.meanF) d.mean = u.ConvertTemp(*s.meanF, 0);
  } else if (d.high && d.low) {
    d.mean = (*d.high + *d.low) / 2.0;
  }

  std::optional<DegreeDays> degreeDays;
  if (in.recompute) {
    auto integrated = integrateDay(db, m.year, m.month, day, in.settings.bases);
    if (!integrated) return integrated.status();
    degreeDays = *integrated;
  } else if (in.settings.integration) {
    if (s.heatingStored) d.heating = u.ConvertDegDay(*s.heatingStored, 0);
    if (s.coolingStored) d.cooling = u.ConvertDegDay(*s.coolingStored, 0);
  } else {
    degreeDays =
        s.highF && s.lowF ? maxMinDegreeDays(*s.highF, *s.lowF, in.settings.bases) : DegreeDays{};
  }
  if (degreeDays) {
    d.heating = u.ConvertDegDay(degreeDays->heating, 0);
    d.cooling = u.ConvertDegDay(degreeDays->cooling, 0);
  }
  if (d.heating) m.heatingTotal += *d.heating;
  if (d.cooling) m.coolingTotal += *d.cooling;

  if (d.meanWind) {
    m.windSum += *d.meanWind;
    ++m.windDays;
  }
  if (d.mean && d.high && d.low) {
    ++m.meanDays;
    m.meanSum += *d.mean;
    m.highSum += *d.high;
    m.lowSum += *d.low;
  }
  return platform::Status::ok();
}

}  // namespace

NoaaSettings NoaaSettings::fromStation(const station::StationConfig& config) {
  NoaaSettings s;
  s.bases.heating = finiteOr(config.heatBase(), kStoredBase);
  s.bases.cooling = finiteOr(config.coolBase(), kStoredBase);
  s.integration = config.noaaDegreeDayMethod() == 1;
  for (std::size_t m = 0; m < 12; ++m) {
    const float t = config.normalTemp(m);
    if (std::isfinite(t) && t != kNotSet) s.normalTemp[m] = t;
    const float r = config.normalRain(m);
    if (std::isfinite(r) && r >= 0) s.normalRain[m] = r;
  }
  return s;
}

NoaaThresholds NoaaThresholds::forUnits(const quantities::Units& units) {
  NoaaThresholds t;
  t.millimetres = units.GetRainUnit() == quantities::kMillimetres;
  t.rainDay =
      t.millimetres ? std::array<double, 3>{0.2, 2.0, 20.0} : std::array<double, 3>{0.01, 0.1, 1.0};
  if (units.GetTempUnit() == quantities::kCelsius) {
    t.hot = 32;
    t.freezing = 0;
    t.cold = -18;
  }
  return t;
}

std::optional<double> NoaaMonth::meanOfMeans() const {
  if (meanDays == 0) return std::nullopt;
  return meanSum / meanDays;
}

std::optional<double> NoaaMonth::meanWind() const {
  if (windDays == 0) return std::nullopt;
  return windSum / windDays;
}

int NoaaMonth::dominantDirection() const { return dominantBin(directionBins); }

int dominantBin(const std::array<long, 16>& bins) {
  int best = -1;
  long most = 0;
  for (std::size_t i = 0; i < bins.size(); ++i) {
    if (bins[i] > most) {
      most = bins[i];
      best = static_cast<int>(i);
    }
  }
  return best;
}

platform::Result<NoaaMonth> computeNoaaMonth(database::WeatherDatabase& db,
                                             const NoaaSettings& settings,
                                             const quantities::Units& units, int year, int month) {
  const NoaaThresholds limits = NoaaThresholds::forUnits(units);
  const bool recompute = settings.integration && (settings.bases.heating != kStoredBase ||
                                                  settings.bases.cooling != kStoredBase);
  const MonthInput in{settings, limits, units, recompute};
  NoaaMonth m;
  m.year = year;
  m.month = month;
  m.dayCount = platform::daysInMonth(year, month);
  for (int day = 1; day <= m.dayCount; ++day) {
    if (platform::Status s = addDay(db, in, m, day); !s) return s;
  }
  const auto index = static_cast<std::size_t>(month - 1);
  if (settings.normalTemp[index] && m.meanDays > 0) {
    m.tempDeparture = *m.meanOfMeans() - units.ConvertTemp(*settings.normalTemp[index], 0);
  }
  if (settings.normalRain[index]) {
    m.rainDeparture = m.rainTotal - units.ConvertRain(*settings.normalRain[index], 0);
  }
  return m;
}

platform::Result<NoaaYear> computeNoaaYear(database::WeatherDatabase& db,
                                           const NoaaSettings& settings,
                                           const quantities::Units& units, int year) {
  NoaaYear y;
  y.year = year;
  for (int month = 1; month <= 12; ++month) {
    auto m = computeNoaaMonth(db, settings, units, year, month);
    if (!m) return m.status();
    y.months[static_cast<std::size_t>(month - 1)] = std::move(*m);
  }
  return y;
}

}  // namespace reports
