// A dump that the program stops with ESC in the middle of the page transfer leaves the
// console ready for the next one: a later dump of the whole archive is sent in full.
#include <gtest/gtest.h>

#include <algorithm>

#include "consolesim/wire.h"
#include "sim_test_util.h"

namespace consolesim::testing {
namespace {

TEST(InterruptedDump, EscInMidTransferThenTheWholeArchiveIsSent) {
  EngineOptions o = SimConsole::defaults();
  o.historyDays = 1;  // 288 five-minute records: 57 full pages and one of three records
  SimConsole sim(o);
  ASSERT_EQ(sim.engine.archive().recordCount(), 288u);

  // Everything: stamps 0 and 0 with their CRC 0.
  const Bytes allStamps = hex("00 00 00 00 00 00");
  EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
  const Bytes answer = sim.send(allStamps);
  ASSERT_EQ(answer.size(), 7u);
  EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 5), hex("06 3A 00 00 00"));  // 58 pages
  for (int i = 0; i < 3; ++i) EXPECT_EQ(sim.send(hex("06")).size(), 267u);
  // Cancelled after the third page: ESC, and the program goes away.
  EXPECT_TRUE(sim.send(hex("1B")).empty());
  sim.advance(std::chrono::seconds(2));

  // A new session wakes the console and asks again for everything.
  EXPECT_EQ(sim.send("\n"), hex("0A 0D"));
  EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
  EXPECT_EQ(sim.send(allStamps), answer);
  for (std::size_t i = 0; i < 58; ++i) {
    const Bytes page = sim.send(hex("06"));
    ASSERT_EQ(page.size(), 267u) << "page " << i;
    EXPECT_EQ(page[0], i) << "page " << i;
    EXPECT_EQ(crc16(page), 0) << "page " << i;
    const auto records = sim.engine.archive().pageRecords(i);
    EXPECT_TRUE(std::equal(records.begin(), records.end(), page.begin() + 1)) << "page " << i;
  }
  // The last ACK ends the dump.
  EXPECT_TRUE(sim.send(hex("06")).empty());
  EXPECT_EQ(sim.send("\n"), hex("0A 0D"));
}

}  // namespace
}  // namespace consolesim::testing
