#include "link/loop_packet.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "link/crc16.h"

namespace stationlink {
namespace {

using Packet = std::array<std::uint8_t, kLoopPacketBytes>;

// A packet as the console sends it: "LOO", trend -20 (0xEC), type 0, then the readings
// at their offsets, LF CR, and the CRC high byte first.
Packet packet(const std::vector<std::pair<std::size_t, std::uint8_t>>& changes = {}) {
  Packet p{};
  p[0] = 'L';
  p[1] = 'O';
  p[2] = 'O';
  p[3] = 0xEC;
  p[7] = 0x8E;  // barometer 30094 = 0x758E
  p[8] = 0x75;
  p[9] = 0xB4;  // inside 69.2 °F = 692 = 0x02B4
  p[10] = 0x02;
  p[11] = 45;    // inside humidity
  p[12] = 0x1E;  // outside 54.2 °F = 542 = 0x021E
  p[13] = 0x02;
  p[14] = 7;  // wind
  p[15] = 5;
  p[16] = 0x0E;  // direction 270 = 0x010E
  p[17] = 0x01;
  for (std::size_t i = 18; i < 33; ++i) p[i] = 0xFF;
  p[33] = 81;  // outside humidity
  for (std::size_t i = 34; i < 41; ++i) p[i] = 0xFF;
  p[41] = 0x03;  // rain rate 3 tips an hour
  p[43] = 24;    // UV 2.4
  p[44] = 0x2C;  // solar 300 = 0x012C
  p[45] = 0x01;
  p[50] = 12;    // rain today 12 tips
  p[54] = 0x34;  // rain this year 0x1234
  p[55] = 0x12;
  p[87] = 0x00;  // console battery 1024
  p[88] = 0x04;
  p[89] = 0x06;
  p[90] = 45;
  p[91] = 0xD4;  // sunrise 724 = 0x02D4
  p[92] = 0x02;
  p[93] = 0x0E;  // sunset 1806 = 0x070E
  p[94] = 0x07;
  p[95] = '\n';
  p[96] = '\r';
  for (auto [at, v] : changes) p[at] = v;
  std::uint16_t crc = crc16(std::span<const std::uint8_t>(p.data(), 97));
  p[97] = static_cast<std::uint8_t>(crc >> 8);
  p[98] = static_cast<std::uint8_t>(crc & 0xFF);
  return p;
}

TEST(LoopPacket, DecodesEveryReadingAtItsOffset) {
  SensorImage s = resetSensorImage();
  ASSERT_EQ(decodeLoopPacket(packet(), s), kLoopDecoded);
  EXPECT_EQ(s.barometerTrend, -20);
  EXPECT_EQ(s.barometer, 30094);
  EXPECT_EQ(s.insideTemperature, 692);
  EXPECT_EQ(s.insideHumidity, 45);
  EXPECT_EQ(s.outsideTemperature, 542);
  EXPECT_EQ(s.windSpeed, 7);
  EXPECT_EQ(s.windSpeedAverage, 5);
  EXPECT_EQ(s.windDirection, 270);
  EXPECT_EQ(s.outsideHumidity, 81);
  EXPECT_EQ(s.extraHumidities[0], 0xFF);
  EXPECT_EQ(s.rainRate, 3);
  EXPECT_EQ(s.uvIndex, 24);
  EXPECT_EQ(s.solarRadiation, 300);
  EXPECT_EQ(s.rainDay, 12);
  EXPECT_EQ(s.rainYear, 0x1234);
  EXPECT_EQ(s.consoleBattery, 1024);
  EXPECT_EQ(s.forecastIcons, 6);
  EXPECT_EQ(s.forecastRule, 45);
  EXPECT_EQ(s.sunrise, 724);
  EXPECT_EQ(s.sunset, 1806);

  // The bytes a module receives, at the offsets of the module interface.
  auto bytes = encodeSensorImage(s);
  EXPECT_EQ(bytes[0], 0x1E);
  EXPECT_EQ(bytes[1], 0x02);
  EXPECT_EQ(bytes[6], 0x8E);
  EXPECT_EQ(bytes[7], 0x75);
  EXPECT_EQ(bytes[12], 0x34);
  EXPECT_EQ(bytes[13], 0x12);
  EXPECT_EQ(bytes[84], 0xEC);
  EXPECT_EQ(bytes[85], 0xFF);
  EXPECT_EQ(bytes[88], 0x00);
  EXPECT_EQ(bytes[89], 0x04);
}

TEST(LoopPacket, LimitsAndNoDataValues) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::size_t, std::uint8_t>> changes;
    std::int16_t barometer;
    std::uint8_t insideHumidity;
    std::int16_t outsideTemperature;
  };
  const Case kCases[] = {
      {"barometer 15999", {{7, 0x7F}, {8, 0x3E}}, kImageNone16, 45, 542},
      {"barometer 16000", {{7, 0x80}, {8, 0x3E}}, 16000, 45, 542},
      {"barometer 32500", {{7, 0xF4}, {8, 0x7E}}, 32500, 45, 542},
      {"barometer 32501", {{7, 0xF5}, {8, 0x7E}}, kImageNone16, 45, 542},
      {"humidity 127", {{11, 127}}, 30094, 0xFF, 542},
      {"humidity 128", {{11, 128}}, 30094, 0xFF, 542},
      {"humidity 100", {{11, 100}}, 30094, 100, 542},
      {"dashed temperature", {{12, 0xFF}, {13, 0x7F}}, 30094, 45, kImageNone16},
  };
  for (const Case& c : kCases) {
    SensorImage s = resetSensorImage();
    ASSERT_EQ(decodeLoopPacket(packet(c.changes), s), kLoopDecoded) << c.name;
    EXPECT_EQ(s.barometer, c.barometer) << c.name;
    EXPECT_EQ(s.insideHumidity, c.insideHumidity) << c.name;
    EXPECT_EQ(s.outsideTemperature, c.outsideTemperature) << c.name;
  }
}

