#include "database/weather_database.h"

#include <gtest/gtest.h>

#include "database/month_names.h"
#include "database_test_support.h"
#include "fixture_bytes.h"
#include "platform/testing/mem_file_system.h"

namespace database {
namespace {

using testing::appendDay;

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(fs.createDirectories("/st").isOk(), true);
    ASSERT_EQ(db.open("/st"), kResultNoData);
  }
  // Reads every record of the database by archive number as (packed date, minutes).
  std::vector<std::pair<std::int32_t, int>> archive() {
    std::vector<std::pair<std::int32_t, int>> out;
    WeatherDataObject obj;
    for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
      EXPECT_EQ(db.GetRecord(obj, i), kResultOk);
      out.emplace_back(obj.date.packed(), obj.date.minutes);
    }
    return out;
  }
  platform::MemFileSystem fs;
  WeatherDatabase db{fs};
  WeatherDataObject obj;
};

TEST_F(DatabaseTest, GotoReportsMissingMonthAndEmptyDay) {
  ASSERT_TRUE(appendDay(db, 2006, 3, 15, {5, 10}).isOk());
  EXPECT_EQ(db.Goto(4, 1, 2006), kResultNoMonth);
  EXPECT_EQ(db.Goto(3, 14, 2006), kResultNoData);
  EXPECT_EQ(db.Goto(3, 0, 2006), kResultNoData);
  EXPECT_EQ(db.Goto(3, 40, 2006), kResultNoData);
  EXPECT_EQ(db.Goto(3, 15, 2006), 0);
  EXPECT_EQ(db.GotoDay(3, 15, 2006), 4);
}

TEST_F(DatabaseTest, NumbersRunAcrossMonths) {
  ASSERT_TRUE(appendDay(db, 2006, 1, 31, {1440}).isOk());
  ASSERT_TRUE(appendDay(db, 2006, 2, 1, {5, 10}).isOk());
  ASSERT_TRUE(appendDay(db, 2006, 2, 3, {7}).isOk());
  ASSERT_TRUE(db.close().isOk());
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_EQ(db.NumberOfRecordsInDataBase(), 4);
  EXPECT_EQ(db.Goto(2, 3, 2006), 3 + 4);
  const std::vector<std::pair<std::int32_t, int>> want = {{packDate(2006, 1, 31), 1440},
                                                          {packDate(2006, 2, 1), 5},
                                                          {packDate(2006, 2, 1), 10},
                                                          {packDate(2006, 2, 3), 7}};
  EXPECT_EQ(archive(), want);
  EXPECT_EQ(db.archiveNumberOfFull(3), 1) << "summary record A maps to the day's first record";
  EXPECT_EQ(db.archiveNumberOfFull(6), 2);
}

TEST_F(DatabaseTest, AppendAtMidnightFilesUnderThePreviousDay) {
  ASSERT_TRUE(appendDay(db, 2006, 3, 15, {1435}).isOk());
  obj.record = ArchiveRecord();
  obj.record.setTimeOfDay(1440);
  obj.date = DateTime::fromDate(2006, 3, 16, 0);
  ASSERT_TRUE(db.AppendArchiveRecord(obj).isOk());
  EXPECT_EQ(db.GotoDay(3, 15, 2006), 4);
  EXPECT_EQ(db.Goto(3, 16, 2006), kResultNoData);
  EXPECT_EQ(db.NumberOfDaysInDatabase(), 1);
}

