// The link's own behaviour on a scripted line: wake-up, acknowledge, blocks, flushing, and
// commands that must fail rather than claim success.
#include <gtest/gtest.h>

#include <functional>

#include "link/serial_port_manager.h"
#include "link_fixture.h"

namespace linktest {
namespace {

using stationlink::CirrantLink;
using stationlink::ConsoleLink;

class ConsoleLinkTest : public CirrantFixture {};

TEST_F(ConsoleLinkTest, WakeUpGivesUpAfterFiveWrongAnswersWithoutSendingTheCommand) {
  for (int i = 0; i < 5; ++i) wire_->on({0x0A}, {'?'});
  platform::Status s = link_.GetTime().status();
  EXPECT_FALSE(s.isOk());
  EXPECT_EQ(s.code(), -5);
  EXPECT_EQ(written(), "\n\n\n\n\n");
  EXPECT_LT(elapsed(), std::chrono::seconds(30));
}

TEST_F(ConsoleLinkTest, SilentConsoleTimesOutOnTheFakeClock) {
  platform::Status s = link_.ClearArchive();
  EXPECT_EQ(s.code(), -5);
  EXPECT_TRUE(link_.hasState(stationlink::kTimedOut | stationlink::kLinkError));
  // Five wake-ups of a flush (20 ms + 260 ms) and a 2025 ms read each.
  EXPECT_EQ(elapsed(), std::chrono::milliseconds(5 * (20 + 260 + 2025)));
}

TEST_F(ConsoleLinkTest, NakWhereAckIsExpectedGivesMinus8AndOneLogLine) {
  wire_->wake();
  wire_->onText("NEWSETUP\n", {0x15});
  platform::Status s = link_.NewSetup();
  EXPECT_EQ(s.code(), -8);
  EXPECT_EQ(link_.lastError(), -8);
  EXPECT_TRUE(link_.hasState(stationlink::kNoAcknowledge));
  ASSERT_EQ(logged_.size(), 1u);
  EXPECT_EQ(logged_[0].first, "Cumbre");
  EXPECT_EQ(logged_[0].second, "GetAcknowledge () response: 0x15 (should be 0x06 <ACK>)");
}

TEST_F(ConsoleLinkTest, BlockWithItsCrcReadsGoodAndAnyFlippedBitGivesMinus4) {
  const Bytes block = withCrc({0x01, 0x02, 0x03, 0x04, 0xFE});
  ASSERT_TRUE(link_.Open().isOk());
  wire_->input.assign(block.begin(), block.end());
  ASSERT_TRUE(link_.ReadBlockCrc(block.size()).isOk());
  for (std::size_t bit = 0; bit < block.size() * 8; ++bit) {
    Bytes bad = block;
    bad[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
    wire_->input.assign(bad.begin(), bad.end());
    EXPECT_EQ(link_.ReadBlockCrc(bad.size()).code(), -4) << "bit " << bit;
  }
}

TEST_F(ConsoleLinkTest, BlockLargerThanTheReceiveBufferFailsInsteadOfOverrunning) {
  ASSERT_TRUE(link_.Open().isOk());
  wire_->input.assign(600, 0x00);
  platform::Status s = link_.ReadBlock(513);
  EXPECT_EQ(s.code(), -1);
  EXPECT_EQ(wire_->input.size(), 600u) << "nothing may be read into the buffer";
}

TEST_F(ConsoleLinkTest, FlushEndsOnALineThatNeverFallsSilent) {
  ASSERT_TRUE(link_.Open().isOk());
  wire_->chatter = true;
  ASSERT_TRUE(link_.Flush().isOk());
  EXPECT_LE(elapsed(), std::chrono::milliseconds(2100));
}

// A flush on a quiet line waits 20 ms and then the 260 ms of a short read; one that follows
// another with nothing on the line in between only empties the system's buffer.
struct FlushCase {
  const char* name;
  std::function<void(ConsoleLink&)> between;
  std::chrono::milliseconds secondFlush;
};

class FlushAfterFlush : public CirrantFixture, public ::testing::WithParamInterface<FlushCase> {};

TEST_P(FlushAfterFlush, CostsNothingUnlessTheLineWasUsedInBetween) {
  ASSERT_TRUE(link_.Open().isOk());
  ASSERT_TRUE(link_.Flush().isOk());
  EXPECT_EQ(elapsed(), std::chrono::milliseconds(280));
  GetParam().between(link_);
  wire_->input.assign({0x41, 0x42});  // arrived meanwhile
  const auto before = elapsed();
  ASSERT_TRUE(link_.Flush().isOk());
  EXPECT_EQ(elapsed() - before, GetParam().secondFlush);
  EXPECT_TRUE(wire_->input.empty()) << "a flush leaves nothing pending";
  EXPECT_EQ(link_.receivedBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Between, FlushAfterFlush,
    ::testing::Values(
        FlushCase{"nothing", [](ConsoleLink&) {}, std::chrono::milliseconds(0)},
        FlushCase{"aWrite", [](ConsoleLink& l) { (void)l.WriteByte(0x0A); },
                  std::chrono::milliseconds(280)},
        FlushCase{"aRead", [](ConsoleLink& l) { (void)l.ReadByte(); },
                  std::chrono::milliseconds(280)},
        // The answer to a write has had its 20 ms to arrive: the flush reads without waiting.
        FlushCase{"aWriteThatHasSettled",
                  [](ConsoleLink& l) {
                    (void)l.WriteByte(0x0A);
                    l.wait(250);
                  },
                  std::chrono::milliseconds(260)},
        FlushCase{"aWriteStillSettling",
                  [](ConsoleLink& l) {
                    (void)l.WriteByte(0x0A);
                    l.wait(15);
                  },
                  std::chrono::milliseconds(265)},
        FlushCase{"aReopenedPort",
                  [](ConsoleLink& l) {
                    l.Close();
                    (void)l.Open();
                  },
                  std::chrono::milliseconds(280)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleLinkTest, ConfigurationReadWithBadCrcFailsAndNothingIsWrittenBack) {
  wire_->wake();
  wire_->onText("EEBRD 2B 1\n", {0x06, 0x20, 0x00, 0x00});  // CRC does not match
  platform::Status s = link_.SetRainCollector(2);
  EXPECT_EQ(s.code(), -4);
  EXPECT_EQ(written().find("EEBWR"), std::string::npos);
}

TEST_F(ConsoleLinkTest, RainCollectorKeepsTheOtherSetupBits) {
  wire_->wake();
  wire_->onText("EEBRD 2B 1\n", cat({kAckByte, withCrc({0x28})}));  // large cups, collector 10
  wire_->wake();
  wire_->onText("EEBWR 2B 1\n", kAckByte);
  wire_->on(withCrc({0x18}), kAckByte);
  wire_->wake();
  wire_->onText("NEWSETUP\n", kAckByte);
  ASSERT_TRUE(link_.SetRainCollector(2).isOk());
  EXPECT_EQ(wire_->written,
            cat({bytes("\nEEBRD 2B 1\n\nEEBWR 2B 1\n"), withCrc({0x18}), bytes("\nNEWSETUP\n")}));
}

// Commands that once answered success without the console's answer.
struct NoAnswerCase {
  const char* name;
  std::function<platform::Status(ConsoleLink&)> run;
};

class CommandsWithoutAnswer : public CirrantFixture,
                              public ::testing::WithParamInterface<NoAnswerCase> {};

TEST_P(CommandsWithoutAnswer, FailWhenTheConsoleDoesNotWake) {
  EXPECT_FALSE(GetParam().run(link_).isOk());
  EXPECT_EQ(written(), "\n\n\n\n\n") << "only wake-up attempts may be sent";
}

TEST_P(CommandsWithoutAnswer, FailWhenThePortCannotBeOpened) {
  wire_->failOpenCode = -11;
  platform::Status s = GetParam().run(link_);
  EXPECT_EQ(s.code(), -11);
  EXPECT_TRUE(link_.hasState(stationlink::kPortMissing));
}

TEST_P(CommandsWithoutAnswer, FailWhenTheReplyDoesNotCome) {
  wire_->wake();
  EXPECT_FALSE(GetParam().run(link_).isOk());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandsWithoutAnswer,
    ::testing::Values(NoAnswerCase{"clearLog", [](ConsoleLink& l) { return l.ClearArchive(); }},
                      NoAnswerCase{"putRain", [](ConsoleLink& l) { return l.PutRain(120); }},
                      NoAnswerCase{"clearHighs", [](ConsoleLink& l) { return l.ClearHighs(-1); }},
                      NoAnswerCase{"clearLows", [](ConsoleLink& l) { return l.ClearLows(1); }},
                      NoAnswerCase{"receptionCheck",
                                   [](ConsoleLink& l) { return l.ReceptionCheck().status(); }},
                      NoAnswerCase{"barometerData",
                                   [](ConsoleLink& l) { return l.ReadBarometerData().status(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleLinkTest, ReceptionStatisticsAreParsedWithinTheReply) {
  wire_->wake();
  wire_->onText("RXCHECK\n", cat({kOkReply, bytes(" 21629 15 0 3204 128\n\r")}));
  auto counts = link_.ReceptionCheck();
  ASSERT_TRUE(counts.isOk()) << counts.status().toString();
  EXPECT_EQ(*counts, (stationlink::ReceptionCounts{21629, 15, 0, 3204, 128}));
}

TEST_F(ConsoleLinkTest, TruncatedReceptionStatisticsFail) {
  wire_->wake();
  wire_->onText("RXCHECK\n", cat({kOkReply, bytes(" 21629 15 0")}));
  EXPECT_FALSE(link_.ReceptionCheck().isOk());
}

TEST_F(ConsoleLinkTest, FirmwareDateIsReadFromTheVersionReply) {
  wire_->wake();
  wire_->onText("VER\n", cat({kOkReply, bytes("Apr 10 2002\n\r")}));
  auto date = link_.GetFirmwareDate();
  ASSERT_TRUE(date.isOk()) << date.status().toString();
  EXPECT_EQ(*date, (stationlink::FirmwareDate{true, 2002, 4, 10}));
}

TEST_F(ConsoleLinkTest, BarometerDataStopsAtTheEndOfTheReply) {
  wire_->wake();
  Bytes reply = cat({kOkReply, bytes("BAR 29920\n\rELEVATION 120\n\r")});
  reply.push_back(0x00);
  reply.insert(reply.end(), {'x', 'y'});
  wire_->onText("BARDATA\n", reply);
  auto text = link_.ReadBarometerData();
  ASSERT_TRUE(text.isOk());
  EXPECT_EQ(*text, "BAR 29920\n\rELEVATION 120\n\r");
}

TEST_F(ConsoleLinkTest, IdentifyAsksWrdAndAnswersTheModelByte) {
  wire_->on({0x0D}, {0x0A, 0x0D});  // flushed away after the first CR
  wire_->on({0x0D}, {0x0A, 0x0D});
  wire_->on({'W', 'R', 'D', 0x12, 0x4D, 0x0D}, {0x06, 0x10});
  auto model = link_.Identify();
  ASSERT_TRUE(model.isOk()) << model.status().toString();
  EXPECT_EQ(*model, 16);
  EXPECT_EQ(wire_->written, (Bytes{0x0D, 0x0D, 'W', 'R', 'D', 0x12, 0x4D, 0x0D}));
}

TEST_F(ConsoleLinkTest, IdentifyFailsOnASilentLineWithinSeconds) {
  EXPECT_FALSE(link_.Identify().isOk());
  EXPECT_EQ(written(), "\r\r\r\r\r\r");
  EXPECT_LT(elapsed(), std::chrono::seconds(15));
}

struct NormalizeCase {
  const char* name;
  stationlink::LinkType type;
  std::uint16_t baud, idle;
  std::uint16_t wantBaud, wantIdle;
};

class NormalizePortParams : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizePortParams, ClassicSpeedAndIdleTime) {
  const NormalizeCase& c = GetParam();
  stationlink::PortParams p;
  p.linkType = c.type;
  p.baudRate = c.baud;
  p.idleSeconds = c.idle;
  auto n = stationlink::normalizePortParams(p);
  EXPECT_EQ(n.baudRate, c.wantBaud);
  EXPECT_EQ(n.idleSeconds, c.wantIdle);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizePortParams,
    ::testing::Values(
        NormalizeCase{"classic9600", stationlink::LinkType::kClassic, 9600, 30, 2400, 30},
        NormalizeCase{"cirrant19200", stationlink::LinkType::kCirrant, 19200, 1999, 19200, 1999},
        NormalizeCase{"idleZero", stationlink::LinkType::kCirrant, 19200, 0, 19200, 60},
        NormalizeCase{"idle2000", stationlink::LinkType::kPlain, 2400, 2000, 2400, 60}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleLinkTest, ManagerHoldsFourLinksAndClosesIdlePorts) {
  stationlink::SerialPortManager manager(services());
  auto p = params();
  p.idleSeconds = 3;
  ConsoleLink* link = manager.AddPort(p);
  ASSERT_NE(link, nullptr);
  EXPECT_NE(dynamic_cast<CirrantLink*>(link), nullptr);
  for (int i = 0; i < 3; ++i) ASSERT_NE(manager.AddPort(p), nullptr);
  EXPECT_EQ(manager.AddPort(p), nullptr);

  wire_->wake();
  wire_->onText("NEWSETUP\n", kAckByte);
  ASSERT_TRUE(link->NewSetup().isOk());
  manager.tick();
  manager.tick();
  EXPECT_TRUE(link->hasState(stationlink::kPortOpen));
  manager.tick();
  EXPECT_FALSE(link->hasState(stationlink::kPortOpen));
  EXPECT_EQ(wire_->openPorts, 0);

  wire_->wake();
  wire_->onText("NEWSETUP\n", kAckByte);
  EXPECT_TRUE(link->NewSetup().isOk());
  EXPECT_EQ(wire_->opens, 2);
  EXPECT_TRUE(manager.RemovePort(link).isOk());
  EXPECT_FALSE(manager.RemovePort(link).isOk());
}

}  // namespace
}  // namespace linktest
