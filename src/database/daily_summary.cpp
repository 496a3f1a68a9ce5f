#include "database/daily_summary.h"

#include <cmath>
#include <cstdint>

#include "database/summary_numbers.h"
#include "quantities/code_resolver.h"

namespace database {

namespace {

using quantities::resolveCode;
using quantities::ResolvedCode;
using quantities::SensorCode;

// The codes read from every record, resolved once: a rebuild reads a million records.
struct RecordCodes {
  ResolvedCode outsideTemp = resolveCode(0x0);
  ResolvedCode insideTemp = resolveCode(0x1000000);
  ResolvedCode outsideHumidity = resolveCode(0x101C0);
  ResolvedCode barometer = resolveCode(0x400E0);
  ResolvedCode windSpeed = resolveCode(0x20080);
  ResolvedCode direction = resolveCode(0x304C0);
  ResolvedCode dewPoint = resolveCode(0x1);
  ResolvedCode windChill = resolveCode(0x2);
  ResolvedCode heatIndex = resolveCode(0x3);
  ResolvedCode thw = resolveCode(0x4);
  ResolvedCode thsw = resolveCode(0x5);
  ResolvedCode derived6 = resolveCode(0x6);
  ResolvedCode rainRate = resolveCode(0x60860);
  ResolvedCode solarEnergy = resolveCode(0x70569);
  ResolvedCode uvDose = resolveCode(0x805AA);
  ResolvedCode windRun = resolveCode(0x20647);
  ResolvedCode rain = resolveCode(0x50440);
};

const RecordCodes& codes() {
  static const RecordCodes kCodes;
  return kCodes;
}

constexpr double kDegreeDayBaseF = 65.0;

bool present(double v) { return v != kNoDataFloat && std::isfinite(v); }

// Adds n minutes of a value. The minute count is 16 bits wide; once it is full the
// further minutes are left out rather than wrapping, so the average stays an average.
void addToSum(SummarySum& s, double v, int n) {
  if (!present(v) || s.minutes + n > kMaxCount16) return;
  s.sum += v * n;
  s.minutes = static_cast<std::int16_t>(s.minutes + n);
}

// Solar energy, UV dose and wind run start as none; the first value replaces it.
void addToTotal(double& total, double v) {
  if (!present(v)) return;
  total = total == kNoDataFloat ? v : total + v;
}

// The slot value for a record's time: a time outside the day is stored as no time, so
// that a record without a time never claims midnight.
std::uint16_t slotTime(int t, std::uint16_t noTime) {
  return t >= 0 && t <= kMinutesPerDay ? static_cast<std::uint16_t>(t) : noTime;
}

// One high/low pair of a summary record and its time slots (-1: no slot).
struct Extremes {
  std::size_t high;
  std::size_t low;
  int highSlot;
  int lowSlot;
};

// A high is replaced only by a strictly greater value and a low by a strictly smaller
// one, so the earliest of equal extremes keeps its time.
void updateExtremes(Record88& rec, std::size_t slotField, std::uint16_t time, const Extremes& e,
                    std::int16_t v) {
  if (v > rec.i16(e.high)) {
    rec.setI16(e.high, v);
    rec.setPacked12(slotField, e.highSlot, time);
  }
  // A low already completed to none (0x8000) is lowered by any value.
  const std::int16_t low = rec.i16(e.low);
  if (low == kNoData16 || v < low) {
    rec.setI16(e.low, v);
    rec.setPacked12(slotField, e.lowSlot, time);
  }
}

void updateHigh(Record88& rec, std::size_t slotField, std::uint16_t time, std::size_t field,
                int slot, std::int16_t v) {
  if (v > rec.i16(field)) {
    rec.setI16(field, v);
    rec.setPacked12(slotField, slot, time);
  }
}

constexpr bool isStoredNone16(std::int16_t v) { return isNoData16(v); }

struct DerivedValues {
  double dewPoint, windChill, heatIndex, thw, thsw, derived6;
};

void addSums(DailySummaryObject& s, const ArchiveRecord& r, int n, const DerivedValues& d,
             const quantities::ValueContext& ctx) {
  const RecordCodes& c = codes();
  SummaryAccumulators& acc = s.sums;
  const double temp = quantities::readValue(r, c.outsideTemp, true, ctx);
  if (present(temp)) {
    addToSum(acc.outsideTemp, temp, n);
    const double dd = (kDegreeDayBaseF - temp) * n / kMinutesPerDay;
    if (dd > 0) {
      acc.heatingDegreeDays += dd;
    } else {
      acc.coolingDegreeDays -= dd;
    }
  }
  addToSum(acc.insideTemp, quantities::readValue(r, c.insideTemp, true, ctx), n);
  addToSum(acc.outsideHumidity, quantities::readValue(r, c.outsideHumidity, true, ctx), n);
  addToSum(acc.barometer, quantities::readValue(r, c.barometer, true, ctx), n);
  addToSum(acc.windSpeed, quantities::readValue(r, c.windSpeed, true, ctx), n);

  const double dir = quantities::readValue(r, c.direction, true, ctx);
  if (present(dir) && dir >= 0 && dir < kSumBWindDirCount) {
    const int k = static_cast<int>(dir);
    const int minutes = s.b.record.packed12(kSumBWindDirMinutes, k) + n;
    s.b.record.setPacked12(kSumBWindDirMinutes, k, saturate12(minutes));
  }

  addToSum(acc.windChill, d.windChill, n);
  addToSum(acc.heatIndex, d.heatIndex, n);
  addToSum(acc.derived6, d.derived6, n);
  addToSum(acc.dewPoint, d.dewPoint, n);

  s.a.record.setI16(kSumAMinutes, saturateCount(s.a.record.i16(kSumAMinutes) + n));
}

void addExtremes(DailySummaryObject& s, const ArchiveRecord& r, int t, const DerivedValues& d) {
  Record88& a = s.a.record;
  Record88& b = s.b.record;
  const std::uint16_t ta = slotTime(t, kSlotNoTimeA);
  const std::uint16_t tb = slotTime(t, kSlotNoTimeB);

  const std::int16_t high = r.i16(kArcHighOutsideTemp);
  if (!isStoredNone16(high)) {
    updateHigh(a, kSumATimeSlots, ta, kSumAHighOutsideTemp, kSlotAHighOutsideTemp, high);
  }
  const std::int16_t low = r.i16(kArcLowOutsideTemp);
  const std::int16_t dayLow = a.i16(kSumALowOutsideTemp);
  if (!isStoredNone16(low) && (dayLow == kNoData16 || low < dayLow)) {
    a.setI16(kSumALowOutsideTemp, low);
    a.setPacked12(kSumATimeSlots, kSlotALowOutsideTemp, ta);
  }
  const std::int16_t inside = r.i16(kArcInsideTemp);
  if (!isStoredNone16(inside)) {
    updateExtremes(
        a, kSumATimeSlots, ta,
        {kSumAHighInsideTemp, kSumALowInsideTemp, kSlotAHighInsideTemp, kSlotALowInsideTemp},
        inside);
  }

  struct DerivedTarget {
    double value;
    bool inB;
    Extremes e;
  };
  const DerivedTarget derived[] = {
      {d.heatIndex,
       true,
       {kSumBHighHeatIndex, kSumBLowHeatIndex, kSlotBHighHeatIndex, kSlotBLowHeatIndex}},
      {d.dewPoint,
       false,
       {kSumAHighDewPoint, kSumALowDewPoint, kSlotAHighDewPoint, kSlotALowDewPoint}},
      {d.windChill,
       false,
       {kSumAHighWindChill, kSumALowWindChill, kSlotAHighWindChill, kSlotALowWindChill}},
      {d.derived6,
       true,
       {kSumBHighDerived6, kSumBLowDerived6, kSlotBHighDerived6, kSlotBLowDerived6}},
      {d.thsw, true, {kSumBHighThsw, kSumBLowThsw, kSlotBHighThsw, kSlotBLowThsw}},
      {d.thw, true, {kSumBHighThw, kSumBLowThw, kSlotBHighThw, kSlotBLowThw}},
  };
  for (const DerivedTarget& target : derived) {
    if (!present(target.value)) continue;
    const std::int16_t tenths = saturateValue(roundHalfAway(target.value * 10.0));
    if (target.inB) {
      updateExtremes(b, kSumBTimeSlots, tb, target.e, tenths);
    } else {
      updateExtremes(a, kSumATimeSlots, ta, target.e, tenths);
    }
  }

  const std::int16_t bar = r.i16(kArcBarometer);
  if (!isBarometerNoData(bar)) {
    updateExtremes(a, kSumATimeSlots, ta,
                   {kSumAHighBarometer, kSumALowBarometer, kSlotAHighBarometer, kSlotALowBarometer},
                   bar);
  }
  const std::int16_t outHum = r.i16(kArcOutsideHumidity);
  if (!isStoredNone16(outHum)) {
    updateExtremes(a, kSumATimeSlots, ta,
                   {kSumAHighOutsideHumidity, kSumALowOutsideHumidity, kSlotAHighOutsideHumidity,
                    kSlotALowOutsideHumidity},
                   outHum);
  }
  const std::int16_t inHum = r.i16(kArcInsideHumidity);
  if (!isStoredNone16(inHum)) {
    updateExtremes(a, kSumATimeSlots, ta,
                   {kSumAHighInsideHumidity, kSumALowInsideHumidity, kSlotAHighInsideHumidity,
                    kSlotALowInsideHumidity},
                   inHum);
  }
}

void addWindSolarUv(DailySummaryObject& s, const ArchiveRecord& r, int t,
                    const quantities::ValueContext& ctx) {
  const RecordCodes& c = codes();
  Record88& a = s.a.record;
  Record88& b = s.b.record;
  const std::uint16_t ta = slotTime(t, kSlotNoTimeA);
  const std::uint16_t tb = slotTime(t, kSlotNoTimeB);

  // A negative rate is no rate at all; it would otherwise beat the initial none.
  const double rate = quantities::readValue(r, c.rainRate, true, ctx);
  if (present(rate) && rate >= 0) {
    const std::int16_t hundredths = saturateValue(std::floor(rate * 100.0 + 0.5));
    updateHigh(a, kSumATimeSlots, ta, kSumAHighRainRate, kSlotAHighRainRate, hundredths);
  }

  const std::int16_t gust = r.i16(kArcHighWindSpeed);
  if (gust != kNoData16 && gust > a.i16(kSumAHighWindSpeed)) {
    a.setI16(kSumAHighWindSpeed, gust);
    a.setPacked12(kSumATimeSlots, kSlotAHighWindSpeed, ta);
    a.setU8(kSumAHighWindDirection, r.u8(kArcHighWindDirection));
  }

  const std::int16_t samples = r.i16(kArcWindSamples);
  if (samples >= 0) {
    const std::int16_t sofar = b.i16(kSumBWindSamples);
    b.setI16(kSumBWindSamples, sofar == kNoData16 ? samples : saturateCount(sofar + samples));
  }

  auto solarValid = [](std::int16_t v) { return v >= -200 && v <= 32766; };
  std::int16_t solar = r.i16(kArcHighSolarRadiation);
  if (!solarValid(solar)) solar = r.i16(kArcSolarRadiation);
  if (solarValid(solar)) {
    updateHigh(b, kSumBTimeSlots, tb, kSumBHighSolar, kSlotBHighSolar, solar);
  }

  addToTotal(s.sums.solarEnergy, quantities::readValue(r, c.solarEnergy, true, ctx));

  std::uint8_t uv = r.u8(kArcHighUvIndex);
  if (uv == kNoData8) uv = r.u8(kArcUvIndex);
  if (uv != kNoData8) {
    const std::uint8_t best = a.u8(kSumAHighUvIndex);
    if (best == kNoData8 || best < uv) {
      a.setU8(kSumAHighUvIndex, uv);
      a.setPacked12(kSumATimeSlots, kSlotAHighUvIndex, ta);
    }
  }

  addToTotal(s.sums.uvDose, quantities::readValue(r, c.uvDose, true, ctx));
  addToTotal(s.sums.windRun, quantities::readValue(r, c.windRun, true, ctx));

  const double rain = quantities::readValue(r, c.rain, true, ctx);
  if (present(rain)) s.sums.rainInches += rain;

  const std::uint8_t et = r.u8(kArcEvapotranspiration);
  if (et != kNoData8) {
    const int thousandths = (r.u8(kArcTransmitter) & kArcEtNegative) ? -et : et;
    const std::int16_t sofar = b.i16(kSumBEvapotranspiration);
    b.setI16(kSumBEvapotranspiration,
             sofar == kNoData16 ? static_cast<std::int16_t>(thousandths)
                                : saturateValue(static_cast<double>(sofar) + thousandths));
  }
}

// The average of a sum, stored as `scale` units per internal unit, or none.
void storeAverage(Record88& rec, std::size_t field, const SummarySum& s, double scale) {
  if (s.minutes < 1) {
    rec.setI16(field, kNoData16);
    return;
  }
  rec.setI16(field, saturateValue(roundHalfAway(s.sum / s.minutes * scale)));
}

std::int16_t tenthsRoundedUp(double v) { return saturateValue(std::floor(v * 10.0 + 0.5)); }

}  // namespace

DateTime filingDay(const DateTime& recordDate) {
  DateTime day = recordDate;
  if (day.minutes == 0) day.previousDay();
  day.setMinutes(kNoTime);
  return day;
}

int ResetSummary(DailySummaryObject& summary, int month, int day, int year, int /*minutes*/) {
  if (!isValidDate(year, month, day)) {
    summary = DailySummaryObject{};
    return kResultBadArgument;
  }
  summary = DailySummaryObject{};
  summary.a.date = DateTime::fromDate(year, month, day, kNoTime);
  summary.b.date = summary.a.date;
  summary.active = 1;
  summary.state = kSummaryReady;
  return kResultOk;
}

int SummarizeDataRecord(DailySummaryObject& summary, const WeatherDataObject& record,
                        const quantities::ValueContext& ctx) {
  if (summary.state != kSummaryReady || summary.active == 0) return 0;
  const ArchiveRecord& r = record.record;
  if (r.type() != kArchiveRecordType) return 0;
  const RecordCodes& c = codes();
  const int n = r.interval();
  const int t = r.timeOfDay();
  // Each derived quantity is computed once and serves both its average and its extremes.
  const DerivedValues derived{
      quantities::readValue(r, c.dewPoint, true, ctx),
      quantities::readValue(r, c.windChill, true, ctx),
      quantities::readValue(r, c.heatIndex, true, ctx),
      quantities::readValue(r, c.thw, true, ctx),
      quantities::readValue(r, c.thsw, true, ctx),
      quantities::readValue(r, c.derived6, true, ctx),
  };
  addSums(summary, r, n, derived, ctx);
  addExtremes(summary, r, t, derived);
  addWindSolarUv(summary, r, t, ctx);
  return 1;
}

int FinalSummarizeData(DailySummaryObject& summary) {
  if (summary.state != kSummaryReady || summary.active == 0) return 0;
  Record88& a = summary.a.record;
  Record88& b = summary.b.record;
  const SummaryAccumulators& acc = summary.sums;

  storeAverage(a, kSumAAvgOutsideTemp, acc.outsideTemp, 10.0);
  storeAverage(a, kSumAAvgInsideTemp, acc.insideTemp, 10.0);
  if (acc.outsideHumidity.minutes < 1) {
    a.setI16(kSumAAvgOutsideHumidity, kNoData16);
  } else {
    const double tenths = acc.outsideHumidity.sum / acc.outsideHumidity.minutes * 10.0 + 0.5;
    a.setI16(kSumAAvgOutsideHumidity, saturateValue(std::trunc(tenths)));
  }
  storeAverage(a, kSumAAvgBarometer, acc.barometer, 1000.0);
  storeAverage(a, kSumAAvgWindSpeed, acc.windSpeed, 10.0);
  storeAverage(a, kSumAAvgWindChill, acc.windChill, 10.0);
  storeAverage(b, kSumBAvgHeatIndex, acc.heatIndex, 10.0);
  storeAverage(b, kSumBAvgDerived6, acc.derived6, 10.0);
  storeAverage(a, kSumAAvgDewPoint, acc.dewPoint, 10.0);

  b.setI16(kSumBHeatingDegreeDays, tenthsRoundedUp(acc.heatingDegreeDays));
  b.setI16(kSumBCoolingDegreeDays, tenthsRoundedUp(acc.coolingDegreeDays));

  for (std::size_t off : kSumALowFields) {
    if (a.i16(off) == kLowInit16) a.setI16(off, kNoData16);
  }
  for (std::size_t off : kSumBLowFields) {
    if (b.i16(off) == kLowInit16) b.setI16(off, kNoData16);
  }
  for (std::size_t off : {kSumAHighWindDirection, kSumAHighWindDirection2}) {
    if (a.u8(off) == kNoData8) a.setU8(off, 0);
  }

  a.setI16(kSumARain, saturateValue(std::trunc(acc.rainInches * 1000.0 + 0.5)));
  if (acc.solarEnergy != kNoDataFloat) {
    b.setI16(kSumBSolarEnergy, tenthsRoundedUp(acc.solarEnergy));
  }
  if (acc.uvDose != kNoDataFloat) a.setI16(kSumAUvDose, tenthsRoundedUp(acc.uvDose));
  if (acc.windRun != kNoDataFloat) a.setI16(kSumAWindRun, tenthsRoundedUp(acc.windRun));
  return 1;
}

int IsSameDate(const DailySummaryObject& summary, const WeatherDataObject& record) {
  if (summary.state != kSummaryReady) return 0;
  const DateTime& a = summary.a.date;
  const DateTime& b = summary.b.date;
  if (a.packed() != b.packed()) return 0;
  return a.packed() == record.date.packed() ? 1 : 0;
}

}  // namespace database
