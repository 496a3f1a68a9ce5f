#include <gtest/gtest.h>

#include "consolesim/wire.h"
#include "sim_test_util.h"

namespace consolesim::testing {
namespace {

using Stamp = std::pair<std::uint16_t, std::uint16_t>;

Stamp stampsOf(std::span<const std::uint8_t> rec) { return {getU16(rec, 0), getU16(rec, 2)}; }

TEST(Archive, RecordsCloseEachIntervalUpToTheConsoleClock) {
  SimConsole sim;  // 23:50, interval 5
  EXPECT_EQ(sim.engine.archive().recordCount(), 0u);
  sim.advance(std::chrono::minutes(5) - std::chrono::milliseconds(1));
  EXPECT_EQ(sim.engine.archive().recordCount(), 0u);
  sim.advance(std::chrono::milliseconds(1));
  ASSERT_EQ(sim.engine.archive().recordCount(), 1u);
  // 23:55 on 15 March 2006.
  EXPECT_EQ(stampsOf(sim.engine.archive().slot(0)), (Stamp{3183, 2355}));
}

TEST(Archive, HistoryIsPrefilledAndRecordsAreConsistent) {
  EngineOptions o = SimConsole::defaults();
  o.historyDays = 1;
  SimConsole sim(o);
  const ArchiveRing& ring = sim.engine.archive();
  ASSERT_EQ(ring.recordCount(), 288u);  // a day of 5-minute records
  for (std::size_t i = 0; i < ring.recordCount(); ++i) {
    const auto rec = ring.slot(i);
    const auto temp = static_cast<std::int16_t>(getU16(rec, 4));
    const auto hi = static_cast<std::int16_t>(getU16(rec, 6));
    const auto lo = static_cast<std::int16_t>(getU16(rec, 8));
    EXPECT_LE(lo, temp);
    EXPECT_LE(temp, hi);
    const auto bar = static_cast<std::int16_t>(getU16(rec, 14));
    EXPECT_GE(bar, 16000);
    EXPECT_LE(bar, 32500);
    EXPECT_LE(rec[23], 100);
    EXPECT_EQ(rec[42], 0x00);  // revision B marker
  }
  // The last record closes the interval before the console's 23:50.
  EXPECT_EQ(stampsOf(ring.slot(287)), (Stamp{3183, 2350}));
}

TEST(Archive, SameSeedSameArchive) {
  EngineOptions o = SimConsole::defaults();
  o.historyDays = 1;
  SimConsole a(o), b(o);
  o.seed = 2;
  SimConsole c(o);
  auto page = [](SimConsole& s) {
    const auto p = s.engine.archive().pageRecords(10);
    return Bytes(p.begin(), p.end());
  };
  EXPECT_EQ(page(a), page(b));
  EXPECT_NE(page(a), page(c));
}

TEST(Archive, FirmwareSelectsTheRecordLayout) {
  struct Case {
    FirmwareDate firmware;
    std::uint8_t byte42, byte43;
  };
  for (const Case& c : {Case{{2001, 6, 1}, 0xFF, 0xFF}, Case{{2002, 3, 10}, 0xFF, 0x00},
                        Case{{2002, 3, 22}, 0x00, 0xFF}}) {
    EngineOptions o = SimConsole::defaults();
    o.firmware = c.firmware;
    SimConsole sim(o);
    sim.advance(std::chrono::minutes(5));
    const auto rec = sim.engine.archive().slot(0);
    EXPECT_EQ(rec[42], c.byte42) << c.firmware.year << "-" << c.firmware.month;
    EXPECT_EQ(rec[43], c.byte43) << c.firmware.year << "-" << c.firmware.month;
  }
}

TEST(Archive, SetPeriodAndClearLogActOnTheRing) {
  SimConsole sim;
  sim.advance(std::chrono::minutes(10));  // 23:55, 00:00
  EXPECT_EQ(sim.engine.archive().recordCount(), 2u);
  EXPECT_EQ(sim.send("SETPER 30\n"), hex("0A 0D 4F 4B 0A 0D"));
  EXPECT_EQ(sim.send("CLRLOG\n"), hex("06"));
  EXPECT_EQ(sim.engine.archive().recordCount(), 0u);
  sim.advance(std::chrono::minutes(29));  // 00:29
  EXPECT_EQ(sim.engine.archive().recordCount(), 0u);
  sim.advance(std::chrono::minutes(1));  // 00:30
  ASSERT_EQ(sim.engine.archive().recordCount(), 1u);
  EXPECT_EQ(stampsOf(sim.engine.archive().slot(0)), (Stamp{3184, 30}));
}

TEST(Archive, ZeroIntervalStopsArchiving) {
  SimConsole sim;
  // EEWR 2D 0: an interval the console cannot use.
  EXPECT_EQ(sim.send("EEWR 2D 0\n"), hex("0A 0D 4F 4B 0A 0D"));
  sim.advance(std::chrono::hours(1));
  EXPECT_EQ(sim.engine.archive().recordCount(), 0u);
}

TEST(Archive, FullRingDumpGoesOnceRoundFromTheOldestRecord) {
  EngineOptions o = SimConsole::defaults();
  o.historyDays = 10;  // 2880 records: the ring of 2560 has wrapped
  SimConsole sim(o);
  const ArchiveRing& ring = sim.engine.archive();
  ASSERT_EQ(ring.recordCount(), kArchiveSlots);
  // Only the newest 2560 of the 2880 records are built: the ring is exactly full.
  ASSERT_EQ(ring.nextSlot(), 0u);
  const DumpPlan all = ring.planDumpAfter(0, 0);
  EXPECT_EQ(all.startPage, 0u);
  EXPECT_EQ(all.firstRecord, 0);
  EXPECT_EQ(all.pageCount, 512);

  // Two more records: the oldest now sits behind the newest in the same page.
  sim.advance(std::chrono::minutes(10));  // 23:55 and 00:00
  const DumpPlan wrapped = sim.engine.archive().planDumpAfter(0, 0);
  EXPECT_EQ(wrapped.startPage, 0u);
  EXPECT_EQ(wrapped.firstRecord, 2);
  EXPECT_EQ(wrapped.pageCount, 513);
}

TEST(Archive, DumpAfterTheNewestRecordInTheMiddleOfThePage) {
  SimConsole sim;
  sim.advance(std::chrono::minutes(40));  // 23:55 ... 00:30 in slots 0 to 7
  const ArchiveRing& ring = sim.engine.archive();
  const DumpPlan plan = ring.planDumpAfter(3184, 15);  // after 00:15 (slot 4)
  EXPECT_EQ(plan.startPage, 1u);
  EXPECT_EQ(plan.firstRecord, 0);
  EXPECT_EQ(plan.pageCount, 1);
  EXPECT_EQ(ring.planDumpAfter(3184, 30).pageCount, 0);
}

TEST(Archive, SetTimeBackwardsKeepsArchivingFromTheNewTime) {
  SimConsole sim;
  sim.engine.setConsoleTime(platform::CivilTime{2006, 1, 1, 0, 0, 0});
  sim.advance(std::chrono::minutes(5));
  ASSERT_EQ(sim.engine.archive().recordCount(), 1u);
  // 00:05 on 1 January 2006: (6 × 512) + 32 + 1 = 3105.
  EXPECT_EQ(stampsOf(sim.engine.archive().slot(0)), (Stamp{3105, 5}));
}

TEST(Archive, PutRainSetsTheYearTotal) {
  SimConsole sim;
  EXPECT_EQ(sim.send("PUTRAIN 1234\n"), hex("06"));
  const Bytes loop = sim.send("LOOP 1\n");
  ASSERT_EQ(loop.size(), 100u);
  EXPECT_EQ(getU16(std::span(loop).subspan(1), 54), 1234);
  EXPECT_EQ(sim.send("PUTRAIN -1\n"), hex("15"));
}

}  // namespace
}  // namespace consolesim::testing
