#include <gtest/gtest.h>

#include "consolesim/wire.h"
#include "sim_test_util.h"

namespace consolesim::testing {
namespace {

EngineOptions withFaults(std::initializer_list<const char*> rules) {
  EngineOptions o = SimConsole::defaults();
  for (const char* r : rules) {
    auto rule = parseFaultRule(r);
    EXPECT_TRUE(rule.isOk()) << r;
    if (rule) o.faults.push_back(*rule);
  }
  return o;
}

struct RuleCase {
  const char* text;
  bool ok;
  FaultKind kind;
  std::uint64_t first;
  std::uint64_t count;
  double percent;
};
constexpr RuleCase kRules[] = {
    {"nak", true, FaultKind::kNak, 1, 1, -1},
    {"crc-page@3", true, FaultKind::kCrcPage, 3, 1, -1},
    {"drop-byte@2*0", true, FaultKind::kDropByte, 2, 0, -1},
    {"garbage%12.5", true, FaultKind::kGarbage, 1, 1, 12.5},
    {"nak@0", false, FaultKind::kNak, 0, 0, 0},
    {"nak%101", false, FaultKind::kNak, 0, 0, 0},
    {"nak@x", false, FaultKind::kNak, 0, 0, 0},
    {"nak@2*", false, FaultKind::kNak, 0, 0, 0},
    {"bogus", false, FaultKind::kNak, 0, 0, 0},
    {"", false, FaultKind::kNak, 0, 0, 0},
};

TEST(FaultRules, Parse) {
  for (const RuleCase& c : kRules) {
    SCOPED_TRACE(c.text);
    auto r = parseFaultRule(c.text);
    ASSERT_EQ(r.isOk(), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(r->kind, c.kind);
    if (c.percent < 0) {
      EXPECT_EQ(r->first, c.first);
      EXPECT_EQ(r->count, c.count);
    } else {
      EXPECT_DOUBLE_EQ(r->percent, c.percent);
    }
  }
}

TEST(FaultRules, CountedRuleFiresOnItsOpportunitiesOnly) {
  FaultPlan plan;
  plan.add(*parseFaultRule("nak@2*2"));
  std::vector<bool> fired;
  for (int i = 0; i < 5; ++i) fired.push_back(plan.fire(FaultKind::kNak));
  EXPECT_EQ(fired, (std::vector<bool>{false, true, true, false, false}));
  EXPECT_FALSE(plan.fire(FaultKind::kCrcPage));
}

TEST(FaultRules, RandomRuleIsRepeatableForOneSeed) {
  auto run = [](std::uint64_t seed) {
    FaultPlan plan(seed);
    plan.add(*parseFaultRule("nak%30"));
    std::vector<bool> v;
    for (int i = 0; i < 200; ++i) v.push_back(plan.fire(FaultKind::kNak));
    return v;
  };
  EXPECT_EQ(run(7), run(7));
  EXPECT_NE(run(7), run(8));
  const auto v = run(7);
  const auto hits = std::count(v.begin(), v.end(), true);
  EXPECT_GT(hits, 30);
  EXPECT_LT(hits, 100);
}

TEST(Faults, AcknowledgeReplacedByNakOrOtherByte) {
  SimConsole nak(withFaults({"nak"}));
  EXPECT_EQ(nak.send("NEWSETUP\n"), hex("15"));
  EXPECT_EQ(nak.send("NEWSETUP\n"), hex("06"));  // only the first time
  SimConsole other(withFaults({"wrong-ack"}));
  EXPECT_EQ(other.send("EEBRD 2D 1\n"), hex("21"));
  EXPECT_EQ(other.send("EEBRD 2D 1\n"), hex("06 05 50 A5"));
}

TEST(Faults, NoReplyIsSilenceThenNormal) {
  SimConsole sim(withFaults({"no-reply@1*2"}));
  EXPECT_TRUE(sim.send("\n").empty());
  EXPECT_TRUE(sim.send("\n").empty());
  EXPECT_EQ(sim.send("\n"), hex("0A 0D"));
}

TEST(Faults, BlockCrcIsWrong) {
  SimConsole sim(withFaults({"crc-block"}));
  const Bytes bad = sim.send("EEBRD 2D 1\n");
  ASSERT_EQ(bad.size(), 4u);
  EXPECT_NE(crc16(std::span(bad).subspan(1)), 0);
  EXPECT_EQ(sim.send("EEBRD 2D 1\n"), hex("06 05 50 A5"));
}

TEST(Faults, DroppedAndGarbageBytesChangeTheLength) {
  SimConsole drop(withFaults({"drop-byte@2"}));  // the ACK is the first reply, the block the second
  EXPECT_EQ(drop.send("EEBRD 2D 1\n").size(), 3u);
  SimConsole garbage(withFaults({"garbage"}));
  const Bytes g = garbage.send("\n");
  ASSERT_GT(g.size(), 2u);
  EXPECT_EQ(Bytes(g.end() - 2, g.end()), hex("0A 0D"));
}

TEST(Faults, LoopPacketCrc) {
  SimConsole sim(withFaults({"crc-loop@2"}));
  const Bytes first = sim.send("LOOP 2\n");
  EXPECT_EQ(crc16(std::span(first).subspan(1)), 0);
  sim.advance(std::chrono::seconds(2));
  EXPECT_NE(crc16(sim.drain()), 0);
}

// Starts a dump of the 8 records of 40 minutes (two pages) and returns the first page.
Bytes startDump(SimConsole& sim) {
  sim.advance(std::chrono::minutes(40));
  EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
  EXPECT_EQ(sim.send(hex("00 00 00 00 00 00")), hex("06 02 00 00 00 ED 68"));
  return sim.send(hex("06"));
}

TEST(Faults, PageCrcThenGoodResend) {
  SimConsole sim(withFaults({"crc-page"}));
  const Bytes bad = startDump(sim);
  ASSERT_EQ(bad.size(), 267u);
  EXPECT_NE(crc16(bad), 0);
  const Bytes good = sim.send(hex("15"));
  EXPECT_EQ(crc16(good), 0);
  EXPECT_EQ(good[0], 0);
}

TEST(Faults, PageSequenceFaults) {
  struct Case {
    const char* rule;
    std::uint8_t secondSequence;
  };
  for (const Case& c : {Case{"repeat-page", 0}, Case{"skip-page", 2}}) {
    SCOPED_TRACE(c.rule);
    EngineOptions o = withFaults({c.rule});
    SimConsole sim(o);
    sim.advance(std::chrono::minutes(55));  // 11 records: three pages
    EXPECT_EQ(sim.send("DMPAFT\n"), hex("06"));
    EXPECT_EQ(sim.send(hex("00 00 00 00 00 00")).size(), 7u);
    EXPECT_EQ(sim.send(hex("06"))[0], 0);
    const Bytes second = sim.send(hex("06"));
    ASSERT_EQ(second.size(), 267u);
    EXPECT_EQ(second[0], c.secondSequence);
    EXPECT_EQ(crc16(second), 0);
  }
}

TEST(Faults, PageTimeoutSendsNothingUntilNak) {
  SimConsole sim(withFaults({"page-timeout"}));
  EXPECT_TRUE(startDump(sim).empty());
  EXPECT_EQ(sim.send(hex("15")).size(), 267u);
}

TEST(Faults, DisconnectKillsTheLineForAWhile) {
  EngineOptions o = withFaults({"disconnect@2"});
  o.disconnectFor = std::chrono::seconds(10);
  SimConsole sim(o);
  EXPECT_EQ(sim.send("\n"), hex("0A 0D"));
  EXPECT_TRUE(sim.send("\n").empty());
  EXPECT_TRUE(sim.engine.lineDead());
  EXPECT_TRUE(sim.send("\n").empty());
  sim.advance(std::chrono::seconds(10));
  EXPECT_FALSE(sim.engine.lineDead());
  EXPECT_EQ(sim.send("\n"), hex("0A 0D"));
}

TEST(Faults, GarbageInputNeverStopsTheConsole) {
  SimConsole sim(SimConsole::defaults());
  std::mt19937 rng(3);
  for (int round = 0; round < 200; ++round) {
    Bytes junk(1 + rng() % 300);
    for (auto& b : junk) b = static_cast<std::uint8_t>(rng());
    sim.engine.receive(junk);
    sim.advance(std::chrono::milliseconds(rng() % 5000));
    sim.drain();
  }
  // Whatever state the junk left, a pause and a wake-up bring the console back.
  sim.send(hex("1B 0A"));
  sim.advance(std::chrono::seconds(61));
  sim.drain();
  Bytes answer = sim.send("\n");
  if (answer != hex("0A 0D")) answer = sim.send("\n");
  EXPECT_EQ(answer, hex("0A 0D"));
}

}  // namespace
}  // namespace consolesim::testing
