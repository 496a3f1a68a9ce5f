// Downloads interrupted at many points of a full transfer, each followed by a complete
// one: every page received before the interruption is kept, and the station ends with
// exactly the console's archive, each record once.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "database/rain_database.h"
#include "database/weather_database.h"
#include "link/cirrant_link.h"
#include "link/download_session.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "quantities/units.h"
#include "recording_host.h"
#include "sim_link.h"
#include "stored_records.h"

namespace stationlink {
namespace {

using SimOpener = consolesim::SimSerialPortOpener;

// 53 days at a 30-minute interval: 2544 records, 509 pages of a 512-page ring.
constexpr int kHistoryDays = 53;

class InterruptedDownload : public ::testing::Test {
 protected:
  InterruptedDownload() {
    clock_.setLocal(2006, 3, 15, 23, 50);
    consolesim::EngineOptions o;
    o.historyDays = kHistoryDays;
    o.archiveIntervalMinutes = 30;
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, o);
    opener_ = std::make_unique<SimOpener>(*engine_, clock_);
    link_ = linktest::simCirrantLink(*opener_, clock_);
    config_.setModel(6);
    config_.setStationName("Cumbre");
    config_.setRainCollectorType(1);
  }

  struct Hooks {
    std::function<bool()> cancelled;
    std::function<void(int, int)> progress;
    std::function<void()> onRecord;  // as each record is converted, before it is stored
  };

  DownloadOutcome download(platform::MemFileSystem& fs, const Hooks& hooks = {}) {
    database::WeatherDatabase db(fs);
    (void)db.open("/st");
    database::RainDatabase rain(fs);
    rain.setDirectory("/st");
    if (rain.load("/st") != 0) (void)rain.save();
    linktest::RecordingHost host(ui_, unattended_);
    platform::UnattendedScope scope(unattended_);
    DownloadContext ctx;
    ctx.link = link_.get();
    ctx.db = &db;
    ctx.rain = &rain;
    ctx.config = &config_;
    ctx.host = &host;
    ctx.values = &values_;
    ctx.cancelled = hooks.cancelled;
    ctx.progress = hooks.progress;
    auto onRecord = hooks.onRecord;
    ctx.solarEstimate = [onRecord](const records::DateTime&, int, float) -> std::int16_t {
      if (onRecord) onRecord();
      return 0;
    };
    DownloadOutcome out = Download(ctx);
    // No close: what the run left unsynced is what a killed process leaves.
    return out;
  }

  std::vector<records::RecordBytes> records(platform::MemFileSystem& fs) {
    return linktest::storedRecords(fs, "/st");
  }

  std::vector<std::pair<std::int32_t, int>> times(platform::MemFileSystem& fs) {
    return linktest::storedTimes(fs, "/st");
  }

  // The second run completes the station: exactly the console's archive, in order, and
  // the records kept from the interrupted run unchanged at its start.
  void completeAndCheck(platform::MemFileSystem& fs,
                        const std::vector<records::RecordBytes>& kept) {
    DownloadOutcome again = download(fs);
    ASSERT_TRUE(again.ok()) << again.status.toString();
    const auto got = records(fs);
    ASSERT_EQ(got.size(), engine_->archive().recordCount());
    const auto when = times(fs);
    for (std::size_t i = 1; i < when.size(); ++i) {
      ASSERT_LT(when[i - 1], when[i]) << "record " << i << " is a duplicate or out of order";
    }
    for (std::size_t i = 0; i < kept.size(); ++i) ASSERT_EQ(got[i], kept[i]) << "record " << i;
  }

  // 30 points of the transfer, drawn once with a fixed seed so a failure repeats.
  static std::vector<int> points(int upTo) {
    std::mt19937 rng(20060315);
    std::uniform_int_distribution<int> pick(1, upTo);
    std::vector<int> out;
    for (int i = 0; i < 30; ++i) out.push_back(pick(rng));
    return out;
  }

  platform::FakeClock clock_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<SimOpener> opener_;
  std::unique_ptr<CirrantLink> link_;
  station::StationConfig config_;
  platform::ScriptedUserInterface ui_;
  platform::UnattendedFlag unattended_;
  quantities::Units units_;
  platform::IntlSettings intl_;
  quantities::ValueContext values_{units_, intl_};
};

TEST_F(InterruptedDownload, CancelledAnywhereKeepsEveryPageReceivedAndTheNextRunCompletes) {
  for (int cancelAt : points(508)) {
    SCOPED_TRACE("cancelled before page " + std::to_string(cancelAt));
    platform::MemFileSystem fs;
    int polls = 0;
    int pagesDone = 0;
    Hooks hooks;
    hooks.cancelled = [&] { return ++polls > cancelAt; };
    hooks.progress = [&](int done, int) { pagesDone = done; };
    DownloadOutcome cut = download(fs, hooks);
    EXPECT_FALSE(cut.ok());
    EXPECT_TRUE(cut.cancelled);
    ASSERT_EQ(pagesDone, cancelAt);
    const auto kept = records(fs);
    EXPECT_EQ(kept.size(), cut.stored);
    // Every page received holds five records, and the console's first page starts at
    // its oldest record.
    EXPECT_GE(cut.stored, static_cast<std::size_t>(cancelAt) * 5 - 4);
    completeAndCheck(fs, kept);
  }
}

TEST_F(InterruptedDownload, KilledAnywhereKeepsEverySyncedPageAndTheNextRunCompletes) {
  for (int killAt : points(2544)) {
    SCOPED_TRACE("killed at record " + std::to_string(killAt));
    platform::MemFileSystem fs;
    int converted = 0;
    std::size_t storedAtLastPage = 0;
    std::size_t recordsSeen = 0;
    Hooks hooks;
    hooks.onRecord = [&] {
      ++recordsSeen;
      // From this record on the process is gone: nothing more reaches the disk.
      if (++converted == killAt) fs.failWrites(true);
    };
    hooks.progress = [&](int, int) {
      if (converted < killAt) storedAtLastPage = recordsSeen;
    };
    DownloadOutcome cut = download(fs, hooks);
    EXPECT_FALSE(cut.ok());
    fs.failWrites(false);
    fs.dropUnsyncedData();
    const auto kept = records(fs);
    EXPECT_GE(kept.size(), storedAtLastPage) << "a page acknowledged and stored was lost";
    EXPECT_LT(kept.size(), static_cast<std::size_t>(killAt));
    completeAndCheck(fs, kept);
  }
}

}  // namespace
}  // namespace stationlink
