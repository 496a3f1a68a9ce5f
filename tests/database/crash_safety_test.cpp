// What a crash, a power cut or a damaged file leaves of a station.

#include <gtest/gtest.h>

#include "database/weather_database.h"
#include "database_test_support.h"
#include "fixture_bytes.h"
#include "platform/testing/mem_file_system.h"

namespace database {
namespace {

using testing::appendDay;

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fs.createDirectories("/st").isOk()); }
  std::vector<int> times(WeatherDatabase& d) {
    std::vector<int> out;
    WeatherDataObject obj;
    for (int i = 0; i < d.NumberOfRecordsInDataBase(); ++i) {
      EXPECT_EQ(d.GetRecord(obj, i), kResultOk);
      out.push_back(obj.date.minutes);
    }
    return out;
  }
  platform::MemFileSystem fs;
};

TEST_F(CrashTest, HeaderOnDiskNeverLagsTheRecords) {
  WeatherDatabase db(fs);
  (void)db.open("/st");
  ASSERT_TRUE(appendDay(db, 2006, 3, 15, {5, 10, 15}).isOk());
  // No close and no flush: a killed process leaves what reached the file.
  const std::string onDisk = fs.contents("/st/2006-03.slg");
  platform::MemFileSystem copy;
  copy.setContents("/st/2006-03.slg", onDisk);
  WeatherDatabase reopened(copy);
  ASSERT_EQ(reopened.open("/st"), kResultOk);
  EXPECT_EQ(times(reopened), (std::vector<int>{5, 10, 15}));
}

TEST_F(CrashTest, TornAppendKeepsEveryEarlierRecord) {
  WeatherDatabase db(fs);
  (void)db.open("/st");
  ASSERT_TRUE(appendDay(db, 2006, 3, 15, {5, 10}).isOk());
  ASSERT_TRUE(db.close().isOk());
  // Killed after the record reached the file but before the header counted it.
  std::string file = fs.contents("/st/2006-03.slg");
  fs.setContents("/st/2006-03.slg", file + testing::archiveAt(15).substr(0, 60));
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_TRUE(db.problems().empty());
  EXPECT_EQ(times(db), (std::vector<int>{5, 10}));
  // The next append takes the stray bytes' place.
  WeatherDataObject obj;
  obj.record.setTimeOfDay(20);
  obj.date = DateTime::fromDate(2006, 3, 15, 20);
  ASSERT_TRUE(db.AppendArchiveRecord(obj).isOk());
  ASSERT_TRUE(db.close().isOk());
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_EQ(times(db), (std::vector<int>{5, 10, 20}));
  EXPECT_EQ(fs.contents("/st/2006-03.slg").size(), 212u + 5 * 88);
}

TEST_F(CrashTest, PowerCutKeepsWhatWasFlushed) {
  WeatherDatabase db(fs);
  (void)db.open("/st");
  ASSERT_TRUE(appendDay(db, 2006, 3, 15, {5, 10}).isOk());
  ASSERT_TRUE(db.flush().isOk());
  ASSERT_TRUE(appendDay(db, 2006, 3, 16, {5}).isOk());
  fs.dropUnsyncedData();
  WeatherDatabase after(fs);
  ASSERT_EQ(after.open("/st"), kResultOk);
  EXPECT_EQ(times(after), (std::vector<int>{5, 10}));
  EXPECT_EQ(after.NumberOfDaysInDatabase(), 1);
}

TEST_F(CrashTest, FileEmptiedByACrashAfterCreationIsStartedAgain) {
  fs.setContents("/st/2006-03.slg", "");
  WeatherDatabase db(fs);
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_EQ(db.problems().size(), 1u);
  ASSERT_TRUE(appendDay(db, 2006, 3, 15, {5}).isOk());
  EXPECT_EQ(db.NumberOfRecordsInDataBase(), 1);
}

struct Damage {
  const char* name;
  std::string bytes;
};

class DamagedMonthTest : public CrashTest, public ::testing::WithParamInterface<Damage> {};

// A damaged month is reported and left out; the other months stay usable, and the damaged
// file is never written to, not even by an append to its month.
TEST_P(DamagedMonthTest, IsLeftOutAndNeverRewritten) {
  const std::string good = testing::headerBytes(3, {{1, 3, 0}}) + testing::recordBytes(2) +
                           testing::recordBytes(3) + testing::archiveAt(30);
  fs.setContents("/st/2006-01.slg", good);
  fs.setContents("/st/2006-02.slg", GetParam().bytes);
  WeatherDatabase db(fs);
  ASSERT_EQ(db.open("/st"), kResultOk);
  ASSERT_EQ(db.problems().size(), 1u) << GetParam().name;
  EXPECT_NE(db.problems()[0].find("2006-02.slg"), std::string::npos);
  EXPECT_EQ(db.NumberOfMonthsInDatabase(), 1);
  EXPECT_EQ(times(db), (std::vector<int>{30}));
  EXPECT_FALSE(appendDay(db, 2006, 2, 20, {5}).isOk());
  ASSERT_TRUE(db.close().isOk());
  EXPECT_EQ(fs.contents("/st/2006-02.slg"), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedMonthTest,
    ::testing::Values(Damage{"short header", std::string(100, 'x')},
                      Damage{"count beyond the file",
                             testing::headerBytes(5, {{1, 5, 0}}) + std::string(88 * 3, '\1')},
                      Damage{"day outside the file",
                             testing::headerBytes(3, {{1, 3, 0}, {2, 4, 3}}) +
                                 std::string(88 * 3, '\1')},
                      Damage{"overlapping days", testing::headerBytes(6, {{1, 4, 0}, {2, 3, 2}}) +
                                                     std::string(88 * 6, '\1')}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& c : n)
        if (c == ' ') c = '_';
      return n;
    });

}  // namespace
}  // namespace database
