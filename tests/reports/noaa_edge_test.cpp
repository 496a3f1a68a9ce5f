#include <gtest/gtest.h>

#include <string>

#include "noaa_fixture.h"
#include "quantities/user_conventions.h"
#include "reports/degree_days.h"
#include "reports/noaa_report.h"
#include "station/station_config.h"

namespace noaa_test {
namespace {

// Files whose reads fail, once armed, at or after a byte offset: a disk going bad under a
// database that opened well.
class FailingReads : public platform::FileSystem {
 public:
  explicit FailingReads(platform::MemFileSystem& inner) : inner_(inner) {}
  void failFrom(std::uint64_t offset) { failFrom_ = offset; }

  platform::Result<std::unique_ptr<platform::File>> open(const std::string& path,
                                                         platform::OpenMode mode) override {
    auto f = inner_.open(path, mode);
    if (!f) return f.status();
    return std::unique_ptr<platform::File>(new Wrapped(std::move(*f), failFrom_));
  }
  platform::Result<std::string> readFile(const std::string& p) override {
    return inner_.readFile(p);
  }
  platform::Status replaceFileAtomically(const std::string& p, std::string_view b,
                                         bool m) override {
    return inner_.replaceFileAtomically(p, b, m);
  }
  platform::Result<std::vector<platform::DirEntry>> listDirectory(const std::string& p) override {
    return inner_.listDirectory(p);
  }
  bool exists(const std::string& p) override { return inner_.exists(p); }
  bool isDirectory(const std::string& p) override { return inner_.isDirectory(p); }
  platform::Status createDirectories(const std::string& p) override {
    return inner_.createDirectories(p);
  }
  platform::Status removeFile(const std::string& p) override { return inner_.removeFile(p); }
  platform::Status removeAll(const std::string& p) override { return inner_.removeAll(p); }
  platform::Status rename(const std::string& a, const std::string& b) override {
    return inner_.rename(a, b);
  }
  platform::Status copyFile(const std::string& a, const std::string& b) override {
    return inner_.copyFile(a, b);
  }

 private:
  class Wrapped : public platform::File {
   public:
    Wrapped(std::unique_ptr<platform::File> f, const std::uint64_t& failFrom)
        : f_(std::move(f)), failFrom_(failFrom) {}
    platform::Result<std::size_t> readAt(std::uint64_t offset, std::span<std::byte> into) override {
      if (offset >= failFrom_) return platform::Status::io("read failed (injected)");
      return f_->readAt(offset, into);
    }
    platform::Status writeAt(std::uint64_t o, std::span<const std::byte> b) override {
      return f_->writeAt(o, b);
    }
    platform::Result<std::uint64_t> size() override { return f_->size(); }
    platform::Status truncate(std::uint64_t s) override { return f_->truncate(s); }
    platform::Status sync() override { return f_->sync(); }

   private:
    std::unique_ptr<platform::File> f_;
    const std::uint64_t& failFrom_;
  };

  platform::MemFileSystem& inner_;
  std::uint64_t failFrom_ = UINT64_MAX;
};

class NoaaEdges : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mem_.createDirectories("/st").isOk());
    db_.open("/st");
    config_.setStationName("Norte");
  }
  void addDay(int year, int month, const HandDay& d) {
    ASSERT_TRUE(db_.EditSummaryRecord(summaryOf(year, month, d)).isOk());
  }
  void addRecord(int year, int month, int day, int minutes, int interval, int tempTenths) {
    ASSERT_TRUE(
        db_.AppendArchiveRecord(archiveAt(year, month, day, minutes, interval, tempTenths)).isOk());
  }
  reports::NoaaJob job() { return {files_, db_, config_, conv_}; }
  // Heating and cooling columns of a day's line in the monthly report.
  std::pair<std::string, std::string> degreeDays(int day) {
    auto text = reports::noaaMonthReport(job(), {2006, 7});
    EXPECT_TRUE(text.isOk()) << text.status().message();
    const std::string line = linesOf(*text).at(10 + static_cast<std::size_t>(day));
    return {line.substr(36, 6), line.substr(42, 6)};
  }

  platform::MemFileSystem mem_;
  FailingReads files_{mem_};
  database::WeatherDatabase db_{files_};
  station::StationConfig config_;
  quantities::UserConventions conv_;
};

