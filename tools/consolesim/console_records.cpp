#include "consolesim/console_records.h"

#include <algorithm>
#include <cmath>

#include "consolesim/wire.h"

namespace consolesim {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr int kNoTemp = 0x7FFF;

std::uint8_t compass16(int degrees) {
  return static_cast<std::uint8_t>(((degrees % 360) * 2 + 22) / 45 % 16);
}

std::uint8_t clampByte(int v, int lo, int hi) {
  return static_cast<std::uint8_t>(std::clamp(v, lo, hi));
}

LocalSeconds startOfDay(LocalSeconds t) { return t - (((t % kDay) + kDay) % kDay); }

int rainOverDays(const WeatherModel& model, LocalSeconds from, LocalSeconds now) {
  int total = 0;
  for (LocalSeconds day = from; day < now; day += kDay) {
    total += model.rainBetween(day, std::min(now, day + kDay));
  }
  return total;
}

int etOverDays(const WeatherModel& model, LocalSeconds from, LocalSeconds now) {
  int total = 0;
  for (LocalSeconds t = from; t < now; t += 3600) {
    total += model.etBetween(t, std::min(now, t + 3600));
  }
  return total;
}

// Hour × 100 + minute at which the model's sun crosses the horizon on t's day.
std::pair<int, int> sunTimes(const platform::CivilTime& c) {
  const double season = std::cos(2 * 3.14159265358979323846 * (c.yearDay - 200) / 365.0);
  const double rise = 6 + season;
  const double set = rise + 12 + 2 * season;
  auto hhmm = [](double h) {
    const int minutes = static_cast<int>(std::lround(h * 60));
    return minutes / 60 * 100 + minutes % 60;
  };
  return {hhmm(rise), hhmm(set)};
}

}  // namespace

RecordLayout layoutForFirmware(const FirmwareDate& d) {
  const int packed = d.year * 10000 + d.month * 100 + d.day;
  if (packed < 20020301) return RecordLayout::kRevisionA;
  if (packed < 20020322) return RecordLayout::kIntermediate;
  return RecordLayout::kRevisionB;
}

std::uint16_t dateStamp(const platform::CivilTime& c) {
  return static_cast<std::uint16_t>((c.year - 2000) * 512 + c.month * 32 + c.day);
}

std::uint16_t timeStamp(const platform::CivilTime& c) {
  return static_cast<std::uint16_t>(c.hour * 100 + c.minute);
}

Reading measured(const WeatherModel& model, const ConfigMemory& memory, const SensorSuite& suite,
                 LocalSeconds t) {
  Reading r = model.at(t);
  r.insideTemp += memory.calibration(kCalInsideTemp);
  r.outsideTemp += memory.calibration(kCalOutsideTemp);
  r.insideHum = std::clamp(r.insideHum + memory.calibration(kCalInsideHum), 1, 100);
  r.outsideHum = std::clamp(r.outsideHum + memory.calibration(kCalOutsideHum), 1, 100);
  r.barometer += suite.barometerOffset;
  if (!suite.solarAndUv) {
    r.solar = kNoTemp;
    r.uv = 0xFF;
  }
  return r;
}

ConsoleRecord encodeArchiveRecord(const WeatherModel& model, const ConfigMemory& memory,
                                  const SensorSuite& suite, LocalSeconds end, int intervalMinutes,
                                  RecordLayout layout) {
  ConsoleRecord rec;
  rec.fill(0xFF);
  const LocalSeconds span = std::int64_t{intervalMinutes} * 60;
  const LocalSeconds start = end - span;
  const Reading first = measured(model, memory, suite, start);
  const Reading mid = measured(model, memory, suite, start + span / 2);
  const Reading last = measured(model, memory, suite, end);
  const platform::CivilTime c = civilFromLocalSeconds(end);

  putU16(rec, 0, dateStamp(c));
  putU16(rec, 2, timeStamp(c));
  putI16(rec, 4, (first.outsideTemp + mid.outsideTemp + last.outsideTemp) / 3);
  putI16(rec, 6, std::max({first.outsideTemp, mid.outsideTemp, last.outsideTemp}));
  putI16(rec, 8, std::min({first.outsideTemp, mid.outsideTemp, last.outsideTemp}));
  putU16(rec, 10, static_cast<std::uint16_t>(model.rainBetween(start, end)));
  putU16(rec, 12,
         static_cast<std::uint16_t>(std::max({first.rainRate, mid.rainRate, last.rainRate})));
  putI16(rec, 14, mid.barometer);
  putI16(rec, 16, mid.solar);
  putU16(rec, 18, static_cast<std::uint16_t>(intervalMinutes * 23));
  putI16(rec, 20, mid.insideTemp);
  rec[22] = clampByte(mid.insideHum, 1, 100);
  rec[23] = clampByte(mid.outsideHum, 1, 100);
  const int avgWind = (first.windSpeed + mid.windSpeed + last.windSpeed) / 3;
  const int hiWind = std::max({first.windSpeed, mid.windSpeed, last.windSpeed}) + 3;
  rec[24] = clampByte(avgWind, 0, 254);
  rec[25] = clampByte(hiWind, 0, 254);
  rec[26] = compass16(last.windDir);
  rec[27] = compass16(mid.windDir);
  rec[28] = suite.solarAndUv ? clampByte(mid.uv, 0, 254) : 0xFF;
  rec[29] = clampByte(model.etBetween(start, end), 0, 254);

  switch (layout) {
    case RecordLayout::kRevisionA:
      // Soil, leaf and extra sensor bytes from 31 on: none fitted.
      break;
    case RecordLayout::kIntermediate:
    case RecordLayout::kRevisionB:
      if (suite.solarAndUv) {
        putI16(rec, 30, std::max({first.solar, mid.solar, last.solar}));
        rec[32] = clampByte(std::max({first.uv, mid.uv, last.uv}), 0, 254);
      }
      rec[33] = static_cast<std::uint8_t>((mid.barometer / 7) % 190);
      // The byte the firmware marks its record revision with.
      rec[layout == RecordLayout::kRevisionB ? 42 : 43] = 0x00;
      break;
  }
  return rec;
}

