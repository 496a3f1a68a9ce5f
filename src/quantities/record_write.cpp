#include <cmath>

#include "quantities/record_values.h"

namespace quantities {

namespace {

using records::ArchiveRecord;
using records::kNoData16;
using records::kNoData8;

bool missing(double v) { return v == kNoDataValue || !std::isfinite(v); }

// Half away from zero.
double roundAway(double v) { return v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5); }

void setTemperature(ArchiveRecord& r, const ResolvedCode& c, double v) {
  if (c.kind == ValueKind::kTempByte) {
    std::uint8_t b = kNoData8;
    if (!missing(v)) {
      // Whole degrees rounded half away from zero. Truncating v + 89.5 below zero would
      // floor instead, and store every whole negative reading one degree too cold.
      const double stored = roundAway(v) + records::kByteTemperatureBias;
      if (stored >= 0.0 && stored <= 255.0) b = static_cast<std::uint8_t>(stored);
    }
    r.setU8(c.offset, b);
    return;
  }
  std::int16_t s = kNoData16;
  if (!missing(v)) {
    // 0x7FFF also reads as none, so the largest stored reading is 32766.
    const double tenths = roundAway(v * 10.0);
    if (tenths >= -32767.0 && tenths <= 32766.0) s = static_cast<std::int16_t>(tenths);
  }
  r.setI16(c.offset, s);
}

void setHumidity(ArchiveRecord& r, const ResolvedCode& c, double v) {
  const bool valid = !missing(v) && v >= 0.0 && v <= 100.0;
  if (c.kind == ValueKind::kHumByte) {
    r.setU8(c.offset, valid ? static_cast<std::uint8_t>(std::floor(v + 0.5)) : kNoData8);
  } else {
    r.setI16(c.offset, valid ? static_cast<std::int16_t>(std::floor(v * 10.0 + 0.5)) : kNoData16);
  }
}

// Whole units by + 0.5 and truncation; no data when negative or beyond 32767.
std::int16_t countOrNone(double v) {
  if (missing(v) || v < 0.0) return kNoData16;
  const double n = std::trunc(v + 0.5);
  return n > 32767.0 ? kNoData16 : static_cast<std::int16_t>(n);
}

std::uint16_t rainField(double inches, const Units& units) {
  if (missing(inches) || inches < 0.0) return records::kNoData16Raw;
  const bool mm = units.GetRainUnit() == kMillimetres;
  const int type = mm ? records::kRainCollectorMm : records::kRainCollectorInches;
  const double tips = std::trunc(inches / records::rainInchesPerTip(type) + 0.5);
  // Twelve bits of tips: more would run into the collector type.
  if (tips > records::kRainTipsMask) return records::kNoData16Raw;
  return static_cast<std::uint16_t>(type << records::kRainCollectorShift | static_cast<int>(tips));
}

int setStationItem(ArchiveRecord& r, int index, double v) {
  if (missing(v)) return kValueBadArgument;
  const double n = std::trunc(v);
  switch (index) {
    case 0:
      if (n < 1 || n > 255) return kValueBadArgument;
      r.setU8(records::kArcInterval, static_cast<std::uint8_t>(n));
      return kValueOk;
    case 1: {
      if (n < 0 || n > 7) return kValueBadArgument;
      const std::uint8_t old = r.u8(records::kArcTransmitter);
      r.setU8(
          records::kArcTransmitter,
          static_cast<std::uint8_t>((old & ~records::kArcTransmitterMask) | static_cast<int>(n)));
      return kValueOk;
    }
    case 2:
      r.setI16(records::kArcWindSamples,
               n < 0 || n > 32767 ? kNoData16 : static_cast<std::int16_t>(n));
      return kValueOk;
    case 7:
      if (n < 1 || n > 1440) return kValueBadArgument;
      r.setTimeOfDay(static_cast<std::int16_t>(n));
      return kValueOk;
    default:
      return kValueBadArgument;
  }
}

void setEvapotranspiration(ArchiveRecord& r, double inches) {
  std::uint8_t sign = r.u8(records::kArcTransmitter) & ~records::kArcEtNegative;
  std::uint8_t b = kNoData8;
  if (!missing(inches) && std::fabs(inches) <= 0.254) {
    b = static_cast<std::uint8_t>(std::floor(std::fabs(inches) * 1000.0 + 0.5));
    if (inches < 0.0 && b != 0) sign |= records::kArcEtNegative;
  }
  r.setU8(records::kArcTransmitter, sign);
  r.setU8(records::kArcEvapotranspiration, b);
}

}  // namespace