// Day 1 stores 9.9 and 1.2 degree days; its records hold six 240-minute intervals at
// 40.0 °F, one at 70.0 °F, a 0-minute interval at 0 °F and one without a temperature.
TEST_F(NoaaEdges, DegreeDaysByEachMethod) {
  HandDay d{1, 1440, 700, 840, 500, 300, 600, 0, 0, 0, 0, 99, 12, {}};
  addDay(2006, 7, d);
  for (int i = 1; i <= 6; ++i) addRecord(2006, 7, 1, i * 200, 240, 400);
  addRecord(2006, 7, 1, 1300, 240, 700);
  addRecord(2006, 7, 1, 1400, 0, 0);
  addRecord(2006, 7, 1, 1440, 240, kNone);

  EXPECT_EQ(degreeDays(1), std::pair(fmt("%6.1f", 9.9), fmt("%6.1f", 1.2)));

  config_.setHeatBase(64.0F);
  config_.setCoolBase(64.0F);
  const double heating = 6 * 240 * (64 - 40.0) / 1440;
  const double cooling = 240 * (70.0 - 64) / 1440;
  EXPECT_EQ(degreeDays(1), std::pair(fmt("%6.1f", heating), fmt("%6.1f", cooling)));

  config_.setNoaaDegreeDayMethod(0);  // (70 + 50) / 2 = 60 against base 64
  EXPECT_EQ(degreeDays(1), std::pair(fmt("%6.1f", 4.0), fmt("%6.1f", 0.0)));
}

TEST_F(NoaaEdges, NothingToDivideAndNoExtremesPrintDashes) {
  addDay(2006, 7, HandDay{1, 1440});  // data minutes, every value stored as no data
  auto month = reports::noaaMonthReport(job(), {2006, 7});
  ASSERT_TRUE(month.isOk());
  const auto lines = linesOf(*month);
  EXPECT_EQ(lines[11], fmt("%2d%6s%6s%8s%6s%8s%6s%6s%6.2f%6s%6s%8s%6s", 1, "---", "---", "---",
                           "---", "---", "---", "---", 0.0, "---", "---", "---", "---"));
  EXPECT_EQ(lines[43], fmt("  %6s%6s%8s  %6s%8s  %6.1f%6.1f%6.2f%6s%6s%8s%6s", "---", "---", "---",
                           "---", "---", 0.0, 0.0, 0.0, "---", "---", "---", "---"));
  EXPECT_EQ(lines[49], "Lluvia Max: 0.00 ON -----");

  for (int year : {2006, 2005}) {  // a year with one empty day, and one without any
    auto text = reports::noaaYearReport(job(), year);
    ASSERT_TRUE(text.isOk());
    for (const char* bad : {"nan", "inf", "-32768", "32767"}) {
      EXPECT_EQ(text->find(bad), std::string::npos) << bad << " in\n" << *text;
      EXPECT_EQ(month->find(bad), std::string::npos) << bad;
    }
    const auto y = linesOf(*text);
    EXPECT_EQ(y[23],
              fmt("      %6s%6s%6s%6s%6.0f%6.0f%6s%4s%6s%5s%5d%5d%5d%5d", "---", "---", "---",
                  year == 2006 ? "0.0" : "---", 0.0, 0.0, "---", "---", "---", "---", 0, 0, 0, 0));
    EXPECT_EQ(y.back(), fmt("      %6s%6s%5s%5s", "---", "---", "---", "---"));
    // The wettest month of a dry year stays January, as the layout has it.
    EXPECT_EQ(y[y.size() - 20],
              fmt("      %6.2f%6.2f%6.2f%5s%5d%5d%5d", 0.0, 0.0, 0.0, "ENE", 0, 0, 0));
  }
}

TEST_F(NoaaEdges, FailuresLeaveThePreviousReportWhole) {
  addDay(2006, 7, HandDay{1, 1440, 700, 840, 500, 300, 600});
  for (int i = 1; i <= 1440; ++i) addRecord(2006, 7, 1, i, 1, 600);  // more than one read block
  mem_.setContents("/st/NOAAMO.TXT", "previous report\n");
  ASSERT_TRUE(db_.flush().isOk());

  mem_.failWrites(true);
  auto unwritable = reports::writeNoaaMonthReport(job(), {2006, 7});
  ASSERT_FALSE(unwritable.isOk());
  EXPECT_EQ(unwritable.status().message().rfind("Imposible abrir noaa.txt", 0), 0U);
  mem_.failWrites(false);

  config_.setHeatBase(64.0F);  // the records are read
  files_.failFrom(212 + 88 * 1024);
  auto records = reports::writeNoaaMonthReport(job(), {2006, 7});
  ASSERT_FALSE(records.isOk());
  EXPECT_EQ(records.status().message().rfind("Error obteniendo registro de la base de datos.", 0),
            0U)
      << records.status().message();

  ASSERT_TRUE(db_.close().isOk());
  db_.openReadOnly("/st");
  files_.failFrom(212);
  auto summaries = reports::writeNoaaMonthReport(job(), {2006, 7});
  ASSERT_FALSE(summaries.isOk());
  EXPECT_EQ(summaries.status().message().rfind("Error en la Base de Datos.", 0), 0U)
      << summaries.status().message();
  EXPECT_EQ(mem_.contents("/st/NOAAMO.TXT"), "previous report\n");
}

