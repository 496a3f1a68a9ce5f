#include "link/download_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "database/rain_database.h"
#include "database/weather_database.h"
#include "frame/event_log.h"
#include "frame/messages.h"
#include "link/cirrant_link.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "quantities/units.h"
#include "sim_link.h"
#include "station/station_config.h"

namespace stationlink {
namespace {

using SimOpener = consolesim::SimSerialPortOpener;

consolesim::EngineOptions consoleOptions(std::vector<consolesim::FaultRule> faults = {}) {
  consolesim::EngineOptions o;
  o.historyDays = 2;
  o.archiveIntervalMinutes = 30;
  o.faults = std::move(faults);
  return o;
}

class DownloadTest : public ::testing::Test {
 public:
  explicit DownloadTest(consolesim::EngineOptions options = consoleOptions()) {
    clock_.setLocal(2006, 3, 15, 23, 50);
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, std::move(options));
    opener_ = std::make_unique<SimOpener>(*engine_, clock_);
    link_ = linktest::simCirrantLink(*opener_, clock_);
    config_.setModel(6);
    config_.setStationName("Cumbre");
    config_.setRainCollectorType(1);
    ui_.watch(unattended_);
    ui_.onViolation(
        [](const std::string& what) { ADD_FAILURE() << "prompt while unattended: " << what; });
  }

  DownloadOutcome download(bool unattended = true) {
    database::WeatherDatabase db(fs_);
    (void)db.open("/st");
    database::RainDatabase rain(fs_);
    rain.setDirectory("/st");
    (void)rain.load("/st");
    std::optional<platform::UnattendedScope> scope;
    if (unattended) scope.emplace(unattended_);
    DownloadContext ctx;
    ctx.link = link_.get();
    ctx.db = &db;
    ctx.rain = &rain;
    ctx.config = &config_;
    ctx.messages = &messages_;
    ctx.values = &values_;
    DownloadOutcome out = Download(ctx);
    (void)db.close();
    return out;
  }

  // Every archive record of the station, as (packed date, minutes) pairs, in order.
  std::vector<std::pair<std::int32_t, int>> stored() {
    database::WeatherDatabase db(fs_);
    (void)db.open("/st");
    std::vector<std::pair<std::int32_t, int>> out;
    for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
      database::WeatherDataObject obj;
      EXPECT_EQ(db.GetRecord(obj, i), 0);
      out.emplace_back(obj.date.packed(), obj.date.minutes);
    }
    return out;
  }

  platform::FakeClock clock_;
  platform::MemFileSystem fs_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<SimOpener> opener_;
  std::unique_ptr<CirrantLink> link_;
  station::StationConfig config_;
  frame::EventLog log_{fs_, clock_, "/prog"};
  platform::ScriptedUserInterface ui_;
  platform::UnattendedFlag unattended_;
  frame::Messages messages_{log_, ui_, unattended_};
  quantities::Units units_;
  platform::IntlSettings intl_;
  quantities::ValueContext values_{units_, intl_};
};

void expectStrictlyIncreasing(const std::vector<std::pair<std::int32_t, int>>& records) {
  for (std::size_t i = 1; i < records.size(); ++i) {
    ASSERT_LT(records[i - 1], records[i]) << "record " << i << " is a duplicate or out of order";
  }
}

TEST_F(DownloadTest, StoresTheWholeArchiveOnceAndThenNothingNew) {
  DownloadOutcome first = download();
  ASSERT_TRUE(first.ok()) << first.status.toString() << " link error " << first.linkError << "\n"
                          << fs_.contents("/prog/download.log");
  const std::size_t console = engine_->archive().recordCount();
  EXPECT_EQ(first.stored, console);
  auto records = stored();
  EXPECT_EQ(records.size(), console);
  expectStrictlyIncreasing(records);

  DownloadOutcome second = download();
  ASSERT_TRUE(second.ok());
  EXPECT_EQ(second.result, 0);
  EXPECT_EQ(stored().size(), console);
  EXPECT_NE(fs_.contents("/prog/download.log").find("Ningún dato nuevo que descargar."),
            std::string::npos);
}