TEST_F(DatabaseTest, RefusesAppendsThatWouldBreakTheDayIndex) {
  ASSERT_TRUE(appendDay(db, 2006, 3, 10, {5}).isOk());
  ASSERT_TRUE(appendDay(db, 2006, 3, 12, {5}).isOk());
  const std::string before = fs.contents("/st/2006-03.slg");

  struct Case {
    const char* name;
    DateTime date;
  };
  for (const Case& c : {Case{"earlier day of the file", DateTime::fromDate(2006, 3, 10, 30)},
                        Case{"day without summary records", DateTime::fromDate(2006, 3, 13, 30)},
                        Case{"absent earlier month", DateTime::fromDate(2006, 2, 1, 30)},
                        Case{"not a calendar day", DateTime::fromDate(2006, 2, 30, 30)}}) {
    obj.record = ArchiveRecord();
    obj.date = c.date;
    EXPECT_EQ(db.AppendArchiveRecord(obj).kind(), platform::Errc::kBadArgument) << c.name;
  }
  DailySummaryObject s;
  s.a.date = DateTime::fromDate(2006, 3, 11);
  EXPECT_FALSE(db.EditSummaryRecord(s).isOk()) << "a new day before the file's last day";
  EXPECT_EQ(fs.contents("/st/2006-03.slg"), before);
  EXPECT_EQ(db.NumberOfRecordsInDataBase(), 2);
}

TEST_F(DatabaseTest, SummaryAppendKeepsBothHalvesOnTheDayOfHalfA) {
  DailySummaryObject s;
  s.a.date = DateTime::fromDate(2006, 3, 10, 0);  // time 0 does not move a summary
  s.b.date = DateTime::fromDate(2006, 3, 11);
  ASSERT_TRUE(db.EditSummaryRecord(s).isOk());
  EXPECT_EQ(db.GotoDay(3, 10, 2006), 2);
  s.a.record.setI16(kSumAHighOutsideTemp, 812);
  ASSERT_TRUE(db.EditSummaryRecord(s).isOk());
  DailySummaryObject back;
  ASSERT_EQ(db.GetDailySummary(back, 2006, 3, 10), kResultOk);
  EXPECT_EQ(back.a.record.i16(kSumAHighOutsideTemp), 812);
  EXPECT_EQ(db.GetDailySummaryIndex(back, 1), kResultBadArgument);
  EXPECT_EQ(db.GetDailySummary(back, 2006, 3, 9), kResultFailed);
  EXPECT_EQ(back.state, kSummaryEmpty);
}

TEST_F(DatabaseTest, DayInfoWithNullOutputs) {
  ASSERT_TRUE(appendDay(db, 2006, 3, 15, {5, 10}).isOk());
  EXPECT_EQ(db.DayInfo(0, nullptr, nullptr, nullptr, nullptr, nullptr), kResultOk);
  int y = -1, m = -1, d = -1, c1 = -1, c2 = -1;
  EXPECT_EQ(db.DayInfo(0, &y, &m, &d, &c1, &c2), kResultOk);
  EXPECT_EQ(std::vector<int>({y, m, d, c1, c2}), std::vector<int>({2006, 3, 15, 4, 4}));
  EXPECT_EQ(db.DayInfo(1, &y, &m, &d, &c1, &c2), kResultBadArgument);
  EXPECT_EQ(db.DayInfo(-1, &y, nullptr, nullptr, nullptr, nullptr), kResultBadArgument);
  EXPECT_EQ(db.MonthInfo(1, &y, &m), kResultBadArgument);
}

TEST_F(DatabaseTest, EmptyDatabaseDates) {
  int y, m, d, h, mi;
  EXPECT_EQ(db.GetFirstDate(&y, &m, &d, &h, &mi), kResultOk);
  EXPECT_EQ(std::vector<int>({y, m, d, h, mi}), std::vector<int>({1900, 1, 1, 0, 0}));
  EXPECT_EQ(db.GetClosestArchive(2006, 3, 15, 12, 0), kResultFailed);
  EXPECT_EQ(db.GetNextRecord(obj), kResultFailed);
}

struct ClosestCase {
  const char* name;
  int year, month, day, hour, minute;
  int want;
};

class ClosestTest : public DatabaseTest, public ::testing::WithParamInterface<ClosestCase> {};

