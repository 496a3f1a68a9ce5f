#include "database/station_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "database/view_text.h"

namespace database {

using platform::Status;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A small integer hash so that the noise is the same on every run and machine.
std::uint32_t mix(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

// Noise in [-1, 1] for a moment.
double noise(std::uint32_t seed) { return (mix(seed) % 2001) / 1000.0 - 1.0; }

std::int16_t clampI16(double v, double lo, double hi) {
  return static_cast<std::int16_t>(std::lround(std::clamp(v, lo, hi)));
}

int dayOfYear(const DateTime& d) {
  int n = d.day;
  for (int m = 1; m < d.month; ++m)
    n += (m == 2) ? 28 : (m == 4 || m == 6 || m == 9 || m == 11) ? 30 : 31;
  return n;
}

// Summary values the generator keeps while it writes a day.
struct DayTotals {
  int minutes = 0;
  std::int16_t high = INT16_MIN, low = INT16_MAX;
  int highAt = 0, lowAt = 0;
  double tempSum = 0;
  int rainTips = 0;
};

void finishSummary(DailySummaryObject& s, const DayTotals& t) {
  Record88& a = s.a.record;
  a.setI16(kSumAMinutes, static_cast<std::int16_t>(std::min(t.minutes, 32767)));
  if (t.minutes > 0) {
    a.setI16(kSumAHighOutsideTemp, t.high);
    a.setI16(kSumALowOutsideTemp, t.low);
    a.setPacked12(kSumATimeSlots, kSlotAHighOutsideTemp, static_cast<std::uint16_t>(t.highAt));
    a.setPacked12(kSumATimeSlots, kSlotALowOutsideTemp, static_cast<std::uint16_t>(t.lowAt));
    a.setI16(kSumAAvgOutsideTemp, static_cast<std::int16_t>(std::lround(t.tempSum / t.minutes)));
    a.setI16(kSumARain, static_cast<std::int16_t>(std::min(t.rainTips * 10, 32767)));
  }
}

}  // namespace

ArchiveRecord generatedRecord(const DateTime& day, int minutes, int interval) {
  const double season = std::cos(2 * kPi * (dayOfYear(day) - 200) / 365.0);  // 1 in July
  const double daily = std::sin(2 * kPi * (minutes - 540) / 1440.0);         // 1 at 15:00
  const auto key = static_cast<std::uint32_t>(day.packed());
  const std::uint32_t seed = key * 1441U + static_cast<std::uint32_t>(minutes);
  ArchiveRecord r;
  r.setU8(kArcInterval, static_cast<std::uint8_t>(interval));
  r.setI16(kArcTime, static_cast<std::int16_t>(minutes));
  const double temp = 550 + 250 * season + 120 * daily + 15 * noise(seed);
  r.setI16(kArcOutsideTemp, clampI16(temp, -400, 1300));
  r.setI16(kArcHighOutsideTemp, clampI16(temp + 4, -400, 1300));
  r.setI16(kArcLowOutsideTemp, clampI16(temp - 4, -400, 1300));
  r.setI16(kArcInsideTemp, clampI16(700 + 20 * daily, 500, 900));
  r.setI16(kArcBarometer,
           clampI16(29920 + 300 * std::sin(2 * kPi * (day.packed() % 97 + minutes / 1440.0) / 5.0),
                    28000, 31500));
  r.setI16(kArcOutsideHumidity, clampI16(650 - 250 * daily + 40 * noise(seed + 1), 50, 1000));
  r.setI16(kArcInsideHumidity, clampI16(400 + 30 * daily, 100, 900));
  const bool rainyHour = mix(key * 24U + static_cast<std::uint32_t>(minutes / 60)) % 23 == 0;
  const int tips = rainyHour ? static_cast<int>(mix(seed + 2) % 3) : 0;
  r.setU16(kArcRain,
           static_cast<std::uint16_t>(tips | (kRainCollectorInches << kRainCollectorShift)));
  r.setI16(kArcHighRainRate, static_cast<std::int16_t>(tips * 60 / std::max(interval, 1)));
  const double wind = std::max(0.0, 60 + 40 * daily + 30 * noise(seed + 3));
  r.setI16(kArcWindSpeed, clampI16(wind, 0, 1500));
  r.setI16(kArcHighWindSpeed, clampI16(wind * 1.6, 0, 2000));
  const int dir = static_cast<int>(mix(key * 6U + static_cast<std::uint32_t>(minutes / 240)) % 16);
  r.setU8(kArcWindDirection, static_cast<std::uint8_t>(dir));
  r.setU8(kArcHighWindDirection, static_cast<std::uint8_t>((dir + 1) % 16));
  r.setI16(kArcWindSamples, static_cast<std::int16_t>(std::min(interval * 22, 32767)));
  const double sun =
      std::max(0.0, std::sin(kPi * (minutes - 360) / 720.0)) * (0.75 + 0.25 * season);
  r.setI16(kArcSolarRadiation, clampI16(900 * sun, 0, 1800));
  r.setI16(kArcHighSolarRadiation, clampI16(930 * sun, 0, 1800));
  r.setI16(kArcSolarEstimate, clampI16(950 * sun, 0, 1800));
  r.setU8(kArcUvIndex, static_cast<std::uint8_t>(std::lround(80 * sun)));
  r.setU8(kArcHighUvIndex, static_cast<std::uint8_t>(std::lround(84 * sun)));
  r.setU8(kArcForecastRule, static_cast<std::uint8_t>(mix(key) % 190));
  r.setU8(kArcEvapotranspiration, static_cast<std::uint8_t>(std::lround(interval * 0.2 * sun)));
  return r;
}

Status generateDays(WeatherDatabase& db, const GeneratorOptions& o) {
  if (o.intervalMinutes < 1 || o.intervalMinutes > 255) {
    return Status::badArgument(viewText(64791));
  }
  if (o.days < 0) return Status::badArgument(viewText(64792));
  if (!isValidDate(o.year, o.month, o.day)) return Status::badArgument(viewText(64793));
  DateTime day = DateTime::fromDate(o.year, o.month, o.day, kNoTime);
  // Generating over days already stored would overwrite their summaries and store
  // records twice.
  if (!db.dayList().empty() && day.packed() <= db.dayList().back()) {
    return Status::badArgument(viewText(64794));
  }
  WeatherDataObject obj;
  for (int n = 0; n < o.days; ++n, day.nextDay()) {
    DailySummaryObject summary;
    summary.a.date = day;
    summary.b.date = day;
    if (Status s = db.EditSummaryRecord(summary); !s) return s;
    DayTotals totals;
    for (int t = o.intervalMinutes; t <= kMinutesPerDay; t += o.intervalMinutes) {
      obj.record = generatedRecord(day, t, o.intervalMinutes);
      obj.date = day;
      obj.date.setMinutes(static_cast<std::uint16_t>(t));
      if (Status s = db.AppendArchiveRecord(obj); !s) return s;
      const std::int16_t temp = obj.record.i16(kArcOutsideTemp);
      if (temp > totals.high) {
        totals.high = temp;
        totals.highAt = t;
      }
      if (temp < totals.low) {
        totals.low = temp;
        totals.lowAt = t;
      }
      totals.minutes += o.intervalMinutes;
      totals.tempSum += static_cast<double>(temp) * o.intervalMinutes;
      totals.rainTips += obj.record.u16(kArcRain) & kRainTipsMask;
    }
    finishSummary(summary, totals);
    if (Status s = db.EditSummaryRecord(summary); !s) return s;
  }
  return db.flush();
}

Status generateStation(platform::FileSystem& fs, const std::string& directory,
                       const GeneratorOptions& options) {
  if (Status s = fs.createDirectories(directory); !s) return s;
  WeatherDatabase db(fs);
  const int opened = db.open(directory);
  if (opened != kResultOk && opened != kResultNoData) {
    return Status::io(viewText(64795, {directory}));
  }
  if (Status s = generateDays(db, options); !s) return s;
  return db.close();
}

}  // namespace database
