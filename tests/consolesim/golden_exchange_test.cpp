// The console's answers to the protocol's example exchanges. Every expected byte is
// written out by hand from the protocol's tables; the CRCs are CRC-16/XMODEM values worked
// out independently of the simulator's code.

#include <gtest/gtest.h>

#include "consolesim/wire.h"
#include "sim_test_util.h"

namespace consolesim::testing {
namespace {

// CRC-16 over `bytes` for checks that need no fixed literal: a separate table-driven version,
// so a slip in the simulator's bitwise CRC cannot hide.
std::uint16_t referenceCrc(std::span<const std::uint8_t> bytes) {
  static const auto table = [] {
    std::array<std::uint16_t, 256> t{};
    for (int i = 0; i < 256; ++i) {
      std::uint16_t c = static_cast<std::uint16_t>(i << 8);
      for (int k = 0; k < 8; ++k)
        c = static_cast<std::uint16_t>(c & 0x8000 ? (c << 1) ^ 0x1021 : c << 1);
      t[i] = c;
    }
    return t;
  }();
  std::uint16_t crc = 0;
  for (auto b : bytes)
    crc = static_cast<std::uint16_t>(table[((crc >> 8) ^ b) & 0xFF] ^ (crc << 8));
  return crc;
}

TEST(GoldenExchange, CrcCheckValue) {
  EXPECT_EQ(crc16(text("123456789")), 0x31C3);
  EXPECT_EQ(referenceCrc(text("123456789")), 0x31C3);
}

TEST(GoldenExchange, WakeUpAnswersLfCr) {
  SimConsole sim;
  EXPECT_EQ(sim.send("\n"), hex("0A 0D"));
  // The identification query ends with CR and is answered with ACK and the model byte 16.
  EXPECT_EQ(sim.send(hex("57 52 44 12 4D 0D")), hex("06 10"));
}

TEST(GoldenExchange, ReadArchiveInterval) {
  SimConsole sim;
  // EEBRD 2D 1: ACK, the interval (5 minutes), CRC high byte first.
  EXPECT_EQ(sim.send("EEBRD 2D 1\n"), hex("06 05 50 A5"));
}

TEST(GoldenExchange, SetTimeFirstOfJanuary2006) {
  SimConsole sim;
  EXPECT_EQ(sim.send("SETTIME\n"), hex("06"));
  // Seconds, minute, hour, day, month, year - 1900, then the CRC.
  EXPECT_EQ(sim.send(hex("00 00 00 01 01 6A C9 ED")), hex("06"));
  EXPECT_EQ(sim.send("GETTIME\n"), hex("06 00 00 00 01 01 6A C9 ED"));
}

TEST(GoldenExchange, SetTimeWithBadCrcIsRefusedAndKeepsTheClock) {
  SimConsole sim;
  EXPECT_EQ(sim.send("SETTIME\n"), hex("06"));
  EXPECT_EQ(sim.send(hex("00 00 00 01 01 6A C9 EE")), hex("15"));
  EXPECT_EQ(sim.engine.consoleTime().year, 2006);
  EXPECT_EQ(sim.engine.consoleTime().month, 3);
  EXPECT_EQ(sim.engine.consoleTime().day, 15);
}

struct BarCase {
  const char* name;
  const char* command;
  bool accepted;
};
constexpr BarCase kBarCases[] = {
    {"reading 15999", "BAR=15999 100\n", false},
    {"reading 32501", "BAR=32501 100\n", false},
    {"elevation -2001", "BAR=29920 -2001\n", false},
    {"elevation 15001", "BAR=29920 15001\n", false},
    {"reading 0 sets elevation only", "BAR=0 100\n", true},
    {"lowest values", "BAR=16000 -2000\n", true},
    {"highest values", "BAR=32500 15000\n", true},
    {"missing elevation", "BAR=29920\n", false},
};

TEST(GoldenExchange, BarometerRanges) {
  for (const BarCase& c : kBarCases) {
    SCOPED_TRACE(c.name);
    SimConsole sim;
    const int before = sim.engine.memory().i16(kElevationAddress);
    const Bytes answer = sim.send(c.command);
    if (c.accepted) {
      EXPECT_EQ(answer, hex("0A 0D 4F 4B 0A 0D"));
      EXPECT_NE(sim.engine.memory().i16(kElevationAddress), before);
    } else {
      EXPECT_EQ(answer, hex("15"));
      EXPECT_EQ(sim.engine.memory().i16(kElevationAddress), before);
    }
  }
}

TEST(GoldenExchange, ClearHighsPeriodsAndRefusal) {
  SimConsole sim;
  EXPECT_EQ(sim.send("CLRHIGHS 0\n"), hex("06"));
  EXPECT_EQ(sim.send("CLRHIGHS 1\n"), hex("06"));
  EXPECT_EQ(sim.send("CLRHIGHS 2\n"), hex("06"));
  EXPECT_EQ(sim.send("CLRHIGHS 3\n"), hex("15"));
  EXPECT_EQ(sim.engine.counters().highsCleared, (std::array<int, 3>{1, 1, 1}));
}

TEST(GoldenExchange, ArchiveIntervalSevenIsRefused) {
  SimConsole sim;
  EXPECT_EQ(sim.send("SETPER 7\n"), hex("15"));
  EXPECT_EQ(sim.send("EEBRD 2D 1\n"), hex("06 05 50 A5"));
  EXPECT_EQ(sim.send("SETPER 10\n"), hex("0A 0D 4F 4B 0A 0D"));
  EXPECT_EQ(sim.send("EEBRD 2D 1\n"), hex("06 0A A1 4A"));
}

TEST(GoldenExchange, FirmwareDateFollowsOk) {
  SimConsole sim;
  EXPECT_EQ(sim.send("VER\n"), cat(hex("0A 0D 4F 4B 0A 0D"), text("Apr 24 2002\n\r")));
}

TEST(GoldenExchange, ClearGraphsSaysOkThenDone) {
  SimConsole sim;
  EXPECT_EQ(sim.send("CLRGRA\n"), hex("0A 0D 4F 4B 0A 0D"));
  sim.advance(std::chrono::seconds(1));
  EXPECT_EQ(sim.drain(), text("DONE\n\r"));
}

TEST(GoldenExchange, EepromBlockWriteChecksItsCrc) {
  SimConsole sim;
  // Latitude 40.0 N (400 = 0x0190) and longitude 3.5 W (-35 = 0xFFDD) at 0x0B.
  EXPECT_EQ(sim.send("EEBWR B 4\n"), hex("06"));
  const Bytes block = hex("90 01 DD FF");
  const std::uint16_t crc = referenceCrc(block);
  Bytes bad = cat(block, {static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(~crc)});
  EXPECT_EQ(sim.send(bad), hex("15"));
  EXPECT_EQ(sim.engine.memory().i16(kLatitudeAddress), 405);  // unchanged

  EXPECT_EQ(sim.send("EEBWR B 4\n"), hex("06"));
  Bytes good = cat(block, {static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)});
  EXPECT_EQ(sim.send(good), hex("06"));
  EXPECT_EQ(sim.engine.memory().i16(kLatitudeAddress), 400);
  EXPECT_EQ(sim.engine.memory().i16(kLongitudeAddress), -35);
}

TEST(GoldenExchange, EepromSingleByteWriteAnswersOk) {
  SimConsole sim;
  // The time dialog's zone index write, terminated LF CR as the program sends it; the CR
  // is an empty line and draws the wake-up answer after the OK.
  EXPECT_EQ(sim.send("EEWR 11 13\n\r"), hex("0A 0D 4F 4B 0A 0D 0A 0D"));
  EXPECT_EQ(sim.engine.memory().byte(0x11), 0x13);
}

// The DMPAFT exchange for a database whose newest record closes 15 March 2006: the date
// stamp of 16 March 2006 is (6 × 512) + 3 × 32 + 16 = 3184 = 0x0C70, time stamp 0.
TEST(GoldenExchange, DumpAfterMidnightOf16March2006) {
  SimConsole sim;  // 2006-03-15 23:50, 5-minute archive, empty ring
  sim.advance(std::chrono::minutes(40));
  // Records 23:55, 00:00, 00:05 ... 00:30 in slots 0 to 7; six are newer than 00:00.
  ASSERT_EQ(sim.engine.archive().recordCount(), 8u);

  EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
  // Two pages, first new record at index 2 of the first page.
  EXPECT_EQ(sim.send(hex("70 0C 00 00 37 14")), hex("06 02 00 02 00 8B 0A"));

  const Bytes page0 = sim.send(hex("06"));
  ASSERT_EQ(page0.size(), 267u);
  EXPECT_EQ(page0[0], 0x00);  // sequence
  // Slot 0: 23:55 on 15 March (date stamp 3183 = 0x0C6F, time 2355 = 0x0933).
  EXPECT_EQ(Bytes(page0.begin() + 1, page0.begin() + 5), hex("6F 0C 33 09"));
  // Slot 1: the record closing the day is stamped 00:00 of 16 March.
  EXPECT_EQ(Bytes(page0.begin() + 53, page0.begin() + 57), hex("70 0C 00 00"));
  // Slot 2: 00:05.
  EXPECT_EQ(Bytes(page0.begin() + 105, page0.begin() + 109), hex("70 0C 05 00"));
  EXPECT_EQ(referenceCrc(page0), 0);

  // A NAK asks for the same page again.
  EXPECT_EQ(sim.send(hex("15")), page0);

  const Bytes page1 = sim.send(hex("06"));
  ASSERT_EQ(page1.size(), 267u);
  EXPECT_EQ(page1[0], 0x01);
  // Slots 5 to 7: 00:20, 00:25, 00:30; slots 8 and 9 still empty.
  EXPECT_EQ(Bytes(page1.begin() + 1, page1.begin() + 5), hex("70 0C 14 00"));
  EXPECT_EQ(Bytes(page1.begin() + 105, page1.begin() + 109), hex("70 0C 1E 00"));
  EXPECT_EQ(Bytes(page1.begin() + 157, page1.begin() + 161), hex("FF FF FF FF"));
  EXPECT_EQ(Bytes(page1.begin() + 209, page1.begin() + 213), hex("FF FF FF FF"));
  EXPECT_EQ(referenceCrc(page1), 0);

  // The last ACK ends the dump; the console listens for commands again.
  EXPECT_TRUE(sim.send(hex("06")).empty());
  EXPECT_EQ(sim.send("\n"), hex("0A 0D"));
}

TEST(GoldenExchange, DumpWithNothingNewAnswersZeroPages) {
  SimConsole sim;
  sim.advance(std::chrono::minutes(10));
  EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
  // Asking for records after 16 March 2006 00:00 when the newest is 15 March 23:55.
  EXPECT_EQ(sim.send(hex("70 0C 00 00 37 14")), hex("06 00 00 00 00 00 00"));
  // The program's ESC after a zero answer is harmless.
  EXPECT_EQ(sim.send(hex("1B 0A")), hex("0A 0D"));
}

TEST(GoldenExchange, DumpAfterZeroStampsSendsEverything) {
  SimConsole sim;
  sim.advance(std::chrono::minutes(40));
  EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
  EXPECT_EQ(sim.send(hex("00 00 00 00 00 00")), hex("06 02 00 00 00 ED 68"));
  // ESC instead of ACK: no page comes.
  EXPECT_TRUE(sim.send(hex("1B")).empty());
}

TEST(GoldenExchange, LoopPacketLayout) {
  SimConsole sim;
  const Bytes answer = sim.send("LOOP 1\n");
  ASSERT_EQ(answer.size(), 1u + 99u);
  EXPECT_EQ(answer[0], 0x06);
  const Bytes p(answer.begin() + 1, answer.end());
  EXPECT_EQ(p[0], 'L');
  EXPECT_EQ(p[4], 0x00);  // packet type
  EXPECT_EQ(p[95], 0x0A);
  EXPECT_EQ(p[96], 0x0D);
  EXPECT_EQ(referenceCrc(p), 0);  // CRC over all 99 bytes, high byte first

  const Reading r = measured(WeatherModel(1), sim.engine.memory(), SensorSuite{},
                             localSecondsFromCivil(sim.engine.consoleTime()));
  auto i16 = [&](std::size_t at) { return static_cast<std::int16_t>(p[at] | (p[at + 1] << 8)); };
  EXPECT_EQ(i16(7), r.barometer);
  EXPECT_EQ(i16(9), r.insideTemp);
  EXPECT_EQ(p[11], r.insideHum);
  EXPECT_EQ(i16(12), r.outsideTemp);
  EXPECT_EQ(p[14], r.windSpeed);
  EXPECT_EQ(i16(16), r.windDir);
  EXPECT_EQ(p[33], r.outsideHum);
  EXPECT_EQ(i16(44), r.solar);
  EXPECT_EQ(p[43], r.uv);
  EXPECT_GE(i16(7), 16000);
  EXPECT_LE(i16(7), 32500);
  // Unfitted sensors read as none: extra temperatures, soil moistures.
  EXPECT_EQ(p[18], 0xFF);
  EXPECT_EQ(p[62], 0xFF);
  // Console battery above the none threshold of 518.
  EXPECT_GE(p[87] | (p[88] << 8), 518);
}

TEST(GoldenExchange, LoopPacketsComeTwoSecondsApartAndAnyByteStopsThem) {
  SimConsole sim;
  EXPECT_EQ(sim.send("LOOP 3\n").size(), 100u);
  sim.advance(std::chrono::milliseconds(1999));
  EXPECT_TRUE(sim.drain().empty());
  sim.advance(std::chrono::milliseconds(1));
  EXPECT_EQ(sim.drain().size(), 99u);
  // A CR stops the stream; the third packet never comes.
  EXPECT_TRUE(sim.send("\r").empty());
  sim.advance(std::chrono::seconds(5));
  EXPECT_TRUE(sim.drain().empty());
}

TEST(GoldenExchange, RefusesUnknownAndOversizedCommands) {
  SimConsole sim;
  EXPECT_EQ(sim.send("FOO\n"), hex("15"));
  EXPECT_EQ(sim.send(std::string(500, 'A') + "\n"), hex("15"));
  EXPECT_EQ(sim.send("EEBRD FFF 2\n"), hex("15"));  // runs past the end of the memory
  EXPECT_EQ(sim.send("EEBRD 2D\n"), hex("15"));
  EXPECT_EQ(sim.send("LOOP -1\n"), hex("15"));
  EXPECT_EQ(sim.send("\n"), hex("0A 0D"));  // still answering
}

}  // namespace
}  // namespace consolesim::testing
