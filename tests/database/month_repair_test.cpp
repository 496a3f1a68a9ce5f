// What a killed writer, a hand-edited directory or an unwritable station leaves, and what
// the database makes of it: mended headers, days in any order, impossible dates, and
// read-only stations.

#include <gtest/gtest.h>

#include "database/month_check.h"
#include "database/weather_database.h"
#include "database_test_support.h"
#include "fixture_bytes.h"
#include "platform/testing/mem_file_system.h"

namespace database {
namespace {

using testing::archiveAt;
using testing::headerBytes;
using testing::recordBytes;

const std::string kA = recordBytes(2);
const std::string kB = recordBytes(3);

std::vector<int> times(WeatherDatabase& db) {
  std::vector<int> out;
  WeatherDataObject obj;
  for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
    EXPECT_EQ(db.GetRecord(obj, i), kResultOk);
    out.push_back(obj.date.day * 10000 + obj.date.minutes);
  }
  return out;
}

// The record count as the file's bytes 16-19 hold it.
int countOnDisk(const std::string& file) {
  int v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(file[16 + i]);
  return v;
}

// Day 15: A, B, records at 0:05 and 0:10, then a third record at 0:15 whose append was
// cut short while the header was being updated.
struct Torn {
  const char* name;
  std::string bytes;
  std::vector<int> want;  // day * 10000 + minutes of every archive record kept
  int count;              // the record count the mended header holds
};

const std::string kDay15 = kA + kB + archiveAt(5) + archiveAt(10);

const Torn kTorn[] = {
    // The count was stored, the day's count was not: record 4 belongs to no day.
    {"count_ahead_of_the_day",
     headerBytes(5, {{15, 4, 0}}) + kDay15 + archiveAt(15),
     {150005, 150010},
     4},
    // The day's count was stored, the record count was not: record 4 is whole and the
    // day covers it, so it is kept.
    {"day_ahead_of_the_count",
     headerBytes(4, {{15, 5, 0}}) + kDay15 + archiveAt(15),
     {150005, 150010, 150015},
     5},
    // A torn count far beyond the records, with a partial record after them.
    {"count_beyond_the_whole_records",
     headerBytes(0x0109, {{15, 4, 0}}) + kDay15 + archiveAt(15).substr(0, 40),
     {150005, 150010},
     4},
};

class TornHeaderTest : public ::testing::TestWithParam<Torn> {
 protected:
  void SetUp() override { fs.setContents("/st/2006-03.slg", GetParam().bytes); }
  platform::MemFileSystem fs;
};

TEST_P(TornHeaderTest, IsMendedOnOpenKeepingEveryCoveredRecord) {
  WeatherDatabase db(fs);
  ASSERT_EQ(db.open("/st"), kResultOk);
  ASSERT_EQ(db.NumberOfMonthsInDatabase(), 1);
  ASSERT_EQ(db.problems().size(), 1u);
  EXPECT_NE(db.problems()[0].find("2006-03.slg"), std::string::npos);
  EXPECT_EQ(times(db), GetParam().want);
  EXPECT_EQ(countOnDisk(fs.contents("/st/2006-03.slg")), GetParam().count);
  // Downloads go on: the next record follows the kept ones.
  WeatherDataObject obj;
  obj.record.setTimeOfDay(30);
  obj.date = DateTime::fromDate(2006, 3, 15, 30);
  ASSERT_TRUE(db.AppendArchiveRecord(obj).isOk());
  ASSERT_TRUE(db.close().isOk());
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_TRUE(db.problems().empty());
  std::vector<int> want = GetParam().want;
  want.push_back(150030);
  EXPECT_EQ(times(db), want);
}

TEST_P(TornHeaderTest, CheckFindsItAndRepairMendsItAfterABackup) {
  const std::string original = GetParam().bytes;
  auto found = checkMonthFiles(fs, "/st", false);
  ASSERT_TRUE(found.isOk());
  ASSERT_EQ(found->size(), 1u);
  EXPECT_EQ((*found)[0].path, "/st/2006-03.slg");
  EXPECT_FALSE((*found)[0].faults.empty());
  EXPECT_TRUE((*found)[0].mendable);
  EXPECT_TRUE((*found)[0].repairs.empty());
  EXPECT_EQ(fs.contents("/st/2006-03.slg"), original) << "a check alone writes nothing";

  auto mended = checkMonthFiles(fs, "/st", true);
  ASSERT_TRUE(mended.isOk());
  ASSERT_EQ(mended->size(), 1u);
  EXPECT_FALSE((*mended)[0].repairs.empty());
  EXPECT_EQ((*mended)[0].backup, "/st/Backup/2006-03.slg");
  EXPECT_EQ(fs.contents("/st/Backup/2006-03.slg"), original);
  const std::string now = fs.contents("/st/2006-03.slg");
  EXPECT_EQ(countOnDisk(now), GetParam().count);
  EXPECT_EQ(now.size(), 212u + 88u * static_cast<std::size_t>(GetParam().count));

  auto again = checkMonthFiles(fs, "/st", false);
  ASSERT_TRUE(again.isOk());
  EXPECT_TRUE((*again)[0].faults.empty());
  WeatherDatabase db(fs);
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_TRUE(db.problems().empty());
  EXPECT_EQ(times(db), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(States, TornHeaderTest, ::testing::ValuesIn(kTorn),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MonthCheckTest, OtherDamageIsReportedAndNeverWritten) {
  platform::MemFileSystem fs;
  const std::string overlap = headerBytes(6, {{1, 4, 0}, {2, 3, 2}}) + std::string(88 * 6, '\1');
  fs.setContents("/st/2006-02.slg", overlap);
  fs.setContents("/st/2006-03.slg", headerBytes(4, {{15, 4, 0}}) + kDay15);
  auto checked = checkMonthFiles(fs, "/st", true);
  ASSERT_TRUE(checked.isOk());
  ASSERT_EQ(checked->size(), 2u);
  EXPECT_FALSE((*checked)[0].faults.empty());
  EXPECT_FALSE((*checked)[0].mendable);
  EXPECT_TRUE((*checked)[0].repairs.empty());
  EXPECT_TRUE((*checked)[1].faults.empty()) << "a sound month";
  EXPECT_EQ(fs.contents("/st/2006-02.slg"), overlap);
  EXPECT_FALSE(fs.exists("/st/Backup/2006-02.slg"));
}

// Dates no calendar has are left out like other damage: year 0000, 30 February.
TEST(ImpossibleDatesTest, AreReportedAndLeftOut) {
  platform::MemFileSystem fs;
  const std::string oneDay = headerBytes(3, {{1, 3, 0}}) + kA + kB + archiveAt(30);
  fs.setContents("/st/0000-01.slg", oneDay);
  fs.setContents("/st/2006-02.slg", headerBytes(3, {{30, 3, 0}}) + kA + kB + archiveAt(30));
  fs.setContents("/st/2007-02.slg", headerBytes(3, {{29, 3, 0}}) + kA + kB + archiveAt(30));
  fs.setContents("/st/2008-02.slg", headerBytes(3, {{29, 3, 0}}) + kA + kB + archiveAt(40));
  WeatherDatabase db(fs);
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_EQ(db.NumberOfMonthsInDatabase(), 1);
  EXPECT_EQ(db.NumberOfDaysInDatabase(), 1);
  EXPECT_EQ(times(db), (std::vector<int>{290040}));  // 29 February 2008, a leap year
  ASSERT_EQ(db.problems().size(), 3u);
  for (const char* name : {"0000-01.slg", "2006-02.slg", "2007-02.slg"}) {
    bool named = false;
    for (const std::string& p : db.problems()) named |= p.find(name) != std::string::npos;
    EXPECT_TRUE(named) << name;
  }
  auto checked = checkMonthFiles(fs, "/st", false);
  ASSERT_TRUE(checked.isOk());
  int faulty = 0;
  for (const MonthFileCheck& c : *checked) faulty += c.faults.empty() ? 0 : 1;
  EXPECT_EQ(faulty, 3);
}

// Day 16 was appended before day 15 (a late download of an earlier day).
class LateDayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.setContents("/st/2006-03.slg", headerBytes(7, {{16, 3, 0}, {15, 4, 3}}) + kA + kB +
                                          archiveAt(100) + kA + kB + archiveAt(5) + archiveAt(10));
    ASSERT_EQ(db.open("/st"), kResultOk);
    ASSERT_TRUE(db.problems().empty());
  }
  platform::MemFileSystem fs;
  WeatherDatabase db{fs};
};

TEST_F(LateDayTest, RecordsReadInCalendarOrder) {
  EXPECT_EQ(times(db), (std::vector<int>{150005, 150010, 160100}));
  int y, m, d, h, mi;
  ASSERT_EQ(db.GetLastDate(&y, &m, &d, &h, &mi), kResultOk);
  EXPECT_EQ(std::vector<int>({d, h, mi}), std::vector<int>({16, 1, 40}));
  ASSERT_EQ(db.GetFirstDate(&y, &m, &d, &h, &mi), kResultOk);
  EXPECT_EQ(std::vector<int>({d, h, mi}), std::vector<int>({15, 0, 5}));
  EXPECT_EQ(db.GetClosestArchive(2006, 3, 15, 0, 9), 1);
  EXPECT_EQ(db.GetClosestArchive(2006, 3, 16, 0, 0), 2);

  // From day 15 on, reading goes on into day 16 and stops after it.
  ASSERT_EQ(db.Goto(3, 15, 2006), 3);
  WeatherDataObject obj;
  std::vector<std::pair<int, int>> read;  // (type, day * 10000 + minutes)
  while (db.GetNextRecord(obj) == kResultOk) {
    read.emplace_back(obj.record.type(), obj.date.day * 10000 + obj.date.minutes);
  }
  const std::vector<std::pair<int, int>> want = {{2, 150000}, {3, 150000}, {1, 150005}, {1, 150010},
                                                 {2, 160000}, {3, 160000}, {1, 160100}};
  EXPECT_EQ(read, want);
  EXPECT_EQ(db.GetNextRecord(obj), kResultNoData);
}

TEST_F(LateDayTest, AppendsGoToTheDayThatEndsTheFile) {
  WeatherDataObject obj;
  obj.record.setTimeOfDay(20);
  obj.date = DateTime::fromDate(2006, 3, 15, 20);
  ASSERT_TRUE(db.AppendArchiveRecord(obj).isOk());
  EXPECT_EQ(times(db), (std::vector<int>{150005, 150010, 150020, 160100}));
  obj.record.setTimeOfDay(200);
  obj.date = DateTime::fromDate(2006, 3, 16, 200);
  EXPECT_EQ(db.AppendArchiveRecord(obj).kind(), platform::Errc::kBadArgument)
      << "day 16's block lies before day 15's";
  ASSERT_TRUE(testing::appendDay(db, 2006, 3, 17, {60}).isOk());
  ASSERT_TRUE(db.close().isOk());
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_TRUE(db.problems().empty());
  EXPECT_EQ(times(db), (std::vector<int>{150005, 150010, 150020, 160100, 170060}));
}

// Opens every file for reading only, as for another user's station.
class ReadOnlyFileSystem : public platform::MemFileSystem {
 public:
  platform::Result<std::unique_ptr<platform::File>> open(const std::string& path,
                                                         platform::OpenMode mode) override {
    if (mode != platform::OpenMode::kRead)
      return platform::Status::io(path + ": permission denied");
    return MemFileSystem::open(path, mode);
  }
};

TEST(ReadOnlyStationTest, IsFullyReadableAndRefusesEveryWrite) {
  ReadOnlyFileSystem fs;
  const std::string torn = headerBytes(5, {{15, 4, 0}}) + kDay15 + archiveAt(15);
  fs.setContents("/st/2006-03.slg", torn);
  fs.setContents("/st/2006-04.slg", headerBytes(3, {{1, 3, 0}}) + kA + kB + archiveAt(60));

  WeatherDatabase writable(fs);
  (void)writable.open("/st");
  EXPECT_EQ(writable.NumberOfRecordsInDataBase(), 0) << "read-write, nothing can be opened";

  WeatherDatabase db(fs);
  ASSERT_EQ(db.openReadOnly("/st"), kResultOk);
  EXPECT_TRUE(db.readOnly());
  EXPECT_EQ(times(db), (std::vector<int>{150005, 150010, 10060}));
  ASSERT_EQ(db.problems().size(), 1u) << "the torn header is mended in memory only";
  EXPECT_EQ(fs.contents("/st/2006-03.slg"), torn);
  DailySummaryObject summary;
  EXPECT_EQ(db.GetDailySummary(summary, 2006, 4, 1), kResultOk);

  WeatherDataObject obj;
  ASSERT_EQ(db.GetRecord(obj, 1), kResultOk);
  obj.date = DateTime::fromDate(2006, 4, 1, 65);
  const platform::Status append = db.AppendArchiveRecord(obj);
  EXPECT_EQ(append.kind(), platform::Errc::kBadArgument);
  EXPECT_NE(append.message().find(
                "La estación está abierta solo para lectura: no se puede escribir en ella."),
            std::string::npos)
      << append.message();
  EXPECT_EQ(db.EditArchiveRecord(obj, 0).kind(), platform::Errc::kBadArgument);
  EXPECT_EQ(db.EditSummaryRecord(summary).kind(), platform::Errc::kBadArgument);
  EXPECT_EQ(db.deleteDay(4, 1, 2006).kind(), platform::Errc::kBadArgument);
  EXPECT_EQ(db.deleteMonth(2006, 4).kind(), platform::Errc::kBadArgument);
  EXPECT_TRUE(db.close().isOk());
  EXPECT_EQ(fs.contents("/st/2006-03.slg"), torn);
}

}  // namespace
}  // namespace database
