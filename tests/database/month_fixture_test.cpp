// A month file written byte by byte from the format's tables reads back field for field.

#include <gtest/gtest.h>

#include "database/record_text.h"
#include "database/weather_database.h"
#include "fixture_bytes.h"
#include "platform/testing/mem_file_system.h"

namespace database {
namespace {

using testing::put16;

// March 2006, day 15: summary A, summary B, two archive records; day 16: summary A,
// summary B and one archive record stamped 1440.
std::string marchFile() {
  std::string a = testing::recordBytes(2);
  put16(a, 2, 10);      // minutes of data
  put16(a, 4, 730);     // high outside temperature
  put16(a, 6, 0x7FFF);  // low outside temperature, never lowered
  a[61] = 0x5A;         // slot 0 = 0x05A (01:30); slot 1 = 0x578 (23:20)
  a[62] = 0x78;
  a[63] = 0x50;
  std::string b = testing::recordBytes(3);
  b[1] = static_cast<char>(0xFF);
  put16(b, 75, 123);  // cooling degree-days at the odd offset
  put16(b, 77, 0x8000);

  std::string r1 = testing::recordBytes(1, static_cast<char>(0xFF));
  r1[1] = 5;          // interval
  r1[2] = 0x10;       // edited
  r1[3] = 0x12;       // transmitter id 2, ET negative
  put16(r1, 4, 5);    // 00:05
  put16(r1, 6, 725);  // 72.5 F
  put16(r1, 8, 730);
  put16(r1, 10, 0x7FFF);
  put16(r1, 12, 0x8000);
  put16(r1, 14, 29921);
  put16(r1, 16, 455);
  put16(r1, 18, 0x8000);
  put16(r1, 20, 0x1003);  // 3 tips of 0.01 inch
  put16(r1, 22, 0x8000);
  put16(r1, 24, 53);
  put16(r1, 26, 0x8000);
  r1[28] = 1;
  put16(r1, 30, 110);
  put16(r1, 32, static_cast<std::uint16_t>(-150));
  put16(r1, 34, 0x8000);
  r1[36] = 35;
  put16(r1, 42, 0x8000);
  for (std::size_t at = 44; at < 56; at += 2) put16(r1, at, 0x8000);
  r1[57] = 12;
  r1[58] = static_cast<char>(160);  // soil temperature 1: 70 F
  r1[87] = 55;                      // extra humidity 8

  std::string r2 = testing::archiveAt(10, 740);
  put16(r2, 20, 0x8000);  // rain: none
  std::string r3 = testing::archiveAt(1440, 600);

  return testing::headerBytes(7, {{15, 4, 0}, {16, 3, 4}}) + a + b + r1 + r2 + a + b + r3;
}

class MonthFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.setContents("/st/2006-03.slg", marchFile());
    ASSERT_EQ(db.open("/st"), kResultOk);
    ASSERT_TRUE(db.problems().empty());
  }
  platform::MemFileSystem fs;
  WeatherDatabase db{fs};
  WeatherDataObject obj;
};

TEST_F(MonthFixture, CountsAndDates) {
  EXPECT_EQ(db.NumberOfMonthsInDatabase(), 1);
  EXPECT_EQ(db.NumberOfDaysInDatabase(), 2);
  EXPECT_EQ(db.NumberOfRecordsInDataBase(), 3);
  int y, m, d, h, mi;
  db.GetFirstDate(&y, &m, &d, &h, &mi);
  EXPECT_EQ(std::vector<int>({y, m, d, h, mi}), std::vector<int>({2006, 3, 15, 0, 5}));
  db.GetLastDate(&y, &m, &d, &h, &mi);
  EXPECT_EQ(std::vector<int>({y, m, d, h, mi}), std::vector<int>({2006, 3, 16, 24, 0}));
}

