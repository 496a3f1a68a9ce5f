// A few real pseudo-terminal round trips: the program's own serial port opens the slave
// path, the simulator serves the master. Kept short; the protocol is covered in-process.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "consolesim/pty_server.h"
#include "consolesim/wire.h"
#include "platform/posix_serial_port.h"
#include "sim_test_util.h"

namespace consolesim::testing {
namespace {

TEST(PtyFront, ProgramPortTalksToTheSimulator) {
  auto pty = platform::PseudoTerminal::open();
  ASSERT_TRUE(pty.isOk()) << pty.status().toString();
  platform::Clock& clock = platform::systemClock();
  EngineOptions o;
  o.historyDays = 0;
  ConsoleEngine engine(clock, o);
  PtyServer server(engine, **pty, clock);
  std::atomic<bool> stop{false};
  platform::Status served;
  std::thread serving([&] { served = server.run([&] { return stop.load(); }); });

  platform::PosixSerialPortOpener opener(platform::defaultFileSystem(), ".", clock);
  auto port = opener.openDevice((*pty)->slavePath(), platform::SerialSettings{});
  ASSERT_TRUE(port.isOk()) << port.status().toString();
  auto exchange = [&](std::string_view command, std::size_t want) {
    const Bytes out = text(command);
    EXPECT_TRUE((*port)->write(out).isOk());
    Bytes in(want);
    auto got = (*port)->readWithin(in, platform::SerialTimeouts{0, 25, 2000, 25, 2000});
    in.resize(got.isOk() ? *got : 0);
    return in;
  };
  EXPECT_EQ(exchange("\n", 2), hex("0A 0D"));
  EXPECT_EQ(exchange("EEBRD 2D 1\n", 4), hex("06 05 50 A5"));
  const Bytes loop = exchange("LOOP 1\n", 100);
  ASSERT_EQ(loop.size(), 100u);
  EXPECT_EQ(crc16(std::span(loop).subspan(1)), 0);

  port->reset();  // the program closes the port; the simulator keeps serving
  stop = true;
  serving.join();
  EXPECT_TRUE(served.isOk()) << served.toString();
}

}  // namespace
}  // namespace consolesim::testing
