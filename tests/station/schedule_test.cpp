#include "station/schedule.h"

#include <gtest/gtest.h>

#include "platform/testing/mem_file_system.h"

namespace station {
namespace {

DownloadSchedule hourSeven() {
  DownloadSchedule s;
  s.hours[7] = true;
  s.offsetMinutes = 5;
  s.autoDownload = true;
  return s;
}

// Runs the check once per minute from `from` to `to` (inclusive) and collects the
// minutes at which a download would start, recording the hour as the run does.
std::vector<int> runMinutes(DownloadSchedule& s, int from, int to) {
  std::vector<int> started;
  for (int m = from; m <= to; ++m) {
    if (auto h = checkSchedule(s, m)) {
      started.push_back(m);
      s.lastScheduledHour = *h;
    }
  }
  return started;
}

TEST(CheckSchedule, OffsetFiveHourSevenRunsOnceInItsWindow) {
  DownloadSchedule s = hourSeven();
  EXPECT_EQ(runMinutes(s, 6 * 60, 8 * 60), std::vector<int>{7 * 60 + 5});
}

TEST(CheckSchedule, WindowIsFiveToFourteen) {
  struct Case {
    int minute;
    bool due;
  };
  for (Case c : {Case{7 * 60 + 4, false}, Case{7 * 60 + 5, true}, Case{7 * 60 + 14, true},
                 Case{7 * 60 + 15, false}}) {
    DownloadSchedule s = hourSeven();
    EXPECT_EQ(checkSchedule(s, c.minute).has_value(), c.due) << c.minute;
  }
}

TEST(CheckSchedule, NewDayRunsTheSameHourAgain) {
  DownloadSchedule s = hourSeven();
  EXPECT_EQ(runMinutes(s, 0, 24 * 60 - 1).size(), 1u);
  // The next day the window of an unchosen hour clears the mark left by hour 7.
  EXPECT_EQ(runMinutes(s, 0, 24 * 60 - 1).size(), 1u);
}

TEST(CheckSchedule, UnchosenHourDoesNotRun) {
  DownloadSchedule s = hourSeven();
  EXPECT_TRUE(runMinutes(s, 8 * 60, 9 * 60).empty());
}

TEST(ApplyScheduleChoice, AutoDownloadNeedsListAndHour) {
  std::array<bool, 24> none{};
  std::array<bool, 24> one{};
  one[3] = true;
  DownloadSchedule s;
  s.lastScheduledHour = 3;
  applyScheduleChoice(s, one, 10, /*listEmpty=*/false);
  EXPECT_TRUE(s.autoDownload);
  EXPECT_EQ(s.lastScheduledHour, -1);
  EXPECT_EQ(s.offsetMinutes, 10);
  applyScheduleChoice(s, none, 10, false);
  EXPECT_FALSE(s.autoDownload);
  applyScheduleChoice(s, one, 10, /*listEmpty=*/true);
  EXPECT_FALSE(s.autoDownload);
}

TEST(ParseOffset, AcceptsZeroToFiftyNine) {
  struct Case {
    const char* text;
    int want;  // -1: not a number, -2: out of range
  };
  for (Case c : {Case{"0", 0}, Case{" 59 ", 59}, Case{"60", -2}, Case{"-1", -2}, Case{"5x", -1},
                 Case{"", -1}}) {
    auto r = parseOffsetMinutes(c.text);
    if (c.want >= 0) {
      ASSERT_TRUE(r.isOk()) << c.text;
      EXPECT_EQ(*r, c.want);
    } else {
      ASSERT_FALSE(r.isOk()) << c.text;
      EXPECT_EQ(r.status().code(), c.want == -1 ? 64207 : 64208) << c.text;
    }
  }
}

TEST(DownloadList, ReadsLongCrlfLinesWhole) {
  platform::MemFileSystem fs;
  std::string longPath = "/srv/" + std::string(300, 'x');
  fs.setContents("/p/download.lst", "/srv/a\r\n" + longPath + "\n\n/srv/b");
  auto list = readDownloadList(fs, "/p");
  ASSERT_TRUE(list.isOk());
  EXPECT_EQ(*list, (std::vector<std::string>{"/srv/a", longPath, "/srv/b"}));
}

TEST(DownloadList, WritesOnePathPerLineAndRemovesAStation) {
  platform::MemFileSystem fs;
  ASSERT_TRUE(writeDownloadList(fs, "/p", {"/srv/a", "/srv/b", "/srv/a"}).isOk());
  EXPECT_EQ(fs.contents("/p/download.lst"), "/srv/a\n/srv/b\n/srv/a\n");
  ASSERT_TRUE(removeFromDownloadList(fs, "/p", "/srv/a").isOk());
  EXPECT_EQ(fs.contents("/p/download.lst"), "/srv/b\n");
  EXPECT_TRUE(removeFromDownloadList(fs, "/q", "/srv/a").isOk());  // no list: nothing to do
}

TEST(DownloadList, FailedWriteKeepsTheOldList) {
  platform::MemFileSystem fs;
  fs.setContents("/p/download.lst", "/srv/a\n");
  fs.failWrites(true);
  EXPECT_FALSE(writeDownloadList(fs, "/p", {"/srv/b"}).isOk());
  EXPECT_EQ(fs.contents("/p/download.lst"), "/srv/a\n");
}

TEST(OrderForRun, CurrentStationFirstOthersInFileOrder) {
  std::vector<std::string> list{"/a", "/b", "/c"};
  EXPECT_EQ(orderForRun(list, "/b"), (std::vector<std::string>{"/b", "/a", "/c"}));
  EXPECT_EQ(orderForRun(list, "/z"), list);
  EXPECT_EQ(orderForRun(list, ""), list);
}

}  // namespace
}  // namespace station
