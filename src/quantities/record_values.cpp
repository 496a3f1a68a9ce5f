#include "quantities/record_values.h"

#include <cmath>

#include "quantities/date_text.h"
#include "quantities/derived.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace quantities {

namespace {

using records::ArchiveRecord;
constexpr double kNone = kNoDataValue;

double temperature(const ArchiveRecord& r, FieldRef f) {
  if (!f.present) return kNone;
  if (f.isByte) {
    const std::uint8_t b = r.u8(f.offset);
    return b == records::kNoData8 ? kNone : b - records::kByteTemperatureBias;
  }
  const std::int16_t v = r.i16(f.offset);
  return records::isNoData16(v) ? kNone : v * 0.1;
}

double humidity(const ArchiveRecord& r, FieldRef f) {
  if (!f.present) return kNone;
  if (f.isByte) {
    const std::uint8_t b = r.u8(f.offset);
    return b == records::kNoData8 ? kNone : b;
  }
  const std::int16_t v = r.i16(f.offset);
  return v == records::kNoData16 ? kNone : v * 0.1;
}

double windSpeed(const ArchiveRecord& r, std::size_t offset) {
  const std::int16_t v = r.i16(offset);
  return v == records::kNoData16 ? kNone : v * 0.1;
}

double barometer(const ArchiveRecord& r) {
  const std::int16_t v = r.i16(records::kArcBarometer);
  return records::isBarometerNoData(v) ? kNone : v * 0.001;
}

int collectorType(const ArchiveRecord& r) {
  return r.u16(records::kArcRain) >> records::kRainCollectorShift;
}

double rainInches(const ArchiveRecord& r) {
  const std::uint16_t raw = r.u16(records::kArcRain);
  const int type = raw >> records::kRainCollectorShift;
  if (raw == records::kNoData16Raw || type >= static_cast<int>(records::kRainCollectors.size()) ||
      !records::kRainCollectors[type].totalsValid)
    return kNone;
  return (raw & records::kRainTipsMask) * records::kRainCollectors[type].inchesPerTip;
}

double rainRate(const ArchiveRecord& r) {
  const std::int16_t v = r.i16(records::kArcHighRainRate);
  const double perTip = records::rainInchesPerTip(collectorType(r));
  if (v == records::kNoData16 || perTip < 0.0) return kNone;
  return v * perTip;
}

double solar(const ArchiveRecord& r, std::size_t offset) {
  const std::int16_t v = r.i16(offset);
  return v < -200 || v > 32766 ? kNone : v;
}

double uvIndex(const ArchiveRecord& r, std::size_t offset) {
  const std::uint8_t b = r.u8(offset);
  return b == records::kNoData8 ? kNone : b * 0.1;
}

int transmitterId(const ArchiveRecord& r) {
  return r.u8(records::kArcTransmitter) & records::kArcTransmitterMask;
}

double reception(const ArchiveRecord& r) {
  const std::int16_t samples = r.i16(records::kArcWindSamples);
  if (samples < 0) return kNone;
  const int expected = expectedWindSamples(r.interval(), transmitterId(r));
  if (expected < 1) return 0.0;
  const double pct = samples * 100.0 / expected;
  return pct > 100.0 ? 100.0 : pct;
}

double evapotranspiration(const ArchiveRecord& r) {
  const std::uint8_t b = r.u8(records::kArcEvapotranspiration);
  if (b == records::kNoData8) return kNone;
  const double v = b * 0.001;
  return (r.u8(records::kArcTransmitter) & records::kArcEtNegative) ? -v : v;
}

float f(double v) { return static_cast<float>(v); }

// The value in internal units.
double internalValue(const ArchiveRecord& r, const ResolvedCode& c, const ValueContext& ctx) {
  using records::kArcWindSpeed;
  const int minutes = r.interval();
  switch (c.kind) {
    case ValueKind::kNone:
      return kNone;
    case ValueKind::kTemp16:
    case ValueKind::kTempByte:
      return temperature(r, {c.offset, c.kind == ValueKind::kTempByte, true});
    case ValueKind::kHum16:
    case ValueKind::kHumByte:
      return humidity(r, {c.offset, c.kind == ValueKind::kHumByte, true});
    case ValueKind::kSpeed16:
      return windSpeed(r, c.offset);
    case ValueKind::kDirection: {
      const std::uint8_t b = r.u8(c.offset);
      return b == records::kNoData8 ? kNone : b;
    }
    case ValueKind::kBarometer:
      return barometer(r);
    case ValueKind::kRain:
      return rainInches(r);
    case ValueKind::kRainRate:
      return rainRate(r);
    case ValueKind::kSolar:
      return solar(r, c.offset);
    case ValueKind::kUv:
      return uvIndex(r, c.offset);
    case ValueKind::kByteLevel: {
      const std::uint8_t b = r.u8(c.offset);
      return b == records::kNoData8 ? kNone : b;
    }
    case ValueKind::kInterval:
      return minutes;
    case ValueKind::kTransmitter:
      return transmitterId(r);
    case ValueKind::kWindSamples: {
      const std::int16_t v = r.i16(records::kArcWindSamples);
      return v < 0 ? kNone : v;
    }
    case ValueKind::kReception:
      return reception(r);
    case ValueKind::kTimeOfDay: {
      const std::int16_t v = r.timeOfDay();
      return v == records::kNoData16 ? kNone : v;
    }
    case ValueKind::kExpectedSamples:
      return expectedWindSamples(minutes, transmitterId(r));
    case ValueKind::kDewPoint:
      return CalcDew(f(temperature(r, c.temp)), f(humidity(r, c.hum)));
    case ValueKind::kWindChill:
      return CalcChill(f(temperature(r, c.temp)), f(windSpeed(r, kArcWindSpeed)));
    case ValueKind::kHeatIndex:
      return CalcHeat(f(temperature(r, c.temp)), f(humidity(r, c.hum)));
    case ValueKind::kThw:
      return CalcTHW(f(temperature(r, c.temp)), f(humidity(r, c.hum)),
                     f(windSpeed(r, kArcWindSpeed)));
    case ValueKind::kThsw:
      return CalcTHSW(f(temperature(r, c.temp)), f(humidity(r, c.hum)),
                      f(windSpeed(r, kArcWindSpeed)), f(solar(r, records::kArcSolarEstimate)));
    case ValueKind::kDerivedTemp:
      return temperature(r, c.temp);
    case ValueKind::kWindRun: {
      const double v = windSpeed(r, kArcWindSpeed);
      return v == kNone ? kNone : windRunMiles(v, minutes);
    }
    case ValueKind::kDegreeDays: {
      const double t = temperature(r, c.temp);
      return t == kNone ? kNone : degreeDays(t, c.degreeDayBase, minutes);
    }
    case ValueKind::kSolarEnergy: {
      const double s = solar(r, records::kArcSolarRadiation);
      return s == kNone ? kNone : solarEnergyLangleys(s, minutes);
    }
    case ValueKind::kUvDose: {
      const double uv = uvIndex(r, records::kArcUvIndex);
      return uv == kNone ? kNone : uvDoseMeds(uv, minutes, ctx.skinFactor);
    }
    case ValueKind::kAirDensity:
      return CalcAirDensity(f(temperature(r, c.temp)), f(barometer(r)), f(humidity(r, c.hum)));
    case ValueKind::kEmc:
      return CalcEMC(f(temperature(r, c.temp)), f(humidity(r, c.hum)));
    case ValueKind::kEvapotranspiration:
      return evapotranspiration(r);
  }
  return kNone;
}

double toUser(double v, ValueKind kind, const Units& u) {
  if (v == kNone) return v;
  if (isTemperatureKind(kind)) return u.ConvertTemp(v, 0);
  switch (kind) {
    case ValueKind::kSpeed16:
      return u.ConvertSpeed(v, 0);
    case ValueKind::kBarometer:
      return u.ConvertBar(v, 0);
    case ValueKind::kRain:
    case ValueKind::kEvapotranspiration:
      return u.ConvertRain(v, 0);
    case ValueKind::kRainRate:
      return u.ConvertRate(v, 0);
    case ValueKind::kDegreeDays:
      return u.ConvertDegDay(v, 0);
    case ValueKind::kWindRun:
      switch (u.GetWindSpeedUnit()) {
        case kKnots:
          return v * 0.8695652173913044;
        case kKmh:
          return v * 1.609344;
        case kMetresPerSecond:
          return v * 0.44704 * 3.6;
        default:
          return v;
      }
    default:
      return v;
  }
}

std::string dash() { return std::string(kDash3); }

}  // namespace

