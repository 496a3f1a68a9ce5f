#include "publish/tag_values.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "platform/string_table.h"
#include "publish/reading_values.h"
#include "publish/tag_table.h"
#include "quantities/date_text.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"
#include "reports/moon_phase.h"
#include "reports/sunrise_report.h"

namespace publish {

namespace {

using stationlink::SensorImage;
using Ctx = PublishContext;
using Number = std::optional<double>;
using Getter = Number (*)(const Ctx&);
using Formatter = std::string (*)(const Ctx&, double);
using TextGetter = std::string (*)(const Ctx&);

constexpr std::string_view kMissing = "---";
constexpr int kCompassTexts = 61798;  // "N" ... "NNW"
constexpr int kMoonTexts = 44816;     // "Luna Nueva " ... "Séptimo Octante "
constexpr int kFallingText = 62701;   // "Bajando", "Estable", "Subiendo"
constexpr int kHumidityUnit = 21067;  // "%"
constexpr int kUvUnit = 21065;
constexpr int kSoilUnit = 21068;

// One value tag: the sensors it needs (sensor word 0), whether only a Cirrant console
// reports it, and either a number with its formatter or a text.
struct TagRow {
  int id = 0;
  std::uint32_t sensors = 0;
  bool cirrantOnly = false;
  Getter get = nullptr;
  Formatter format = nullptr;
  TextGetter text = nullptr;
};

constexpr TagRow number(int id, std::uint32_t sensors, Getter get, Formatter format,
                        bool cirrantOnly = false) {
  return TagRow{id, sensors, cirrantOnly, get, format, nullptr};
}
constexpr TagRow text(int id, std::uint32_t sensors, TextGetter get) {
  return TagRow{id, sensors, false, nullptr, nullptr, get};
}

std::string missing(const Ctx&) { return std::string(kMissing); }
constexpr TagRow none(int id, std::uint32_t sensors = 0) { return text(id, sensors, missing); }

// ---- Readings of the current conditions, internal units -------------------------------

namespace r = reading;

template <std::int16_t SensorImage::*F>
Number temperature(const Ctx& c) {
  return r::tenths(c.readings.*F);
}
template <std::uint8_t SensorImage::*F>
Number humidity(const Ctx& c) {
  return r::percent(c.readings.*F);
}
template <std::uint8_t SensorImage::*F>
Number speed(const Ctx& c) {
  return r::plainByte(c.readings.*F);
}
template <std::int16_t SensorImage::*F>
Number rain(const Ctx& c) {
  return r::rainTips(c.readings.*F, c.station);
}
template <std::size_t I>
Number extraTemp(const Ctx& c) {
  return r::biasedTemperature(c.readings.extraTemperatures[I]);
}
template <std::size_t I>
Number extraHumidity(const Ctx& c) {
  return r::percent(c.readings.extraHumidities[I]);
}
template <std::size_t I>
Number soilTemp(const Ctx& c) {
  return r::biasedTemperature(c.readings.soilTemperatures[I]);
}
template <std::size_t I>
Number soilMoisture(const Ctx& c) {
  return r::plainByte(c.readings.soilMoistures[I]);
}
template <std::size_t I>
Number leafTemp(const Ctx& c) {
  return r::biasedTemperature(c.readings.leafTemperatures[I]);
}
template <std::size_t I>
Number leafWetness(const Ctx& c) {
  return r::plainByte(c.readings.leafWetnesses[I]);
}

// The older consoles of models 1 to 3 report no barometer worth showing.
Number barometer(const Ctx& c) {
  if (c.station.isTessel()) return std::nullopt;
  return r::barometer(c.readings);
}
Number direction(const Ctx& c) {
  const std::uint16_t v = c.readings.windDirection;
  if (v == 0x7FFF || v >= 0x8000 || v > 360) return std::nullopt;
  return v == 0 ? 360 : v;
}
Number rainRate(const Ctx& c) { return r::rainRate(c.readings, c.station); }
Number etWithScale(std::int16_t v, double scale) {
  if (v == stationlink::kImageNone16 || v < 0) return std::nullopt;
  return v * scale;
}
Number etDay(const Ctx& c) { return etWithScale(c.readings.etDay, 0.001); }
Number etMonth(const Ctx& c) { return etWithScale(c.readings.etMonth, 0.01); }
Number etYear(const Ctx& c) { return etWithScale(c.readings.etYear, 0.01); }
Number solar(const Ctx& c) { return r::solarRadiation(c.readings); }
Number uv(const Ctx& c) { return r::uvIndex(c.readings); }

Number outT(const Ctx& c) { return r::outsideTemperature(c.readings); }
Number outH(const Ctx& c) { return r::outsideHumidity(c.readings); }
Number inT(const Ctx& c) { return r::insideTemperature(c.readings); }
Number inH(const Ctx& c) { return r::insideHumidity(c.readings); }
Number wind(const Ctx& c) { return r::windSpeed(c.readings); }

Number outsideDew(const Ctx& c) { return r::dewPoint(outT(c), outH(c)); }
Number insideDew(const Ctx& c) { return r::dewPoint(inT(c), inH(c)); }
Number outsideHeat(const Ctx& c) { return r::heatIndex(outT(c), outH(c)); }
Number insideHeat(const Ctx& c) { return r::heatIndex(inT(c), inH(c)); }
Number windChill(const Ctx& c) { return r::windChill(outT(c), wind(c)); }
Number thw(const Ctx& c) { return r::thw(outT(c), outH(c), wind(c)); }
Number emc(const Ctx& c) { return r::emc(outT(c), outH(c)); }
Number airDensity(const Ctx& c) { return r::airDensity(outT(c), barometer(c), outH(c)); }

// ---- Highs and lows --------------------------------------------------------------------

enum class Period { kDay, kMonth, kYear };

const PeriodExtremes& periodOf(const Ctx& c, Period p) {
  switch (p) {
    case Period::kDay:
      return c.highsLows.day;
    case Period::kMonth:
      return c.highsLows.month;
    case Period::kYear:
      break;
  }
  return c.highsLows.year;
}

template <Period P, Extreme E>
Number high(const Ctx& c) {
  const auto& v = periodOf(c, P)[E].high;
  return v ? Number(v->value) : std::nullopt;
}
template <Period P, Extreme E>
Number low(const Ctx& c) {
  const auto& v = periodOf(c, P)[E].low;
  return v ? Number(v->value) : std::nullopt;
}
template <Extreme E>
Number highTime(const Ctx& c) {
  const auto& v = c.highsLows.day[E].high;
  return v && v->minutes >= 0 ? Number(v->minutes) : std::nullopt;
}
template <Extreme E>
Number lowTime(const Ctx& c) {
  const auto& v = c.highsLows.day[E].low;
  return v && v->minutes >= 0 ? Number(v->minutes) : std::nullopt;
}

// ---- Wind history ----------------------------------------------------------------------

template <std::size_t N>
Number windAverage(const Ctx& c) {
  return c.windHistory ? c.windHistory->average(N) : std::nullopt;
}
template <std::size_t N>
Number windHigh(const Ctx& c) {
  return c.windHistory ? c.windHistory->highest(N) : std::nullopt;
}

// ---- Formatters ------------------------------------------------------------------------

const quantities::Units& unitsOf(const Ctx& c) { return c.conventions.units; }

std::string formatTemp(const Ctx& c, double v) {
  return quantities::TempStr(unitsOf(c), static_cast<float>(v), false);
}
std::string formatHumidity(const Ctx& c, double v) {
  return quantities::HumStr(unitsOf(c), static_cast<float>(v));
}
std::string formatBarometer(const Ctx& c, double v) {
  return quantities::BarStr(unitsOf(c), static_cast<float>(v), false);
}
std::string formatSpeed(const Ctx& c, double v) {
  return quantities::SpeedStr(unitsOf(c), static_cast<float>(v), false);
}
std::string formatRain(const Ctx& c, double v) {
  return quantities::RainStr(unitsOf(c), static_cast<float>(v), false);
}
std::string formatEt(const Ctx& c, double v) {
  return quantities::ETStr(unitsOf(c), static_cast<float>(v), false);
}
std::string formatSolar(const Ctx&, double v) {
  return quantities::SolarRadStr(static_cast<float>(v));
}
std::string formatUv(const Ctx&, double v) {
  return quantities::UVStr(static_cast<int>(std::lround(v * 10)));
}
std::string formatLeafSoil(const Ctx&, double v) {
  return quantities::LeafSoilStr(static_cast<int>(std::lround(v)));
}
std::string formatWhole(const Ctx&, double v) {
  return std::to_string(static_cast<int>(std::lround(v)));
}
std::string formatCompass(const Ctx&, double degrees) {
  const int index = static_cast<int>(std::floor((degrees + 11.25) / 22.5));
  return platform::loadString(kCompassTexts + (index >= 16 || index < 0 ? 0 : index));
}
std::string formatOneDecimal(const Ctx&, double v) { return quantities::fixedText(v, 1); }
std::string formatAirDensity(const Ctx&, double v) {
  return quantities::GetAirDensityStr(static_cast<float>(v));
}
// "%03.1f": a speed is never negative, so one decimal always fills the width.
std::string formatWindSpan(const Ctx& c, double mph) {
  const double v = unitsOf(c).ConvertSpeed(mph, 0);
  if (v == quantities::kNoDataValue) return std::string(kMissing);
  return quantities::fixedText(v, 1);
}
std::string timeOfDay(const Ctx& c, int minutes) {
  return quantities::timeText(
      records::DateTime::fromDate(2000, 1, 1, static_cast<std::uint16_t>(minutes)),
      c.conventions.intl);
}
std::string formatTime(const Ctx& c, double minutes) {
  return timeOfDay(c, static_cast<int>(std::lround(minutes)));
}

// ---- Texts -----------------------------------------------------------------------------

records::DateTime dateTimeOf(const platform::CivilTime& t) {
  return records::DateTime::fromDate(t.year, t.month, t.day,
                                     static_cast<std::uint16_t>(t.hour * 60 + t.minute));
}
platform::CivilTime localNow(const Ctx& c) { return c.clock->localNow(); }
platform::CivilTime utcNow(const Ctx& c) { return c.clock->toUtc(c.clock->wallNow()); }

std::string localDate(const Ctx& c) {
  return quantities::shortDateText(dateTimeOf(localNow(c)), c.conventions.intl);
}
std::string localTime(const Ctx& c) {
  return quantities::timeText(dateTimeOf(localNow(c)), c.conventions.intl);
}
std::string utcDate(const Ctx& c) {
  return quantities::shortDateText(dateTimeOf(utcNow(c)), c.conventions.intl);
}
std::string utcTime(const Ctx& c) {
  return quantities::timeText(dateTimeOf(utcNow(c)), c.conventions.intl);
}
std::string stationDate(const Ctx& c) {
  return quantities::shortDateText(dateTimeOf(c.stationTime), c.conventions.intl);
}
std::string stationTime(const Ctx& c) {
  return quantities::timeText(dateTimeOf(c.stationTime), c.conventions.intl);
}

std::string sunEvent(const Ctx& c, std::size_t event) {
  const platform::CivilTime today = localNow(c);
  const auto day =
      reports::sunDayFor(c.station, quantities::Date{today.year, today.month, today.day});
  if (!day || !day->events[event]) return std::string(kMissing);
  return timeOfDay(c, *day->events[event]);
}
std::string sunrise(const Ctx& c) { return sunEvent(c, 3); }
std::string sunset(const Ctx& c) { return sunEvent(c, 4); }

std::string moonPhase(const Ctx& c) {
  const platform::CivilTime t = utcNow(c);
  const double hours = t.hour + t.minute / 60.0 + t.second / 3600.0;
  const double p = reports::moonPhase(t.year, t.month, t.day, hours).phase;
  int index = static_cast<int>(std::floor(p * 8 + 0.5));
  if (index >= 8 || index < 0) index = 0;
  return platform::loadString(kMoonTexts + index);
}

std::string barTrend(const Ctx& c) {
  const int trend = c.readings.barometerTrend;
  if (c.station.isCirrant()) return quantities::BarTrendStr(trend);
  if (c.station.isBasalt() || c.station.isLumeno()) {
    if (trend == -20) return platform::loadString(kFallingText);
    if (trend == 0) return platform::loadString(kFallingText + 1);
    if (trend == 20) return platform::loadString(kFallingText + 2);
  }
  return std::string(kMissing);
}

std::string orBlank(std::string s) { return s.empty() ? std::string(" ") : s; }
std::string stationName(const Ctx& c) { return orBlank(c.station.stationName()); }
std::string stationCity(const Ctx& c) { return orBlank(c.station.noaaCity()); }
std::string stationState(const Ctx& c) { return orBlank(c.station.noaaState()); }
std::string stationLatitude(const Ctx& c) { return c.station.noaaLatText(); }
std::string stationLongitude(const Ctx& c) { return c.station.noaaLonText(); }
std::string stationElevation(const Ctx& c) {
  const int feet = c.station.elevation();
  const int v =
      unitsOf(c).GetElevUnit() == quantities::kMetres ? unitsOf(c).ConvertElevation(feet, 0) : feet;
  if (feet == quantities::kNoDataElevation || v == quantities::kBadDirectionElevation) {
    return std::string(kMissing);
  }
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%5d %s", v, unitsOf(c).elevUnitText().c_str());
  return buffer;
}

// ---- The table -------------------------------------------------------------------------

using E = Extreme;
constexpr Period D = Period::kDay;
constexpr Period M = Period::kMonth;
constexpr Period Y = Period::kYear;
using S = SensorImage;

// One row per value tag, in number order. The highs and lows of every period come from the
// station's database, so they hold for every model; only what the console alone reports
// (the ten-minute wind, the month's and the storm's rain) needs a Cirrant.
constexpr TagRow kRows[] = {
    number(8000, 0, temperature<&S::insideTemperature>, formatTemp),
    number(8001, 0x1, temperature<&S::outsideTemperature>, formatTemp),
    number(8002, 0x4000, humidity<&S::insideHumidity>, formatHumidity),
    number(8003, 0x10, humidity<&S::outsideHumidity>, formatHumidity),
    number(8004, 0x100, barometer, formatBarometer),
    number(8005, 0x200, speed<&S::windSpeed>, formatSpeed),
    number(8006, 0x200, speed<&S::windSpeedAverage>, formatSpeed, true),
    number(8007, 0x400, direction, formatWhole),
    number(8008, 0x400, direction, formatCompass),
    number(8009, 0x8000, rain<&S::rainYear>, formatRain),
    number(8010, 0x8000, rain<&S::rainDay>, formatRain),
    number(8011, 0x8000, rain<&S::rainMonth>, formatRain, true),
    number(8012, 0x8000, rain<&S::stormRain>, formatRain, true),
    number(8013, 0x80, rainRate, formatRain),
    number(8014, 0xB11, etDay, formatEt),
    number(8015, 0xB11, etMonth, formatEt),
    number(8016, 0xB11, etYear, formatEt),
    number(8017, 0x800, solar, formatSolar),
    number(8018, 0x1000, uv, formatUv),
    text(8019, 0, sunrise),
    text(8020, 0, sunset),
    number(8021, 0x100, low<D, E::kBarometer>, formatBarometer),
    number(8022, 0x100, high<D, E::kBarometer>, formatBarometer),
    number(8023, 0x100, low<M, E::kBarometer>, formatBarometer),
    number(8024, 0x100, high<M, E::kBarometer>, formatBarometer),
    number(8025, 0x100, low<Y, E::kBarometer>, formatBarometer),
    number(8026, 0x100, high<Y, E::kBarometer>, formatBarometer),
    number(8027, 0x100, lowTime<E::kBarometer>, formatTime),
    number(8028, 0x100, highTime<E::kBarometer>, formatTime),
    number(8029, 0x200, high<D, E::kWindSpeed>, formatSpeed),
    number(8030, 0x200, highTime<E::kWindSpeed>, formatTime),
    number(8031, 0x200, high<M, E::kWindSpeed>, formatSpeed),
    number(8032, 0x200, high<Y, E::kWindSpeed>, formatSpeed),
    number(8033, 0x2000, high<D, E::kInsideTemp>, formatTemp),
    number(8034, 0x2000, low<D, E::kInsideTemp>, formatTemp),
    number(8035, 0x2000, highTime<E::kInsideTemp>, formatTime),
    number(8036, 0x2000, lowTime<E::kInsideTemp>, formatTime),
    number(8037, 0x2000, high<M, E::kInsideTemp>, formatTemp),
    number(8038, 0x2000, low<M, E::kInsideTemp>, formatTemp),
    number(8039, 0x2000, high<Y, E::kInsideTemp>, formatTemp),
    number(8040, 0x2000, low<Y, E::kInsideTemp>, formatTemp),
    number(8041, 0x4000, high<D, E::kInsideHumidity>, formatHumidity),
    number(8042, 0x4000, low<D, E::kInsideHumidity>, formatHumidity),
    number(8043, 0x4000, highTime<E::kInsideHumidity>, formatTime),
    number(8044, 0x4000, lowTime<E::kInsideHumidity>, formatTime),
    number(8045, 0x4000, high<M, E::kInsideHumidity>, formatHumidity),
    number(8046, 0x4000, low<M, E::kInsideHumidity>, formatHumidity),
    number(8047, 0x4000, high<Y, E::kInsideHumidity>, formatHumidity),
    number(8048, 0x4000, low<Y, E::kInsideHumidity>, formatHumidity),
    number(8049, 0x1, high<D, E::kOutsideTemp>, formatTemp),
    number(8050, 0x1, low<D, E::kOutsideTemp>, formatTemp),
    number(8051, 0x1, highTime<E::kOutsideTemp>, formatTime),
    number(8052, 0x1, lowTime<E::kOutsideTemp>, formatTime),
    number(8053, 0x1, high<M, E::kOutsideTemp>, formatTemp),
    number(8054, 0x1, low<M, E::kOutsideTemp>, formatTemp),
    number(8055, 0x1, high<Y, E::kOutsideTemp>, formatTemp),
    number(8056, 0x1, low<Y, E::kOutsideTemp>, formatTemp),
    number(8057, 0x11, high<D, E::kDewPoint>, formatTemp),
    number(8058, 0x11, low<D, E::kDewPoint>, formatTemp),
    number(8059, 0x11, highTime<E::kDewPoint>, formatTime),
    number(8060, 0x11, lowTime<E::kDewPoint>, formatTime),
    number(8061, 0x11, high<M, E::kDewPoint>, formatTemp),
    number(8062, 0x11, low<M, E::kDewPoint>, formatTemp),
    number(8063, 0x11, high<Y, E::kDewPoint>, formatTemp),
    number(8064, 0x11, low<Y, E::kDewPoint>, formatTemp),
    number(8065, 0x201, low<D, E::kWindChill>, formatTemp),
    number(8066, 0x201, lowTime<E::kWindChill>, formatTime),
    number(8067, 0x201, low<M, E::kWindChill>, formatTemp),
    number(8068, 0x201, low<Y, E::kWindChill>, formatTemp),
    number(8069, 0x11, high<D, E::kHeatIndex>, formatTemp),
    number(8070, 0x11, highTime<E::kHeatIndex>, formatTime),
    number(8071, 0x11, high<M, E::kHeatIndex>, formatTemp),
    number(8072, 0x11, high<Y, E::kHeatIndex>, formatTemp),
    number(8073, 0xA11, high<D, E::kThsw>, formatTemp),
    number(8074, 0xA11, highTime<E::kThsw>, formatTime),
    number(8075, 0xA11, high<M, E::kThsw>, formatTemp),
    number(8076, 0xA11, high<Y, E::kThsw>, formatTemp),
    number(8077, 0x800, high<D, E::kSolarRadiation>, formatSolar),
    number(8078, 0x800, highTime<E::kSolarRadiation>, formatTime),
    number(8079, 0x800, high<M, E::kSolarRadiation>, formatSolar),
    number(8080, 0x800, high<Y, E::kSolarRadiation>, formatSolar),
    number(8081, 0x1000, high<D, E::kUvIndex>, formatUv),
    number(8082, 0x1000, highTime<E::kUvIndex>, formatTime),
    number(8083, 0x1000, high<M, E::kUvIndex>, formatUv),
    number(8084, 0x1000, high<Y, E::kUvIndex>, formatUv),
    number(8085, 0x80, high<D, E::kRainRate>, formatRain),
    number(8086, 0x80, highTime<E::kRainRate>, formatTime),
    none(8087, 0x80),  // the last hour's high: the daily summaries keep none
    number(8088, 0x80, high<M, E::kRainRate>, formatRain),
    number(8089, 0x80, high<Y, E::kRainRate>, formatRain),
    number(8090, 0x10, low<D, E::kOutsideHumidity>, formatHumidity),
    number(8091, 0x10, high<D, E::kOutsideHumidity>, formatHumidity),
    number(8092, 0x10, lowTime<E::kOutsideHumidity>, formatTime),
    number(8093, 0x10, highTime<E::kOutsideHumidity>, formatTime),
    number(8094, 0x10, high<M, E::kOutsideHumidity>, formatHumidity),
    number(8095, 0x10, low<M, E::kOutsideHumidity>, formatHumidity),
    number(8096, 0x10, high<Y, E::kOutsideHumidity>, formatHumidity),
    number(8097, 0x10, low<Y, E::kOutsideHumidity>, formatHumidity),
    // The extremes of the soil, leaf and extra sensors: the daily summaries keep none.
    none(8098, 0x10000),
    none(8099, 0x10000),
    none(8100, 0x10000),
    none(8101, 0x10000),
    none(8102, 0x1000000),
    none(8103, 0x1000000),
    none(8104, 0x1000000),
    none(8105, 0x1000000),
    number(8106, 0x11, outsideDew, formatTemp),
    number(8107, 0x6000, insideDew, formatTemp),
    number(8108, 0x201, windChill, formatTemp),
    number(8109, 0x11, outsideHeat, formatTemp),
    number(8110, 0x6000, insideHeat, formatTemp),
    text(8111, 0, localDate),
    text(8112, 0, localTime),
    text(8113, 0, stationDate),
    text(8114, 0, stationTime),
    number(8115, 0x10000, soilMoisture<0>, formatLeafSoil),
    number(8116, 0x100000, soilTemp<0>, formatTemp),
    number(8117, 0x1000000, leafWetness<0>, formatLeafSoil),
    number(8118, 0x10000000, leafTemp<0>, formatTemp),
    number(8119, 0x2, extraTemp<0>, formatTemp),
    number(8120, 0x20, extraHumidity<0>, formatHumidity),
    none(8121, 0x100000),
    none(8122, 0x100000),
    none(8123, 0x100000),
    none(8124, 0x100000),
    none(8125, 0x10000000),
    none(8126, 0x10000000),
    none(8127, 0x10000000),
    none(8128, 0x10000000),
    none(8129, 0x2),
    none(8130, 0x2),
    none(8131, 0x2),
    none(8132, 0x2),
    none(8133, 0x20),
    none(8134, 0x20),
    none(8135, 0x20),
    none(8136, 0x20),
    text(8137, 0x100, barTrend),
    text(8138, 0, stationName),
    text(8139, 0, stationCity),
    text(8140, 0, stationState),
    text(8141, 0, stationElevation),
    text(8142, 0, stationLatitude),
    text(8143, 0, stationLongitude),
    text(8144, 0, utcDate),
    text(8145, 0, utcTime),
    number(8146, 0x211, thw, formatTemp),
    number(8147, 0x20000000, leafTemp<1>, formatTemp),
    none(8148, 0x20000000),
    none(8149, 0x20000000),
    none(8150, 0x20000000),
    none(8151, 0x20000000),
    number(8152, 0x40000, soilMoisture<2>, formatLeafSoil),
    number(8153, 0x80000, soilMoisture<3>, formatLeafSoil),
    number(8154, 0x200000, soilTemp<1>, formatTemp),
    number(8155, 0x400000, soilTemp<2>, formatTemp),
    number(8156, 0x800000, soilTemp<3>, formatTemp),
    number(8157, 0x20000, soilMoisture<1>, formatLeafSoil),
    none(8158),
    none(8159),
    none(8160),
    none(8161),
    none(8162),
    none(8163),
    none(8164, 0x200000),
    none(8165, 0x200000),
    none(8166, 0x200000),
    none(8167, 0x200000),
    none(8168, 0x400000),
    none(8169, 0x400000),
    none(8170, 0x400000),
    none(8171, 0x400000),
    none(8172, 0x800000),
    none(8173, 0x800000),
    none(8174, 0x800000),
    none(8175, 0x800000),
    none(8176),
    none(8177),
    none(8178),
    number(8179, 0x200, windAverage<2>, formatWindSpan),
    number(8180, 0x200, windAverage<3>, formatWindSpan),
    none(8181),
    none(8182),
    number(8183, 0, emc, formatOneDecimal),
    number(8184, 0, airDensity, formatAirDensity),
    number(8185, 0x4, extraTemp<1>, formatTemp),
    none(8186, 0x4),
    none(8187, 0x4),
    none(8188, 0x4),
    none(8189, 0x4),
    number(8190, 0x8, extraTemp<2>, formatTemp),
    none(8191, 0x8),
    none(8192, 0x8),
    none(8193, 0x8),
    none(8194, 0x8),
    number(8195, 0x40, extraHumidity<1>, formatHumidity),
    none(8196, 0x40),
    none(8197, 0x40),
    none(8198, 0x40),
    none(8199, 0x40),
    number(8200, 0x2000000, leafWetness<1>, formatLeafSoil),
    none(8201, 0x2000000),
    none(8202, 0x2000000),
    none(8203, 0x2000000),
    none(8204, 0x2000000),
    none(8205, 0x20000),
    none(8206, 0x20000),
    none(8207, 0x20000),
    none(8208, 0x20000),
    none(8209, 0x40000),
    none(8210, 0x40000),
    none(8211, 0x40000),
    none(8212, 0x40000),
    none(8213, 0x80000),
    none(8214, 0x80000),
    none(8215, 0x80000),
    none(8216, 0x80000),
    // The console's forecast is a rule number whose texts are the console's own.
    none(8217),
    text(8218, 0, moonPhase),
    number(8219, 0x200, windAverage<6>, formatWindSpan),
    number(8220, 0x200, windAverage<11>, formatWindSpan),
    number(8221, 0x200, windHigh<2>, formatWindSpan),
    number(8222, 0x200, windHigh<3>, formatWindSpan),
    number(8223, 0x200, windHigh<6>, formatWindSpan),
    number(8224, 0x200, windHigh<11>, formatWindSpan),
};

constexpr std::size_t kValueTagCount = kLastValueTag - kFirstValueTag + 1;
static_assert(std::size(kRows) == kValueTagCount);

constexpr bool rowsInOrder() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    if (kRows[i].id != kFirstValueTag + static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(rowsInOrder(), "one row per value tag, in number order");

std::string valueText(const Ctx& c, const TagRow& row) {
  if (!c.station.hasSensors(0, row.sensors)) return std::string(kMissing);
  if (row.cirrantOnly && !c.station.isCirrant()) return std::string(kMissing);
  if (row.text != nullptr) return row.text(c);
  const Number v = row.get(c);
  return v ? row.format(c, *v) : std::string(kMissing);
}

std::string unitText(const Ctx& c, int id) {
  const quantities::Units& u = unitsOf(c);
  switch (id - kFirstUnitTag) {
    case 0:
      return u.tempUnitText();
    case 1:
    case 9:
      return platform::loadString(kHumidityUnit);
    case 2:
      return u.speedUnitText();
    case 3:
      return u.barUnitText();
    case 4:
      return u.rainUnitText();
    case 5:
      return u.solarUnitText();
    case 6:
      return u.rateUnitText();
    case 7:
      return platform::loadString(kUvUnit);
    case 8:
      return platform::loadString(kSoilUnit);
    case 10:
      return u.airDensityUnitText();
    default:
      return std::string(kMissing);
  }
}

}  // namespace

std::string tagText(const PublishContext& context, int id) {
  if (id >= kFirstValueTag && id <= kLastValueTag) {
    return valueText(context, kRows[static_cast<std::size_t>(id - kFirstValueTag)]);
  }
  if (id >= kFirstUnitTag && id <= kLastUnitTag) return unitText(context, id);
  return std::string(kMissing);
}

}  // namespace publish
