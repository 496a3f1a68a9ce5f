#include "station/station_list.h"

#include <gtest/gtest.h>

#include "platform/testing/mem_file_system.h"

namespace station {
namespace {

struct DirNameCase {
  const char* name;
  const char* stationName;
  const char* want;  // nullptr: refused
};

constexpr DirNameCase kDirNames[] = {
    {"skips blanks, punctuation and accents", "Casa 2 - Jardín", "Casa2Jar"},
    {"short name kept whole", "Lab", "Lab"},
    {"stops at eight", "ABCDEFGHIJK", "ABCDEFGH"},
    {"accented letter is not taken", "Ñandú 9", "and9"},
    {"only punctuation refused", "-- !! --", nullptr},
    {"empty refused", "", nullptr},
};

TEST(StationDirectoryName, TableOfNames) {
  for (const auto& c : kDirNames) {
    auto dir = stationDirectoryName(c.stationName);
    if (c.want == nullptr) {
      EXPECT_FALSE(dir.isOk()) << c.name;
      EXPECT_EQ(dir.status().kind(), platform::Errc::kBadArgument) << c.name;
    } else {
      ASSERT_TRUE(dir.isOk()) << c.name;
      EXPECT_EQ(*dir, c.want) << c.name;
    }
  }
}

TEST(StationEntry, TextShowsNameAndKeepsPathAfterFourTabs) {
  StationEntry e{"Casa", "/srv/wx/Casa"};
  EXPECT_EQ(entryText(e), "Casa\t\t\t\t/srv/wx/Casa");
  EXPECT_EQ(entryPath(entryText(e)), "/srv/wx/Casa");
  EXPECT_EQ(entryPath("no tabs here"), "");
}

std::optional<std::string> nameFromFile(platform::MemFileSystem& fs, const std::string& dir) {
  std::string text = fs.contents(dir + "/STATION.CFG");
  if (text.empty()) return std::nullopt;
  return text;
}

TEST(ListStations, ListsOnlyDirectoriesWithAStationName) {
  platform::MemFileSystem fs;
  fs.setContents("/p/Beta/STATION.CFG", "Beta station");
  fs.setContents("/p/Alpha/STATION.CFG", "Alpha station");
  ASSERT_TRUE(fs.createDirectories("/p/Empty").isOk());
  fs.setContents("/p/progdata.dat", "x");
  auto list = listStations(fs, "/p", [&](const std::string& d) { return nameFromFile(fs, d); });
  ASSERT_TRUE(list.isOk());
  std::vector<StationEntry> want{{"Alpha station", "/p/Alpha"}, {"Beta station", "/p/Beta"}};
  EXPECT_EQ(*list, want);
}

TEST(DeleteStation, RemovesCreatedTreeAndFiles) {
  platform::MemFileSystem fs;
  fs.setContents("/p/Casa/STATION.CFG", "cfg");
  fs.setContents("/p/Casa/2026-12.slg", "month");
  fs.setContents("/p/Casa/Images/Profile1/a.gif", "gif");
  fs.setContents("/p/Casa/Plots/p.dat", "plot");
  ASSERT_TRUE(fs.createDirectories("/p/Casa/Fuel").isOk());
  fs.setContents("/p/Other/STATION.CFG", "other");
  ASSERT_TRUE(deleteStationDirectory(fs, "/p/Casa").isOk());
  EXPECT_FALSE(fs.exists("/p/Casa"));
  EXPECT_TRUE(fs.exists("/p/Other/STATION.CFG"));
}

TEST(DeleteStation, KeepsADirectoryTheProgramDidNotCreate) {
  platform::MemFileSystem fs;
  fs.setContents("/p/Casa/STATION.CFG", "cfg");
  fs.setContents("/p/Casa/MyPhotos/cat.jpg", "cat");
  std::string failed;
  platform::Status s = deleteStationDirectory(fs, "/p/Casa", &failed);
  EXPECT_FALSE(s.isOk());
  EXPECT_EQ(failed, "/p/Casa");
  EXPECT_EQ(fs.contents("/p/Casa/MyPhotos/cat.jpg"), "cat");
}

}  // namespace
}  // namespace station
