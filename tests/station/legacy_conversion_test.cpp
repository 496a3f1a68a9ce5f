#include "station/legacy_conversion.h"

#include <gtest/gtest.h>

#include "platform/testing/mem_file_system.h"
#include "record_fixture.h"
#include "station/station_file.h"

namespace station {
namespace {

using testing::RawRecord;

// A version 5.0 file with a value at every offset of the old layout's table.
RawRecord version50File() {
  RawRecord r(2088);
  r.u16(0, 4).u16(2, 2400).u8(10, 7).u8(8, 0).u8(1896, 9).text(53, "555-0199").text(133, "AT&F");
  r.u16(1898, 3).u16(1912, 90).u8(1406, 2).text(12, "Estaci\xF3n Vieja");
  r.text(803, "C:\\ESTACION");
  for (int i = 0; i < 6; ++i) r.u16(1294 + 2 * i, static_cast<std::uint16_t>(10 + i));
  r.f32(1900, 40.5F).f32(1904, -3.7F).u16(622, 2200).u8(1268, 0).u8(1269, 5).u8(1452, 1);
  r.u16(1386, 12).f32(1456, 1.0F).u16(610, 1).u16(1438, 2).u16(612, 3).u16(1114, 4);
  r.text(392, "0.2 mm 0123456789")
      .f32(388, 0.2F)
      .u8(1491, 2)
      .u16(608, static_cast<std::uint16_t>(-5))
      .u8(1437, 15);
  r.u16(1028, 650).u16(1030, 183);
  r.text(1032, "Madrid")
      .text(1072, "Madrid (Comunidad)")
      .text(1102, "667 m")
      .text(1407, "3 42' 0\" W");
  r.text(1422, "40 30' 0\" N");
  for (int m = 0; m < 12; ++m)
    r.u16(954 + 2 * m, m == 3 ? 32767 : static_cast<std::uint16_t>(400 + m));
  for (int m = 0; m < 12; ++m) r.f32(980 + 4 * m, 1.5F);
  r.u8(1440, 1).u8(802, 0).u8(1474, 3).u8(1385, 1).u16(620, 8).u16(1492, 120);
  r.u8(1270, 1).u8(1293, 4).text(1306, "texto").u32(1496, 0x07D60301).u8(1388, 1);
  r.text(1134, "Nombre 1")
      .text(1194, "Nombre 4")
      .u32(1216, 11)
      .u16(1232, 12)
      .u16(1240, 13)
      .u8(1248, 9)
      .u8(1252, 14);
  r.u32(1256, 0x07D60401).u16(1260, 30).u32(1264, 0x07D60501).u32(1392, 0x07D60601).u16(1400, 44);
  return r;
}

TEST(LegacyConversion, Version50FieldsLandInTheirNewPlaces) {
  const RawRecord old = version50File();
  auto converted =
      convertLegacy50Record(std::as_bytes(std::span(old.str().data(), old.str().size())));
  ASSERT_TRUE(converted.isOk()) << converted.status().toString();
  const StationConfig& c = *converted;
  EXPECT_EQ(c.formatId(), 4);
  EXPECT_EQ(c.revision(), 15);
  EXPECT_EQ(c.comPort(), 4);
  EXPECT_EQ(c.baudRate(), 2400);
  EXPECT_TRUE(c.useModem());
  EXPECT_FALSE(c.pulseDial());
  EXPECT_EQ(c.connectWait(), 9);
  EXPECT_EQ(c.phoneNumber(), "555-0199");
  EXPECT_EQ(c.modemInit(), "AT&F");
  EXPECT_EQ(c.linkType(), 3);
  EXPECT_EQ(c.timeoutSeconds(), 90);
  EXPECT_EQ(c.get(layout::kSpare178), 1) << "a non-zero old value becomes 1";
  EXPECT_EQ(c.stationName(), "Estación Vieja") << "old text is Windows-1252";
  EXPECT_EQ(c.model(), 5);
  EXPECT_EQ(c.sensorMask(), 0xE791U);
  EXPECT_EQ(c.latDeg(), 10);
  EXPECT_EQ(c.lonSec(), 15);
  EXPECT_FLOAT_EQ(c.latitude(), 40.5F);
  EXPECT_FLOAT_EQ(c.longitude(), -3.7F);
  EXPECT_EQ(c.elevation(), 2200);
  EXPECT_FALSE(c.latSouth());
  EXPECT_TRUE(c.lonWest());
  EXPECT_TRUE(c.dstOn());
  EXPECT_TRUE(c.dstManualOn());
  EXPECT_TRUE(c.consoleDstManual());
  EXPECT_TRUE(c.dstManual());
  EXPECT_EQ(c.timeZoneIndex(), 12);
  EXPECT_FLOAT_EQ(c.gmtOffset(), 1.0F);
  EXPECT_EQ(c.calOffsets(0), 1);
  EXPECT_EQ(c.calOffsets(1), 2);
  EXPECT_EQ(c.calOffsets(2), 3);
  EXPECT_EQ(c.calOffsets(3), 4);
  EXPECT_EQ(c.rainCollectorText(), "0.2 mm 0123456") << "cut to the new width";
  EXPECT_EQ(c.bytes()[566], std::byte{0});
  EXPECT_FLOAT_EQ(c.rainClick(), 0.2F);
  EXPECT_EQ(c.rainCollectorType(), 2);
  EXPECT_EQ(c.calOffsetExtra(), -5);
  EXPECT_EQ(c.archiveInterval(), 15);
  EXPECT_FLOAT_EQ(c.coolBase(), 65.0F);
  EXPECT_FLOAT_EQ(c.heatBase(), 18.3F);
  EXPECT_EQ(c.noaaCity(), "Madrid");
  EXPECT_EQ(c.noaaState(), "Madrid (Comunidad)");
  EXPECT_EQ(c.noaaElevationText(), "667 m");
  EXPECT_EQ(c.noaaLonText(), "3 42' 0\" W");
  EXPECT_EQ(c.noaaLatText(), "40 30' 0\" N");
  EXPECT_FLOAT_EQ(c.normalTemp(0), 40.0F);
  EXPECT_FLOAT_EQ(c.normalTemp(3), -32768.0F) << "32767 marked a month without a normal";
  EXPECT_FLOAT_EQ(c.normalTemp(11), 41.1F);
  EXPECT_FLOAT_EQ(c.normalRain(5), 1.5F);
  EXPECT_EQ(c.noaaDegreeDayMethod(), 1);
  EXPECT_EQ(c.get(layout::kNoaaOpt1001), 0);
  EXPECT_TRUE(c.autoClearEnabled());
  EXPECT_TRUE(c.exportAfterDownload());
  EXPECT_EQ(c.get(layout::kOpt1004), 8);
  EXPECT_EQ(c.autoClearTime(), 120);
  EXPECT_EQ(c.get(layout::kLegacyHourFlags, 0), 1);
  EXPECT_EQ(c.get(layout::kLegacyHourFlags, 23), 1);
  EXPECT_EQ(c.get(layout::kLegacyHourFlags, 1), 0);
  EXPECT_EQ(c.text(layout::kLegacyText), "texto");
  EXPECT_EQ(c.lastAutoClear(), 0x07D60301U);
  EXPECT_TRUE(c.clearAfterDownload());
  EXPECT_EQ(c.text(layout::TextField{1162, 20, 19}), "Nombre 1");
  EXPECT_EQ(c.text(layout::TextField{1222, 20, 19}), "Nombre 4");
  EXPECT_EQ(c.get(layout::Field<std::uint32_t>{1244}), 11U);
  EXPECT_EQ(c.get(layout::Field<std::uint16_t>{1260}), 12);
  EXPECT_EQ(c.get(layout::Field<std::uint16_t>{1268}), 13);
  EXPECT_EQ(c.get(layout::Field<std::uint8_t>{1276}), 1);
  EXPECT_EQ(c.get(layout::Field<std::uint8_t>{1280}), 14);
  EXPECT_EQ(c.get(layout::Field<std::uint32_t>{1284}), 0x07D60401U);
  EXPECT_EQ(c.get(layout::Field<std::uint16_t>{1288}), 30);
  EXPECT_EQ(c.get(layout::Field<std::uint32_t>{1292}), 0x07D60501U);
  EXPECT_EQ(c.get(layout::Field<std::uint32_t>{1296}), 0x07D60601U);
  EXPECT_EQ(c.get(layout::Field<std::uint16_t>{1300}), 44);
  EXPECT_EQ(c.aprsPort(), 23U) << "fields the old file lacks keep their defaults";
}

TEST(LegacyConversion, StationFileIsReplacedAndTheOldOneKeptWithoutReplacingABackup) {
  platform::MemFileSystem fs;
  const RawRecord old = version50File();
  fs.setContents("/st/STATION.CFG", old.str());
  fs.setContents("/st/Backup/STATION.CFG", "an earlier backup");
  auto converted = convertLegacy50StationFile(fs, "/st");
  ASSERT_TRUE(converted.isOk()) << converted.status().toString();
  EXPECT_EQ(fs.contents("/st/Backup/STATION.CFG"), "an earlier backup");
  EXPECT_EQ(fs.contents("/st/Backup/STATION.CFG.1"), old.str());
  ASSERT_EQ(fs.contents("/st/STATION.CFG").size(), 4096U);
  auto reread = readStationRecord(fs, "/st");
  ASSERT_TRUE(reread.isOk());
  EXPECT_EQ(reread->stationName(), "Estación Vieja");
  EXPECT_EQ(reread->stationDir(), "/st");
}

TEST(LegacyConversion, FailedWriteLeavesTheOldFileWhole) {
  platform::MemFileSystem fs;
  const RawRecord old = version50File();
  fs.setContents("/st/STATION.CFG", old.str());
  fs.failWrites(true);
  EXPECT_FALSE(convertLegacy50StationFile(fs, "/st").isOk());
  fs.failWrites(false);
  EXPECT_EQ(fs.contents("/st/STATION.CFG"), old.str());
}

TEST(LegacyConversion, NameOfAnOldFileStopsAtThePhoneNumber) {
  platform::MemFileSystem fs;
  RawRecord old = version50File();
  old.text(12, std::string(41, 'N'));  // no terminator before the phone number at 53
  fs.setContents("/st/STATION.CFG", old.str());
  EXPECT_EQ(readStationName(fs, "/st"), std::string(41, 'N'));
}

}  // namespace
}  // namespace station