int modelYearRain(const WeatherModel& model, const ConfigMemory& memory, LocalSeconds now) {
  const platform::CivilTime c = civilFromLocalSeconds(now);
  int startMonth = memory.byte(kRainSeasonAddress);
  if (startMonth < 1 || startMonth > 12) startMonth = 1;
  platform::CivilTime start{};
  start.year = c.month >= startMonth ? c.year : c.year - 1;
  start.month = startMonth;
  start.day = 1;
  return rainOverDays(model, localSecondsFromCivil(start), now);
}

LoopPacket encodeLoopPacket(const WeatherModel& model, const ConfigMemory& memory,
                            const SensorSuite& suite, LocalSeconds now, const LoopTotals& totals) {
  LoopPacket p;
  p.fill(0xFF);
  const Reading r = measured(model, memory, suite, now);
  const platform::CivilTime c = civilFromLocalSeconds(now);
  const LocalSeconds today = startOfDay(now);

  p[0] = 'L';
  p[1] = 'O';
  p[2] = 'O';
  const int change = r.barometer - measured(model, memory, suite, now - 3 * 3600).barometer;
  const int trend = change >= 60    ? 60
                    : change >= 20  ? 20
                    : change <= -60 ? -60
                    : change <= -20 ? -20
                                    : 0;
  p[3] = static_cast<std::uint8_t>(static_cast<std::int8_t>(trend));
  p[4] = 0;  // packet type
  putU16(p, 5, totals.nextArchiveSlot);
  putI16(p, 7, r.barometer);
  putI16(p, 9, r.insideTemp);
  p[11] = clampByte(r.insideHum, 1, 100);
  putI16(p, 12, r.outsideTemp);
  p[14] = clampByte(r.windSpeed, 0, 254);
  int tenMinute = 0;
  for (int k = 0; k < 10; ++k) tenMinute += model.at(now - k * 60).windSpeed;
  p[15] = clampByte(tenMinute / 10, 0, 254);
  putU16(p, 16, static_cast<std::uint16_t>(r.windDir));
  p[33] = clampByte(r.outsideHum, 1, 100);
  putU16(p, 41, static_cast<std::uint16_t>(r.rainRate));
  p[43] = suite.solarAndUv ? clampByte(r.uv, 0, 254) : 0xFF;
  putI16(p, 44, r.solar);
  const int dayRain = model.rainSinceMidnight(now);
  putU16(p, 46, static_cast<std::uint16_t>(dayRain));
  putU16(p, 48, dayRain > 0 ? dateStamp(c) : 0xFFFF);
  putU16(p, 50, static_cast<std::uint16_t>(dayRain));
  platform::CivilTime monthStart = c;
  monthStart.day = 1;
  monthStart.hour = monthStart.minute = monthStart.second = 0;
  putU16(p, 52,
         static_cast<std::uint16_t>(rainOverDays(model, localSecondsFromCivil(monthStart), now)));
  putU16(p, 54,
         static_cast<std::uint16_t>(
             std::max(0, modelYearRain(model, memory, now) + totals.yearRainOffset)));
  const int dayEt = etOverDays(model, today, now);
  putU16(p, 56, static_cast<std::uint16_t>(dayEt));
  // Month and year totals in hundredths: the whole days at a typical rate plus today.
  putU16(p, 58, static_cast<std::uint16_t>((c.day - 1) * 12 + dayEt / 10));
  putU16(p, 60, static_cast<std::uint16_t>(c.yearDay * 12 + dayEt / 10));
  std::fill(p.begin() + 70, p.begin() + 87, std::uint8_t{0});  // no alarms, batteries good
  putU16(p, 87, 806);                                          // 4.72 V
  p[89] = r.solar > 300 ? 0x08 : 0x06;
  p[90] = static_cast<std::uint8_t>((r.barometer / 7) % 190);
  const auto [rise, set] = sunTimes(c);
  putI16(p, 91, rise);
  putI16(p, 93, set);
  p[95] = kLf;
  p[96] = kCr;
  const std::uint16_t crc = crc16(std::span<const std::uint8_t>(p).first(97));
  p[97] = static_cast<std::uint8_t>(crc >> 8);
  p[98] = static_cast<std::uint8_t>(crc & 0xFF);
  return p;
}

}  // namespace consolesim
