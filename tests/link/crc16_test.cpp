#include "link/crc16.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

TEST(Crc16, CheckValueOfTheNineDigits) {
  constexpr std::string_view kDigits = "123456789";
  auto data = std::span(reinterpret_cast<const std::uint8_t*>(kDigits.data()), kDigits.size());
  EXPECT_EQ(stationlink::crc16(data), 0x31C3);
}

TEST(Crc16, BlockFollowedByItsCrcHighByteFirstLeavesZero) {
  // SETTIME's block for 2006-01-01 00:00 and its CRC.
  const std::uint8_t block[] = {0x00, 0x00, 0x00, 0x01, 0x01, 0x6A, 0xC9, 0xED};
  EXPECT_EQ(stationlink::crc16(std::span(block).first(6)), 0xC9ED);
  EXPECT_EQ(stationlink::crc16(block), 0);
}

}  // namespace
