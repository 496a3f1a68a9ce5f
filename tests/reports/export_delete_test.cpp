#include <gtest/gtest.h>

#include "database/rain_build.h"
#include "database/rain_database.h"
#include "database/station_generator.h"
#include "database/weather_database.h"
#include "platform/testing/mem_file_system.h"
#include "quantities/units.h"
#include "reports/export_delete.h"

namespace reports {
namespace {

constexpr char kDir[] = "/st";

class ExportDelete : public ::testing::Test {
 protected:
  void SetUp() override {
    // 10-minute records from 1 November 2005 to 28 February 2006.
    ASSERT_TRUE(database::generateStation(mem_, kDir, {2005, 11, 1, 120, 10}).isOk());
    ASSERT_EQ(db_.open(kDir), 0);
    rain_.setDirectory(kDir);
    ASSERT_TRUE(database::buildRainDatabase(rain_, db_).isOk());
    // A year typed in by hand.
    database::RainYear typed;
    typed.year = 1999;
    typed.months.fill(1.5);
    ASSERT_EQ(rain_.addYear(typed, inches_), 0);
    ASSERT_EQ(rain_.save(), 0);
  }
  double month(database::RainDatabase& rain, int year, int m) {
    return rain.getMonthValue(rain.findYear(year), m - 1, inches_);
  }
  platform::MemFileSystem mem_;
  database::WeatherDatabase db_{mem_};
  database::RainDatabase rain_{mem_};
  quantities::Units inches_;
};

TEST_F(ExportDelete, YearsThenMonthsThenDaysWithPartsAlreadyGoneSkipped) {
  ExportSelection s;
  s.days = {{2005, 12, 5}, {2006, 2, 10}};  // the first goes with its month
  s.months = {{2005, 12}, {2005, 11}};
  s.years = {2005};  // takes both months along
  const int before = db_.NumberOfRecordsInDataBase();
  auto done = deleteSelection(db_, nullptr, s);
  ASSERT_TRUE(done.isOk()) << done.status().message();
  EXPECT_EQ(done->years, 1);
  EXPECT_EQ(done->months, 0);
  EXPECT_EQ(done->days, 1);
  EXPECT_EQ(done->records, (61 + 1) * 144);
  EXPECT_EQ(db_.NumberOfRecordsInDataBase(), before - (61 + 1) * 144);
  EXPECT_EQ(db_.dayList().front(), (2006 << 16) | (1 << 8) | 1);
}

TEST_F(ExportDelete, TheRainOfTheDeletedRecordsLeavesItsMonths) {
  ExportSelection s;
  s.days = {{2006, 1, 10}, {2006, 1, 11}};
  s.months = {{2005, 12}};
  const double november = month(rain_, 2005, 11);
  const double january = month(rain_, 2006, 1);
  auto done = deleteSelection(db_, &rain_, s);
  ASSERT_TRUE(done.isOk()) << done.status().message();

  // What a table built afresh from what is left says, read back from the file saved.
  database::RainDatabase saved(mem_);
  ASSERT_EQ(saved.load(kDir), 0);
  database::RainDatabase fresh(mem_);
  fresh.setDirectory("/fresh");
  ASSERT_TRUE(mem_.createDirectories("/fresh").isOk());
  ASSERT_TRUE(database::buildRainDatabase(fresh, db_).isOk());
  EXPECT_NEAR(month(saved, 2006, 1), month(fresh, 2006, 1), 0.0015);
  EXPECT_LT(month(saved, 2006, 1), january);
  EXPECT_EQ(month(saved, 2005, 12), 0.0);  // all of it gone, never below 0
  EXPECT_NEAR(month(saved, 2005, 11), november, 1e-9);
  EXPECT_NEAR(month(saved, 1999, 6), 1.5, 1e-9);
}

}  // namespace
}  // namespace reports
