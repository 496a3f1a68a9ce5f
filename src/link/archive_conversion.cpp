#include "link/archive_conversion.h"

#include <cmath>

#include "platform/clock.h"
#include "quantities/derived.h"

namespace stationlink {

namespace {

using namespace records;

constexpr std::int16_t kConsoleNone16 = 0x7FFF;

std::uint16_t u16At(ConsoleRecord r, std::size_t off) {
  return static_cast<std::uint16_t>(r[off] | (r[off + 1] << 8));
}
std::int16_t i16At(ConsoleRecord r, std::size_t off) {
  return static_cast<std::int16_t>(u16At(r, off));
}

std::int16_t temperature(ConsoleRecord r, std::size_t off) {
  std::int16_t v = i16At(r, off);
  return v == kConsoleNone16 ? kNoData16 : v;
}

std::int16_t humidity(std::uint8_t percent) {
  if (percent == 0xFF || percent == 0x80) return kNoData16;
  int tenths = percent * 10;
  if (tenths > 1000) tenths = 1000;
  if (tenths < 1) tenths = 0;
  return static_cast<std::int16_t>(tenths);
}

void copyBytes(ArchiveRecord& out, std::size_t to, ConsoleRecord r, std::size_t from, int count) {
  for (int i = 0; i < count; ++i) out.setU8(to + i, r[from + i]);
}

bool onOrAfter(int y, int m, int d, int y0, int m0, int d0) {
  return packDate(y, m, d) >= packDate(y0, m0, d0);
}

}  // namespace

std::uint16_t dumpDateStamp(int year, int month, int day) {
  return static_cast<std::uint16_t>((year - 2000) * 512 + month * 32 + day);
}

DumpStamps stampsAfter(const std::optional<DateTime>& newest) {
  if (!newest || newest->year < 2000) return {};
  DateTime t = *newest;
  if (t.minutes >= kMinutesPerDay) {
    t.nextDay();
    return {dumpDateStamp(t.year, t.month, t.day), 0};
  }
  int minutes = t.minutes == kNoTime ? 0 : t.minutes;
  return {dumpDateStamp(t.year, t.month, t.day),
          static_cast<std::uint16_t>(minutes / 60 * 100 + minutes % 60)};
}

FirmwareFlags firmwareFlags(int year, int month, int day, bool valid) {
  if (!valid) return {};
  return {onOrAfter(year, month, day, 2002, 3, 1), onOrAfter(year, month, day, 2002, 3, 22)};
}

RecordRevision recordRevision(ConsoleRecord record, FirmwareFlags flags) {
  if (flags.first && flags.second) {
    if (record[42] == 0x00) return RecordRevision::kB;
    if (record[42] == 0xFF) return RecordRevision::kA;
    return RecordRevision::kUnknown;
  }
  if (flags.first) return record[43] == 0xFF ? RecordRevision::kA : RecordRevision::kIntermediate;
  return RecordRevision::kA;
}

std::optional<DateTime> consoleRecordTime(ConsoleRecord record) {
  std::uint16_t dateStamp = u16At(record, 0);
  std::int16_t timeStamp = i16At(record, 2);
  if (timeStamp < 0 || dateStamp == 0xFFFF) return std::nullopt;
  int hour = timeStamp / 100;
  int minute = timeStamp % 100;
  int day = dateStamp & 0x1F;
  int month = (dateStamp >> 5) & 0x0F;
  int year = (dateStamp >> 9) + 2000;
  // A console slot with an impossible stamp is treated as empty rather than filed under
  // a date that does not exist.
  if (hour > 24 || minute >= 60 || (hour == 24 && minute != 0)) return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || day > platform::daysInMonth(year, month))
    return std::nullopt;
  int minutes = hour * 60 + minute;
  DateTime t = DateTime::fromDate(year, month, day, static_cast<std::uint16_t>(minutes));
  if (minutes == 0) {
    // Midnight closes the day before.
    platform::CivilTime c{};
    c.year = year;
    c.month = month;
    c.day = day - 1;
    platform::CivilTime prev = platform::civilFromWall(platform::wallFromCivil(c));
    t = DateTime::fromDate(prev.year, prev.month, prev.day, kMinutesPerDay);
  }
  return t;
}

