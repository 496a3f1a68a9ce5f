#include "link/download_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "database/rain_database.h"
#include "database/weather_database.h"
#include "link/cirrant_link.h"
#include "link/download_texts.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "quantities/units.h"
#include "recording_host.h"
#include "sim_link.h"
#include "station/station_config.h"
#include "stored_records.h"

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
    ctx.host = &host_;
    ctx.values = &values_;
    ctx.retryStatus = retryStatus_;
    DownloadOutcome out = Download(ctx);
    (void)db.close();
    return out;
  }

  // Every archive record of the station, as (packed date, minutes) pairs, in order.
  std::vector<std::pair<std::int32_t, int>> stored() { return linktest::storedTimes(fs_, "/st"); }

  platform::FakeClock clock_;
  platform::MemFileSystem fs_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<SimOpener> opener_;
  std::unique_ptr<CirrantLink> link_;
  station::StationConfig config_;
  platform::ScriptedUserInterface ui_;
  platform::UnattendedFlag unattended_;
  linktest::RecordingHost host_{ui_, unattended_};
  quantities::Units units_;
  platform::IntlSettings intl_;
  quantities::ValueContext values_{units_, intl_};
  std::function<void(const std::string&)> retryStatus_;
};

void expectStrictlyIncreasing(const std::vector<std::pair<std::int32_t, int>>& records) {
  for (std::size_t i = 1; i < records.size(); ++i) {
    ASSERT_LT(records[i - 1], records[i]) << "record " << i << " is a duplicate or out of order";
  }
}

TEST_F(DownloadTest, StoresTheWholeArchiveOnceAndThenNothingNew) {
  DownloadOutcome first = download();
  ASSERT_TRUE(first.ok()) << first.status.toString() << " link error " << first.linkError << "\n"
                          << host_.lines();
  const std::size_t console = engine_->archive().recordCount();
  EXPECT_EQ(first.stored, console);
  auto records = stored();
  EXPECT_EQ(records.size(), console);
  expectStrictlyIncreasing(records);

  DownloadOutcome second = download();
  ASSERT_TRUE(second.ok());
  EXPECT_EQ(second.result, 0);
  EXPECT_EQ(stored().size(), console);
  EXPECT_NE(host_.lines().find("Ningún dato nuevo que descargar."), std::string::npos);
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

// A reply damaged in the preparation (the transmitter list, the firmware date)
// is read again; a run that cannot read it fails with nothing stored. Either way no record
// is ever stored with a guessed transmitter or a guessed layout.
TEST(DownloadPreparation, DamagedRepliesFailTheRunOrStoreExactlyTheArchive) {
  auto withTransmitterOnChannelThree = [](DownloadTest& f) {
    // Channel 3 holds the anemometer transmitter (type 4), so every record names it.
    f.engine_->mutableMemory().setByte(0x19 + 2 * 3, 0x14);
  };
  struct Plain : DownloadTest {
    void TestBody() override {}
  } reference;
  withTransmitterOnChannelThree(reference);
  ASSERT_TRUE(reference.download().ok());
  std::vector<records::RecordBytes> expected;
  {
    database::WeatherDatabase db(reference.fs_);
    (void)db.open("/st");
    for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
      database::WeatherDataObject obj;
      ASSERT_EQ(db.GetRecord(obj, i), 0);
      expected.push_back(obj.record.bytes());
    }
  }
  ASSERT_EQ(expected.front()[records::kArcTransmitter] & 0x07, 3);

  struct Case {
    const char* name;
    consolesim::FaultKind kind;
    std::uint64_t count;
  };
  // Every ACK and every reply of the preparation in turn: the identification, the
  // transmitter list, the firmware date, the archive interval, DMPAFT.
  const Case cases[] = {{"nak", consolesim::FaultKind::kNak, 1},
                        {"nak five times", consolesim::FaultKind::kNak, 5},
                        {"garbage", consolesim::FaultKind::kGarbage, 1},
                        {"garbage five times", consolesim::FaultKind::kGarbage, 5}};
  for (const Case& c : cases) {
    for (std::uint64_t at = 1; at <= 16; ++at) {
      SCOPED_TRACE(std::string(c.name) + " at opportunity " + std::to_string(at));
      struct Faulty : DownloadTest {
        explicit Faulty(consolesim::FaultRule rule) : DownloadTest(consoleOptions({rule})) {}
        void TestBody() override {}
      } f({c.kind, at, c.count, -1});
      withTransmitterOnChannelThree(f);
      DownloadOutcome out = f.download();
      database::WeatherDatabase db(f.fs_);
      (void)db.open("/st");
      if (!out.ok()) {
        EXPECT_FALSE(out.status.isOk());
        EXPECT_EQ(db.NumberOfRecordsInDataBase(), 0);
        continue;
      }
      ASSERT_EQ(db.NumberOfRecordsInDataBase(), static_cast<int>(expected.size()));
      for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
        database::WeatherDataObject obj;
        ASSERT_EQ(db.GetRecord(obj, i), 0);
        ASSERT_EQ(obj.record.bytes(), expected[static_cast<std::size_t>(i)]) << "record " << i;
      }
    }
  }
}