TEST_F(NoaaEdges, CurrentAndPreviousFollowTheNewestDay) {
  EXPECT_EQ(reports::newestMonth(db_).status().message(), "No hay registros en la base de datos.");
  addDay(2006, 12, HandDay{30, 1440, 500, 600, 300, 200, 400});
  addDay(2007, 1, HandDay{15, 1440, 400});
  EXPECT_EQ(*reports::newestMonth(db_), (reports::YearMonth{2007, 1}));

  auto month = reports::writeNoaaMonthFor(job(), reports::NoaaPeriod::kPrevious);
  ASSERT_TRUE(month.isOk());
  EXPECT_EQ(*month, "/st/NOAAPRMO.TXT");
  EXPECT_NE(mem_.contents(*month).find("MENSUAL para DIC. 2006"), std::string::npos);
  auto year = reports::writeNoaaYearFor(job(), reports::NoaaPeriod::kPrevious);
  ASSERT_TRUE(year.isOk());
  EXPECT_EQ(*year, "/st/NOAAPRYR.TXT");
  EXPECT_NE(mem_.contents(*year).find(fmt(" 06 12%6.1f", 50.0)), std::string::npos);
  auto current = reports::writeNoaaYearFor(job(), reports::NoaaPeriod::kCurrent);
  ASSERT_TRUE(current.isOk());
  EXPECT_NE(mem_.contents("/st/NOAAYR.TXT").find(" 07  1"), std::string::npos);
  EXPECT_EQ(reports::monthsPresent(db_), (std::vector<reports::YearMonth>{{2006, 12}, {2007, 1}}));
  EXPECT_EQ(reports::yearsPresent(db_), (std::vector<int>{2006, 2007}));
}

}  // namespace
}  // namespace noaa_test

namespace noaa_test {
namespace {

// The fuel estimate's day: both ways at one heating base, and the 18 hours that make a
// day's extremes trustworthy.
TEST_F(NoaaEdges, FuelDegreeDaysSayWhetherTheDayIsWhole) {
  addDay(2006, 7, HandDay{1, 18 * 60, 700, 840, 500, 300, 600});
  addRecord(2006, 7, 1, 240, 240, 400);
  addDay(2006, 7, HandDay{2, 18 * 60 - 1, 700, 840, 400, 300, 600});
  addDay(2006, 7, HandDay{3, 1440, 700, 840});  // no low

  auto whole = reports::fuelDegreeDay(db_, 2006, 7, 1, 65.0, false);
  ASSERT_TRUE(whole.isOk());
  EXPECT_TRUE(whole->counted && whole->fullDay);
  EXPECT_DOUBLE_EQ(whole->heating, 65.0 - (70.0 + 50.0) / 2);
  auto integrated = reports::fuelDegreeDay(db_, 2006, 7, 1, 65.0, true);
  ASSERT_TRUE(integrated.isOk());
  EXPECT_NEAR(integrated->heating, 240 * (65.0 - 40.0) / 1440, 1e-9);

  auto shortDay = reports::fuelDegreeDay(db_, 2006, 7, 2, 65.0, false);
  ASSERT_TRUE(shortDay.isOk());
  EXPECT_TRUE(shortDay->counted);
  EXPECT_FALSE(shortDay->fullDay);
  EXPECT_DOUBLE_EQ(shortDay->heating, 65.0 - (70.0 + 40.0) / 2);

  for (int day : {3, 4}) {  // a missing extreme, and a day without a summary
    auto none = reports::fuelDegreeDay(db_, 2006, 7, day, 65.0, false);
    ASSERT_TRUE(none.isOk());
    EXPECT_FALSE(none->counted);
    EXPECT_EQ(none->heating, 0.0);
  }
}

}  // namespace
}  // namespace noaa_test
