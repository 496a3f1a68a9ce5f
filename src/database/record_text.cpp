#include "database/record_text.h"

#include <array>
#include <cstdio>

#include "database/view_text.h"
#include "platform/string_table.h"
#include "quantities/date_text.h"
#include "quantities/sensor_code.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace database {

namespace {

constexpr const char* kDash = "---";

constexpr std::array<const char*, 16> kCompass = {"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                                  "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};

std::string format(const char* fmt, double v, const char* unit) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, v);
  return std::string(buf) + unit;
}

// An i16 in tenths (temperatures, humidity, wind speed).
std::string tenths(std::int16_t v, const char* unit) {
  return isNoData16(v) ? kDash : format("%.1f", v / 10.0, unit);
}

std::string plain(std::int16_t v, const char* unit) {
  return v == kNoData16 ? kDash : format("%.0f", v, unit);
}

std::string barometer(std::int16_t v) {
  return isBarometerNoData(v) ? kDash : format("%.3f", v / 1000.0, " inHg");
}

std::string direction(std::uint8_t v) { return v < kCompass.size() ? kCompass[v] : kDash; }

// Whole degrees stored plus 90.
std::string biasedTemp(std::uint8_t v) {
  return isNoData8(v) ? kDash : format("%.0f", v - kByteTemperatureBias, " F");
}

std::string byteValue(std::uint8_t v, const char* unit) {
  return isNoData8(v) ? kDash : format("%.0f", v, unit);
}

std::string rainTotal(std::uint16_t raw) {
  if (raw == kNoData16Raw) return kDash;
  const int code = raw >> kRainCollectorShift;
  const double perTip = rainInchesPerTip(code);
  if (perTip < 0 || !kRainCollectors[static_cast<std::size_t>(code)].totalsValid) return kDash;
  return format("%.2f", (raw & kRainTipsMask) * perTip, " in");
}

// Tips per hour of the collector type the rain field names.
std::string rainRate(std::uint16_t rain, std::int16_t rate) {
  const double perTip = rainInchesPerTip(rain >> kRainCollectorShift);
  if (rate == kNoData16 || rate < 0 || perTip < 0) return kDash;
  return format("%.2f", rate * perTip, " in/h");
}

std::string clockText(std::uint16_t v) {
  if (!isSlotTime(v)) return kDash;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d", v / 60, v % 60);
  return buf;
}

std::string recordTime(const Record88& r) {
  const std::int16_t time = r.i16(kArcTime);
  return time < 0 ? kDash : clockText(static_cast<std::uint16_t>(time));
}

// Columns of the day listing: sensor code and width in characters.
struct DayColumn {
  int heading;
  quantities::SensorCode code;
  std::size_t width;
};
constexpr quantities::SensorCode kOutsideTemp = 0;
constexpr quantities::SensorCode kHighOutsideTemp = 2 << 10;  // statistic 2: high
constexpr quantities::SensorCode kLowOutsideTemp = 3 << 10;   // statistic 3: low
constexpr quantities::SensorCode kOutsideHumidity =
    quantities::kClassHumidity << 5 | quantities::kCatHumidity << 16;
constexpr quantities::SensorCode kWindSpeed =
    quantities::kClassWindSpeed << 5 | quantities::kCatWindSpeed << 16;
constexpr quantities::SensorCode kWindDirection =
    quantities::kClassDirection << 5 | quantities::kCatWindDirection << 16;
static_assert(kOutsideHumidity == 65984 && kWindSpeed == 131200 && kWindDirection == 196800);
constexpr DayColumn kDayColumns[] = {
    {64823, kOutsideTemp, 10},      // "Exterior"
    {64824, kHighOutsideTemp, 10},  // "Máx."
    {64825, kLowOutsideTemp, 10},   // "Mín."
    {64826, kOutsideHumidity, 9},   // "Humedad"
    {64827, quantities::kCodeBarometer, 13},
    {64828, kWindSpeed, 10},
    {64829, kWindDirection, 4},
    {64830, quantities::kCodeRain, 10},
};
constexpr std::size_t kTimeWidth = 6;  // "12:30a" on a 12-hour clock
constexpr int kTimeHeading = 64822;
constexpr int kUnknownType = 64780;
constexpr int kDateLine = 64781;
constexpr int kArchiveHeading = 64897;
constexpr int kSummaryAHeading = 64898;
constexpr int kSummaryBHeading = 64899;

