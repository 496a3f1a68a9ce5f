#include "publish/highs_lows.h"

#include "publish/reading_values.h"

namespace publish {

namespace {

using reading::Number;
using records::Record88;

int slotMinutes(const Record88& record, std::size_t slots, int slot) {
  const std::uint16_t v = record.packed12(slots, slot);
  return records::isSlotTime(v) ? v : -1;
}

Number scaled16(const Record88& record, std::size_t offset, double scale) {
  const std::int16_t v = record.i16(offset);
  if (records::isNoData16(v)) return std::nullopt;
  return v * scale;
}

// A stored high or low: it competes only as the end of the range it is.
void offerField(PeriodExtremes& out, Extreme e, bool isHigh, Number value, int minutes) {
  if (!value) return;
  HighLow one;
  (isHigh ? one.high : one.low) = ExtremeValue{*value, minutes};
  out.mergeOne(e, one);
}

}  // namespace

void PeriodExtremes::offer(Extreme e, double value, int minutes) {
  HighLow& r = ranges_[static_cast<std::size_t>(e)];
  if (!r.high || value > r.high->value) r.high = ExtremeValue{value, minutes};
  if (!r.low || value < r.low->value) r.low = ExtremeValue{value, minutes};
}

void PeriodExtremes::mergeOne(Extreme e, const HighLow& other) {
  HighLow& r = ranges_[static_cast<std::size_t>(e)];
  if (other.high && (!r.high || other.high->value > r.high->value)) r.high = other.high;
  if (other.low && (!r.low || other.low->value < r.low->value)) r.low = other.low;
}

void PeriodExtremes::merge(const PeriodExtremes& other) {
  for (std::size_t i = 0; i < kExtremeCount; ++i) {
    mergeOne(static_cast<Extreme>(i), other.ranges_[i]);
  }
}

PeriodExtremes summaryExtremes(const database::DailySummaryObject& summary) {
  using namespace records;  // NOLINT(google-build-using-namespace): the field offsets
  const Record88& a = summary.a.record;
  const Record88& b = summary.b.record;
  PeriodExtremes out;
  const auto fieldA = [&](Extreme e, bool isHigh, std::size_t offset, double scale, int slot) {
    offerField(out, e, isHigh, scaled16(a, offset, scale), slotMinutes(a, kSumATimeSlots, slot));
  };
  const auto fieldB = [&](Extreme e, bool isHigh, std::size_t offset, double scale, int slot) {
    offerField(out, e, isHigh, scaled16(b, offset, scale), slotMinutes(b, kSumBTimeSlots, slot));
  };
  fieldA(Extreme::kOutsideTemp, true, kSumAHighOutsideTemp, 0.1, kSlotAHighOutsideTemp);
  fieldA(Extreme::kOutsideTemp, false, kSumALowOutsideTemp, 0.1, kSlotALowOutsideTemp);
  fieldA(Extreme::kInsideTemp, true, kSumAHighInsideTemp, 0.1, kSlotAHighInsideTemp);
  fieldA(Extreme::kInsideTemp, false, kSumALowInsideTemp, 0.1, kSlotALowInsideTemp);
  fieldA(Extreme::kWindChill, true, kSumAHighWindChill, 0.1, kSlotAHighWindChill);
  fieldA(Extreme::kWindChill, false, kSumALowWindChill, 0.1, kSlotALowWindChill);
  fieldA(Extreme::kDewPoint, true, kSumAHighDewPoint, 0.1, kSlotAHighDewPoint);
  fieldA(Extreme::kDewPoint, false, kSumALowDewPoint, 0.1, kSlotALowDewPoint);
  fieldA(Extreme::kOutsideHumidity, true, kSumAHighOutsideHumidity, 0.1, kSlotAHighOutsideHumidity);
  fieldA(Extreme::kOutsideHumidity, false, kSumALowOutsideHumidity, 0.1, kSlotALowOutsideHumidity);
  fieldA(Extreme::kInsideHumidity, true, kSumAHighInsideHumidity, 0.1, kSlotAHighInsideHumidity);
  fieldA(Extreme::kInsideHumidity, false, kSumALowInsideHumidity, 0.1, kSlotALowInsideHumidity);
  for (const bool isHigh : {true, false}) {
    const std::size_t offset = isHigh ? kSumAHighBarometer : kSumALowBarometer;
    const std::int16_t v = a.i16(offset);
    if (!isBarometerNoData(v)) {
      offerField(out, Extreme::kBarometer, isHigh, v / 1000.0,
                 slotMinutes(a, kSumATimeSlots, isHigh ? kSlotAHighBarometer : kSlotALowBarometer));
    }
  }
  fieldA(Extreme::kWindSpeed, true, kSumAHighWindSpeed, 0.1, kSlotAHighWindSpeed);
  fieldA(Extreme::kRainRate, true, kSumAHighRainRate, 0.01, kSlotAHighRainRate);
  if (const std::uint8_t uv = a.u8(kSumAHighUvIndex); !isNoData8(uv)) {
    offerField(out, Extreme::kUvIndex, true, uv / 10.0,
               slotMinutes(a, kSumATimeSlots, kSlotAHighUvIndex));
  }
  fieldB(Extreme::kSolarRadiation, true, kSumBHighSolar, 1.0, kSlotBHighSolar);
  fieldB(Extreme::kHeatIndex, true, kSumBHighHeatIndex, 0.1, kSlotBHighHeatIndex);
  fieldB(Extreme::kHeatIndex, false, kSumBLowHeatIndex, 0.1, kSlotBLowHeatIndex);
  fieldB(Extreme::kThsw, true, kSumBHighThsw, 0.1, kSlotBHighThsw);
  fieldB(Extreme::kThsw, false, kSumBLowThsw, 0.1, kSlotBLowThsw);
  return out;
}

PeriodExtremes readingExtremes(const stationlink::SensorImage& image, int minutes,
                               const station::StationConfig& config) {
  namespace r = reading;
  PeriodExtremes out;
  const auto offer = [&](Extreme e, Number v) {
    if (v) out.offer(e, *v, minutes);
  };
  const Number t = r::outsideTemperature(image);
  const Number h = r::outsideHumidity(image);
  const Number wind = r::windSpeed(image);
  const Number solar = r::solarRadiation(image);
  offer(Extreme::kOutsideTemp, t);
  offer(Extreme::kInsideTemp, r::insideTemperature(image));
  offer(Extreme::kOutsideHumidity, h);
  offer(Extreme::kInsideHumidity, r::insideHumidity(image));
  offer(Extreme::kDewPoint, r::dewPoint(t, h));
  offer(Extreme::kWindChill, r::windChill(t, wind));
  offer(Extreme::kHeatIndex, r::heatIndex(t, h));
  offer(Extreme::kThsw, r::thsw(t, h, wind, solar));
  offer(Extreme::kBarometer, r::barometer(image));
  offer(Extreme::kWindSpeed, wind);
  offer(Extreme::kRainRate, r::rainRate(image, config));
  offer(Extreme::kSolarRadiation, solar);
  offer(Extreme::kUvIndex, r::uvIndex(image));
  return out;
}

HighsLows computeHighsLows(database::WeatherDatabase* database, quantities::Date today,
                           std::span<const TimedReading> readings,
                           const station::StationConfig& config) {
  HighsLows out;
  const bool stored = database != nullptr && database->isOpen();
  database::DailySummaryObject summary;
  const auto load = [&](std::int32_t packed) {
    return database->GetDailySummary(summary, records::packedYear(packed),
                                     records::packedMonth(packed),
                                     records::packedDay(packed)) == database::kResultOk;
  };
  const std::int32_t todayPacked = records::packDate(today.year, today.month, today.day);
  if (stored && load(todayPacked)) out.day = summaryExtremes(summary);
  for (const TimedReading& r : readings) {
    if (r.date == today) out.day.merge(readingExtremes(r.image, r.minutes, config));
  }
  // The earlier days of the year; today joins as merged above.
  if (stored) {
    for (const std::int32_t packed : database->dayList()) {
      if (records::packedYear(packed) != today.year || packed >= todayPacked) continue;
      if (!load(packed)) continue;
      PeriodExtremes& period = records::packedMonth(packed) == today.month ? out.month : out.year;
      period.merge(summaryExtremes(summary));
    }
  }
  out.month.merge(out.day);
  out.year.merge(out.month);
  return out;
}

}  // namespace publish