// Records (archive numbers): 0 = 03-15 10:00, 1 = 03-15 10:30, 2 = 03-15 24:00,
// day 03-16 holds only its summary, 3 = 03-17 01:00, 4 = 03-17 23:50, 5 = 03-18 00:30,
// 6 = 05-02 12:00 (April is missing).
TEST_P(ClosestTest, FindsTheNearestRecord) {
  ASSERT_TRUE(appendDay(db, 2006, 3, 15, {600, 630, 1440}).isOk());
  ASSERT_TRUE(appendDay(db, 2006, 3, 16, {}).isOk());
  ASSERT_TRUE(appendDay(db, 2006, 3, 17, {60, 1430}).isOk());
  ASSERT_TRUE(appendDay(db, 2006, 3, 18, {30}).isOk());
  ASSERT_TRUE(appendDay(db, 2006, 5, 2, {720}).isOk());
  const ClosestCase& c = GetParam();
  EXPECT_EQ(db.GetClosestArchive(c.year, c.month, c.day, c.hour, c.minute), c.want) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Moments, ClosestTest,
    ::testing::Values(
        ClosestCase{"before the first record", 2006, 1, 1, 0, 0, 0},
        ClosestCase{"exactly on a record", 2006, 3, 15, 10, 30, 1},
        ClosestCase{"nearer the earlier", 2006, 3, 15, 10, 10, 0},
        ClosestCase{"exactly between two: the later", 2006, 3, 15, 10, 15, 1},
        ClosestCase{"day without archive records: the next day's first", 2006, 3, 16, 12, 0, 3},
        ClosestCase{"early on a day: never the day before", 2006, 3, 18, 0, 5, 5},
        ClosestCase{"just after midnight: not the day before's 1440", 2006, 3, 16, 0, 5, 3},
        ClosestCase{"across a missing month", 2006, 4, 10, 0, 0, 6},
        ClosestCase{"after the last record", 2006, 5, 2, 23, 0, 6},
        ClosestCase{"days after the last record", 2007, 1, 1, 0, 0, 6},
        ClosestCase{"not a calendar day", 2006, 2, 30, 0, 0, kResultFailed}));

TEST_F(DatabaseTest, GetNextRecordStopsAtTheEndOfTheMonthFile) {
  ASSERT_TRUE(appendDay(db, 2006, 3, 31, {5}).isOk());
  ASSERT_TRUE(appendDay(db, 2006, 4, 1, {5}).isOk());
  ASSERT_EQ(db.Goto(3, 31, 2006), 0);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(db.GetNextRecord(obj), kResultOk);
  EXPECT_EQ(db.GetNextRecord(obj), kResultNoData);
  EXPECT_EQ(db.GetNextRecord(obj), kResultNoData);
  ASSERT_EQ(db.Goto(4, 1, 2006), 3);
  ASSERT_EQ(db.GetNextRecord(obj), kResultOk);
  EXPECT_EQ(obj.record.type(), kSummaryARecordType);
  EXPECT_EQ(obj.date.minutes, 0);
  EXPECT_EQ(obj.date.packed(), packDate(2006, 4, 1));
}

TEST_F(DatabaseTest, EditOverwritesInPlace) {
  ASSERT_TRUE(appendDay(db, 2006, 3, 15, {5, 10}).isOk());
  ASSERT_EQ(db.GetRecord(obj, 1), kResultOk);
  obj.record.setI16(kArcOutsideTemp, 655);
  ASSERT_TRUE(db.EditArchiveRecord(obj, 1).isOk());
  EXPECT_FALSE(db.EditArchiveRecord(obj, 2).isOk());
  ASSERT_TRUE(db.close().isOk());
  ASSERT_EQ(db.open("/st"), kResultOk);
  ASSERT_EQ(db.GetRecord(obj, 1), kResultOk);
  EXPECT_EQ(obj.record.i16(kArcOutsideTemp), 655);
  EXPECT_EQ(db.NumberOfRecordsInDataBase(), 2);
}

