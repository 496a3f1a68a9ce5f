#include <gtest/gtest.h>

#include <string>

#include "database/month_header.h"
#include "database/month_names.h"
#include "database/record_names.h"
#include "fixture_bytes.h"

namespace database {
namespace {

std::string hex(std::span<const std::uint8_t> bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (std::uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 0xF];
  }
  return out;
}

TEST(PackedValues, NoTimePairDecodesTwice) {
  const std::array<std::uint8_t, 3> pair = {0xFF, 0xFF, 0x77};
  EXPECT_EQ(getPacked12(pair, 0, 0), 0x7FF);
  EXPECT_EQ(getPacked12(pair, 0, 1), 0x7FF);
}

TEST(PackedValues, WritingOneKeepsTheOtherNibble) {
  std::array<std::uint8_t, 6> b = {0xFF, 0xFF, 0x77, 0, 0, 0};
  setPacked12(b, 0, 1, 1440);  // 0x5A0: b1 = 0xA0, high nibble of b2 = 5
  EXPECT_EQ(hex(b), "FFA057000000");
  setPacked12(b, 0, 2, 0x123);  // second pair, low value
  EXPECT_EQ(hex(b), "FFA057230001");
  EXPECT_EQ(getPacked12(b, 0, 0), 0x7FF);
  EXPECT_EQ(getPacked12(b, 0, 1), 1440);
  EXPECT_EQ(getPacked12(b, 0, 3), 0);
}

// Freshly initialised records, written out from the tables.
TEST(InitialRecords, ArchiveRecord) {
  std::string want = "01000000";               // type, interval, flags, transmitter
  for (int i = 0; i < 8; ++i) want += "0080";  // 4..19: time .. inside humidity
  want +=
      "0000"
      "0080"
      "0080"
      "0080"
      "FFFF"
      "0000";  // rain, rate, wind, high wind, dirs, samples
  want +=
      "0080"
      "0080"
      "FFFF"
      "FFFFFFFF"
      "0080";                                  // solar, high solar, UV, leaf temps, estimate
  for (int i = 0; i < 6; ++i) want += "0080";  // reserved
  want += std::string(32 * 2, 'F');            // 56..87
  EXPECT_EQ(hex(ArchiveRecord().bytes()), want);
}

TEST(InitialRecords, SummaryRecordA) {
  std::string want =
      "0200"
      "0000"
      "0080"
      "FF7F"
      "0080"
      "FF7F"
      "0080"
      "0080";  // 0..15
  want +=
      "0080"
      "FF7F"
      "0080"
      "FF7F"
      "0080"
      "0080";  // 16..27
  want +=
      "0080"
      "FF7F"
      "0080"
      "FF7F"
      "0080";  // 28..37
  want +=
      "0080"
      "FF7F"
      "0080";  // 38..43
  want +=
      "0080"
      "0080"
      "0080"
      "0080"
      "FFFF"
      "0080"
      "0080"
      "0080"
      "FF";                                      // 44..60
  for (int i = 0; i < 9; ++i) want += "FFFF77";  // slots
  EXPECT_EQ(hex(SummaryRecordA().bytes()), want);
}

TEST(InitialRecords, SummaryRecordB) {
  std::string want =
      "03FF"
      "0000"
      "0080"
      "0080"
      "0080"
      "0080"
      "0080";  // 0..13
  want +=
      "0080"
      "FF7F"
      "0080"
      "0080"
      "FF7F"
      "0080"
      "FF7F"
      "0080";  // 14..29
  want +=
      "0080"
      "FF7F"
      "0080";                                    // 30..35
  want += std::string(24 * 2, '0');              // wind minutes
  for (int i = 0; i < 5; ++i) want += "000088";  // slots
  for (int i = 0; i < 6; ++i) want += "0080";    // 75..86
  want += "00";
  EXPECT_EQ(hex(SummaryRecordB().bytes()), want);
}

TEST(MonthNames, FormatsYearAndTwoDigitMonth) {
  EXPECT_EQ(monthFileName(2006, 3), "2006-03.slg");
  EXPECT_EQ(monthFileName(2012, 11), "2012-11.slg");
}

struct NameCase {
  const char* name;
  bool accepted;
  int year;
  int month;
};

class MonthNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(MonthNameTest, AcceptsOnlyTheExactShape) {
  const NameCase& c = GetParam();
  const auto parsed = parseMonthFileName(c.name);
  ASSERT_EQ(parsed.has_value(), c.accepted) << c.name;
  if (parsed) {
    EXPECT_EQ(parsed->year, c.year);
    EXPECT_EQ(parsed->month, c.month);
  }
}

INSTANTIATE_TEST_SUITE_P(Names, MonthNameTest,
                         ::testing::Values(NameCase{"2006-03.slg", true, 2006, 3},
                                           NameCase{"2006-03.SLG", true, 2006, 3},
                                           NameCase{"1999-12.Slg", true, 1999, 12},
                                           NameCase{"2006-3.slg", false, 0, 0},  // one-digit month
                                           NameCase{"06-03.slg", false, 0, 0},   // two-digit year
                                           NameCase{"2006-03.slgx", false, 0, 0},
                                           NameCase{"2006_03.slg", false, 0, 0},
                                           NameCase{"2006-13.slg", false, 0, 0},  // no such month
                                           NameCase{"2006-00.slg", false, 0, 0},
                                           NameCase{"2006-03.wlk", false, 0, 0},
                                           NameCase{"2006-03.slg.bak", false, 0, 0}));

struct HeaderCase {
  const char* name;
  int count;
  std::vector<testing::DaySpec> days;
  std::uint64_t extraBytes;  // file size beyond header + 88 * count
  bool valid;
};

class HeaderCheckTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderCheckTest, ChecksTheDayIndexAgainstTheFile) {
  const HeaderCase& c = GetParam();
  const std::string raw = testing::headerBytes(c.count, c.days);
  HeaderBytes bytes{};
  std::copy(raw.begin(), raw.end(), bytes.begin());
  const MonthHeader h = MonthHeader::decode(bytes);
  const std::uint64_t size =
      212 + 88 * static_cast<std::uint64_t>(std::max(c.count, 0)) + c.extraBytes;
  EXPECT_EQ(h.validate(size).isOk(), c.valid) << c.name;
  EXPECT_EQ(h.encode(), bytes) << "a header reads back to the same bytes";
}

INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderCheckTest,
    ::testing::Values(
        HeaderCase{"empty", 0, {}, 0, true},
        HeaderCase{"two days", 7, {{3, 4, 0}, {4, 3, 4}}, 0, true},
        HeaderCase{"summaries only", 2, {{9, 2, 0}}, 0, true},
        HeaderCase{"torn append leaves a stray record", 3, {{1, 3, 0}}, 88, true},
        HeaderCase{"count beyond the file", 3, {{1, 3, 0}}, static_cast<std::uint64_t>(-88), false},
        HeaderCase{"day points outside", 4, {{1, 4, 0}, {2, 3, 4}}, 0, false},
        HeaderCase{"days overlap", 6, {{1, 4, 0}, {2, 3, 3}}, 0, false},
        HeaderCase{"gap between days", 7, {{1, 3, 0}, {2, 3, 4}}, 0, false},
        HeaderCase{"day with one record", 3, {{1, 2, 0}, {2, 1, 2}}, 0, false},
        HeaderCase{"negative day count", 2, {{1, 2, 0}, {2, -2, 2}}, 0, false},
        HeaderCase{"records outside every day", 5, {{1, 3, 0}}, 0, false},
        HeaderCase{"days out of order", 5, {{1, 3, 2}, {2, 2, 0}}, 0, true},
        HeaderCase{"days out of order overlap", 5, {{1, 3, 1}, {2, 2, 0}}, 0, false},
        HeaderCase{"day out of order points outside", 5, {{1, 2, 0}, {2, 3, 3}}, 0, false},
        HeaderCase{"days out of order leave a gap", 6, {{1, 3, 3}, {2, 2, 0}}, 0, false}));

TEST(DateTimeTest, PackedDatesCompareInCalendarOrder) {
  EXPECT_EQ(packDate(2006, 3, 15), (2006 << 16) | (3 << 8) | 15);
  EXPECT_LT(packDate(2006, 2, 28), packDate(2006, 3, 1));
  EXPECT_LT(packDate(2005, 12, 31), packDate(2006, 1, 1));
  DateTime d = DateTime::fromDate(2006, 3, 15, 870);
  EXPECT_EQ(d.hour, 14);
  EXPECT_EQ(d.minute, 30);
  d.setPacked(0);
  EXPECT_EQ(d.valid, 0);
  EXPECT_EQ(d.year, 0);
}

TEST(DateTimeTest, DayStepsCrossMonthsAndLeapDays) {
  DateTime d = DateTime::fromDate(2008, 2, 28);
  d.nextDay();
  EXPECT_EQ(d.packed(), packDate(2008, 2, 29));
  d.nextDay();
  EXPECT_EQ(d.packed(), packDate(2008, 3, 1));
  d = DateTime::fromDate(2007, 1, 1);
  d.previousDay();
  EXPECT_EQ(d.packed(), packDate(2006, 12, 31));
}

}  // namespace
}  // namespace database
