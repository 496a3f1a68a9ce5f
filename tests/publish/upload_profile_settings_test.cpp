#include "publish/profile_settings.h"

#include <gtest/gtest.h>

#include "platform/testing/mem_file_system.h"

namespace publish {
namespace {

TEST(ProfileSettingsTest, NextDueMinute) {
  struct Case {
    const char* name;
    bool enabled;
    int interval;
    int start;
    int now;
    std::optional<int> want;
  };
  const Case cases[] = {
      {"hourly from 06:00, at 23:30: midnight", true, 60, 360, 1410, 0},
      {"on the minute itself", true, 15, 0, 45, 45},
      {"interval 1: this minute", true, 1, 3, 700, 700},
      {"interval 0: never", true, 0, 3, 700, std::nullopt},
      {"not scheduled", false, 15, 0, 10, std::nullopt},
  };
  for (const Case& c : cases) {
    UploadProfile p = UploadProfile::defaults(1);
    p.setEnabled(c.enabled);
    p.setInterval(static_cast<std::uint16_t>(c.interval));
    p.setStartMinute(static_cast<std::uint16_t>(c.start));
    EXPECT_EQ(nextDueMinute(p, c.now), c.want) << c.name;
  }
}

TEST(ProfileSettingsTest, RefusedChangesLeaveTheProfileAsItWas) {
  InetConfig c;
  ProfileChanges ok;
  ok.interval = 10;
  ok.enabled = true;
  ok.name = "Portada";
  ASSERT_TRUE(applyProfileChanges(c, 0, ok));
  ProfileChanges zero;
  zero.interval = 0;
  zero.pageDir = "www";
  EXPECT_EQ(applyProfileChanges(c, 0, zero).kind(), platform::Errc::kBadArgument);
  ProfileChanges longName;
  longName.name = std::string(16, 'n');
  EXPECT_EQ(applyProfileChanges(c, 0, longName).kind(), platform::Errc::kBadArgument);
  EXPECT_EQ(c.profile(0).interval(), 10);
  EXPECT_EQ(c.profile(0).pageDir(), "");
  EXPECT_EQ(c.profile(0).name(), "Portada");
  EXPECT_EQ(*parseReports("noaa-month,week,wu"),
            kReportNoaaThisMonth | kReportWeekFile | kReportWeatherUnderground);
  EXPECT_FALSE(parseReports("noaa-month,,week"));
  EXPECT_EQ(parseMinuteOfDay("23:59"), 1439);
  EXPECT_FALSE(parseMinuteOfDay("24:00"));
}

TEST(ProfileSettingsTest, FilesAddedOnceAndRemovedByPath) {
  platform::MemFileSystem files;
  files.setContents("/st/a page.htx", "x");
  const UploadProfile p = UploadProfile::defaults(2);
  std::string done;
  ASSERT_TRUE(addProfileFile(files, "/st", p, 1, "/st/a page.htx", done));
  ASSERT_TRUE(addProfileFile(files, "/st", p, 1, "/st/a page.htx", done));
  EXPECT_EQ(files.contents("/st/Profile2.lst"), "a page.htx\t\t\t\t/st/a page.htx\n");
  EXPECT_EQ(addProfileFile(files, "/st", p, 1, "/st/none.htx", done).kind(),
            platform::Errc::kNotFound);
  EXPECT_EQ(removeProfileFile(files, "/st", p, 1, "/st/none.htx", done).kind(),
            platform::Errc::kNotFound);
  ASSERT_TRUE(removeProfileFile(files, "/st", p, 1, "/st/a page.htx", done));
  EXPECT_EQ(files.contents("/st/Profile2.lst"), "");
}

}  // namespace
}  // namespace publish
