#include "publish/upload_report_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "database/station_generator.h"
#include "platform/testing/mem_file_system.h"
#include "publish/inet_config.h"
#include "station/station_file.h"

namespace publish {
namespace {

std::size_t lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(UploadReportFilesTest, RecentRecordsFilesHoldTwoAndSevenDays) {
  platform::MemFileSystem files;
  station::StationConfig config;
  config.setStationDir("/st");
  ASSERT_TRUE(files.createDirectories("/st"));
  ASSERT_TRUE(station::writeStationRecord(files, config, "/st"));
  database::GeneratorOptions days;
  days.year = 2006;
  days.month = 3;
  days.day = 1;
  days.days = 10;
  days.intervalMinutes = 60;
  ASSERT_TRUE(database::generateStation(files, "/st", days));
  const quantities::UserConventions conventions;
  ASSERT_TRUE(writeReportFile(files, "/st", conventions, kReportTwoDayFile, "/st/downld02.txt"));
  ASSERT_TRUE(writeReportFile(files, "/st", conventions, kReportWeekFile, "/st/downld08.txt"));
  const std::string two = files.contents("/st/downld02.txt");
  const std::string week = files.contents("/st/downld08.txt");
  // The same headings; five more days of hourly records.
  EXPECT_EQ(lines(week) - lines(two), 5u * 24u);
  // The newest day is the 10th: the 2-day file starts on the 9th, the week on the 4th.
  EXPECT_EQ(two.find("08-03-06"), std::string::npos);
  EXPECT_NE(two.find("09-03-06"), std::string::npos);
  EXPECT_EQ(week.find("03-03-06"), std::string::npos);
  EXPECT_NE(week.find("04-03-06"), std::string::npos);
  ASSERT_TRUE(writeReportFile(files, "/st", conventions, kReportNoaaThisMonth, "/st/NOAAMO.TXT"));
  EXPECT_FALSE(files.contents("/st/NOAAMO.TXT").empty());
}

}  // namespace
}  // namespace publish