std::optional<ArchiveRecord> convertConsoleRecord(ConsoleRecord r, const DateTime& when,
                                                  FirmwareFlags flags,
                                                  const ConversionSettings& settings) {
  RecordRevision revision = recordRevision(r, flags);
  if (revision == RecordRevision::kUnknown) return std::nullopt;

  ArchiveRecord out;
  out.setU8(kArcInterval, static_cast<std::uint8_t>(settings.archiveInterval));
  if (settings.windTransmitter >= 0 && settings.windTransmitter <= 7) {
    out.setU8(kArcTransmitter, static_cast<std::uint8_t>(settings.windTransmitter));
  }
  out.setTimeOfDay(static_cast<std::int16_t>(when.minutes));

  std::int16_t high = temperature(r, 6);
  out.setI16(kArcHighOutsideTemp, high);
  out.setI16(kArcLowOutsideTemp, temperature(r, 8));
  out.setI16(kArcInsideTemp, temperature(r, 20));
  out.setI16(kArcOutsideTemp, high == kNoData16 ? kNoData16 : temperature(r, 4));

  std::int16_t barometer = i16At(r, 14);
  out.setI16(kArcBarometer, barometer == kConsoleNone16 || barometer < kBarometerLowestValid
                                ? kNoData16
                                : barometer);
  out.setI16(kArcInsideHumidity, humidity(r[22]));
  out.setI16(kArcOutsideHumidity, humidity(r[23]));

  std::uint16_t tips = u16At(r, 10);
  if (tips > kRainTipsMask || settings.rainCollector < 0 || settings.rainCollector > 6 ||
      tips == 0x8000) {
    out.setU16(kArcRain, kNoData16Raw);
  } else {
    out.setU16(kArcRain,
               static_cast<std::uint16_t>(tips | (settings.rainCollector << kRainCollectorShift)));
  }
  out.setI16(kArcHighRainRate, i16At(r, 12));

  int average = r[24] * 10;
  int highest = r[25] * 10;
  std::uint8_t dominant = r[27];
  if (average == 2550 || highest == 0) {
    average = 0;
    dominant = kNoData8;
  }
  out.setI16(kArcWindSpeed, static_cast<std::int16_t>(average));
  out.setI16(kArcHighWindSpeed, static_cast<std::int16_t>(highest));
  out.setU8(kArcWindDirection, dominant);
  out.setU8(kArcHighWindDirection, r[26]);
  out.setI16(kArcWindSamples, static_cast<std::int16_t>(u16At(r, 18)));

  std::int16_t solar = i16At(r, 16);
  if (solar == kConsoleNone16) solar = kNoData16;
  out.setI16(kArcSolarRadiation, solar);
  out.setU8(kArcUvIndex, r[28]);
  out.setU8(kArcEvapotranspiration, r[29]);

  if (revision == RecordRevision::kA) {
    copyBytes(out, kArcSoilMoistures, r, 31, 4);
    copyBytes(out, kArcSoilTemps, r, 35, 4);
    copyBytes(out, kArcLeafWetnesses, r, 39, 4);
    copyBytes(out, kArcExtraTemps, r, 43, 2);
    copyBytes(out, kArcExtraHumidities, r, 45, 2);
  } else {
    if (solar != kNoData16) out.setI16(kArcHighSolarRadiation, i16At(r, 30));
    if (r[28] != kNoData8) out.setU8(kArcHighUvIndex, r[32]);
    out.setU8(kArcForecastRule, r[33]);
    copyBytes(out, kArcSoilMoistures + 2, r, 50, 2);
    copyBytes(out, kArcSoilTemps + 2, r, 40, 2);
    copyBytes(out, kArcLeafTemps, r, 34, 2);
    copyBytes(out, kArcLeafWetnesses, r, 36, 2);
    copyBytes(out, kArcSoilMoistures, r, 48, 2);
    if (revision == RecordRevision::kB) {
      copyBytes(out, kArcSoilTemps, r, 38, 2);
      copyBytes(out, kArcExtraHumidities, r, 43, 2);
      copyBytes(out, kArcExtraTemps, r, 45, 3);
    } else {
      // The intermediate layout reads offsets 40-41 both as soil temperatures 3-4 and as
      // extra temperatures 2-3; both are kept as the console firmware of that time wrote them.
      copyBytes(out, kArcExtraHumidities, r, 38, 2);
      copyBytes(out, kArcExtraTemps, r, 40, 3);
      copyBytes(out, kArcSoilTemps, r, 44, 2);
    }
  }

  std::int16_t outside = out.i16(kArcOutsideTemp);
  std::int16_t outsideHumidity = out.i16(kArcOutsideHumidity);
  if (settings.solarEstimate && solar != kNoData16 && solar >= 0 && outside != kNoData16 &&
      outsideHumidity != kNoData16) {
    float dew = quantities::CalcDew(outside / 10.0f, outsideHumidity / 10.0f);
    if (dew > -32768.0f && std::isfinite(dew)) {
      out.setI16(kArcSolarEstimate, settings.solarEstimate(when, solar, dew));
    }
  }
  return out;
}

}  // namespace stationlink
