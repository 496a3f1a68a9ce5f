// A download cut short while it stores records, then a power cut, then the next download:
// the station ends with exactly the console's archive, each record once.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "database/rain_database.h"
#include "database/weather_database.h"
#include "frame/event_log.h"
#include "frame/messages.h"
#include "link/cirrant_link.h"
#include "link/download_session.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "quantities/units.h"
#include "sim_link.h"

namespace stationlink {
namespace {

using SimOpener = consolesim::SimSerialPortOpener;

class KilledDownloadTest : public ::testing::Test {
 protected:
  KilledDownloadTest() {
    clock_.setLocal(2006, 3, 15, 23, 50);
    consolesim::EngineOptions o;
    o.historyDays = 2;
    o.archiveIntervalMinutes = 30;
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, o);
    opener_ = std::make_unique<SimOpener>(*engine_, clock_);
    link_ = linktest::simCirrantLink(*opener_, clock_);
    config_.setModel(6);
    config_.setStationName("Cumbre");
    config_.setRainCollectorType(1);
  }

  // One download into `fs`. `onRecord` runs as each record is converted, before it is
  // stored (through the clear-sky hook, which sees every record).
  DownloadOutcome download(platform::MemFileSystem& fs, std::function<void()> onRecord = {}) {
    database::WeatherDatabase db(fs);
    (void)db.open("/st");
    database::RainDatabase rain(fs);
    rain.setDirectory("/st");
    (void)rain.load("/st");
    frame::EventLog log(fs, clock_, "/prog");
    frame::Messages messages(log, ui_, unattended_);
    platform::UnattendedScope scope(unattended_);
    DownloadContext ctx;
    ctx.link = link_.get();
    ctx.db = &db;
    ctx.rain = &rain;
    ctx.config = &config_;
    ctx.messages = &messages;
    ctx.values = &values_;
    ctx.solarEstimate = [onRecord](const records::DateTime&, int, float) -> std::int16_t {
      if (onRecord) onRecord();
      return 0;
    };
    DownloadOutcome out = Download(ctx);
    (void)db.close();
    if (rain.loaded()) (void)rain.save();
    return out;
  }

  std::vector<records::RecordBytes> records(platform::MemFileSystem& fs) {
    database::WeatherDatabase db(fs);
    (void)db.open("/st");
    std::vector<records::RecordBytes> out;
    for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
      database::WeatherDataObject obj;
      EXPECT_EQ(db.GetRecord(obj, i), 0);
      out.push_back(obj.record.bytes());
    }
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

TEST_F(KilledDownloadTest, CutShortAndPoweredOffThenDownloadedAgainHoldsTheArchiveOnce) {
  platform::MemFileSystem reference;
  ASSERT_TRUE(download(reference).ok());
  const auto expected = records(reference);
  ASSERT_EQ(expected.size(), engine_->archive().recordCount());

  for (int stopAfter : {1, 37, 95}) {
    SCOPED_TRACE(stopAfter);
    platform::MemFileSystem fs;
    int converted = 0;
    DownloadOutcome cut = download(fs, [&] {
      if (++converted == stopAfter + 1) fs.failWrites(true);
    });
    EXPECT_FALSE(cut.ok());
    EXPECT_LE(cut.stored, static_cast<std::size_t>(stopAfter));
    fs.failWrites(false);
    fs.dropUnsyncedData();
    EXPECT_LE(records(fs).size(), static_cast<std::size_t>(stopAfter));

    DownloadOutcome again = download(fs);
    ASSERT_TRUE(again.ok()) << again.status.message();
    const auto got = records(fs);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << "record " << i;
  }
}

}  // namespace
}  // namespace stationlink