// Each month as (day, count, start) triples, read back from the header on disk.
std::vector<std::tuple<int, int, int>> dayIndex(platform::MemFileSystem& fs,
                                                const std::string& path) {
  const std::string raw = fs.contents(path);
  std::vector<std::tuple<int, int, int>> out;
  for (int d = 1; d < 32; ++d) {
    const auto at = static_cast<std::size_t>(20 + 6 * d);
    const int count = static_cast<std::uint8_t>(raw[at]) | static_cast<std::uint8_t>(raw[at + 1])
                                                               << 8;
    const int start =
        static_cast<std::uint8_t>(raw[at + 2]) | static_cast<std::uint8_t>(raw[at + 3]) << 8;
    if (count) out.emplace_back(d, count, start);
  }
  return out;
}

class DeleteTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    ASSERT_TRUE(appendDay(db, 2006, 3, 10, {5, 10, 15}).isOk());
    ASSERT_TRUE(appendDay(db, 2006, 3, 11, {5}).isOk());
    ASSERT_TRUE(appendDay(db, 2006, 3, 12, {5, 10}).isOk());
    ASSERT_TRUE(appendDay(db, 2006, 4, 1, {20}).isOk());
  }
  using Triples = std::vector<std::tuple<int, int, int>>;
};

TEST_F(DeleteTest, RecordMovesLaterDaysAndMonthsDown) {
  ASSERT_TRUE(db.deleteRecord(1).isOk());  // 03-10 00:10
  EXPECT_EQ(dayIndex(fs, "/st/2006-03.slg"), (Triples{{10, 4, 0}, {11, 3, 4}, {12, 4, 7}}));
  EXPECT_EQ(db.NumberOfRecordsInDataBase(), 6);
  EXPECT_EQ(db.Goto(4, 1, 2006), 11);
  ASSERT_EQ(db.GetRecord(obj, 5), kResultOk);
  EXPECT_EQ(obj.date.packed(), packDate(2006, 4, 1));
  EXPECT_EQ(obj.date.minutes, 20);
}

TEST_F(DeleteTest, LastArchiveRecordOfADayTakesTheDay) {
  ASSERT_TRUE(db.deleteRecord(3).isOk());  // 03-11's only record
  EXPECT_EQ(dayIndex(fs, "/st/2006-03.slg"), (Triples{{10, 5, 0}, {12, 4, 5}}));
  EXPECT_EQ(db.NumberOfDaysInDatabase(), 3);
  EXPECT_EQ(db.Goto(3, 11, 2006), kResultNoData);
  EXPECT_EQ(db.Goto(4, 1, 2006), 9);
  ASSERT_EQ(db.GetRecord(obj, 3), kResultOk);
  EXPECT_EQ(obj.date.packed(), packDate(2006, 3, 12));
}

TEST_F(DeleteTest, DayAndMonth) {
  ASSERT_TRUE(db.deleteDay(3, 10, 2006).isOk());
  EXPECT_EQ(dayIndex(fs, "/st/2006-03.slg"), (Triples{{11, 3, 0}, {12, 4, 3}}));
  EXPECT_EQ(db.firstDate().packed(), packDate(2006, 3, 11));
  ASSERT_TRUE(db.deleteMonth(2006, 3).isOk());
  EXPECT_FALSE(fs.exists("/st/2006-03.slg"));
  EXPECT_EQ(db.NumberOfMonthsInDatabase(), 1);
  EXPECT_EQ(db.NumberOfRecordsInDataBase(), 1);
  EXPECT_EQ(db.Goto(4, 1, 2006), 0);
  ASSERT_TRUE(db.deleteRecord(0).isOk());
  EXPECT_FALSE(fs.exists("/st/2006-04.slg")) << "an emptied month file goes";
  EXPECT_EQ(db.NumberOfMonthsInDatabase(), 0);
  EXPECT_EQ(db.NumberOfDaysInDatabase(), 0);
}

TEST_F(DeleteTest, StaysConsistentAfterReopen) {
  ASSERT_TRUE(db.deleteRecord(4).isOk());
  const auto before = archive();
  ASSERT_TRUE(db.close().isOk());
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_EQ(archive(), before);
  EXPECT_TRUE(db.problems().empty());
}

}  // namespace
}  // namespace database
