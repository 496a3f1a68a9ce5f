// Reading every archive-set code from every record of a year of 5-minute records.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "quantities/record_values.h"
#include "quantities/sensor_catalogue.h"

namespace {

using records::ArchiveRecord;
using namespace quantities;

std::vector<ArchiveRecord> yearOfRecords() {
  std::vector<ArchiveRecord> records;
  const int perDay = 288;
  records.reserve(365 * perDay);
  for (int day = 0; day < 365; ++day) {
    for (int i = 0; i < perDay; ++i) {
      ArchiveRecord r;
      const double phase = (day * perDay + i) * 0.001;
      r.setU8(records::kArcInterval, 5);
      r.setU8(records::kArcTransmitter, 1);
      r.setI16(records::kArcTime, static_cast<std::int16_t>((i + 1) * 5));
      const auto t = static_cast<std::int16_t>(600 + 300 * std::sin(phase));
      r.setI16(records::kArcOutsideTemp, t);
      r.setI16(records::kArcHighOutsideTemp, static_cast<std::int16_t>(t + 5));
      r.setI16(records::kArcLowOutsideTemp, static_cast<std::int16_t>(t - 5));
      r.setI16(records::kArcInsideTemp, 700);
      r.setI16(records::kArcBarometer, 29920);
      r.setI16(records::kArcOutsideHumidity,
               static_cast<std::int16_t>(600 + 300 * std::cos(phase)));
      r.setI16(records::kArcInsideHumidity, 400);
      r.setU16(records::kArcRain, 0x1000 | (i % 3));
      r.setI16(records::kArcHighRainRate, 10);
      r.setI16(records::kArcWindSpeed, static_cast<std::int16_t>(50 + i % 200));
      r.setI16(records::kArcHighWindSpeed, static_cast<std::int16_t>(80 + i % 250));
      r.setU8(records::kArcWindDirection, static_cast<std::uint8_t>(i % 16));
      r.setU8(records::kArcHighWindDirection, static_cast<std::uint8_t>((i + 3) % 16));
      r.setI16(records::kArcWindSamples, 110);
      r.setI16(records::kArcSolarRadiation, static_cast<std::int16_t>(i * 3));
      r.setI16(records::kArcHighSolarRadiation, static_cast<std::int16_t>(i * 3 + 10));
      r.setU8(records::kArcUvIndex, static_cast<std::uint8_t>(i % 100));
      r.setU8(records::kArcHighUvIndex, static_cast<std::uint8_t>(i % 100 + 5));
      r.setI16(records::kArcSolarEstimate, static_cast<std::int16_t>(i * 3));
      r.setU8(records::kArcEvapotranspiration, 3);
      for (int k = 0; k < 4; ++k) {
        r.setU8(records::kArcExtraTemps + k, 150);
        r.setU8(records::kArcSoilTemps + k, 140);
        r.setU8(records::kArcSoilMoistures + k, 20);
        r.setU8(records::kArcLeafWetnesses + k, 3);
        r.setU8(records::kArcLeafTemps + k, 145);
        r.setU8(records::kArcExtraHumidities + k, 55);
      }
      records.push_back(r);
    }
  }
  return records;
}

void BM_ReadEveryCodeOfAYear(benchmark::State& state) {
  const std::vector<ArchiveRecord> records = yearOfRecords();
  const SensorCatalogue catalogue = SensorCatalogue::fromStringTable();
  std::vector<SensorCode> codes;
  for (const auto& row : catalogue.findSet(kArchiveSetName)->rows) codes.push_back(row.code);
  Units units;
  (void)units.SetTempUnit(kCelsius);
  const platform::IntlSettings intl;
  const ValueContext ctx{units, intl, 1.0};
  for (auto _ : state) {
    double sum = 0;
    for (const ArchiveRecord& r : records) {
      for (SensorCode code : codes) {
        float v;
        (void)GetWeatherData(r, code, 0, &v, ctx);
        sum += v;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<std::int64_t>(records.size() * codes.size()));
}
BENCHMARK(BM_ReadEveryCodeOfAYear)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
