#include "quantities/code_resolver.h"

#include "records/month_format.h"

namespace quantities {

namespace {

using namespace records;

constexpr std::uint8_t at(std::size_t offset) { return static_cast<std::uint8_t>(offset); }

ResolvedCode measured(SensorCode code, ResolvedCode r) {
  const int cat = codeCategory(code);
  const int cls = codeClass(code);
  const int stat = r.statistic;
  const int index = r.index;
  auto field = [&r](ValueKind kind, std::size_t offset) {
    r.kind = kind;
    r.offset = at(offset);
    return r;
  };
  switch (cat) {
    case kCatTemperature: {
      if (cls != kClassTemperature) break;
      if (index == 0) {
        if (stat == 0) return field(ValueKind::kTemp16, kArcOutsideTemp);
        if (stat == 2) return field(ValueKind::kTemp16, kArcHighOutsideTemp);
        if (stat == 3) return field(ValueKind::kTemp16, kArcLowOutsideTemp);
        break;
      }
      const FieldRef t = temperatureField(index);
      if (!t.present) break;
      return field(t.isByte ? ValueKind::kTempByte : ValueKind::kTemp16, t.offset);
    }
    case kCatHumidity: {
      if (cls != kClassHumidity || stat != 0) break;
      const FieldRef h = humidityField(index);
      if (!h.present) break;
      return field(h.isByte ? ValueKind::kHumByte : ValueKind::kHum16, h.offset);
    }
    case kCatWindSpeed:
      if (cls != kClassWindSpeed || index != 0) break;
      if (stat == 0) return field(ValueKind::kSpeed16, kArcWindSpeed);
      if (stat == 2) return field(ValueKind::kSpeed16, kArcHighWindSpeed);
      break;
    case kCatWindDirection:
      if (cls != kClassDirection || index != 0) break;
      if (stat == 0 || stat == 1) return field(ValueKind::kDirection, kArcWindDirection);
      if (stat == 2) return field(ValueKind::kDirection, kArcHighWindDirection);
      break;
    case kCatBarometer:
      if (code == kCodeBarometer) return field(ValueKind::kBarometer, kArcBarometer);
      break;
    case kCatRain:
      if (code == kCodeRain) return field(ValueKind::kRain, kArcRain);
      break;
    case kCatRainRate:
      if (code == kCodeRainRate) return field(ValueKind::kRainRate, kArcHighRainRate);
      break;
    case kCatSolar:
      if (code == kCodeSolar) return field(ValueKind::kSolar, kArcSolarRadiation);
      if (code == kCodeSolarHigh) return field(ValueKind::kSolar, kArcHighSolarRadiation);
      if (code == kCodeSolarEstimate) return field(ValueKind::kSolar, kArcSolarEstimate);
      break;
    case kCatUv:
      if (code == kCodeUv) return field(ValueKind::kUv, kArcUvIndex);
      if (code == kCodeUvHigh) return field(ValueKind::kUv, kArcHighUvIndex);
      break;
    case kCatSoilMoisture:
      if (stat == 0 && index >= 9 && index <= 14)
        return field(ValueKind::kByteLevel, kArcSoilMoistures + (index - 9));
      break;
    case kCatLeafWetness:
      if (stat == 0 && index >= 15 && index <= 18)
        return field(ValueKind::kByteLevel, kArcLeafWetnesses + (index - 15));
      break;
    case kCatStation:
      switch (index) {
        case 0:
          return field(ValueKind::kInterval, kArcInterval);
        case 1:
          return field(ValueKind::kTransmitter, kArcTransmitter);
        case 2:
          return field(ValueKind::kWindSamples, kArcWindSamples);
        case 3:
          return field(ValueKind::kReception, kArcWindSamples);
        case 7:
          return field(ValueKind::kTimeOfDay, kArcTime);
        case 8:
          return field(ValueKind::kExpectedSamples, kArcInterval);
        default:
          break;
      }
      break;
    default:
      break;
  }
  r.kind = ValueKind::kNone;
  return r;
}

ResolvedCode derived(SensorCode code, ResolvedCode r) {
  const int cls = codeClass(code);
  const int stat = r.statistic;
  r.temp = temperatureField(r.index);
  r.hum = humidityField(r.index);
  auto kind = [&r](ValueKind k) {
    r.kind = k;
    return r;
  };
  switch (codeDerived(code)) {
    case kDewPoint:
    case kWindChill:
    case kHeatIndex:
    case kThwIndex:
    case kThswIndex:
    case kDerivedTemp6: {
      if (cls != kClassTemperature || stat != 0) break;
      static constexpr ValueKind kKinds[] = {ValueKind::kDewPoint,  ValueKind::kWindChill,
                                             ValueKind::kHeatIndex, ValueKind::kThw,
                                             ValueKind::kThsw,      ValueKind::kDerivedTemp};
      return kind(kKinds[codeDerived(code) - kDewPoint]);
    }
    case kWindRun:
      if (cls == kClassDistance && codeCategory(code) == kCatWindSpeed && stat == 1 && r.index == 0)
        return kind(ValueKind::kWindRun);
      break;
    case kDegreeDays:
      if (cls == kClassDegreeDays && stat == 1) {
        r.degreeDayBase = static_cast<std::uint8_t>(codeCategory(code));
        return kind(ValueKind::kDegreeDays);
      }
      break;
    case kSolarEnergy:
      if (code == kCodeSolarEnergy) return kind(ValueKind::kSolarEnergy);
      break;
    case kUvDose:
      if (code == kCodeUvDose) return kind(ValueKind::kUvDose);
      break;
    case kAirDensity:
      if (stat == 0) return kind(ValueKind::kAirDensity);
      break;
    case kEmc:
      if (stat == 0) return kind(ValueKind::kEmc);
      break;
    case kEvapotranspiration:
      return kind(ValueKind::kEvapotranspiration);
    default:
      break;
  }
  r.kind = ValueKind::kNone;
  return r;
}

}  // namespace

FieldRef temperatureField(int index) {
  if (index == 0) return {at(kArcOutsideTemp), false, true};
  if (index == 1) return {at(kArcInsideTemp), false, true};
  if (index >= 2 && index <= 8) return {at(kArcExtraTemps + (index - 2)), true, true};
  if (index >= 9 && index <= 14) return {at(kArcSoilTemps + (index - 9)), true, true};
  if (index >= 15 && index <= 18) return {at(kArcLeafTemps + (index - 15)), true, true};
  return {};
}

FieldRef humidityField(int index) {
  if (index == 0) return {at(kArcOutsideHumidity), false, true};
  if (index == 1) return {at(kArcInsideHumidity), false, true};
  if (index >= 2 && index <= 8) return {at(kArcExtraHumidities + (index - 2)), true, true};
  return {};
}

ResolvedCode resolveCode(SensorCode code) {
  ResolvedCode r;
  r.statistic = static_cast<std::uint8_t>(codeStatistic(code));
  r.index = static_cast<std::uint8_t>(codeIndex(code));
  // Statistics 4 to 9 belong to daily summaries.
  if (r.statistic > 3) return r;
  return codeDerived(code) == kMeasured ? measured(code, r) : derived(code, r);
}

}  // namespace quantities
