// The web images. Goals: encoding at least 20 million pixels per second at 8 bits with
// random pixels; all 91 pictures of one profile at "Grande" from a station holding a year
// of 5-minute records under 500 ms.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "generated_station.h"
#include "database/weather_database.h"
#include "link/sensor_image.h"
#include "platform/file_system.h"
#include "publish/gif_writer.h"
#include "publish/image_run.h"
#include "quantities/user_conventions.h"
#include "station/station_config.h"

namespace {

void BM_EncodeRandom8Bit(benchmark::State& state) {
  constexpr int kWidth = 1000, kHeight = 1000;
  std::vector<std::uint8_t> pixels(kWidth * kHeight);
  std::mt19937 rng(8);
  for (auto& p : pixels) p = static_cast<std::uint8_t>(rng());
  std::array<std::uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<std::uint8_t>(i);
  publish::GifImage image;
  image.width = kWidth;
  image.height = kHeight;
  image.bits = 8;
  image.red = table;
  image.green = table;
  image.blue = table;
  image.pixels = pixels;
  for (auto _ : state) {
    auto gif = publish::encodeGif(image);
    benchmark::DoNotOptimize(gif);
  }
  state.counters["Mpixel/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeRandom8Bit)->Unit(benchmark::kMillisecond);

struct Station {
  std::string dir;
  std::unique_ptr<database::WeatherDatabase> db;
  station::StationConfig config;
  quantities::UserConventions conventions;

  Station() {
    dir = bench::generatedStation("stratalog-bench-gif", 2006, 365, true);
    db = std::make_unique<database::WeatherDatabase>(platform::defaultFileSystem());
    if (db->openReadOnly(dir) != 0) std::abort();
    config.setSensorMask(0xFFFFFFFF);
    config.setSensorMask2(0x3);
  }
  ~Station() {
    (void)db->close();
    (void)platform::defaultFileSystem().removeAll(dir);
  }
};

void BM_ProfileGrandeYearOfRecords(benchmark::State& state) {
  static Station st;
  const stationlink::SensorImage reading = stationlink::resetSensorImage();
  const publish::ImageInputs inputs{platform::defaultFileSystem(), st.dir, st.config,
                                    st.conventions.values(), &reading, st.db.get(),
                                    records::DateTime::fromDate(2006, 12, 31, 1440)};
  const publish::ImageSelection selection{(std::uint64_t{1} << 43) - 1, (std::uint64_t{1} << 48) - 1,
                                          2, 0};
  for (auto _ : state) {
    publish::ImageRunLog log;
    const auto written = publish::drawProfileImages(inputs, 1, selection, "", "", log);
    if (written.size() != 91) state.SkipWithError("not every picture was written");
  }
}
BENCHMARK(BM_ProfileGrandeYearOfRecords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
