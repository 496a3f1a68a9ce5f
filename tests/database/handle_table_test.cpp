#include "database/handle_table.h"

#include <gtest/gtest.h>

#include "database/host_database.h"
#include "database_test_support.h"
#include "platform/testing/mem_file_system.h"

namespace database {
namespace {

TEST(HandleTableTest, FreedSlotsAreReusedMostRecentFirst) {
  int lastError = 0;
  HandleTable<WeatherDataObject> table(kWeatherDataHandleKind, lastError);
  const int a = table.create(), b = table.create(), c = table.create();
  EXPECT_EQ(std::vector<int>({a, b, c}), std::vector<int>({0x10000, 0x10001, 0x10002}));
  EXPECT_EQ(table.destroy(a), 1);
  EXPECT_EQ(table.destroy(c), 1);
  EXPECT_EQ(table.destroy(c), 1) << "destroying a free slot succeeds";
  EXPECT_EQ(table.create(), c);
  EXPECT_EQ(table.create(), a);
  EXPECT_EQ(table.create(), 0x10003) << "a double destroy must not hand out one slot twice";
}

TEST(HandleTableTest, LookupAndDestroyResults) {
  int lastError = -1;
  HandleTable<WeatherDataObject> table(kWeatherDataHandleKind, lastError);
  const int h = table.create();
  EXPECT_NE(table.find(h), nullptr);
  EXPECT_EQ(lastError, 0);
  EXPECT_EQ(table.find(0x20000), nullptr);
  EXPECT_EQ(lastError, 6);
  EXPECT_EQ(table.find(h + 1), nullptr);
  EXPECT_EQ(lastError, 1609);
  EXPECT_EQ(table.destroy(0x30000), 6);
  EXPECT_EQ(table.destroy(h + 5), 1609);
  ASSERT_EQ(table.destroy(h), 1);
  EXPECT_EQ(table.find(h), nullptr);
  EXPECT_EQ(lastError, 1609);
}

TEST(HandleTableTest, FullTableRefusesANewHandle) {
  int lastError = 0;
  HandleTable<DatabaseHandleObject> table(kDatabaseHandleKind, lastError);
  for (int i = 0; i < kMaxHandleSlots; ++i) ASSERT_GE(table.create(), 0);
  EXPECT_EQ(table.create(), -1);
  ASSERT_EQ(table.destroy((kDatabaseHandleKind << 16) | 77), 1);
  EXPECT_EQ(table.create(), (kDatabaseHandleKind << 16) | 77);
}

class HostDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs.createDirectories("/st").isOk());
    ASSERT_EQ(db.open("/st"), kResultNoData);
    ASSERT_TRUE(testing::appendDay(db, 2006, 3, 15, {5, 10}).isOk());
    host.setDatabase(&db);
  }
  platform::MemFileSystem fs;
  WeatherDatabase db{fs};
  HostDatabase host;
};

TEST_F(HostDatabaseTest, DestroyedHandleIsInvalidEverywhere) {
  const int dbh = host.GetDatabaseHandle();
  const int wh = host.GetWeatherDataHandle();
  ASSERT_EQ(host.GetRecord(dbh, wh, 1), kResultOk);
  int time = 0;
  ASSERT_EQ(host.GetRecordPackedTime(wh, &time), kResultOk);
  EXPECT_EQ(time, 10);
  EXPECT_EQ(host.GetRecordPackedTime(wh, nullptr), kResultBadArgument);

  ASSERT_EQ(host.DestroyWeatherDataHandle(wh), 1);
  EXPECT_EQ(host.GetRecord(dbh, wh, 1), kResultBadHandle);
  EXPECT_EQ(host.GetNextRecord(dbh, wh), kResultBadHandle);
  EXPECT_EQ(host.GetRecordType(wh), kResultBadHandle);
  EXPECT_EQ(host.GetRecordPackedTime(wh, &time), kResultBadHandle);
  EXPECT_EQ(host.lastError(), 1609);
  EXPECT_EQ(host.GetWeatherDataHandle(), wh) << "the freed value is handed out again";

  ASSERT_EQ(host.DestroyDatabaseHandle(dbh), 1);
  EXPECT_EQ(host.NumberOfRecordsInDataBase(dbh), kResultBadHandle);
  EXPECT_EQ(host.Goto(wh, 3, 15, 2006), kResultBadHandle) << "a handle of the wrong kind";
  EXPECT_EQ(host.lastError(), 6);
}

TEST_F(HostDatabaseTest, ResultCodesOfWrites) {
  const int dbh = host.GetDatabaseHandle();
  const int wh = host.GetWeatherDataHandle();
  const int sh = host.GetDailySummaryHandle();
  EXPECT_EQ(sh, 0x20000);
  EXPECT_EQ(host.NumberOfRecordsInDataBase(dbh), 2);
  EXPECT_EQ(host.EditArchiveRecord(dbh, wh, 2), kResultBadArgument);
  EXPECT_EQ(host.AppendArchiveRecord(dbh, wh, nullptr), kResultBadArgument);
  EXPECT_EQ(host.GetDailySummaryIndex(dbh, sh, 1), kResultBadArgument);
  EXPECT_EQ(host.GetDailySummary(dbh, sh, 2006, 3, 15), kResultOk);
  EXPECT_EQ(host.SetRecordEditStatus(wh, 1), 1);
  EXPECT_EQ(host.SetRecordDate(wh, 3, 15, 2006), kResultOk);
  std::string name;
  ASSERT_EQ(host.GetNoteFileName(wh, &name), kResultOk);
  ASSERT_EQ(host.SetNoteStatus(wh, 1), kResultOk);
  EXPECT_EQ(host.GetNoteStatus(wh), 1);
  host.setDatabase(nullptr);
  EXPECT_EQ(host.GetDatabaseHandle(), -1);
  EXPECT_EQ(host.NumberOfRecordsInDataBase(dbh), kResultBadHandle);
}

}  // namespace
}  // namespace database
