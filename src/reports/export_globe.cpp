#include "reports/export_globe.h"

#include <algorithm>
#include <cmath>

#include "database/weather_objects.h"
#include "platform/string_table.h"
#include "quantities/record_values.h"
#include "quantities/units.h"
#include "reports/export_text_ids.h"
#include "reports/report_format.h"

namespace reports {

namespace {

constexpr std::uint32_t kAtmosphereCodes[] = {0x0,     0x101C0, 0x20080, 0x300C0, 0x20880,
                                              0x308C0, 0x20647, 0x50440, 0x60860, 0x400E0};
constexpr std::uint32_t kSoilTemperatureCodes[] = {0x9000000, 0xA000000, 0xB000000, 0xC000000};
constexpr std::uint32_t kSoilMoistureCodes[] = {0x90901E0, 0xA0901E0, 0xB0901E0, 0xC0901E0};
constexpr int kSavingMinutes = 60;

std::string item(std::string text) {
  return text.find("--") != std::string::npos ? std::string("M") : text;
}

bool noTemperature(double t) { return t == -32768.0 || t == 32767.0; }

float value(const database::WeatherDataObject& r, std::uint32_t code,
            const quantities::ValueContext& ctx) {
  float v = -32768.0F;
  if (quantities::GetWeatherData(r.record, code, 0, &v, ctx) != quantities::kValueOk) {
    return -32768.0F;
  }
  return v;
}

long long key(const DateMinutes& t) {
  return ((static_cast<long long>(t.date.year) * 16 + t.date.month) * 32 + t.date.day) * 1440 +
         t.minutes;
}

}  // namespace

bool validGlobeId(std::string_view id) {
  std::size_t characters = 0;
  for (unsigned char c : id) {
    if (c <= 0x20 || c == 0x7F) return false;
    if ((c & 0xC0) != 0x80) ++characters;
  }
  return characters >= 1 && characters <= kMaxGlobeIdCharacters;
}

platform::Status checkGlobeIds(const GlobeIds& ids) {
  if (!validGlobeId(ids.school) || !validGlobeId(ids.site)) {
    return platform::Status::badArgument(platform::loadString(export_text::kFillAllFields));
  }
  if (ids.includeSoil && ids.soilSite.empty()) {
    return platform::Status::badArgument(platform::loadString(export_text::kNeedSoilSite));
  }
  if (ids.includeSoil && !validGlobeId(ids.soilSite)) {
    return platform::Status::badArgument(platform::loadString(export_text::kFillAllFields));
  }
  return platform::Status::ok();
}

GlobeClock globeClock(const station::StationConfig& config,
                      const std::optional<SavingPeriod>& manual) {
  return GlobeClock{config.gmtOffset(), config.latSouth(), manual};
}

std::string globeTime(quantities::Date date, int clockMinutes, const GlobeClock& clock) {
  LocalClock local{clock.gmtOffsetHours, Saving::kAutomatic, clock.southern};
  DateMinutes ut;
  if (clock.manual) {
    local.saving = Saving::kOff;
    ut = universalFromLocal(date, clockMinutes, local);
    const long long t = key(normalized(date, clockMinutes));
    if (key(clock.manual->start) <= t && t < key(clock.manual->end)) {
      ut = normalized(ut.date, static_cast<long long>(ut.minutes) - kSavingMinutes);
    }
  } else {
    ut = universalFromLocal(date, clockMinutes, local);
  }
  return formatLine("%d%02d%02d%02d%02d",
                    {static_cast<long long>(ut.date.year), static_cast<long long>(ut.date.month),
                     static_cast<long long>(ut.date.day), static_cast<long long>(ut.minutes / 60),
                     static_cast<long long>(ut.minutes % 60)});
}

double correctedSoilMoisture(double m, double t) {
  if (noTemperature(t) || t == 75.0) return m;
  t = std::clamp(t, 0.0, 150.0);
  const double p = -1.65e-9 * m * m * m * m + 1.161958e-6 * m * m * m -
                   0.000420779444 * m * m + 0.192039445899 * m - 0.447488004379;
  const double q = p * (175.0 - t) * 0.01;
  return std::clamp(0.068 * q * q + 5.2225 * q + 2.3758, 0.0, 200.0);
}

std::string globeRecordLines(const GlobeJob& job, const database::WeatherDataObject& record,
                             const quantities::ValueContext& metric) {
  const std::string time =
      globeTime({record.date.year, record.date.month, record.date.day}, record.date.minutes,
                job.clock);
  std::string out = "QVXAD " + job.ids.school + " " + job.ids.site + " " + time + " ";
  for (std::uint32_t code : kAtmosphereCodes) {
    out += " " + item(quantities::GetWeatherDataStr(record.record, code, metric)) + " ";
  }
  out += '\n';
  if (!job.ids.includeSoil) return out;
  out += "QVXSD " + job.ids.school + " " + job.ids.soilSite + " " + time + " ";
  const std::uint32_t mask = job.config.sensorMask();
  const std::uint32_t temperatures[] = {0x0, kSoilTemperatureCodes[0], kSoilTemperatureCodes[1],
                                        kSoilTemperatureCodes[2]};
  for (int i = 0; i < 4; ++i) {
    const bool present = (mask >> (20 + i)) & 1U;
    out += " " +
           (present ? item(quantities::GetWeatherDataStr(record.record, temperatures[i], metric))
                    : std::string("M")) +
           " ";
  }
  const double t1 = value(record, kSoilTemperatureCodes[0], metric);
  for (int i = 0; i < 4; ++i) {
    const double m = value(record, kSoilMoistureCodes[i], metric);
    if (m == -32768.0 || !std::isfinite(m)) {
      out += " M ";
      continue;
    }
    double t = i == 0 ? t1 : value(record, kSoilTemperatureCodes[i], metric);
    if (i > 0 && noTemperature(t)) t = t1;
    out += " " + formatLine("%.0f", {correctedSoilMoisture(m, t)}) + " ";
  }
  out += '\n';
  return out;
}

GlobeText globeText(const GlobeJob& job, const std::vector<DayRecords>& days) {
  // The lines take their own metric copy of the units; the user's are never touched.
  quantities::Units units = job.conventions.units;
  units.SetTempUnit(quantities::kCelsius);
  units.SetWindSpeedUnit(quantities::kMetresPerSecond);
  units.SetBarUnit(quantities::kMillibars);
  units.SetRainUnit(quantities::kMillimetres);
  const quantities::ValueContext metric{units, job.conventions.intl, job.config.skinFactor()};
  GlobeText out{"//AA\n", platform::Status::ok()};
  database::WeatherDataObject record;
  for (const DayRecords& day : days) {
    for (int n = day.firstArchive; n < day.firstArchive + day.count; ++n) {
      if (job.db.GetRecord(record, n) != database::kResultOk) {
        out.status = platform::Status::io(platform::loadString(export_text::kRecordReadFailed));
        return out;
      }
      out.text += globeRecordLines(job, record, metric);
    }
  }
  out.text += "//ZZ\n";
  return out;
}

platform::Result<std::string> writeGlobeFile(platform::FileSystem& files, const GlobeJob& job,
                                             const std::vector<DayRecords>& days,
                                             const std::string& path) {
  const GlobeText made = globeText(job, days);
  const std::string target =
      path.empty() ? job.config.stationDir() + "/" + std::string(kGlobeFile) : path;
  if (platform::Status s = files.replaceFileAtomically(target, made.text); !s) {
    return platform::Status::io(formatLine(platform::stringText(export_text::kCannotOpen),
                                           {std::string_view(target)}) +
                                " (" + s.message() + ")");
  }
  if (!made.status) return made.status;
  return target;
}

}  // namespace reports