struct Lines {
  std::string text;
  void add(const std::string& name, const std::string& value) {
    text += name + ": " + value + "\n";
  }
};

std::string evapotranspiration(const Record88& r) {
  const std::uint8_t v = r.u8(kArcEvapotranspiration);
  if (isNoData8(v)) return kDash;
  const bool negative = r.u8(kArcTransmitter) & kArcEtNegative;
  return format("%.3f", (negative ? -v : v) / 1000.0, " in");
}

std::string uvText(std::uint8_t v) { return isNoData8(v) ? kDash : format("%.1f", v / 10.0, ""); }

void addSeries(Lines& l, const Record88& r, const char* name, std::size_t offset, int count,
               int firstNumber, std::string (*text)(std::uint8_t)) {
  for (int i = 0; i < count; ++i) {
    l.add(std::string(name) + " " + std::to_string(i + firstNumber),
          text(r.u8(offset + static_cast<std::size_t>(i))));
  }
}

std::string describeArchive(const Record88& r) {
  Lines l;
  l.add("interval", format("%.0f", r.u8(kArcInterval), " min"));
  std::string flags;
  if (r.u8(kArcFlags) & kArcFlagEdited) flags += " edited";
  if (r.u8(kArcFlags) & kArcFlagNote) flags += " note";
  l.add("flags", flags.empty() ? "none" : flags.substr(1));
  l.add("wind transmitter", std::to_string((r.u8(kArcTransmitter) & kArcTransmitterMask) + 1));
  l.add("time", recordTime(r));
  l.add("outside temperature", tenths(r.i16(kArcOutsideTemp), " F"));
  l.add("high outside temperature", tenths(r.i16(kArcHighOutsideTemp), " F"));
  l.add("low outside temperature", tenths(r.i16(kArcLowOutsideTemp), " F"));
  l.add("inside temperature", tenths(r.i16(kArcInsideTemp), " F"));
  l.add("barometer", barometer(r.i16(kArcBarometer)));
  l.add("outside humidity", tenths(r.i16(kArcOutsideHumidity), " %"));
  l.add("inside humidity", tenths(r.i16(kArcInsideHumidity), " %"));
  l.add("rain", rainTotal(r.u16(kArcRain)));
  l.add("high rain rate", rainRate(r.u16(kArcRain), r.i16(kArcHighRainRate)));
  l.add("wind speed", tenths(r.i16(kArcWindSpeed), " mph"));
  l.add("high wind speed", tenths(r.i16(kArcHighWindSpeed), " mph"));
  l.add("wind direction", direction(r.u8(kArcWindDirection)));
  l.add("high wind direction", direction(r.u8(kArcHighWindDirection)));
  const std::int16_t samples = r.i16(kArcWindSamples);
  l.add("wind samples", samples < 0 ? kDash : std::to_string(samples));
  l.add("solar radiation", plain(r.i16(kArcSolarRadiation), " W/m2"));
  l.add("high solar radiation", plain(r.i16(kArcHighSolarRadiation), " W/m2"));
  l.add("solar estimate", plain(r.i16(kArcSolarEstimate), " W/m2"));
  l.add("UV index", uvText(r.u8(kArcUvIndex)));
  l.add("high UV index", uvText(r.u8(kArcHighUvIndex)));
  l.add("evapotranspiration", evapotranspiration(r));
  l.add("forecast rule", byteValue(r.u8(kArcForecastRule), ""));
  addSeries(l, r, "leaf temperature", kArcLeafTemps, kLeafTempCount, 1, biasedTemp);
  addSeries(l, r, "soil temperature", kArcSoilTemps, kSoilCount, 1, biasedTemp);
  addSeries(l, r, "soil moisture", kArcSoilMoistures, kSoilCount, 1,
            [](std::uint8_t v) { return byteValue(v, " cb"); });
  addSeries(l, r, "leaf wetness", kArcLeafWetnesses, kLeafWetnessCount, 1,
            [](std::uint8_t v) { return byteValue(v, ""); });
  addSeries(l, r, "extra temperature", kArcExtraTemps, kExtraCount, 2, biasedTemp);
  addSeries(l, r, "extra humidity", kArcExtraHumidities, kExtraCount, 2,
            [](std::uint8_t v) { return byteValue(v, " %"); });
  return l.text;
}

