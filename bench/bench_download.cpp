// The archive download against the in-process console. Goals: with the console sending at
// 19200 baud (on its fake clock) and each page stored as it is acknowledged, a full
// 512-page download takes at most 1.05 times the line time of the bytes exchanged (the
// "line_ratio" counter); without pacing, a download that converts and stores 2560 records
// with their summaries and rain takes under 50 ms; storing one page (five records and the
// day's summary, with the month file brought to disk and rain.db saved every
// kPagesPerSync pages) takes under 50 µs on average.

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "database/rain_database.h"
#include "database/weather_database.h"
#include "frame/event_log.h"
#include "frame/messages.h"
#include "frame/messages_download_host.h"
#include "link/cirrant_link.h"
#include "link/download_session.h"
#include "link/download_store.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "quantities/units.h"

namespace {

constexpr std::uint32_t kBaud = 19200;

// Counts the bytes that cross the line both ways.
class CountingPort : public platform::SerialPort {
 public:
  CountingPort(std::unique_ptr<platform::SerialPort> inner, std::size_t& bytes)
      : inner_(std::move(inner)), bytes_(bytes) {}
  platform::Result<std::size_t> readWithin(std::span<std::uint8_t> into,
                                           const platform::SerialTimeouts& t) override {
    auto r = inner_->readWithin(into, t);
    if (r) bytes_ += *r;
    return r;
  }
  platform::Result<std::size_t> writeWithin(std::span<const std::uint8_t> bytes,
                                            const platform::SerialTimeouts& t) override {
    auto r = inner_->writeWithin(bytes, t);
    if (r) bytes_ += *r;
    return r;
  }
  platform::Status purge(bool input, bool output) override { return inner_->purge(input, output); }
  platform::Status setDtr(bool asserted) override { return inner_->setDtr(asserted); }
  platform::Status setBaudRate(std::uint32_t baud) override { return inner_->setBaudRate(baud); }
  std::uint32_t baudRate() const override { return inner_->baudRate(); }

 private:
  std::unique_ptr<platform::SerialPort> inner_;
  std::size_t& bytes_;
};

class Opener : public platform::SerialPortOpener {
 public:
  Opener(consolesim::ConsoleEngine& engine, platform::FakeClock& clock, std::size_t& bytes)
      : engine_(engine), clock_(clock), bytes_(bytes) {}
  platform::Result<std::unique_ptr<platform::SerialPort>> open(
      const std::string&, const platform::SerialSettings&) override {
    return std::unique_ptr<platform::SerialPort>(
        new CountingPort(std::make_unique<consolesim::SimSerialPort>(engine_, clock_), bytes_));
  }

