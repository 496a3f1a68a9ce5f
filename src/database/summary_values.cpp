#include "database/summary_values.h"

#include <cstdio>
#include <optional>

#include "quantities/date_text.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace database {

namespace {

using quantities::codeCategory;
using quantities::codeClass;
using quantities::codeDerived;
using quantities::codeIndex;
using quantities::codeStatistic;
using quantities::SensorCode;

constexpr double kNone = kNoDataFloat;

enum class Stat { kHigh, kLow, kAverage, kTotal, kOther };

Stat statOf(SensorCode code) {
  switch (codeStatistic(code)) {
    case 4:
    case 5:
      return Stat::kHigh;
    case 6:
    case 7:
      return Stat::kLow;
    case 8:
      return Stat::kAverage;
    case 9:
      return Stat::kTotal;
    default:
      return Stat::kOther;
  }
}

bool isDaily(SensorCode code) {
  const int s = codeStatistic(code);
  return s >= 4 && s <= 9;
}

// A 16-bit summary field scaled to its unit; both markers read as none.
double field16(const Record88& rec, std::size_t off, double scale) {
  const std::int16_t v = rec.i16(off);
  return isNoData16(v) ? kNone : v * scale;
}

// Which of a high/low/average triple the statistic picks; none for another statistic.
std::optional<std::size_t> pick(Stat s, std::optional<std::size_t> high,
                                std::optional<std::size_t> low, std::optional<std::size_t> avg) {
  switch (s) {
    case Stat::kHigh:
      return high;
    case Stat::kLow:
      return low;
    case Stat::kAverage:
      return avg;
    default:
      return std::nullopt;
  }
}

struct Triple {
  bool inB;
  std::optional<std::size_t> high, low, avg;
};

std::optional<Triple> temperatureFields(SensorCode code) {
  const int idx = codeIndex(code);
  switch (codeDerived(code)) {
    case 0:
      if (idx == 0)
        return Triple{false, kSumAHighOutsideTemp, kSumALowOutsideTemp, kSumAAvgOutsideTemp};
      if (idx == 1)
        return Triple{false, kSumAHighInsideTemp, kSumALowInsideTemp, kSumAAvgInsideTemp};
      return std::nullopt;
    case 1:
      return Triple{false, kSumAHighDewPoint, kSumALowDewPoint, kSumAAvgDewPoint};
    case 2:
      return Triple{false, kSumAHighWindChill, kSumALowWindChill, kSumAAvgWindChill};
    case 3:
      return Triple{true, kSumBHighHeatIndex, kSumBLowHeatIndex, kSumBAvgHeatIndex};
    case 4:
      return Triple{true, kSumBHighThw, kSumBLowThw, std::nullopt};
    case 5:
      return Triple{true, kSumBHighThsw, kSumBLowThsw, std::nullopt};
    case 6:  // stored by every summary; read here too so the values are not write-only
      return Triple{true, kSumBHighDerived6, kSumBLowDerived6, kSumBAvgDerived6};
    default:
      return std::nullopt;
  }
}

double fromTriple(const DailySummaryObject& s, const Triple& t, Stat stat, double scale) {
  const auto off = pick(stat, t.high, t.low, t.avg);
  if (!off) return kNone;
  return field16(t.inB ? s.b.record : s.a.record, *off, scale);
}

double directionValue(std::uint8_t v) { return v == kNoData8 ? kNone : v; }

double userValue(double v, SensorCode code, const quantities::Units& u) {
  if (v == kNone) return v;
  switch (codeClass(code)) {
    case quantities::kClassTemperature:
      return u.ConvertTemp(v, 0);
    case quantities::kClassRain:
      return u.ConvertRain(v, 0);
    case quantities::kClassRainRate:
      return u.ConvertRate(v, 0);
    case quantities::kClassWindSpeed:
      return u.ConvertSpeed(v, 0);
    case quantities::kClassBarometer:
      return u.ConvertBar(v, 0);
    case quantities::kClassDistance:
      switch (u.GetWindSpeedUnit()) {
        case quantities::kKnots:
          return v * 0.8695652173913044;
        case quantities::kKmh:
          return v * 1.609344;
        case quantities::kMetresPerSecond:
          return v * 0.44704 * 3.6;
        default:
          return v;
      }
    default:  // degree-days stay in °F·days
      return v;
  }
}

// Record A slots are 0 to 17, record B slots 100 to 108.
constexpr int kB = 100;

std::optional<int> timeSlot(SensorCode code) {
  const Stat stat = statOf(code);
  if (stat != Stat::kHigh && stat != Stat::kLow) return std::nullopt;
  const bool high = stat == Stat::kHigh;
  const int idx = codeIndex(code);
  auto hl = [high](int h, int l) { return std::optional<int>(high ? h : l); };
  auto highOnly = [high](int h) { return high ? std::optional<int>(h) : std::nullopt; };
  const int derived = codeDerived(code);
  if (derived == 0) {
    switch (codeCategory(code)) {
      case quantities::kCatTemperature:
        if (idx == 0) return hl(kSlotAHighOutsideTemp, kSlotALowOutsideTemp);
        if (idx == 1) return hl(kSlotAHighInsideTemp, kSlotALowInsideTemp);
        return std::nullopt;
      case quantities::kCatHumidity:
        if (idx == 0) return hl(kSlotAHighOutsideHumidity, kSlotALowOutsideHumidity);
        if (idx == 1) return hl(kSlotAHighInsideHumidity, kSlotALowInsideHumidity);
        return std::nullopt;
      case quantities::kCatWindSpeed:
        if (idx == 0) return highOnly(kSlotAHighWindSpeed);
        if (idx == 1) return highOnly(kSlotAHighWindSpeed2);
        return std::nullopt;
      case quantities::kCatBarometer:
        return hl(kSlotAHighBarometer, kSlotALowBarometer);
      case quantities::kCatRainRate:
        return highOnly(kSlotAHighRainRate);
      case quantities::kCatSolar:
        return highOnly(kB + kSlotBHighSolar);
      case quantities::kCatUv:
        return highOnly(kSlotAHighUvIndex);
      default:
        return std::nullopt;
    }
  }
  if (derived == 2) {
    return idx == 0 ? hl(kSlotAHighWindChill, kSlotALowWindChill) : std::nullopt;
  }
  if (code >= 0x10000) return std::nullopt;
  switch (derived) {
    case 1:
      return hl(kSlotAHighDewPoint, kSlotALowDewPoint);
    case 3:
      return hl(kB + kSlotBHighHeatIndex, kB + kSlotBLowHeatIndex);
    case 4:
      return hl(kB + kSlotBHighThw, kB + kSlotBLowThw);
    case 5:
      return hl(kB + kSlotBHighThsw, kB + kSlotBLowThsw);
    case 6:
      return hl(kB + kSlotBHighDerived6, kB + kSlotBLowDerived6);
    default:
      return std::nullopt;
  }
}

std::string format(const char* fmt, int a, char sep, int b) {
  char buf[32];
  std::snprintf(buf, sizeof buf, fmt, a, sep, b);
  return buf;
}

}  // namespace