// A high or low of a summary record with the time from its slot.
std::string withTime(const std::string& value, const Record88& r, std::size_t slots, int slot) {
  if (value == kDash) return value;
  return value + " at " + clockText(r.packed12(slots, slot));
}

std::string describeSummaryA(const Record88& r) {
  Lines l;
  auto at = [&](const std::string& v, int slot) { return withTime(v, r, kSumATimeSlots, slot); };
  auto temp = [&](std::size_t off) { return tenths(r.i16(off), " F"); };
  l.add("minutes of data", std::to_string(r.i16(kSumAMinutes)) + " min");
  l.add("high outside temperature", at(temp(kSumAHighOutsideTemp), kSlotAHighOutsideTemp));
  l.add("low outside temperature", at(temp(kSumALowOutsideTemp), kSlotALowOutsideTemp));
  l.add("average outside temperature", temp(kSumAAvgOutsideTemp));
  l.add("high inside temperature", at(temp(kSumAHighInsideTemp), kSlotAHighInsideTemp));
  l.add("low inside temperature", at(temp(kSumALowInsideTemp), kSlotALowInsideTemp));
  l.add("average inside temperature", temp(kSumAAvgInsideTemp));
  l.add("high wind chill", at(temp(kSumAHighWindChill), kSlotAHighWindChill));
  l.add("low wind chill", at(temp(kSumALowWindChill), kSlotALowWindChill));
  l.add("average wind chill", temp(kSumAAvgWindChill));
  l.add("high dew point", at(temp(kSumAHighDewPoint), kSlotAHighDewPoint));
  l.add("low dew point", at(temp(kSumALowDewPoint), kSlotALowDewPoint));
  l.add("average dew point", temp(kSumAAvgDewPoint));
  l.add("high outside humidity",
        at(tenths(r.i16(kSumAHighOutsideHumidity), " %"), kSlotAHighOutsideHumidity));
  l.add("low outside humidity",
        at(tenths(r.i16(kSumALowOutsideHumidity), " %"), kSlotALowOutsideHumidity));
  l.add("average outside humidity", tenths(r.i16(kSumAAvgOutsideHumidity), " %"));
  l.add("high barometer", at(barometer(r.i16(kSumAHighBarometer)), kSlotAHighBarometer));
  l.add("low barometer", at(barometer(r.i16(kSumALowBarometer)), kSlotALowBarometer));
  l.add("average barometer", barometer(r.i16(kSumAAvgBarometer)));
  l.add("high wind speed", at(tenths(r.i16(kSumAHighWindSpeed), " mph"), kSlotAHighWindSpeed) +
                               " " + direction(r.u8(kSumAHighWindDirection)));
  l.add("average wind speed", tenths(r.i16(kSumAAvgWindSpeed), " mph"));
  l.add("wind run", tenths(r.i16(kSumAWindRun), " mi"));
  const std::int16_t rain = r.i16(kSumARain);
  l.add("rain", rain == kNoData16 ? kDash : format("%.3f", rain / 1000.0, " in"));
  const std::int16_t rate = r.i16(kSumAHighRainRate);
  l.add("high rain rate",
        at(rate == kNoData16 ? kDash : format("%.2f", rate / 100.0, " in/h"), kSlotAHighRainRate));
  l.add("UV dose", tenths(r.i16(kSumAUvDose), " MED"));
  l.add("high UV index", at(uvText(r.u8(kSumAHighUvIndex)), kSlotAHighUvIndex));
  return l.text;
}

