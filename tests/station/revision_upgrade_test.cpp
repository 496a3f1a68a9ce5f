#include "station/revision_upgrade.h"

#include <gtest/gtest.h>

#include "platform/testing/mem_file_system.h"
#include "record_fixture.h"
#include "station/station_config.h"
#include "station/station_file.h"

namespace station {
namespace {

using testing::RawRecord;

// An old record as a file of that revision would hold it: fields later revisions added are
// filled with junk that the upgrade must replace.
RawRecord oldRecord(int revision) {
  RawRecord r;
  r.u16(0, 4).u16(2, static_cast<std::uint16_t>(revision)).u16(4, 2).u16(176, 1).u32(504, 0x2601);
  r.u16(512, 37).f32(524, 37.6F).f32(528, -122.1F);
  r.text(179, "Vieja").u8(1357, 3).u8(1605, 1).u8(1606, 1).u16(1684, 7).u8(1686, 9);
  for (std::size_t at = 1448; at < 1494; ++at) r.u8(at, 0x5A);
  r.u16(1502, 44)
      .u8(1500, 1)
      .text(1359, "OLDCALL")
      .u16(1516, 12)
      .text(1518, "OLDID")
      .text(1539, "oldpw");
  r.u8(1604, 3).u8(1607, 1).u32(1608, 0x01020304).u16(1612, 8).u16(1614, 9).u32(1616, 10);
  r.text(1620, "SCHOOL").u8(1680, 1).u8(1681, 1).u16(1682, 5);
  return r;
}

TEST(RevisionUpgrade, RevisionZeroRunsEveryStep) {
  platform::MemFileSystem fs;
  fs.setContents("/st/STATION.CFG", oldRecord(0).str());
  auto read = readStationRecord(fs, "/st");
  ASSERT_TRUE(read.isOk()) << read.status().toString();

  RawRecord want = oldRecord(0);
  want.u16(2, 15).text(243, "/st");
  want.f32(1352, 65.0F);                                                  // a
  want.u8(1356, 9).u8(1358, 0).u8(1357, 15);                              // b
  want.text(1359, std::string(20, '\0')).text(1379, kDefaultAprsServer);  // c
  want.text(1409, kDefaultAprsLogin).u32(1440, 23);
  for (std::size_t at = 1448; at < 1494; ++at) want.u8(at, 0);  // d
  want.u8(1500, 0);                                             // e
  want.u16(176, 6).u16(1502, 0).f32(1496, 1.0F);                // f: model 1 becomes 6
  want.u16(1510, 2);                                            // g: 37.6 N 122.1 W
  want.u16(1516, 0xFFFF)
      .u32(1512, 0)
      .text(1518, std::string(21, '\0'))
      .text(1539, std::string(65, '\0'));  // h
  want.u8(1604, 0);                        // i
  want.u8(1605, 0).u8(1606, 0);            // j: now a Cirrant
  want.u16(1612, 0xFFFF)
      .u32(1616, 0xFFFFFFFF)
      .u8(1501, 0)
      .u32(1608, 0)
      .u8(1607, 0)
      .u16(1614, 0);                                                 // k
  want.text(1620, std::string(20, '\0')).u32(1680, 0).u16(1684, 1);  // l, m, n
  want.u32(1686, 0);                                                 // o
  const auto saved = read->encodeForDisk();
  for (std::size_t at = 0; at < 4096; ++at) {
    ASSERT_EQ(std::to_integer<std::uint8_t>(saved[at]), want.byteAt(at)) << "byte " << at;
  }
}

struct EntryCase {
  const char* name;
  int revision;
  std::uint16_t model;
  std::uint16_t zone;
  std::uint8_t leafSensor;
  std::uint8_t hiLow;
  std::uint16_t opt1684;
  std::uint8_t bulletin;
};

TEST(RevisionUpgrade, EachRevisionStartsAtItsOwnStep) {
  constexpr EntryCase kCases[] = {
      {"r1 enters at b", 1, 6, 2, 15, 0, 1, 0},
      {"r5 renumbers the model", 5, 6, 2, 3, 0, 1, 0},
      {"r6 keeps the model, computes the zone", 6, 1, 2, 3, 2, 1, 0},
      {"r7 leaves the zone", 7, 1, 0, 3, 2, 1, 0},
      {"r10 keeps the bulletin choices", 10, 1, 0, 3, 1, 1, 0},
      {"r14 only clears the bulletin flags", 14, 1, 0, 3, 1, 7, 0},
      {"r15 is current", 15, 1, 0, 3, 1, 7, 9},
  };
  for (const EntryCase& c : kCases) {
    const RawRecord raw = oldRecord(c.revision);
    StationConfig config = StationConfig::fromBytes(std::span<const std::byte, 4096>(
        reinterpret_cast<const std::byte*>(raw.str().data()), 4096));
    ASSERT_TRUE(upgradeRevision(config).isOk()) << c.name;
    EXPECT_EQ(config.revision(), 15) << c.name;
    EXPECT_EQ(config.model(), c.model) << c.name;
    EXPECT_EQ(config.zoneCode(), c.zone) << c.name;
    EXPECT_EQ(config.get(layout::kLeafHoursSensor), c.leafSensor) << c.name;
    EXPECT_EQ(config.hiLowOnBulletin(), c.hiLow) << c.name;
    EXPECT_EQ(config.get(layout::kOpt1684), c.opt1684) << c.name;
    EXPECT_EQ(config.bulletinFlags(0), c.bulletin) << c.name;
  }
}

TEST(RevisionUpgrade, LocationNotSetGivesZoneZero) {
  RawRecord raw = oldRecord(6);
  raw.u16(512, static_cast<std::uint16_t>(-500)).u16(1510, 2);
  StationConfig config = StationConfig::fromBytes(
      std::span<const std::byte, 4096>(reinterpret_cast<const std::byte*>(raw.str().data()), 4096));
  ASSERT_TRUE(upgradeRevision(config).isOk());
  EXPECT_EQ(config.zoneCode(), 0);
}

TEST(RevisionUpgrade, UnknownRevisionsAndFormatsAreRefusedUntouched) {
  struct Bad {
    const char* name;
    std::uint16_t format;
    std::uint16_t revision;
  };
  constexpr Bad kBad[] = {
      {"newer revision", 4, 16}, {"negative revision", 4, 0xFFFF}, {"other format", 3, 0}};
  for (const Bad& b : kBad) {
    RawRecord raw = oldRecord(0);
    raw.u16(0, b.format).u16(2, b.revision);
    StationConfig config = StationConfig::fromBytes(std::span<const std::byte, 4096>(
        reinterpret_cast<const std::byte*>(raw.str().data()), 4096));
    const auto before = config.bytes();
    EXPECT_FALSE(upgradeRevision(config).isOk()) << b.name;
    EXPECT_EQ(config.bytes(), before) << b.name;

    platform::MemFileSystem fs;
    fs.setContents("/st/STATION.CFG", raw.str());
    auto read = readStationRecord(fs, "/st");
    ASSERT_FALSE(read.isOk()) << b.name;
    EXPECT_EQ(read.status().code(), kStationReadFailed) << b.name;
  }
}

}  // namespace
}  // namespace station