int dominantDirection(const DailySummaryObject& summary) {
  int best = -1;
  int bestMinutes = 0;
  for (int d = 0; d < kSumBWindDirCount; ++d) {
    const int m = summary.b.record.packed12(kSumBWindDirMinutes, d);
    if (m > bestMinutes) {
      best = d;
      bestMinutes = m;
    }
  }
  return best;
}

double summaryValue(const DailySummaryObject& s, SensorCode code) {
  if (!isDaily(code)) return kNone;
  const Stat stat = statOf(code);
  const Record88& a = s.a.record;
  const Record88& b = s.b.record;
  const int idx = codeIndex(code);
  const int derived = codeDerived(code);
  const int category = codeCategory(code);
  switch (codeClass(code)) {
    case quantities::kClassTemperature: {
      const auto t = temperatureFields(code);
      return t ? fromTriple(s, *t, stat, 0.1) : kNone;
    }
    case quantities::kClassDegreeDays:
      return field16(b, category <= 127 ? kSumBHeatingDegreeDays : kSumBCoolingDegreeDays, 0.1);
    case quantities::kClassRain:
      if (derived == quantities::kEvapotranspiration) {
        return b.i16(kSumBEvapotranspiration) == kNoData16 ? kNone
                                                           : b.i16(kSumBEvapotranspiration) * 0.001;
      }
      if (derived == 0 && category == quantities::kCatRain && stat == Stat::kTotal) {
        return field16(a, kSumARain, 0.001);
      }
      return kNone;
    case quantities::kClassRainRate:
      return category == quantities::kCatRainRate && stat == Stat::kHigh
                 ? field16(a, kSumAHighRainRate, 0.01)
                 : kNone;
    case quantities::kClassWindSpeed:
      if (idx == 0) {
        if (stat == Stat::kHigh) return field16(a, kSumAHighWindSpeed, 0.1);
        if (stat == Stat::kAverage) return field16(a, kSumAAvgWindSpeed, 0.1);
      } else if (idx == 1 && stat == Stat::kHigh) {
        return field16(a, kSumAHighWindSpeed2, 0.1);
      }
      return kNone;
    case quantities::kClassDirection:
      if (stat == Stat::kAverage) {
        const int d = dominantDirection(s);
        return d < 0 ? kNone : d;
      }
      if (idx == 0) return directionValue(a.u8(kSumAHighWindDirection));
      if (idx == 1) return directionValue(a.u8(kSumAHighWindDirection2));
      return kNone;
    case quantities::kClassBarometer: {
      const auto off = pick(stat, kSumAHighBarometer, kSumALowBarometer, kSumAAvgBarometer);
      if (!off) return kNone;
      const std::int16_t v = a.i16(*off);
      return isBarometerNoData(v) ? kNone : v * 0.001;
    }
    case 9:
      if (category != quantities::kCatMinutes) return kNone;
      if (idx == 0) return field16(a, kSumAMinutes, 1.0);
      if (idx == 1) return field16(b, kSumBMinutes2, 1.0);
      return kNone;
    case quantities::kClassSolarRadiation:
      return field16(b, kSumBHighSolar, 1.0);
    case quantities::kClassSolarEnergy:
      return field16(b, kSumBSolarEnergy, 0.1);
    case quantities::kClassUvIndex:
      return a.u8(kSumAHighUvIndex) == kNoData8 ? kNone : a.u8(kSumAHighUvIndex) * 0.1;
    case quantities::kClassUvDose:
      return field16(a, kSumAUvDose, 0.1);
    case quantities::kClassHumidity:
      if (derived != 0 || category != quantities::kCatHumidity) return kNone;
      if (idx == 0) {
        const auto off =
            pick(stat, kSumAHighOutsideHumidity, kSumALowOutsideHumidity, kSumAAvgOutsideHumidity);
        return off ? field16(a, *off, 0.1) : kNone;
      }
      if (idx == 1) {
        const auto off = pick(stat, kSumAHighInsideHumidity, kSumALowInsideHumidity, std::nullopt);
        return off ? field16(a, *off, 0.1) : kNone;
      }
      return kNone;
    case quantities::kClassDistance:
      return field16(a, kSumAWindRun, 0.1);
    default:
      return kNone;
  }
}