std::string describeSummaryB(const Record88& r) {
  Lines l;
  auto at = [&](const std::string& v, int slot) { return withTime(v, r, kSumBTimeSlots, slot); };
  auto temp = [&](std::size_t off) { return tenths(r.i16(off), " F"); };
  const std::int16_t samples = r.i16(kSumBWindSamples);
  l.add("wind samples", samples < 0 ? kDash : std::to_string(samples));
  l.add("high solar radiation", at(plain(r.i16(kSumBHighSolar), " W/m2"), kSlotBHighSolar));
  l.add("solar energy", tenths(r.i16(kSumBSolarEnergy), " ly"));
  const std::int16_t et = r.i16(kSumBEvapotranspiration);
  l.add("evapotranspiration", et == kNoData16 ? kDash : format("%.3f", et / 1000.0, " in"));
  l.add("high heat index", at(temp(kSumBHighHeatIndex), kSlotBHighHeatIndex));
  l.add("low heat index", at(temp(kSumBLowHeatIndex), kSlotBLowHeatIndex));
  l.add("average heat index", temp(kSumBAvgHeatIndex));
  l.add("high THW index", at(temp(kSumBHighThw), kSlotBHighThw));
  l.add("low THW index", at(temp(kSumBLowThw), kSlotBLowThw));
  l.add("high THSW index", at(temp(kSumBHighThsw), kSlotBHighThsw));
  l.add("low THSW index", at(temp(kSumBLowThsw), kSlotBLowThsw));
  l.add("heating degree-days", tenths(r.i16(kSumBHeatingDegreeDays), ""));
  l.add("cooling degree-days", tenths(r.i16(kSumBCoolingDegreeDays), ""));
  std::string minutes;
  for (int i = 0; i < kSumBWindDirCount; ++i) {
    if (i) minutes += ' ';
    minutes += std::string(kCompass[static_cast<std::size_t>(i)]) + "=" +
               std::to_string(r.packed12(kSumBWindDirMinutes, i));
  }
  l.add("wind direction minutes", minutes);
  return l.text;
}

}  // namespace

std::string dateTimeText(const DateTime& date) {
  char buf[40];
  if (date.minutes == kNoTime) {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date.year, date.month, date.day);
  } else {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", date.year, date.month, date.day,
                  date.hour, date.minute);
  }
  return buf;
}

std::optional<DateTime> parseDateTimeText(std::string_view text) {
  auto number = [&](std::size_t at, std::size_t width) -> int {
    if (at + width > text.size()) return -1;
    int v = 0;
    for (std::size_t i = at; i < at + width; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      v = v * 10 + (text[i] - '0');
    }
    return v;
  };
  if (text.size() != 10 && text.size() != 16) return std::nullopt;
  if (text[4] != '-' || text[7] != '-') return std::nullopt;
  const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
  if (year < 0 || month < 0 || day < 0 || !isValidDate(year, month, day)) return std::nullopt;
  std::uint16_t minutes = kNoTime;
  if (text.size() == 16) {
    if ((text[10] != ' ' && text[10] != 'T') || text[13] != ':') return std::nullopt;
    const int hour = number(11, 2), minute = number(14, 2);
    if (hour < 0 || minute < 0 || minute > 59 || hour * 60 + minute > kMinutesPerDay) {
      return std::nullopt;
    }
    minutes = static_cast<std::uint16_t>(hour * 60 + minute);
  }
  return DateTime::fromDate(year, month, day, minutes);
}

std::string describeRecord(const Record88& record, const DateTime& date) {
  const std::string head = viewText(kDateLine, {dateTimeText(date)}) + "\n";
  auto heading = [](int id) { return platform::loadString(id) + "\n"; };
  switch (record.type()) {
    case kArchiveRecordType:
      return heading(kArchiveHeading) + head + describeArchive(record);
    case kSummaryARecordType:
      return heading(kSummaryAHeading) + head + describeSummaryA(record);
    case kSummaryBRecordType:
      return heading(kSummaryBHeading) + head + describeSummaryB(record);
    default:
      return viewText(kUnknownType, {std::to_string(record.type())}) + "\n" + head;
  }
}

std::string recordLineHeading() {
  std::string text = padLeft(platform::loadString(kTimeHeading), kTimeWidth);
  for (const DayColumn& c : kDayColumns) {
    text += " " + padLeft(platform::loadString(c.heading), c.width);
  }
  return text + "\n";
}

std::string recordLine(const ArchiveRecord& r, const quantities::ValueContext& ctx) {
  std::string text = padLeft(quantities::recordTimeText(r.timeOfDay(), ctx.intl), kTimeWidth);
  for (const DayColumn& c : kDayColumns) {
    std::string value = quantities::GetWeatherDataStr(r, c.code, ctx);
    const std::string unit = quantities::GetUnitStr(ctx.units, c.code);
    if (value.find(kDash) == std::string::npos && !unit.empty()) value += " " + unit;
    text += " " + padLeft(value, c.width);
  }
  return text + "\n";
}

}  // namespace database
