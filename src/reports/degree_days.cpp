#include "reports/degree_days.h"

#include "reports/summary_day.h"

namespace reports {

void DegreeDayIntegrator::add(int minutes, double fahrenheit) {
  if (minutes <= 0) return;
  if (fahrenheit < bases_.heating)
    sums_.heating += minutes * (bases_.heating - fahrenheit) / 1440.0;
  if (fahrenheit > bases_.cooling)
    sums_.cooling += minutes * (fahrenheit - bases_.cooling) / 1440.0;
}

DegreeDays maxMinDegreeDays(double highF, double lowF, DegreeDayBases bases) {
  const double mean = (highF + lowF) / 2.0;
  DegreeDays d;
  if (mean < bases.heating) d.heating = bases.heating - mean;
  if (mean > bases.cooling) d.cooling = mean - bases.cooling;
  return d;
}

platform::Result<DegreeDays> integrateDay(database::WeatherDatabase& db, int year, int month,
                                          int day, DegreeDayBases bases) {
  DegreeDayIntegrator sum(bases);
  const platform::Status s =
      forEachArchiveRecord(db, year, month, day, [&sum](const records::ArchiveRecord& r) {
        const std::int16_t t = r.i16(records::kArcOutsideTemp);
        if (!records::isNoData16(t)) sum.add(r.interval(), t * 0.1);
      });
  if (!s) return s;
  return sum.result();
}

platform::Result<FuelDay> fuelDegreeDay(database::WeatherDatabase& db, int year, int month, int day,
                                        double baseF, bool byIntegration) {
  auto summary = readSummaryDay(db, year, month, day);
  if (!summary) return summary.status();
  FuelDay out;
  if (!summary->has_value()) return out;
  const SummaryDay& d = **summary;
  out.minutes = d.minutes;
  out.fullDay = d.minutes >= kFuelFullDayMinutes;
  const DegreeDayBases bases{baseF, baseF};
  if (byIntegration) {
    auto integrated = integrateDay(db, year, month, day, bases);
    if (!integrated) return integrated.status();
    out.counted = true;
    out.heating = integrated->heating;
    return out;
  }
  if (!d.highF || !d.lowF) return out;
  out.counted = true;
  out.heating = maxMinDegreeDays(*d.highF, *d.lowF, bases).heating;
  return out;
}

}  // namespace reports