TEST_F(DownloadTest, NewRecordsOnTheConsoleAreAddedAfterTheStoredOnes) {
  ASSERT_TRUE(download().ok());
  const std::size_t before = stored().size();
  clock_.advance(std::chrono::hours(2));
  DownloadOutcome more = download();
  ASSERT_TRUE(more.ok());
  EXPECT_EQ(more.stored, 4u) << "two hours at a 30-minute interval";
  auto records = stored();
  EXPECT_EQ(records.size(), before + 4);
  expectStrictlyIncreasing(records);
}

TEST_F(DownloadTest, SilentConsoleIsALinkFailureNotNothingNew) {
  engine_ = std::make_unique<consolesim::ConsoleEngine>(
      clock_, consoleOptions({{consolesim::FaultKind::kNoReply, 1, 0, -1}}));
  opener_ = std::make_unique<SimOpener>(*engine_, clock_);
  link_->Close();
  link_ = linktest::simCirrantLink(*opener_, clock_);
  DownloadOutcome out = download();
  EXPECT_FALSE(out.ok());
  EXPECT_EQ(out.result, -1);
  EXPECT_NE(out.linkError, 0);
  EXPECT_TRUE(stored().empty());
}

TEST_F(DownloadTest, AnArchiveIntervalOfZeroIsLinkErrorFiftyAndStoresNothing) {
  engine_->mutableMemory().setByte(0x2D, 0);
  DownloadOutcome out = download();
  EXPECT_FALSE(out.ok());
  EXPECT_EQ(out.linkError, -50);
  EXPECT_TRUE(stored().empty());
}

TEST(ArchiveShare, RoundedAndCapped) {
  EXPECT_EQ(archiveShare(200), 39);
  EXPECT_EQ(archiveShare(600), 100);
  EXPECT_EQ(archiveShare(512), 100);
  EXPECT_EQ(archiveShare(1), 0);
}

struct FaultCase {
  const char* name;
  consolesim::FaultRule rule;
};

class DownloadFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(DownloadFaultTest, EndsWithExactlyTheConsoleArchive) {
  struct Fixture : DownloadTest {
    explicit Fixture(consolesim::FaultRule rule) : DownloadTest(consoleOptions({rule})) {}
    void TestBody() override {}
  } f(GetParam().rule);
  DownloadOutcome first = f.download();
  // A fault may end the first run early; whatever it stored is sound, and a second run
  // completes it.
  auto partial = f.stored();
  expectStrictlyIncreasing(partial);
  if (!first.ok()) {
    f.clock_.advance(std::chrono::minutes(1));  // a dead line comes back
    DownloadOutcome second = f.download();
    EXPECT_TRUE(second.ok()) << second.status.toString();
  }
  auto records = f.stored();
  expectStrictlyIncreasing(records);
  EXPECT_EQ(records.size(), f.engine_->archive().recordCount()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DownloadFaultTest,
    ::testing::Values(FaultCase{"crc_page", {consolesim::FaultKind::kCrcPage, 2, 3, -1}},
                      FaultCase{"page_timeout", {consolesim::FaultKind::kPageTimeout, 3, 1, -1}},
                      FaultCase{"nak", {consolesim::FaultKind::kNak, 2, 1, -1}},
                      FaultCase{"repeat_page", {consolesim::FaultKind::kRepeatPage, 2, 1, -1}},
                      FaultCase{"garbage", {consolesim::FaultKind::kGarbage, 3, 2, -1}},
                      FaultCase{"drop_byte", {consolesim::FaultKind::kDropByte, 4, 1, -1}},
                      FaultCase{"disconnect", {consolesim::FaultKind::kDisconnect, 3, 1, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace stationlink
