#include "reports/report_data.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/testing/mem_file_system.h"
#include "reports/report_data_records.h"
#include "station/station_file.h"
#include "station/station_state.h"

namespace reports {
namespace {

using station::StationConfig;
using station::StationState;

constexpr std::byte kGuard{0xA5};

// A record whose report-data bytes are all different: byte 1162 + i holds (i * 7 + 3) & 0xFF,
// except that each temperature/humidity-hours name is 20 letters without a terminator.
StationState byteBuiltStation() {
  StationState st;
  st.config = StationConfig::zeroed();
  auto bytes = st.config.mutableBytes();
  for (std::size_t i = 0; i < 197; ++i) bytes[1162 + i] = std::byte((i * 7 + 3) & 0xFF);
  for (std::size_t n = 0; n < 4; ++n) {
    for (std::size_t c = 0; c < 20; ++c) bytes[1162 + n * 20 + c] = std::byte('A' + n + c);
  }
  st.config.setFormatId(4);
  st.config.setRevision(15);
  st.config.setStationName("Sur");
  st.config.setStationDir("/st");
  return st;
}

struct Field {
  std::size_t record, config, size;
};

struct RecordCase {
  const char* name;
  int (*get)(const StationState*, void*);
  int (*set)(platform::FileSystem&, StationState*, const void*);
  std::size_t used;
  std::vector<Field> fields;
};

const std::vector<RecordCase> kRecords = {
    {"soil",
     GetSoilHoursReportData,
     SetSoilHoursReportData,
     13,
     {{0, 1284, 4}, {4, 1288, 2}, {8, 1292, 4}, {12, 1356, 1}}},
    {"chill",
     GetChillHoursReportData,
     SetChillHoursReportData,
     7,
     {{0, 1296, 4}, {4, 1300, 2}, {6, 1358, 1}}},
    {"leaf",
     GetLeafHoursReportData,
     SetLeafHoursReportData,
     15,
     {{0, 1304, 4}, {4, 1308, 4}, {8, 1312, 2}, {10, 1314, 2}, {12, 1316, 2}, {14, 1357, 1}}},
    {"sun", GetSunHoursReportData, SetSunHoursReportData, 6, {{0, 1328, 4}, {4, 1332, 2}}},
    {"et", GetEtReportData, SetEtReportData, 8, {{0, 1320, 4}, {4, 1324, 4}}},
    {"dd",
     GetDdReportData,
     SetDdReportData,
     8,
     {{0, 1344, 4}, {4, 1348, 1}, {5, 1349, 1}, {6, 1350, 1}, {7, 1337, 1}}},
    {"th",
     GetThHoursReportData,
     SetThHoursReportData,
     120,
     {{80, 1244, 16}, {96, 1260, 8}, {104, 1268, 8}, {112, 1276, 4}, {116, 1280, 4}}},
};

TEST(ReportData, EachGetCopiesTheTableBytesAndNothingElse) {
  const StationState st = byteBuiltStation();
  for (const RecordCase& rc : kRecords) {
    SCOPED_TRACE(rc.name);
    std::array<std::byte, 160> buffer;
    buffer.fill(kGuard);
    ASSERT_EQ(rc.get(&st, buffer.data()), 1);
    std::vector<bool> written(buffer.size(), false);
    for (const Field& f : rc.fields) {
      for (std::size_t i = 0; i < f.size; ++i) {
        EXPECT_EQ(buffer[f.record + i], st.config.bytes()[f.config + i]) << f.record + i;
        written[f.record + i] = true;
      }
    }
    if (std::string_view(rc.name) == "th") {
      for (std::size_t i = 0; i < 80; ++i) written[i] = true;
    }
    for (std::size_t i = 0; i < buffer.size(); ++i) {
      if (!written[i]) {
        EXPECT_EQ(buffer[i], kGuard) << "byte " << i << " past the fields";
      }
    }
    EXPECT_EQ(rc.get(&st, nullptr), 0);
    EXPECT_EQ(rc.get(nullptr, buffer.data()), 0);
  }
}

TEST(ReportData, TwentyCharacterNamesComeBackAsNineteen) {
  const StationState st = byteBuiltStation();
  std::array<char, 120> buffer{};
  ASSERT_EQ(GetThHoursReportData(&st, buffer.data()), 1);
  for (std::size_t n = 0; n < 4; ++n) {
    const std::string name(buffer.data() + n * 20);
    ASSERT_EQ(name.size(), 19U);
    EXPECT_EQ(name.front(), static_cast<char>('A' + n));
  }
  // A name cut at its twentieth byte never ends in half a character.
  StationState accented = byteBuiltStation();
  const std::string name = "Temperatura del invé";  // 'é' spans bytes 19 and 20
  std::array<char, 120> in{};
  std::memcpy(in.data(), name.data(), 20);
  platform::MemFileSystem mem;
  ASSERT_TRUE(mem.createDirectories("/st").isOk());
  ASSERT_EQ(SetThHoursReportData(mem, &accented, in.data()), 1);
  EXPECT_EQ(ReportSettings(accented.config).thHoursName(0), "Temperatura del inv");
}

TEST(ReportData, SetStoresSavesAndRefusesWithoutAStation) {
  platform::MemFileSystem mem;
  ASSERT_TRUE(mem.createDirectories("/st").isOk());
  for (const RecordCase& rc : kRecords) {
    SCOPED_TRACE(rc.name);
    StationState st = byteBuiltStation();
    std::array<std::byte, 160> buffer;
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = std::byte((i * 13 + 1) & 0x7F);
    ASSERT_EQ(rc.set(mem, &st, buffer.data()), 1);
    auto saved = station::readStationRecord(mem, "/st");
    ASSERT_TRUE(saved.isOk());
    for (const Field& f : rc.fields) {
      for (std::size_t i = 0; i < f.size; ++i) {
        EXPECT_EQ(st.config.bytes()[f.config + i], buffer[f.record + i]);
        EXPECT_EQ(saved->bytes()[f.config + i], buffer[f.record + i]);
      }
    }
    EXPECT_EQ(rc.set(mem, &st, nullptr), 0);
    EXPECT_EQ(rc.set(mem, nullptr, buffer.data()), 0);
    StationState closed = byteBuiltStation();
    closed.config.setStationName("");
    const StationConfig::Bytes before = closed.config.bytes();
    EXPECT_EQ(rc.set(mem, &closed, buffer.data()), 0);
    EXPECT_EQ(closed.config.bytes(), before);
  }
}

TEST(ReportData, AFailedSaveReturnsZeroAndKeepsTheValuesInMemory) {
  platform::MemFileSystem mem;
  ASSERT_TRUE(mem.createDirectories("/st").isOk());
  StationState st = byteBuiltStation();
  mem.failWrites(true);
  const ChillHoursReportRecord chill{0x07D6030F, 50, 3};
  EXPECT_EQ(SetChillHoursReportData(mem, &st, &chill), 0);
  const ReportSettings s(st.config);
  EXPECT_EQ(s.chillHoursThreshold(), 50);
  EXPECT_EQ(s.chillHoursSensor(), 3);
  EXPECT_EQ(s.chillHoursStart(), (quantities::Date{2006, 3, 15}));
}

TEST(ReportData, ANewStationHasTheDefaults) {
  const StationConfig config;
  const ReportSettings s(config);
  EXPECT_EQ(s.chillHoursThreshold(), 45);
  EXPECT_EQ(s.soilHoursThreshold(), 32);
  EXPECT_EQ(s.soilHoursSensor(), 9);
  EXPECT_EQ(s.sunHoursThreshold(), 100);
  EXPECT_EQ(s.etKFactor(), 1.0);
  EXPECT_EQ(s.leafHoursThreshold(1), 850);
  EXPECT_EQ(s.leafHoursThreshold(2), 700);
  EXPECT_EQ(s.fuelHeatBase(), 65.0);
  EXPECT_EQ(s.fuelThreshold(), 100.0);
  EXPECT_FALSE(s.soilHoursStart().has_value());
}

// What a module stored is kept, and read with care.
TEST(ReportData, StoredNonsenseReadsAsNotSetOrTheDefault) {
  StationConfig config;
  config.set(data::kSoilStart, std::uint32_t{0x07D6021E});   // 30 February 2006
  config.set(data::kChillStart, std::uint32_t{0x07D6021C});  // 28 February 2006
  config.set(data::kEtKFactor, std::numeric_limits<float>::quiet_NaN());
  config.set(data::kFuelHeatBase, std::numeric_limits<float>::infinity());
  config.set(data::kSunThreshold, std::int16_t{-1});
  const ReportSettings s(config);
  EXPECT_FALSE(s.soilHoursStart().has_value());
  EXPECT_EQ(config.get(data::kSoilStart), 0x07D6021EU);
  EXPECT_EQ(s.chillHoursStart(), (quantities::Date{2006, 2, 28}));
  EXPECT_EQ(s.etKFactor(), 1.0);
  EXPECT_EQ(s.fuelHeatBase(), 65.0);
  EXPECT_FALSE(s.sunHoursThreshold().has_value());
}

}  // namespace
}  // namespace reports