// A run killed while it wrote the day's summary leaves the summary behind the day's
// records; a run that finds nothing new still brings it up to date.
TEST_F(DownloadTest, NothingNewMendsASummaryBehindItsRecords) {
  ASSERT_TRUE(download().ok());
  {
    database::WeatherDatabase db(fs_);
    ASSERT_EQ(db.open("/st"), 0);
    database::DailySummaryObject summary;
    ASSERT_EQ(db.GetDailySummary(summary, 2006, 3, 15), 0);
    summary.a.record.setI16(records::kSumAMinutes, 600);  // the summary of 20 records
    ASSERT_TRUE(db.EditSummaryRecord(summary).isOk());
    ASSERT_TRUE(db.close().isOk());
  }
  DownloadOutcome again = download();
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again.result, 0);
  database::WeatherDatabase db(fs_);
  ASSERT_EQ(db.open("/st"), 0);
  database::DailySummaryObject summary;
  ASSERT_EQ(db.GetDailySummary(summary, 2006, 3, 15), 0);
  // 15 March holds the records of 00:30 to 23:30, 47 of 30 minutes (00:00 closed the 14th).
  EXPECT_EQ(summary.a.record.i16(records::kSumAMinutes), 47 * 30);
}

// A newest record whose time no day can hold must not send the download to the next day:
// the rest of the day is fetched after the newest sound record, and the damage is logged.
TEST_F(DownloadTest, ADamagedNewestTimeStillFetchesTheRestOfTheDay) {
  clock_.setLocal(2006, 3, 15, 12, 10);
  engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, consoleOptions());
  opener_ = std::make_unique<SimOpener>(*engine_, clock_);
  link_->Close();
  link_ = linktest::simCirrantLink(*opener_, clock_);
  ASSERT_TRUE(download().ok());
  const std::size_t before = stored().size();
  {
    database::WeatherDatabase db(fs_);
    ASSERT_EQ(db.open("/st"), 0);
    database::WeatherDataObject newest;
    const int last = db.NumberOfRecordsInDataBase() - 1;
    ASSERT_EQ(db.GetRecord(newest, last), 0);
    ASSERT_EQ(newest.date.minutes, 12 * 60);
    newest.record.setI16(records::kArcTime, 2000);
    ASSERT_TRUE(db.EditArchiveRecord(newest, last).isOk());
    ASSERT_TRUE(db.close().isOk());
  }
  clock_.advance(std::chrono::hours(2));
  DownloadOutcome more = download();
  ASSERT_TRUE(more.ok()) << more.status.toString();
  // After 11:30, the newest sound record: 12:00 again (its stored copy is damaged), then
  // 12:30 to 14:00.
  EXPECT_EQ(more.stored, 5u);
  EXPECT_EQ(stored().size(), before + 5);
  EXPECT_NE(host_.lines().find("Registro dañado en la base de datos (2006-03-15, hora 2000"),
            std::string::npos)
      << host_.lines();
}

// A console clock once set ahead and then corrected leaves the newest record in the
// console's future; the owner is told, in the event log, what to do.
TEST_F(DownloadTest, ANewestRecordAheadOfTheConsoleClockIsLogged) {
  ASSERT_TRUE(download().ok());
  EXPECT_EQ(host_.lines().find("posterior a la hora de la consola"), std::string::npos);
  ASSERT_TRUE(link_->SetTime({2006, 3, 10, 8, 0}).isOk());
  DownloadOutcome again = download();
  ASSERT_TRUE(again.ok());
  EXPECT_NE(host_.lines().find("El registro más reciente de la base de datos (2006-03-15 23:30) "
                               "es posterior a la hora de la consola (2006-03-10 08:00)."),
            std::string::npos)
      << host_.lines();
}

TEST(DownloadTexts, PageErrorsAreNamedAsTheDialogShowsThem) {
  struct Case {
    int result;
    const char* text;
  };
  const Case cases[] = {{-9, "Bloque incompleto"},
                        {-2, "Perdido inicio del encabezado."},
                        {-3, "Error del número de bloque."},
                        {-4, "Detectado error CRC."},
                        {-6, "Error de lectura"},
                        {-5, ""},
                        {-1, ""}};
  for (const Case& c : cases) EXPECT_EQ(pageErrorText(c.result), c.text) << c.result;
  EXPECT_EQ(retryText(7, 20, 3, "Error del número de bloque."),
            "Transferidos   7 de 20. Reintentos:  3  (Error del número de bloque.)");
}

TEST_F(DownloadTest, APageReadAgainShowsWhyOnTheStatusLine) {
  engine_ = std::make_unique<consolesim::ConsoleEngine>(
      clock_, consoleOptions({{consolesim::FaultKind::kCrcPage, 3, 1, -1}}));
  opener_ = std::make_unique<SimOpener>(*engine_, clock_);
  link_->Close();
  link_ = linktest::simCirrantLink(*opener_, clock_);
  std::vector<std::string> lines;
  retryStatus_ = [&](const std::string& line) { lines.push_back(line); };
  ASSERT_TRUE(download().ok());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Transferidos   2 de 20. Reintentos:  1  (Detectado error CRC.)");
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
