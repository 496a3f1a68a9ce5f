#include <gtest/gtest.h>

#include <sstream>

#include "database/station_generator.h"
#include "database/weather_database.h"
#include "platform/testing/mem_file_system.h"
#include "reports/export_lines.h"
#include "reports/export_selection.h"
#include "station/data_lists.h"
#include "station/data_sets.h"
#include "station/record_listing.h"

namespace reports {
namespace {

constexpr char kDir[] = "/st";

class ExportLines : public ::testing::Test {
 protected:
  void SetUp() override {
    // 30-minute records from 30 December 2005 to 2 February 2006.
    ASSERT_TRUE(database::generateStation(mem_, kDir, {2005, 12, 30, 35, 30}).isOk());
    ASSERT_EQ(db_.open(kDir), 0);
    station_.config.setStationDir(kDir);
    station_.dataSets = station::stationDataSets();
    station_.dataLists = station::buildDefaultDataLists(station_.config);
  }
  std::string lines(const ExportSelection& s, ExportLayout layout, Midnight m = Midnight::k00) {
    const ExportJob job{db_, station_, conventions_};
    auto text = exportLines(job, selectedDays(db_, s), layout, m);
    EXPECT_TRUE(text.isOk()) << text.status().message();
    return text.isOk() ? *text : std::string();
  }
  platform::MemFileSystem mem_;
  database::WeatherDatabase db_{mem_};
  station::StationState station_;
  quantities::UserConventions conventions_;
};

TEST_F(ExportLines, DaysThenMonthsThenYearsInTheirOrderWithDuplicatesKept) {
  ExportSelection s;
  s.days = {{2006, 1, 15}, {2005, 12, 31}};
  s.months = {{2006, 1}};
  s.years = {2005};
  const std::vector<DayRecords> days = selectedDays(db_, s);
  std::vector<std::int32_t> order;
  for (const DayRecords& d : days) order.push_back(d.packed);
  std::vector<std::int32_t> expected = {(2006 << 16) | (1 << 8) | 15, (2005 << 16) | (12 << 8) | 31};
  for (int d = 1; d <= 31; ++d) expected.push_back((2006 << 16) | (1 << 8) | d);
  expected.push_back((2005 << 16) | (12 << 8) | 30);
  expected.push_back((2005 << 16) | (12 << 8) | 31);
  EXPECT_EQ(order, expected);
  // Each day's numbers reach exactly its own records, 1440 included.
  database::WeatherDataObject obj;
  for (const DayRecords& d : {days[0], days.back()}) {
    EXPECT_EQ(d.count, 48);
    ASSERT_EQ(db_.GetRecord(obj, d.firstArchive), 0);
    EXPECT_EQ(obj.date.packed(), d.packed);
    EXPECT_EQ(obj.date.minutes, 30);
    ASSERT_EQ(db_.GetRecord(obj, d.firstArchive + d.count - 1), 0);
    EXPECT_EQ(obj.date.packed(), d.packed);
    EXPECT_EQ(obj.date.minutes, 1440);
  }
}

TEST_F(ExportLines, APickWithoutRecordsIsRefusedAndNamed) {
  struct Case {
    ExportSelection s;
    const char* named;
  };
  const Case cases[] = {{{{{2006, 2, 9}}, {}, {}}, "2006-02-09"},
                        {{{}, {{2006, 3}}, {}}, "2006-03"},
                        {{{}, {}, {2004}}, "2004"}};
  for (const Case& c : cases) {
    const platform::Status s = checkSelection(db_, c.s);
    EXPECT_EQ(s.kind(), platform::Errc::kNotFound);
    EXPECT_NE(s.message().find(c.named), std::string::npos) << s.message();
  }
  EXPECT_TRUE(checkSelection(db_, {{{2006, 2, 2}}, {{2005, 12}}, {2006}}).isOk());
}

TEST_F(ExportLines, TheDelimitedLinesAreTheListingsWithTabs) {
  ExportSelection s;
  s.days = {{2006, 1, 2}};
  const std::string text = lines(s, ExportLayout::kDelimited, Midnight::k24);
  // The station's own delimited listing of the same day, taken as the reference.
  std::ostringstream listing;
  station::ListingRequest request;
  request.separator = '\t';
  request.limit = 65535;
  request.fromPacked = request.toPacked = (2006 << 16) | (1 << 8) | 2;
  ASSERT_TRUE(station::printRecords(mem_, station_, request, conventions_, listing).isOk());
  std::string expected = listing.str();
  const auto last = expected.rfind("\t00:00\t");
  ASSERT_NE(last, std::string::npos);
  expected.replace(last, 7, "\t24:00\t");
  EXPECT_EQ(text, expected);
  EXPECT_EQ(text.substr(0, 1), "\t");
  EXPECT_NE(text.find("\nFecha\tHora\t"), std::string::npos);
}

TEST_F(ExportLines, MidnightAt00MovesTheRecordToTheNextDay) {
  ExportSelection s;
  s.days = {{2006, 1, 31}};
  const std::string at00 = lines(s, ExportLayout::kDelimited, Midnight::k00);
  const std::string at24 = lines(s, ExportLayout::kDelimited, Midnight::k24);
  EXPECT_NE(at00.find("\n01-02-06\t00:00\t"), std::string::npos) << at00.substr(0, 400);
  EXPECT_NE(at24.find("\n31-01-06\t24:00\t"), std::string::npos);
  EXPECT_EQ(at24.find("\n01-02-06"), std::string::npos);
}

TEST_F(ExportLines, ThePrintedLinesAreFixedWidth) {
  ExportSelection s;
  s.days = {{2006, 1, 2}};
  const std::string text = lines(s, ExportLayout::kFixed);
  std::istringstream in(text);
  std::string line;
  std::vector<std::string> all;
  while (std::getline(in, line)) all.push_back(line);
  ASSERT_EQ(all.size(), 3u + 48u);
  EXPECT_EQ(all[0].substr(0, 15), std::string(15, ' '));
  EXPECT_EQ(all[3].size(), all[50].size());
  EXPECT_EQ(all[3].find('\t'), std::string::npos);
}

}  // namespace
}  // namespace reports
