#include "link/archive_conversion.h"

#include <gtest/gtest.h>

#include <array>

namespace stationlink {
namespace {

using records::ArchiveRecord;
using records::DateTime;

// A console record of the first revision: 2006-03-15 10:30, every sensor byte 0xFF.
std::array<std::uint8_t, kConsoleRecordBytes> consoleRecord() {
  std::array<std::uint8_t, kConsoleRecordBytes> r{};
  r.fill(0xFF);
  auto put16 = [&](std::size_t off, std::uint16_t v) {
    r[off] = v & 0xFF;
    r[off + 1] = v >> 8;
  };
  put16(0, 3183);  // (6 * 512) + 3 * 32 + 15
  put16(2, 1030);  // 10:30
  put16(4, 655);   // 65.5 F
  put16(6, 660);
  put16(8, 650);
  put16(10, 3);   // tips
  put16(12, 12);  // tips per hour
  put16(14, 29921);
  put16(16, 450);
  put16(18, 120);  // wind samples
  put16(20, 712);
  r[22] = 40;   // inside humidity %
  r[23] = 101;  // outside humidity %
  r[24] = 5;    // average wind mph
  r[25] = 12;
  r[26] = 3;
  r[27] = 2;
  r[28] = 35;  // UV tenths
  r[29] = 4;   // ET thousandths
  return r;
}

TEST(DumpStamps, EmptyDatabaseAsksForEverything) {
  EXPECT_EQ(stampsAfter(std::nullopt), (DumpStamps{0, 0}));
  EXPECT_EQ(stampsAfter(DateTime::fromDate(1999, 12, 31, 600)), (DumpStamps{0, 0}));
}

TEST(DumpStamps, RecordClosingADayAsksFromTheNextMidnight) {
  EXPECT_EQ(stampsAfter(DateTime::fromDate(2006, 3, 15, 1440)), (DumpStamps{3184, 0}));
  EXPECT_EQ(stampsAfter(DateTime::fromDate(2006, 3, 15, 10 * 60 + 30)), (DumpStamps{3183, 1030}));
  EXPECT_EQ(stampsAfter(DateTime::fromDate(2006, 12, 31, 1440)),
            (DumpStamps{dumpDateStamp(2007, 1, 1), 0}));
}

TEST(ConsoleRecordTime, MidnightIsFiledUnderTheDayItCloses) {
  auto r = consoleRecord();
  r[0] = 3184 & 0xFF;  // 2006-03-16
  r[1] = 3184 >> 8;
  r[2] = 0;
  r[3] = 0;
  auto t = consoleRecordTime(r);
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->year, 2006);
  EXPECT_EQ(t->month, 3);
  EXPECT_EQ(t->day, 15);
  EXPECT_EQ(t->minutes, 1440);
}

TEST(ConsoleRecordTime, EmptyAndImpossibleSlotsAreSkipped) {
  struct Case {
    const char* name;
    std::uint16_t date;
    std::uint16_t time;
  };
  const Case cases[] = {
      {"empty slot", 0xFFFF, 0xFFFF},
      {"negative time", 3183, 0x8000},
      {"hour 25", 3183, 2500},
      {"minute 60", 3183, 1060},
      {"month 0", (6 * 512) + 0 * 32 + 15, 1000},
      {"month 13", (6 * 512) + 13 * 32 + 15, 1000},
      {"day 0", (6 * 512) + 3 * 32 + 0, 1000},
      {"30 February", (6 * 512) + 2 * 32 + 30, 1000},
  };
  for (const Case& c : cases) {
    auto r = consoleRecord();
    r[0] = c.date & 0xFF;
    r[1] = c.date >> 8;
    r[2] = c.time & 0xFF;
    r[3] = c.time >> 8;
    EXPECT_FALSE(consoleRecordTime(r).has_value()) << c.name;
  }
}

TEST(ConvertConsoleRecord, CommonFieldsFollowTheConversionTable) {
  auto r = consoleRecord();
  ConversionSettings s;
  s.archiveInterval = 5;
  s.windTransmitter = 2;
  s.rainCollector = 1;
  auto when = DateTime::fromDate(2006, 3, 15, 630);
  auto rec = convertConsoleRecord(r, when, {}, s);
  ASSERT_TRUE(rec.has_value());
  EXPECT_EQ(rec->u8(records::kArcInterval), 5);
  EXPECT_EQ(rec->u8(records::kArcTransmitter), 2);
  EXPECT_EQ(rec->timeOfDay(), 630);
  EXPECT_EQ(rec->i16(records::kArcOutsideTemp), 655);
  EXPECT_EQ(rec->i16(records::kArcBarometer), 29921);
  EXPECT_EQ(rec->i16(records::kArcInsideHumidity), 400);
  EXPECT_EQ(rec->i16(records::kArcOutsideHumidity), 1000) << "101 % is stored as 1000 tenths";
  EXPECT_EQ(rec->u16(records::kArcRain), 0x1003);
  EXPECT_EQ(rec->i16(records::kArcWindSpeed), 50);
  EXPECT_EQ(rec->i16(records::kArcHighWindSpeed), 120);
  EXPECT_EQ(rec->u8(records::kArcWindDirection), 2);
  EXPECT_EQ(rec->u8(records::kArcHighWindDirection), 3);
  EXPECT_EQ(rec->i16(records::kArcWindSamples), 120);
  EXPECT_EQ(rec->i16(records::kArcSolarRadiation), 450);
  EXPECT_EQ(rec->u8(records::kArcUvIndex), 35);
  EXPECT_EQ(rec->u8(records::kArcEvapotranspiration), 4);
  EXPECT_EQ(rec->i16(records::kArcSolarEstimate), records::kNoData16) << "no solar model given";
}

TEST(ConvertConsoleRecord, NoDataFormsAndWindRules) {
  auto r = consoleRecord();
  r[6] = 0xFF;  // highest outside temperature 0x7FFF: the average is none too
  r[7] = 0x7F;
  r[14] = 15999 & 0xFF;
  r[15] = 15999 >> 8;
  r[23] = 0;     // 0 % stays 0
  r[22] = 0x80;  // none
  r[24] = 255;   // average wind none
  ConversionSettings s;
  s.rainCollector = 7;  // not a collector code
  auto rec = convertConsoleRecord(r, DateTime::fromDate(2006, 3, 15, 630), {}, s);
  ASSERT_TRUE(rec.has_value());
  EXPECT_EQ(rec->i16(records::kArcHighOutsideTemp), records::kNoData16);
  EXPECT_EQ(rec->i16(records::kArcOutsideTemp), records::kNoData16);
  EXPECT_EQ(rec->i16(records::kArcBarometer), records::kNoData16);
  EXPECT_EQ(rec->i16(records::kArcOutsideHumidity), 0);
  EXPECT_EQ(rec->i16(records::kArcInsideHumidity), records::kNoData16);
  EXPECT_EQ(rec->i16(records::kArcWindSpeed), 0);
  EXPECT_EQ(rec->u8(records::kArcWindDirection), 255);
  EXPECT_EQ(rec->u16(records::kArcRain), 0x8000);
}

TEST(ConvertConsoleRecord, RevisionsFromFirmwareAndRevisionBytes) {
  auto r = consoleRecord();
  FirmwareFlags both{true, true};
  r[42] = 0x00;
  EXPECT_EQ(recordRevision(r, both), RecordRevision::kB);
  r[42] = 0xFF;
  EXPECT_EQ(recordRevision(r, both), RecordRevision::kA);
  r[42] = 0x17;
  EXPECT_EQ(recordRevision(r, both), RecordRevision::kUnknown);
  EXPECT_FALSE(convertConsoleRecord(r, DateTime::fromDate(2006, 3, 15, 630), both, {}).has_value());
  EXPECT_EQ(recordRevision(r, {true, false}), RecordRevision::kA) << "byte 43 is 0xFF";
  r[43] = 0x10;
  EXPECT_EQ(recordRevision(r, {true, false}), RecordRevision::kIntermediate);
  EXPECT_EQ(recordRevision(r, {}), RecordRevision::kA);
}

TEST(ConvertConsoleRecord, RevisionBSensorBytes) {
  auto r = consoleRecord();
  for (std::size_t i = 30; i < kConsoleRecordBytes; ++i) r[i] = static_cast<std::uint8_t>(i);
  r[42] = 0x00;
  auto rec = convertConsoleRecord(r, DateTime::fromDate(2006, 3, 15, 630), {true, true}, {});
  ASSERT_TRUE(rec.has_value());
  EXPECT_EQ(rec->i16(records::kArcHighSolarRadiation), 30 | (31 << 8));
  EXPECT_EQ(rec->u8(records::kArcHighUvIndex), 32);
  EXPECT_EQ(rec->u8(records::kArcForecastRule), 33);
  EXPECT_EQ(rec->u8(records::kArcLeafTemps + 0), 34);
  EXPECT_EQ(rec->u8(records::kArcLeafWetnesses + 1), 37);
  EXPECT_EQ(rec->u8(records::kArcSoilTemps + 0), 38);
  EXPECT_EQ(rec->u8(records::kArcSoilTemps + 3), 41);
  EXPECT_EQ(rec->u8(records::kArcExtraHumidities + 0), 43);
  EXPECT_EQ(rec->u8(records::kArcExtraTemps + 2), 47);
  EXPECT_EQ(rec->u8(records::kArcSoilMoistures + 0), 48);
  EXPECT_EQ(rec->u8(records::kArcSoilMoistures + 3), 51);
}

TEST(FirmwareFlags, DatesAroundTheTwoGenerations) {
  EXPECT_FALSE(firmwareFlags(2002, 2, 28, true).first);
  EXPECT_TRUE(firmwareFlags(2002, 3, 1, true).first);
  EXPECT_FALSE(firmwareFlags(2002, 3, 21, true).second);
  EXPECT_TRUE(firmwareFlags(2002, 3, 22, true).second);
  EXPECT_FALSE(firmwareFlags(2010, 1, 1, false).first);
}

}  // namespace
}  // namespace stationlink