TEST_F(MonthFixture, ArchiveRecordFieldByField) {
  ASSERT_EQ(db.GetRecord(obj, 0), kResultOk);
  const ArchiveRecord& r = obj.record;
  EXPECT_EQ(r.type(), 1);
  EXPECT_EQ(r.interval(), 5);
  EXPECT_EQ(r.u8(kArcFlags), 0x10);
  EXPECT_EQ(r.u8(kArcTransmitter) & kArcTransmitterMask, 2);
  EXPECT_EQ(r.timeOfDay(), 5);
  EXPECT_EQ(r.i16(kArcOutsideTemp), 725);
  EXPECT_EQ(r.i16(kArcHighOutsideTemp), 730);
  EXPECT_TRUE(isNoData16(r.i16(kArcLowOutsideTemp)));
  EXPECT_TRUE(isNoData16(r.i16(kArcInsideTemp)));
  EXPECT_EQ(r.i16(kArcBarometer), 29921);
  EXPECT_EQ(r.i16(kArcOutsideHumidity), 455);
  EXPECT_EQ(r.u16(kArcRain), 0x1003);
  EXPECT_EQ(r.i16(kArcWindSpeed), 53);
  EXPECT_EQ(r.u8(kArcWindDirection), 1);
  EXPECT_EQ(r.u8(kArcHighWindDirection), 255);
  EXPECT_EQ(r.i16(kArcWindSamples), 110);
  EXPECT_EQ(r.i16(kArcSolarRadiation), -150);
  EXPECT_EQ(r.u8(kArcUvIndex), 35);
  EXPECT_EQ(r.u8(kArcEvapotranspiration), 12);
  EXPECT_EQ(r.u8(kArcSoilTemps), 160);
  EXPECT_EQ(r.u8(kArcExtraHumidities + 6), 55);

  const std::string text = describeRecord(r, obj.date);
  for (const char* line :
       {"Fecha: 2006-03-15 00:05\n", "flags: edited\n", "wind transmitter: 3\n",
        "outside temperature: 72.5 F\n", "low outside temperature: ---\n",
        "barometer: 29.921 inHg\n", "outside humidity: 45.5 %\n", "rain: 0.03 in\n",
        "wind direction: NNE\n", "solar radiation: -150 W/m2\n", "UV index: 3.5\n",
        "evapotranspiration: -0.012 in\n", "soil temperature 1: 70 F\n", "extra humidity 8: 55 %\n",
        "extra humidity 7: ---\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
}

TEST_F(MonthFixture, RainNoneAndZeroDiffer) {
  ASSERT_EQ(db.GetRecord(obj, 1), kResultOk);
  EXPECT_NE(describeRecord(obj.record, obj.date).find("rain: ---\n"), std::string::npos);
  ASSERT_EQ(db.GetRecord(obj, 2), kResultOk);
  EXPECT_NE(describeRecord(obj.record, obj.date).find("rain: 0.00 in\n"), std::string::npos);
}

TEST_F(MonthFixture, SummaryRecordsFieldByField) {
  DailySummaryObject s;
  ASSERT_EQ(db.GetDailySummary(s, 2006, 3, 15), kResultOk);
  EXPECT_EQ(s.state, kSummaryReady);
  EXPECT_EQ(s.a.record.i16(kSumAMinutes), 10);
  EXPECT_EQ(s.a.record.i16(kSumAHighOutsideTemp), 730);
  EXPECT_EQ(s.a.record.packed12(kSumATimeSlots, kSlotAHighOutsideTemp), 90);
  EXPECT_EQ(s.a.record.packed12(kSumATimeSlots, kSlotALowOutsideTemp), 1400);
  EXPECT_EQ(s.b.record.i16(kSumBCoolingDegreeDays), 123);
  EXPECT_EQ(s.b.record.u8(1), 255);
  EXPECT_EQ(s.a.date.minutes, kNoTime);
  const std::string text = describeRecord(s.a.record, s.a.date);
  EXPECT_NE(text.find("high outside temperature: 73.0 F at 01:30\n"), std::string::npos) << text;
  EXPECT_NE(text.find("low outside temperature: ---\n"), std::string::npos) << text;
}

TEST_F(MonthFixture, MidnightRecordDateDependsOnTheRead) {
  // By number: the record's own day at 1440.
  ASSERT_EQ(db.GetRecord(obj, 2), kResultOk);
  EXPECT_EQ(obj.date.packed(), packDate(2006, 3, 16));
  EXPECT_EQ(obj.date.minutes, 1440);
  // In sequence: the next day at 0:00.
  ASSERT_EQ(db.Goto(3, 16, 2006), 4);
  int types[3] = {};
  for (int& t : types) {
    ASSERT_EQ(db.GetNextRecord(obj), kResultOk);
    t = obj.record.type();
  }
  EXPECT_EQ(std::vector<int>(std::begin(types), std::end(types)), std::vector<int>({2, 3, 1}));
  EXPECT_EQ(obj.date.packed(), packDate(2006, 3, 17));
  EXPECT_EQ(obj.date.minutes, 0);
  EXPECT_EQ(db.GetNextRecord(obj), kResultNoData);
}

TEST_F(MonthFixture, SummaryOnlyDayYieldsNoArchiveRecords) {
  // Day 20 holds only its summary records.
  std::string file = marchFile();
  const std::string summaries = file.substr(212, 176);
  file =
      testing::headerBytes(9, {{15, 4, 0}, {16, 3, 4}, {20, 2, 7}}) + file.substr(212) + summaries;
  fs.setContents("/st/2006-03.slg", file);
  ASSERT_EQ(db.open("/st"), kResultOk);
  EXPECT_EQ(db.NumberOfRecordsInDataBase(), 3);
  EXPECT_EQ(db.GotoDay(3, 20, 2006), 2);
  int count = 0;
  EXPECT_EQ(db.DayInfo(2, nullptr, nullptr, nullptr, &count, nullptr), kResultOk);
  EXPECT_EQ(count, 2);
}

}  // namespace
}  // namespace database