 private:
  consolesim::ConsoleEngine& engine_;
  platform::FakeClock& clock_;
  std::size_t& bytes_;
};

struct RunFigures {
  bool ok = false;
  std::size_t stored = 0;
  int pages = 0;
  std::size_t bytes = 0;
  double fakeSeconds = 0;
  // From the first page in to the end: the page loop alone, without the preparation.
  std::size_t pageBytes = 0;
  double pageSeconds = 0;
  // From the start to the first page in: the preparation and the first page.
  double prepSeconds = 0;
};

// One whole download of a full console (2560 records, one a minute) into a new station.
RunFigures fullDownload(bool pace) {
  platform::FakeClock clock;
  clock.setLocal(2006, 3, 15, 23, 50);
  consolesim::EngineOptions o;
  o.archiveIntervalMinutes = 1;
  o.historyDays = 2;
  o.pace = pace;
  o.baudRate = kBaud;
  consolesim::ConsoleEngine engine(clock, o);
  std::size_t bytes = 0;
  Opener opener(engine, clock, bytes);
  stationlink::LinkServices services;
  services.opener = &opener;
  services.clock = &clock;
  stationlink::PortParams params;
  params.portNumber = 1;
  params.baudRate = kBaud;
  params.linkType = stationlink::LinkType::kCirrant;
  params.label = "Bench";
  stationlink::CirrantLink link(params, services);
  station::StationConfig config;
  (void)config.setModel(6);
  config.setStationName("Bench");
  config.setRainCollectorType(1);

  platform::MemFileSystem fs;
  database::WeatherDatabase db(fs);
  (void)db.open("/st");
  database::RainDatabase rain(fs);
  rain.setDirectory("/st");
  (void)rain.save();
  frame::EventLog log(fs, clock, "/prog");
  platform::ScriptedUserInterface ui;
  platform::UnattendedFlag unattended;
  frame::Messages messages(log, ui, unattended);
  frame::MessagesDownloadHost host(messages);
  platform::UnattendedScope scope(unattended);
  quantities::Units units;
  platform::IntlSettings intl;
  quantities::ValueContext values{units, intl};
  stationlink::DownloadContext ctx;
  ctx.link = &link;
  ctx.db = &db;
  ctx.rain = &rain;
  ctx.config = &config;
  ctx.host = &host;
  ctx.values = &values;
  platform::Instant firstPageAt{};
  std::size_t firstPageBytes = 0;
  ctx.progress = [&](int done, int) {
    if (done != 1) return;
    firstPageAt = clock.now();
    firstPageBytes = bytes;
  };
  const platform::Instant start = clock.now();
  stationlink::DownloadOutcome out = stationlink::Download(ctx);
  RunFigures f;
  f.fakeSeconds = std::chrono::duration<double>(clock.now() - start).count();
  f.pageSeconds = std::chrono::duration<double>(clock.now() - firstPageAt).count();
  f.pageBytes = bytes - firstPageBytes;
  f.prepSeconds = std::chrono::duration<double>(firstPageAt - start).count();
  (void)db.close();
  f.ok = out.ok();
  f.stored = out.stored;
  f.pages = out.pages;
  f.bytes = bytes;
  return f;
}

void BM_FullDownloadAt19200(benchmark::State& state) {
  RunFigures f;
  for (auto _ : state) f = fullDownload(true);
  if (!f.ok) state.SkipWithError("the download failed");
  const double lineSeconds = static_cast<double>(f.bytes) * 10.0 / kBaud;
  state.counters["pages"] = f.pages;
  state.counters["bytes"] = static_cast<double>(f.bytes);
  state.counters["fake_s"] = f.fakeSeconds;
  state.counters["line_s"] = lineSeconds;
  state.counters["line_ratio"] = f.fakeSeconds / lineSeconds;
  // The page loop on its own; what line_ratio adds to it is the preparation's waits.
  state.counters["page_ratio"] = f.pageSeconds / (static_cast<double>(f.pageBytes) * 10.0 / kBaud);
  state.counters["prep_s"] = f.prepSeconds;
}
BENCHMARK(BM_FullDownloadAt19200)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ConvertAndStore2560(benchmark::State& state) {
  RunFigures f;
  for (auto _ : state) f = fullDownload(false);
  if (!f.ok) state.SkipWithError("the download failed");
  state.counters["records"] = static_cast<double>(f.stored);
}
BENCHMARK(BM_ConvertAndStore2560)->Unit(benchmark::kMillisecond);

constexpr int kStorePages = 20000;

// Pages of one-minute records from 1 January 2006 on, as the console sends them.
std::vector<std::array<std::uint8_t, stationlink::kStoredPageBytes>> consolePages(int count) {
  std::vector<std::array<std::uint8_t, stationlink::kStoredPageBytes>> pages(
      static_cast<std::size_t>(count));
  records::DateTime day = records::DateTime::fromDate(2006, 1, 1);
  int minutes = 0;
  for (auto& page : pages) {
    page.fill(0);
    for (int slot = 0; slot < stationlink::kRecordsPerPage; ++slot) {
      if (++minutes == 1440) {
        minutes = 0;
        day.nextDay();
      }
      std::uint8_t* r = page.data() + slot * stationlink::kConsoleRecordBytes;
      const auto date = stationlink::dumpDateStamp(day.year, day.month, day.day);
      const auto time = static_cast<std::uint16_t>(minutes / 60 * 100 + minutes % 60);
      r[0] = static_cast<std::uint8_t>(date & 0xFF);
      r[1] = static_cast<std::uint8_t>(date >> 8);
      r[2] = static_cast<std::uint8_t>(time & 0xFF);
      r[3] = static_cast<std::uint8_t>(time >> 8);
      for (std::size_t off : {4, 6, 8, 20}) {  // temperatures of 70.0 °F
        r[off] = 0xBC;
        r[off + 1] = 0x02;
      }
      r[10] = static_cast<std::uint8_t>(slot % 2);  // a tip of rain now and then
      r[14] = 0x30;                                 // 30.000 inHg
      r[15] = 0x75;
      r[22] = 40;
      r[23] = 60;
      r[24] = 5;
      r[25] = 9;
    }
  }
  return pages;
}

void BM_StoreOnePage(benchmark::State& state) {
  const auto pages = consolePages(kStorePages);
  platform::MemFileSystem fs;
  database::WeatherDatabase db(fs);
  (void)db.open("/st");
  database::RainDatabase rain(fs);
  rain.setDirectory("/st");
  (void)rain.save();
  quantities::Units units;
  platform::IntlSettings intl;
  quantities::ValueContext values{units, intl};
  stationlink::ConversionSettings settings;
  settings.archiveInterval = 1;
  settings.windTransmitter = 0;
  stationlink::PageStore store(db, &rain, values, std::nullopt, {true, true}, settings);
  if (!store.start()) state.SkipWithError("the store did not start");
  std::size_t next = 0;
  for (auto _ : state) {
    if (!store.storePage(pages[next++], 0)) {
      state.SkipWithError("a page was not stored");
      break;
    }
  }
  state.counters["records"] = static_cast<double>(store.counts().stored);
}
BENCHMARK(BM_StoreOnePage)->Unit(benchmark::kMicrosecond)->Iterations(kStorePages);

}  // namespace

BENCHMARK_MAIN();
