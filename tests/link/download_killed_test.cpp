// A download cut short while it stores records, then a power cut, then the next download:
// the station ends with exactly the console's archive, each record once.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <sstream>
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

// A disk that refuses rain.db while `failRain` is set: the month file went to disk, its
// rain did not.
class RainRefusingFs : public platform::MemFileSystem {
 public:
  bool failRain = false;
  platform::Status replaceFileAtomically(const std::string& path, std::string_view bytes,
                                         bool privateMode) override {
    if (failRain && path.ends_with("/rain.db")) return platform::Status::io("disk full");
    return MemFileSystem::replaceFileAtomically(path, bytes, privateMode);
  }
};

// rain.db's line of the year, as twelve numbers.
std::vector<double> rainLine(const std::string& file, int year) {
  std::istringstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    int y = 0;
    fields >> y;
    if (y != year) continue;
    std::vector<double> months(12);
    for (double& m : months) fields >> m;
    return months;
  }
  return {};
}

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
    linktest::RecordingHost host(ui_, unattended_);
    platform::UnattendedScope scope(unattended_);
    DownloadContext ctx;
    ctx.link = link_.get();
    ctx.db = &db;
    ctx.rain = &rain;
    ctx.config = &config_;
    ctx.host = &host;
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
    return linktest::storedRecords(fs, "/st");
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

// A program killed in the page transfer sends no ESC: the console is left in its dump. The
// next program, started at once or a while later, wakes it and downloads everything.
TEST_F(KilledDownloadTest, KilledInThePageTransferWithoutEscThenTheNextDownloadGetsAll) {
  for (int secondsLater : {0, 10}) {
    SCOPED_TRACE(secondsLater);
    const std::uint8_t dumpAll[] = {'D', 'M', 'P', 'A', 'F', 'T', '\n', 0, 0, 0, 0, 0, 0};
    engine_->receive(dumpAll);
    const std::uint8_t ack = 0x06;
    for (int page = 0; page < 4; ++page) {
      clock_.advance(std::chrono::milliseconds(200));
      engine_->receive(std::span(&ack, 1));
    }
    clock_.advance(std::chrono::seconds(secondsLater));

    platform::MemFileSystem fs;
    DownloadOutcome out = download(fs);
    ASSERT_TRUE(out.ok()) << out.status.message();
    EXPECT_EQ(records(fs).size(), engine_->archive().recordCount());
  }
}

TEST_F(KilledDownloadTest, RainLeftBehindByAKillIsBroughtUpToTheRecordsAndTypedYearsStay) {
  RainRefusingFs fs;
  const std::string typed =
      "1999\t1.250\t0.500\t-1.000\t2.000\t0.000\t0.000\t0.000\t0.000"
      "\t0.000\t0.000\t0.000\t3.125\n";
  fs.setContents("/st/rain.db", typed);
  int converted = 0;
  // rain.db is refused from the 50th record on: the pages up to the next sync reach the
  // month file, their rain does not.
  DownloadOutcome cut = download(fs, [&] {
    if (++converted == 50) fs.failRain = true;
  });
  EXPECT_FALSE(cut.ok());
  fs.failRain = false;
  fs.dropUnsyncedData();
  ASSERT_GT(records(fs).size(), 50u);

  ASSERT_TRUE(download(fs).ok());
  // Every record's rain, by hand: tips in bits 0-11, 0.01 in a tip (collector 1), all of
  // them in March 2006.
  const auto got = records(fs);
  ASSERT_EQ(got.size(), engine_->archive().recordCount());
  double march = 0;
  for (const auto& r : got) {
    const int raw = r[records::kArcRain] | (r[records::kArcRain + 1] << 8);
    march += (raw & 0x0FFF) * 0.01;
  }
  ASSERT_GT(march, 0.0);
  const std::string file = fs.contents("/st/rain.db");
  const std::vector<double> y2006 = rainLine(file, 2006);
  ASSERT_EQ(y2006.size(), 12u);
  EXPECT_NEAR(y2006[2], march, 0.0005);
  EXPECT_EQ(y2006[1], -1.0);
  EXPECT_EQ(file.substr(0, typed.size()), typed);
}

}  // namespace
}  // namespace stationlink
