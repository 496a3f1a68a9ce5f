// A dump that the program stops with ESC in the middle of the page transfer, or that ends
// because the program died without a word, leaves the console ready for the next one: a
// later dump of the whole archive is sent in full.
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

// A program killed after the third page sends no ESC. Whether the next one starts at once or
// after the console has given up waiting, its wake-up is answered as a wake-up (never with
// the page again) and a dump of everything follows in full.
TEST(InterruptedDump, KilledInMidTransferThenAWakeUpAndTheWholeArchive) {
  for (int secondsLater : {0, 2, 4, 120}) {
    SCOPED_TRACE(secondsLater);
    EngineOptions o = SimConsole::defaults();
    o.historyDays = 1;  // 58 pages
    SimConsole sim(o);
    const Bytes allStamps = hex("00 00 00 00 00 00");
    EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
    const Bytes answer = sim.send(allStamps);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(sim.send(hex("06")).size(), 267u);
    sim.advance(std::chrono::seconds(secondsLater));
    EXPECT_TRUE(sim.drain().empty());

    EXPECT_EQ(sim.send("\n"), hex("0A 0D"));
    EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
    EXPECT_EQ(sim.send(allStamps), answer);
    for (std::size_t i = 0; i < 58; ++i) {
      const Bytes page = sim.send(hex("06"));
      ASSERT_EQ(page.size(), 267u) << "page " << i;
      EXPECT_EQ(page[0], i) << "page " << i;
    }
    EXPECT_TRUE(sim.send(hex("06")).empty());
  }
}

// Left without an answer, the console gives the dump up after its answer time: a late ACK
// starts nothing, and the console is back at its commands.
TEST(InterruptedDump, UnansweredPageIsGivenUpAfterTheAnswerTime) {
  EngineOptions o = SimConsole::defaults();
  o.historyDays = 1;
  SimConsole sim(o);
  EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
  (void)sim.send(hex("00 00 00 00 00 00"));
  ASSERT_EQ(sim.send(hex("06")).size(), 267u);
  // Within the wait a NAK is answered with the same page.
  sim.advance(std::chrono::milliseconds(2500));
  const Bytes again = sim.send(hex("15"));
  ASSERT_EQ(again.size(), 267u);
  EXPECT_EQ(again[0], 0);
  sim.advance(std::chrono::milliseconds(3100));
  EXPECT_TRUE(sim.send(hex("06")).empty());
  EXPECT_TRUE(sim.send(hex("15")).empty());
  EXPECT_EQ(sim.send("\n"), hex("0A 0D"));
}

}  // namespace
}  // namespace consolesim::testing