TEST(LoopPacket, BadPacketsLeaveTheImageAlone) {
  const SensorImage before = resetSensorImage();
  SensorImage s = before;
  EXPECT_EQ(decodeLoopPacket(packet({{4, 1}}), s), kLoopBadHeader);  // packet type 1
  EXPECT_EQ(decodeLoopPacket(packet({{0, 'X'}}), s), kLoopBadHeader);
  Packet corrupt = packet();
  corrupt[20] ^= 0x01;
  EXPECT_EQ(decodeLoopPacket(corrupt, s), kLoopCrcError);
  Packet p = packet();
  EXPECT_EQ(decodeLoopPacket(std::span<const std::uint8_t>(p.data(), 98), s), kLoopBadHeader);
  EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0);
}

TEST(LoopPacket, APacketSplitAcrossReadsIsDecodedOnceComplete) {
  Packet p = packet();
  std::size_t sent = 0;
  std::size_t available = 40;
  LoopPacketAssembler::ByteReader reader = [&]() -> platform::Result<std::uint8_t> {
    if (sent >= available) return platform::Status::timeout("no byte");
    return p[sent++];
  };
  LoopPacketAssembler assembler;
  SensorImage s = resetSensorImage();
  EXPECT_EQ(assembler.read(reader, s), kLoopIncomplete);
  EXPECT_EQ(assembler.pending(), 40u);
  EXPECT_EQ(s.barometer, kImageNone16);
  available = kLoopPacketBytes;
  EXPECT_EQ(assembler.read(reader, s), kLoopDecoded);
  EXPECT_EQ(s.barometer, 30094);
  EXPECT_EQ(assembler.pending(), 0u);

  LoopPacketAssembler broken;
  sent = 0;
  auto failing = []() -> platform::Result<std::uint8_t> { return platform::Status::io("gone"); };
  EXPECT_EQ(broken.read(failing, s), kLoopReadFailure);
}

TEST(LoopPacket, ConsoleBatteryTexts) {
  EXPECT_EQ(consoleBatteryText(517), "---");
  EXPECT_EQ(consoleBatteryText(518), "3.03 V");
  EXPECT_EQ(consoleBatteryText(1024), "6.00 V");
  EXPECT_EQ(consoleBatteryText(0x8000), "---");
}

}  // namespace
}  // namespace stationlink
