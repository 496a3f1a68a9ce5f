// Byte-exact exchanges with a Cirrant console, the expected bytes written from the protocol's
// own examples.
#include <gtest/gtest.h>

#include "link_fixture.h"

namespace linktest {
namespace {

using stationlink::ConsoleTime;

class CirrantTranscript : public CirrantFixture {};

TEST_F(CirrantTranscript, ReadsArchiveIntervalWithUpperCaseHexAndNoLeadingZeros) {
  wire_->wake();
  wire_->onText("EEBRD 2D 1\n", cat({kAckByte, {0x0A, 0xA1, 0x4A}}));
  auto minutes = link_.GetArchiveInterval();
  ASSERT_TRUE(minutes.isOk()) << minutes.status().toString();
  EXPECT_EQ(*minutes, 10);
  EXPECT_EQ(written(), "\nEEBRD 2D 1\n");
}

TEST_F(CirrantTranscript, SetsTimeOnFirstOfJanuary2006) {
  wire_->wake();
  wire_->onText("SETTIME\n", kAckByte);
  wire_->on({0x00, 0x00, 0x00, 0x01, 0x01, 0x6A, 0xC9, 0xED}, kAckByte);
  ASSERT_TRUE(link_.SetTime(ConsoleTime{2006, 1, 1, 0, 0}).isOk());
  EXPECT_EQ(wire_->written,
            cat({bytes("\nSETTIME\n"), {0x00, 0x00, 0x00, 0x01, 0x01, 0x6A, 0xC9, 0xED}}));
}

TEST_F(CirrantTranscript, ReadsConsoleTime) {
  wire_->wake();
  // 18 s, 7 min, 14 h, day 5, month 12, 2006 and the CRC of those six bytes.
  wire_->onText("GETTIME\n", cat({kAckByte, {0x12, 0x07, 0x0E, 0x05, 0x0C, 0x6A, 0x37, 0x3B}}));
  auto t = link_.GetTime();
  ASSERT_TRUE(t.isOk()) << t.status().toString();
  EXPECT_EQ(*t, (ConsoleTime{2006, 12, 5, 14, 7}));
}

TEST_F(CirrantTranscript, RefusesTimesTheConsoleCannotHold) {
  EXPECT_FALSE(link_.SetTime(ConsoleTime{2156, 1, 1, 0, 0}).isOk());
  EXPECT_FALSE(link_.SetTime(ConsoleTime{2006, 2, 29, 0, 0}).isOk());
  EXPECT_TRUE(wire_->written.empty());
}

struct BarometerCase {
  const char* name;
  int reading;
  int elevation;
  bool accepted;
};

class SetBarometer : public CirrantFixture, public ::testing::WithParamInterface<BarometerCase> {};

TEST_P(SetBarometer, RefusesOutOfRangeValuesBeforeSendingAnything) {
  const BarometerCase& c = GetParam();
  wire_->wake();
  wire_->onText("\n", kOkReply);  // the command ends with LF
  platform::Status s = link_.SetBarometer(c.reading, c.elevation);
  EXPECT_EQ(s.isOk(), c.accepted) << s.toString();
  if (c.accepted) {
    char expect[40];
    std::snprintf(expect, sizeof expect, "\nBAR=%d %d\n", c.reading, c.elevation);
    EXPECT_EQ(written(), expect);
  } else {
    EXPECT_EQ(written(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Ranges, SetBarometer,
                         ::testing::Values(BarometerCase{"reading15999", 15999, 0, false},
                                           BarometerCase{"reading32501", 32501, 0, false},
                                           BarometerCase{"elevationMinus2001", 29920, -2001, false},
                                           BarometerCase{"elevation15001", 29920, 15001, false},
                                           BarometerCase{"readingZero", 0, 0, true},
                                           BarometerCase{"lowestReading", 16000, -2000, true},
                                           BarometerCase{"highestReading", 32500, 15000, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CirrantTranscript, ClearsHighsOfEveryPeriodInOrder) {
  for (int p = 0; p < 3; ++p) {
    wire_->wake();
    wire_->onText("CLRHIGHS " + std::to_string(p) + "\n", kAckByte);
  }
  ASSERT_TRUE(link_.ClearHighs(-1).isOk());
  EXPECT_EQ(written(), "\nCLRHIGHS 0\n\nCLRHIGHS 1\n\nCLRHIGHS 2\n");
}

TEST_F(CirrantTranscript, ClearingHighsStopsAtTheFirstRefusal) {
  wire_->wake();
  wire_->onText("CLRHIGHS 0\n", kAckByte);
  wire_->wake();
  wire_->onText("CLRHIGHS 1\n", {0x15});
  platform::Status s = link_.ClearHighs(-1);
  EXPECT_EQ(s.code(), -8);
  EXPECT_EQ(written(), "\nCLRHIGHS 0\n\nCLRHIGHS 1\n");
}

TEST_F(CirrantTranscript, RefusesArchiveIntervalCodeSeven) {
  platform::Status s = link_.SetArchiveInterval(7);
  EXPECT_FALSE(s.isOk());
  EXPECT_EQ(written(), "");
  EXPECT_EQ(wire_->opens, 0);
}

TEST_F(CirrantTranscript, SettingTheArchiveIntervalAlsoClearsTheArchive) {
  wire_->wake();
  wire_->onText("SETPER 30\n", kOkReply);
  wire_->wake();
  wire_->onText("CLRLOG\n", kAckByte);
  ASSERT_TRUE(link_.SetArchiveInterval(4).isOk());
  EXPECT_EQ(written(), "\nSETPER 30\n\nCLRLOG\n");
}

struct WindCase {
  const char* name;
  std::array<std::uint8_t, 8> types;  // the first byte of each channel's entry
  int answer;
};

class FindWindTransmitter : public CirrantFixture,
                            public ::testing::WithParamInterface<WindCase> {};

TEST_P(FindWindTransmitter, PicksAnemometerElseLastIntegratedElseNone) {
  const WindCase& c = GetParam();
  Bytes list;
  for (std::uint8_t type : c.types) list.insert(list.end(), {type, 0x00});
  wire_->wake();
  wire_->onText("EEBRD 19 10\n", cat({kAckByte, withCrc(list)}));
  auto channel = link_.FindWindTransmitter();
  ASSERT_TRUE(channel.isOk()) << channel.status().toString();
  EXPECT_EQ(*channel, c.answer);
  // The whole list in one read.
  EXPECT_EQ(written(), "\nEEBRD 19 10\n");
}

// Type 9 is "no transmitter" (and values above 9 read as 9); a high nibble of 1 is the
// repeater code.
INSTANTIATE_TEST_SUITE_P(
    Channels, FindWindTransmitter,
    ::testing::Values(
        WindCase{"anemometerOnFiveWins", {0x19, 0x19, 0x10, 0x19, 0x19, 0x14, 0x19, 0x19}, 5},
        WindCase{"lastIntegratedWithoutAnemometer",
                 {0x19, 0x10, 0x19, 0x10, 0x19, 0x19, 0x19, 0x19},
                 3},
        WindCase{"none", {0x19, 0x19, 0x19, 0x19, 0x19, 0x19, 0x19, 0x19}, 255},
        WindCase{"typeAboveNineIsNone", {0x1A, 0x10, 0x1F, 0x19, 0x19, 0x19, 0x19, 0x19}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CirrantTranscript, FindWindTransmitterFailsWhenTheListCannotBeRead) {
  wire_->wake();
  Bytes list(16, 0x19);
  list[4] = 0x14;
  Bytes damaged = withCrc(list);
  damaged.back() ^= 0xFF;
  wire_->onText("EEBRD 19 10\n", cat({kAckByte, damaged}));
  auto channel = link_.FindWindTransmitter();
  EXPECT_FALSE(channel.isOk());
  EXPECT_EQ(channel.status().code(), -4);
}

TEST_F(CirrantTranscript, ClearCalibrationKeepsDashedReadingsDashed) {
  stationlink::CalibrationBlock offsets{};
  offsets[0] = 5;      // inside temperature +0.5
  offsets[2] = 0xFE;   // outside temperature -0.2
  offsets[3] = 7;      // first further temperature
  offsets[4] = 10;     // second further temperature +1.0
  offsets[18] = 3;     // inside humidity
  offsets[19] = 0xFB;  // outside humidity -5
  offsets[20] = 2;     // extra humidity 1
  Bytes readings = {0xBC, 0x02, 0xFF, 0x7F, 0xFF, 0xFF, 0x20, 0x03};
  for (int i = 0; i < 13; ++i) readings.insert(readings.end(), {0xFF, 0x7F});
  readings.insert(readings.end(), {45, 0xFF, 50, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  ASSERT_EQ(readings.size(), 43u);

  const Bytes expected = {0xB7, 0x02, 0xFF, 0x7F, 0xFF, 0xFF, 0x16, 0x03, 0xFF, 0x7F, 0xFF,
                          0x7F, 0xFF, 0x7F, 0xFF, 0x7F, 0xFF, 0x7F, 0xFF, 0x7F, 0xFF, 0x7F,
                          0xFF, 0x7F, 0xFF, 0x7F, 0xFF, 0x7F, 0xFF, 0x7F, 0xFF, 0x7F, 0xFF,
                          0x7F, 0x2A, 0xFF, 0x30, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  wire_->wake();
  wire_->wake();
  wire_->onText("EEBRD 32 1B\n", cat({kAckByte, withCrc(Bytes(offsets.begin(), offsets.end()))}));
  wire_->wake();
  wire_->onText("CALED\n", cat({kAckByte, withCrc(readings)}));
  wire_->wake();
  wire_->onText("CLRCAL\n", cat({kOkReply, kDoneReply}));
  wire_->wake();
  wire_->onText("CALFIX\n", kAckByte);
  wire_->on(cat({expected, {0x0D, 0x55}}), kAckByte);
  bool offsetsCleared = false;
  stationlink::LinkServices s = services();
  s.clearProgramOffsets = [&] {
    offsetsCleared = true;
    return platform::Status::ok();
  };
  stationlink::CirrantLink link(params(), s);

  platform::Status result = link.ClearCalibration();
  ASSERT_TRUE(result.isOk()) << result.toString();
  EXPECT_TRUE(offsetsCleared);
  const std::string tail = written().substr(written().size() - (7 + 45));
  EXPECT_EQ(Bytes(tail.begin(), tail.end()), cat({bytes("CALFIX\n"), expected, {0x0D, 0x55}}));
}

TEST_F(CirrantTranscript, SetsLatitudeAndLongitudeWithoutWakingFirst) {
  // 45.5 N = 455 (0x01C7), 73.6 W = -736 (0xFD20).
  wire_->onText("EEBWR B 4\n", kAckByte);
  wire_->on(withCrc({0xC7, 0x01, 0x20, 0xFD}), kAckByte);
  wire_->wake();
  wire_->onText("NEWSETUP\n", kAckByte);
  ASSERT_TRUE(link_.SetLatLong(455, -736).isOk());
  EXPECT_EQ(wire_->written,
            cat({bytes("EEBWR B 4\n"), withCrc({0xC7, 0x01, 0x20, 0xFD}), bytes("\nNEWSETUP\n")}));
}

TEST_F(CirrantTranscript, WritesTheZoneOffsetOneByteAtATime) {
  // Zone 13 is -330 (hours * 100 + minutes) = 0xFEB6, low byte first.
  wire_->onText("EEWR 14 B6\n\r", kOkReply);
  wire_->onText("EEWR 15 FE\n\r", kOkReply);
  ASSERT_TRUE(link_.SetGmtOffset(13).isOk());
  EXPECT_EQ(written(), "EEWR 14 B6\n\rEEWR 15 FE\n\r");
}

}  // namespace
}  // namespace linktest