int expectedWindSamples(int minutes, int id) {
  const double n = minutes * 60.0;
  const double rounded = std::trunc(n / (id * 1.25 + 50.0) + 0.5);
  return static_cast<int>(std::trunc(n / (id * 0.0625 + 2.5) - rounded));
}

double readValue(const ArchiveRecord& record, const ResolvedCode& code, bool internalUnits,
                 const ValueContext& ctx) {
  const double v = internalValue(record, code, ctx);
  return internalUnits ? v : toUser(v, code.kind, ctx.units);
}

int GetWeatherData(const ArchiveRecord& record, SensorCode code, unsigned internalUnits,
                   float* value, const ValueContext& ctx) {
  if (value == nullptr) return kValueBadArgument;
  *value = f(readValue(record, resolveCode(code), internalUnits != 0, ctx));
  return kValueOk;
}

std::string GetWeatherDataStr(const ArchiveRecord& record, SensorCode code,
                              const ValueContext& ctx) {
  const ResolvedCode c = resolveCode(code);
  const Units& u = ctx.units;
  const double v = readValue(record, c, false, ctx);
  if (c.kind == ValueKind::kRain && v == kNone) return "    ---";
  if (v == kNone || !std::isfinite(v)) return dash();
  if (isTemperatureKind(c.kind)) return fixedText(v, 1);
  switch (c.kind) {
    case ValueKind::kHum16:
    case ValueKind::kHumByte:
      return fixedText(v, u.GetHumPrecision());
    case ValueKind::kSpeed16:
      return fixedText(v, 1);
    case ValueKind::kDirection:
      return DomDirStr(static_cast<int>(v));
    case ValueKind::kBarometer:
      return fixedText(v, u.GetBarUnit() == kInchesHg ? 3 : 1);
    case ValueKind::kRain:
      return fixedText(v, 2);
    case ValueKind::kRainRate:
      return fixedText(v, u.GetRainUnit() == kInches ? 2 : 1);
    case ValueKind::kSolar:
      return fixedText(v, 0);
    case ValueKind::kUv:
      return fixedText(v, 1);
    case ValueKind::kByteLevel:
    case ValueKind::kInterval:
    case ValueKind::kWindSamples:
    case ValueKind::kExpectedSamples:
      return std::to_string(static_cast<int>(v));
    case ValueKind::kTransmitter:
      return std::to_string(static_cast<int>(v) + 1);
    case ValueKind::kReception:
      return fixedText(v, 1);
    case ValueKind::kTimeOfDay:
      return recordTimeText(static_cast<int>(v), ctx.intl);
    case ValueKind::kWindRun:
    case ValueKind::kSolarEnergy:
    case ValueKind::kUvDose:
    case ValueKind::kEmc:
      return fixedText(v, 2);
    case ValueKind::kDegreeDays:
      return fixedText(v, 3);
    case ValueKind::kAirDensity: {
      std::string s = fixedText(v, 4);
      if (!s.empty() && s.front() == '0') s.front() = ' ';
      return s;
    }
    case ValueKind::kEvapotranspiration:
      return ETStr(u, f(v), true);
    default:
      return dash();
  }
}

}  // namespace quantities