int SetWeatherData(ArchiveRecord& r, SensorCode code, float value, unsigned internalUnits,
                   const ValueContext& ctx) {
  const ResolvedCode c = resolveCode(code);
  const Units& u = ctx.units;
  const bool user = internalUnits == 0;
  const double v = value;
  if (codeDerived(code) != kMeasured) {
    if (code != kCodeEvapotranspiration) return kValueBadArgument;
    setEvapotranspiration(r, user ? u.ConvertRain(v, 1) : v);
    return kValueOk;
  }
  switch (c.kind) {
    case ValueKind::kTemp16:
    case ValueKind::kTempByte:
      if (c.index != 0 && c.statistic != 0) return kValueBadArgument;
      // 32767 is the untouched-low marker and -32768 the no-data value, in any unit.
      setTemperature(r, c,
                     v == 32767.0 || v == kNoDataValue ? kNoDataValue
                     : user                            ? u.ConvertTemp(v, 1)
                                                       : v);
      return kValueOk;
    case ValueKind::kHum16:
    case ValueKind::kHumByte:
      setHumidity(r, c, v);
      return kValueOk;
    case ValueKind::kSpeed16:
      r.setI16(c.offset, countOrNone((user ? u.ConvertSpeed(v, 1) : v) * 10.0));
      return kValueOk;
    case ValueKind::kDirection:
      r.setU8(c.offset,
              !missing(v) && v >= 0.0 && v < 16.0 ? static_cast<std::uint8_t>(v) : kNoData8);
      return kValueOk;
    case ValueKind::kBarometer: {
      const double in = user ? u.ConvertBar(v, 1) : v;
      const double thousandths = missing(in) ? -1.0 : std::floor(in * 1000.0 + 0.5);
      r.setI16(c.offset, thousandths < 0.0 || thousandths > 32767.0
                             ? kNoData16
                             : static_cast<std::int16_t>(thousandths));
      return kValueOk;
    }
    case ValueKind::kRain:
      r.setU16(c.offset, rainField(user ? u.ConvertRain(v, 1) : v, u));
      return kValueOk;
    case ValueKind::kRainRate: {
      const double perTip =
          records::rainInchesPerTip(r.u16(records::kArcRain) >> records::kRainCollectorShift);
      const double rate = user ? u.ConvertRate(v, 1) : v;
      r.setI16(c.offset, perTip <= 0.0 || missing(rate) ? kNoData16 : countOrNone(rate / perTip));
      return kValueOk;
    }
    case ValueKind::kSolar:
      r.setI16(c.offset,
               missing(v) || v < -200.0 || v > 32766.0 ? kNoData16 : static_cast<std::int16_t>(v));
      return kValueOk;
    case ValueKind::kUv:
      r.setU8(c.offset, !missing(v) && v >= 0.0 && v <= 20.0
                            ? static_cast<std::uint8_t>(std::floor(v * 10.0 + 0.5))
                            : kNoData8);
      return kValueOk;
    case ValueKind::kByteLevel:
      r.setU8(c.offset,
              !missing(v) && v >= 0.0 && v < 255.0 ? static_cast<std::uint8_t>(v) : kNoData8);
      return kValueOk;
    case ValueKind::kInterval:
    case ValueKind::kTransmitter:
    case ValueKind::kWindSamples:
    case ValueKind::kTimeOfDay:
      return setStationItem(r, c.index, v);
    default:
      return kValueBadArgument;
  }
}

int SetRainData(ArchiveRecord& r, unsigned tips, int type) {
  const bool valid = tips <= records::kRainTipsMask && type >= 0 && type <= 6;
  r.setU16(records::kArcRain,
           valid ? static_cast<std::uint16_t>(type << records::kRainCollectorShift | tips)
                 : records::kNoData16Raw);
  return kValueOk;
}

}  // namespace quantities
