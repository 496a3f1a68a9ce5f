#include "consolesim/sim_serial_port.h"

#include <gtest/gtest.h>

#include "sim_test_util.h"

namespace consolesim::testing {
namespace {

using std::chrono::milliseconds;

struct PortFixture {
  explicit PortFixture(EngineOptions o = SimConsole::defaults())
      : sim(std::move(o)), port(sim.engine, sim.clock) {}
  Bytes read(std::size_t n, const platform::SerialTimeouts& t) {
    Bytes buf(n);
    auto got = port.readWithin(buf, t);
    EXPECT_TRUE(got.isOk());
    buf.resize(got.isOk() ? *got : 0);
    return buf;
  }
  void write(std::string_view s) {
    const Bytes b = text(s);
    ASSERT_TRUE(port.write(b).isOk());
  }
  SimConsole sim;
  SimSerialPort port;
};

TEST(SimSerialPort, SilenceAdvancesTheClockToTheDeadline) {
  PortFixture f;
  const auto start = f.sim.clock.now();
  // Profile 0 for one byte: 2000 + 25 ms.
  EXPECT_TRUE(f.read(1, platform::SerialTimeouts{}).empty());
  EXPECT_EQ(f.sim.clock.now() - start, milliseconds(2025));
}

TEST(SimSerialPort, ReplyArrivesWithoutWaiting) {
  PortFixture f;
  const auto start = f.sim.clock.now();
  f.write("EEBRD 2D 1\n");
  EXPECT_EQ(f.read(4, platform::SerialTimeouts{}), hex("06 05 50 A5"));
  EXPECT_EQ(f.sim.clock.now(), start);
}

TEST(SimSerialPort, LoopStreamRunsOnTheFakeClock) {
  PortFixture f;
  f.write("LOOP 3\n");
  EXPECT_EQ(f.read(1, platform::SerialTimeouts{}), hex("06"));
  const auto start = f.sim.clock.now();
  // Profile 4: 90 ms between bytes, 100 ms + 10 ms a byte in all.
  const platform::SerialTimeouts streaming{90, 10, 100, 25, 2000};
  for (int i = 0; i < 3; ++i) {
    Bytes packet;
    while (packet.size() < 99) {
      const Bytes part = f.read(99 - packet.size(), streaming);
      packet.insert(packet.end(), part.begin(), part.end());
      ASSERT_LT(f.sim.clock.now() - start, milliseconds(10000));
    }
    EXPECT_EQ(packet[0], 'L');
  }
  EXPECT_EQ(f.sim.clock.now() - start, milliseconds(4000));
}

TEST(SimSerialPort, PacingTakesTheLineTime) {
  EngineOptions o = SimConsole::defaults();
  o.pace = true;
  PortFixture f(o);
  ASSERT_TRUE(f.port.setBaudRate(2400).isOk());
  const auto start = f.sim.clock.now();
  f.write("EEBRD 32 1B\n");  // ACK + 27 bytes + CRC = 30 bytes
  EXPECT_EQ(f.read(30, platform::SerialTimeouts{}).size(), 30u);
  // 30 bytes of 10 bits at 2400 baud: 125 ms.
  EXPECT_EQ(f.sim.clock.now() - start, milliseconds(125));
}

TEST(SimSerialPort, PurgeDropsWhatHasArrivedAndBrokenLineFails) {
  PortFixture f;
  f.write("\n");
  ASSERT_TRUE(f.port.purge(true, true).isOk());
  EXPECT_TRUE(f.read(2, platform::SerialTimeouts{0, 0, 100, 0, 0}).empty());
  f.port.breakLine(true);
  Bytes buf(1);
  EXPECT_FALSE(f.port.readWithin(buf, platform::SerialTimeouts{}).isOk());
  EXPECT_FALSE(f.port.write(buf).isOk());
}

}  // namespace
}  // namespace consolesim::testing