int GetSummaryData(const DailySummaryObject& summary, SensorCode code, unsigned internalUnits,
                   float* value, const quantities::Units& units) {
  if (value == nullptr) return kResultBadArgument;
  const double v = summaryValue(summary, code);
  *value = static_cast<float>(internalUnits != 0 ? v : userValue(v, code, units));
  return kResultOk;
}

std::string GetSummaryDataStr(const DailySummaryObject& summary, SensorCode code,
                              const quantities::Units& units) {
  const double internal = summaryValue(summary, code);
  if (internal == kNone) return std::string(quantities::kDash3);
  const double v = userValue(internal, code, units);
  using quantities::fixedText;
  switch (codeClass(code)) {
    case quantities::kClassTemperature:
    case quantities::kClassDegreeDays:
    case quantities::kClassSolarEnergy:
    case quantities::kClassUvIndex:
      return fixedText(v, 1);
    case quantities::kClassRain:
    case quantities::kClassRainRate:
    case quantities::kClassUvDose:
    case quantities::kClassDistance:
      return fixedText(v, 2);
    case quantities::kClassWindSpeed:
    case quantities::kClassHumidity:
    case quantities::kClassSolarRadiation:
      return fixedText(v, 0);
    case quantities::kClassBarometer:
      return fixedText(v, 3);
    case quantities::kClassDirection:
      return quantities::DomDirStr(static_cast<int>(v));
    case 9:
      if (codeIndex(code) == 0) return quantities::minutesText(static_cast<int>(v));
      return fixedText(v, 0);
    default:
      return std::string(quantities::kDash3);
  }
}

int GetSummaryTimeValue(const DailySummaryObject& summary, SensorCode code) {
  const auto slot = timeSlot(code);
  if (!slot) return static_cast<int>(kNone);
  const std::uint16_t t = *slot >= kB ? summary.b.record.packed12(kSumBTimeSlots, *slot - kB)
                                      : summary.a.record.packed12(kSumATimeSlots, *slot);
  return isSlotTime(t) ? t : static_cast<int>(kNone);
}

std::string GetSummaryTimeStr(const DailySummaryObject& summary, SensorCode code,
                              const platform::IntlSettings& intl) {
  const int t = GetSummaryTimeValue(summary, code);
  if (t < 0) return std::string(quantities::kDash3);
  DateTime dt = summary.a.date;
  dt.setMinutes(static_cast<std::uint16_t>(t));
  return quantities::timeText(dt, intl);
}

std::string GetExportSummaryTimeStr(const DailySummaryObject& summary, SensorCode code,
                                    const platform::IntlSettings& intl) {
  const int t = GetSummaryTimeValue(summary, code);
  if (t < 0) return std::string(quantities::kDash3);
  const int h = t / 60;
  const int m = t % 60;
  const char sep = intl.timeSeparator;
  if (intl.clock24) return format("%d%c%02d", h, sep, m);
  if (h == 0 || h == 24) return format("%d%c%02d a", 12, sep, m);
  if (h < 12) return format("%d%c%02d a", h, sep, m);
  return format("%d%c%02d p", h == 12 ? 12 : h - 12, sep, m);
}

}  // namespace database
