#include "station/station_config.h"

#include <gtest/gtest.h>

#include "platform/testing/mem_file_system.h"
#include "record_fixture.h"
#include "station/station_file.h"

namespace station {
namespace {

using testing::RawRecord;

// A revision-15 record laid out by hand from the record's table, with odd bytes in the
// places no field names, so that a save that disturbs them shows.
RawRecord handBuiltRecord() {
  RawRecord r;
  for (std::size_t at :
       {537u, 578u, 579u, 1133u, 1134u, 1135u, 1494u, 1495u, 1690u, 2000u, 4095u}) {
    r.u8(at, static_cast<std::uint8_t>(0xA0 + at % 16));
  }
  r.u16(0, 4).u16(2, 15).u16(4, 3).u16(6, 2400).u8(8, 1).u8(9, 1).u8(10, 1).u8(11, 7);
  r.text(12, "555-0100").text(92, "ATZ");
  r.u16(172, 0).u16(174, 120).u16(176, 2).u8(178, 0);
  r.text(179, "Casa Jardín").text(243, "/somewhere/else");
  r.u32(504, 0x2601).u32(508, 0);
  r.u16(512, 37).u16(514, 36).u16(516, 0).u16(518, 122).u16(520, 6).u16(522, 0);
  r.f32(524, 37.6F).f32(528, -122.1F).u16(532, 30).u8(534, 0).u8(535, 1).u8(536, 1);
  r.u16(538, 0xFFFF).f32(540, -7.5F);
  r.u16(544, 1).u16(546, 2).u16(548, 3).u16(550, 0xFFFC);
  r.text(552, "0.2 mm").f32(568, 0.2F).u16(572, 0xFFF6).u8(574, 2).u8(575, 10);
  r.f32(768, 18.5F).f32(772, 60.0F).text(776, "Ciudad").text(816, "Estado").text(856, "120 m");
  r.f32(872, 45.5F).f32(872 + 44, 40.0F).f32(920, 2.5F).f32(920 + 44, -1.0F);
  r.text(968, "122° 6' 0\" W").text(984, "37° 36' 0\" N").u8(1000, 0);
  r.u8(1002, 1).u8(1003, 1).u16(1006, 360).u32(1112, 0x07E90C01).u8(1116, 1).u8(1117, 3);
  r.u32(1136, 0xDEADBEEF).u32(1140, 0xCAFEF00D).u16(1152, 3);
  r.u16(1300, 40).text(1359, "EA4XYZ").u32(1440, 14580).f32(1496, 2.5F).u8(1500, 1).u8(1501, 1);
  r.u16(1502, 5)
      .u16(1510, 2)
      .u32(1512, 1234)
      .u16(1516, 77)
      .text(1518, "IMADRID12")
      .text(1539, "secreto");
  r.u8(1605, 2).u8(1607, 1).text(1620, "ESCUELA").u8(1681, 1).u16(1682, 4).u16(1684, 1);
  return r;
}

TEST(StationRecord, HandBuiltRecordReadsFieldForField) {
  platform::MemFileSystem fs;
  fs.setContents("/st/STATION.CFG", handBuiltRecord().str());
  auto read = readStationRecord(fs, "/st");
  ASSERT_TRUE(read.isOk()) << read.status().toString();
  const StationConfig& c = *read;
  EXPECT_EQ(c.formatId(), 4);
  EXPECT_EQ(c.revision(), 15);
  EXPECT_EQ(c.comPort(), 3);
  EXPECT_EQ(c.baudRate(), 2400);
  EXPECT_TRUE(c.useModem());
  EXPECT_TRUE(c.pulseDial());
  EXPECT_EQ(c.linkBusy(), 0) << "the download dialog's flag never survives a read";
  EXPECT_EQ(c.connectWait(), 7);
  EXPECT_EQ(c.phoneNumber(), "555-0100");
  EXPECT_EQ(c.modemInit(), "ATZ");
  EXPECT_EQ(c.linkType(), 0);
  EXPECT_EQ(c.timeoutSeconds(), 120);
  EXPECT_EQ(c.model(), 2);
  EXPECT_TRUE(c.isTessel());
  EXPECT_EQ(c.stationName(), "Casa Jardín");
  EXPECT_EQ(c.stationDir(), "/st") << "the directory read from wins over the stored one";
  EXPECT_EQ(c.sensorMask(), 0x2601U);
  EXPECT_EQ(c.latDeg(), 37);
  EXPECT_EQ(c.latMin(), 36);
  EXPECT_EQ(c.lonDeg(), 122);
  EXPECT_EQ(c.lonMin(), 6);
  EXPECT_FLOAT_EQ(c.latitude(), 37.6F);
  EXPECT_FLOAT_EQ(c.longitude(), -122.1F);
  EXPECT_EQ(c.elevation(), 30);
  EXPECT_FALSE(c.latSouth());
  EXPECT_TRUE(c.lonWest());
  EXPECT_TRUE(c.dstOn());
  EXPECT_EQ(c.timeZoneIndex(), -1);
  EXPECT_FLOAT_EQ(c.gmtOffset(), -7.5F);
  EXPECT_EQ(c.calOffsets(0), 1);
  EXPECT_EQ(c.calOffsets(3), -4);
  EXPECT_EQ(c.rainCollectorText(), "0.2 mm");
  EXPECT_FLOAT_EQ(c.rainClick(), 0.2F);
  EXPECT_EQ(c.calOffsetExtra(), -10);
  EXPECT_EQ(c.rainCollectorType(), 2);
  EXPECT_EQ(c.archiveInterval(), 10);
  EXPECT_FLOAT_EQ(c.coolBase(), 18.5F);
  EXPECT_FLOAT_EQ(c.heatBase(), 60.0F);
  EXPECT_EQ(c.noaaCity(), "Ciudad");
  EXPECT_EQ(c.noaaState(), "Estado");
  EXPECT_EQ(c.noaaElevationText(), "120 m");
  EXPECT_FLOAT_EQ(c.normalTemp(0), 45.5F);
  EXPECT_FLOAT_EQ(c.normalTemp(11), 40.0F);
  EXPECT_FLOAT_EQ(c.normalRain(0), 2.5F);
  EXPECT_FLOAT_EQ(c.normalRain(11), -1.0F);
  EXPECT_EQ(c.noaaLonText(), "122° 6' 0\" W");
  EXPECT_EQ(c.noaaLatText(), "37° 36' 0\" N");
  EXPECT_EQ(c.noaaDegreeDayMethod(), 0);
  EXPECT_TRUE(c.autoClearEnabled());
  EXPECT_TRUE(c.exportAfterDownload());
  EXPECT_EQ(c.autoClearTime(), 360);
  EXPECT_EQ(c.lastAutoClear(), 0x07E90C01U);
  EXPECT_TRUE(c.clearAfterDownload());
  EXPECT_EQ(c.autoClearItems(0), 3);
  EXPECT_EQ(c.aprsCallSign(), "EA4XYZ");
  EXPECT_EQ(c.aprsPort(), 14580U);
  EXPECT_FLOAT_EQ(c.skinFactor(), 2.5F);
  EXPECT_TRUE(c.consoleDstManual());
  EXPECT_TRUE(c.dstManual());
  EXPECT_EQ(c.sensorOffsets(0), 5);
  EXPECT_EQ(c.zoneCode(), 2);
  EXPECT_EQ(c.wuLastTime(), 1234U);
  EXPECT_EQ(c.wuLastDate(), 77);
  EXPECT_EQ(c.wuStationId(), "IMADRID12");
  EXPECT_EQ(c.wuPassword(), "secreto");
  EXPECT_EQ(c.archiveOnBulletin(), 0);
  EXPECT_EQ(c.hiLowOnBulletin(), 2);
  EXPECT_TRUE(c.dstManualOn());
  EXPECT_EQ(c.globeSchoolId(), "ESCUELA");
  EXPECT_TRUE(c.repeatersEnabled());
  EXPECT_EQ(c.retransmitChoice(), 4);
}

TEST(StationRecord, SaveChangesOnlyWhatTheProgramSets) {
  platform::MemFileSystem fs;
  const RawRecord original = handBuiltRecord();
  fs.setContents("/st/STATION.CFG", original.str());
  auto read = readStationRecord(fs, "/st");
  ASSERT_TRUE(read.isOk());
  ASSERT_TRUE(writeStationRecord(fs, *read, "/st").isOk());

  // What a read sets: the directory, the link-busy flag, and the run-time area.
  RawRecord expected = original;
  expected.text(243, std::string("/st") + std::string(257, '\0'));
  expected.u8(10, 0);
  for (std::size_t at = 1136; at < 1162; ++at) expected.u8(at, 0);
  const std::string saved = fs.contents("/st/STATION.CFG");
  ASSERT_EQ(saved.size(), 4096U);
  for (std::size_t at = 0; at < 4096; ++at) {
    ASSERT_EQ(static_cast<std::uint8_t>(saved[at]), expected.byteAt(at)) << "byte " << at;
  }
}

TEST(StationRecord, NewRecordHoldsTheDefaultsAtTheirOffsets) {
  platform::MemFileSystem fs;
  ASSERT_TRUE(writeStationRecord(fs, StationConfig(), "/st").isOk());
  RawRecord want;
  want.u16(0, 4).u16(2, 15).u16(4, 1).u16(6, 19200).u8(11, 2).text(92, "AT &F S7=60 E Q V X4");
  want.u16(172, 3).u16(174, 60).u16(176, 5).u32(504, 0xE791);
  want.u16(512, 0xFE0C).u16(518, 0xFE0C).u16(538, 4).f32(540, -8.0F);
  want.text(552, ".01 in").f32(568, 0.01F).u8(574, 1).u8(575, 30);
  for (int g = 0; g < 4; ++g) {
    for (int w = 7; w < 11; ++w) want.u32(580 + 44 * g + 4 * w, 0xC0C0C0);
  }
  for (int i = 0; i < 5; ++i) want.u16(758 + 2 * i, 6);
  want.f32(768, 65.0F).f32(772, 65.0F);
  for (int m = 0; m < 12; ++m) want.f32(872 + 4 * m, -32768.0F).f32(920 + 4 * m, -32768.0F);
  want.u8(1000, 1).u16(1004, 5).u16(1006, 0xFFFF);
  want.u16(1288, 32).u16(1300, 45).u16(1314, 850).u16(1316, 700).f32(1320, 1.0F).u16(1332, 100);
  want.u8(1334, 1).u8(1335, 1).f32(1340, 100.0F).f32(1352, 65.0F).u8(1356, 9);
  want.text(1379, kDefaultAprsServer).text(1409, kDefaultAprsLogin).u32(1440, 23);
  want.f32(1496, 1.0F).u16(1516, 0xFFFF).u16(1612, 0xFFFF).u32(1616, 0xFFFFFFFF).u16(1684, 1);
  EXPECT_EQ(fs.contents("/st/STATION.CFG"), want.str());
}

struct ModelCase {
  std::uint16_t code;
  std::uint16_t linkType;
  std::uint32_t mask;
  const char* name;
};

TEST(StationRecord, ModelSetterSetsLinkTypeAndSensors) {
  constexpr ModelCase kCases[] = {
      {0, 0, 0x6701, "Basalt II"},        {1, 0, 0x2601, "Tessel III"},
      {2, 0, 0x2601, "Tessel II"},        {3, 0, 0x2201, "Tessel IIS"},
      {4, 0, 0x6100, "Lumeno"},           {5, 3, 0xE791, "Cirrant Pro"},
      {6, 3, 0xFF91, "Cirrant Pro Plus"},
  };
  for (const ModelCase& m : kCases) {
    StationConfig c;
    c.setSensorMask2(3);
    ASSERT_TRUE(c.setModel(m.code)) << m.name;
    EXPECT_EQ(c.linkType(), m.linkType) << m.name;
    EXPECT_EQ(c.sensorMask(), m.mask) << m.name;
    EXPECT_EQ(c.sensorMask2(), 0U) << m.name;
    EXPECT_EQ(modelName(m.code), m.name);
  }
  StationConfig c;
  const auto before = c.bytes();
  EXPECT_FALSE(c.setModel(7));
  EXPECT_EQ(c.bytes(), before) << "a refused model changes nothing";
}

TEST(StationRecord, SensorTestNeedsEveryBitOfTheMask) {
  StationConfig c;
  c.setSensorMask(0x11);
  c.setSensorMask2(0x2);
  EXPECT_TRUE(c.hasSensors(0, 0x11));
  EXPECT_FALSE(c.hasSensors(0, 0x13));
  EXPECT_TRUE(c.hasSensors(1, 0x2));
  EXPECT_FALSE(c.hasSensors(1, 0x1));
  EXPECT_FALSE(c.hasSensors(2, 0)) << "only words 0 and 1 exist";
}

TEST(StationRecord, TextWithoutTerminatorStopsAtItsWidth) {
  RawRecord r = handBuiltRecord();
  r.text(179, std::string(64, 'N'));  // the name runs into the directory field
  r.text(1359, std::string(20, 'C'));
  platform::MemFileSystem fs;
  fs.setContents("/st/STATION.CFG", r.str());
  auto read = readStationRecord(fs, "/st");
  ASSERT_TRUE(read.isOk());
  EXPECT_EQ(read->stationName(), std::string(63, 'N'));
  EXPECT_EQ(read->aprsCallSign(), std::string(19, 'C'));
}

TEST(StationRecord, OlderTextIsTakenAsWindows1252) {
  RawRecord r = handBuiltRecord();
  r.text(179, std::string("Jard\xEDn\0", 7));
  platform::MemFileSystem fs;
  fs.setContents("/st/STATION.CFG", r.str());
  auto read = readStationRecord(fs, "/st");
  ASSERT_TRUE(read.isOk());
  EXPECT_EQ(read->stationName(), "Jardín");
}

TEST(StationRecord, LongTextIsCutAtACharacterBoundaryAndOldTailCleared) {
  StationConfig c;
  c.setWuPassword(std::string(64, 'x'));
  c.setWuPassword("abc");
  EXPECT_EQ(c.wuPassword(), "abc");
  for (std::size_t at = 1539 + 3; at < 1539 + 65; ++at)
    EXPECT_EQ(c.bytes()[at], std::byte{0}) << at;
  c.setStationName(std::string(62, 'a') + "ñ");  // 64 bytes: the two-byte letter cannot fit
  EXPECT_EQ(c.stationName(), std::string(62, 'a'));
  EXPECT_EQ(c.bytes()[242], std::byte{0});
}

}  // namespace
}  // namespace station
