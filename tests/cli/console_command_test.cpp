// stratalog console <sub> run in-process against a scripted console.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "link/link_fixture.h"

namespace linktest {
namespace {

class ConsoleCommand : public ::testing::Test {
 protected:
  ConsoleCommand() : wire_(std::make_shared<Wire>(clock_)), opener_(wire_) {
    ctx_.env.clock = &clock_;
    ctx_.env.serialPorts = &opener_;
    ctx_.out = &out_;
    ctx_.err = &err_;
  }
  int run(std::vector<std::string> args) { return cli::runCommandLine(args, ctx_); }
  std::string written() const { return std::string(wire_->written.begin(), wire_->written.end()); }

  platform::FakeClock clock_;
  std::shared_ptr<Wire> wire_;
  ScriptedOpener opener_;
  std::ostringstream out_, err_;
  cli::CommandContext ctx_;
};

TEST_F(ConsoleCommand, ShowsTheArchiveInterval) {
  wire_->wake();
  wire_->onText("EEBRD 2D 1\n", cat({kAckByte, withCrc({30})}));
  EXPECT_EQ(run({"console", "interval", "--port", "/dev/ttyUSB0"}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "Intervalo de archivo de la consola: 30 min\n");
  EXPECT_EQ(wire_->lastSettings.baudRate, 19200u);
}

// A console without a password: both check-value bytes 255.
void noPassword(Wire& wire) {
  wire.wake();
  wire.onText("EEBRD FFE 2\n", cat({kAckByte, withCrc({0xFF, 0xFF})}));
}

TEST_F(ConsoleCommand, SetsTheClockFromTheGivenTime) {
  noPassword(*wire_);
  wire_->wake();
  wire_->onText("SETTIME\n", kAckByte);
  wire_->on({0x00, 0x00, 0x00, 0x01, 0x01, 0x6A, 0xC9, 0xED}, kAckByte);
  EXPECT_EQ(
      run({"console", "set-clock", "--port", "2", "--baud", "9600", "--time", "2006-01-01 00:00"}),
      0)
      << err_.str();
  EXPECT_EQ(wire_->lastSettings.baudRate, 9600u);
}

TEST_F(ConsoleCommand, ClearArchiveWithYesSendsClrlog) {
  noPassword(*wire_);
  wire_->wake();
  wire_->onText("CLRLOG\n", kAckByte);
  EXPECT_EQ(run({"console", "clear-archive", "--port", "1", "--yes"}), 0) << err_.str();
  EXPECT_EQ(written(), "\nEEBRD FFE 2\n\nCLRLOG\n");
}

TEST_F(ConsoleCommand, SilentConsoleFailsWithTheLinkMessage) {
  EXPECT_EQ(run({"console", "clock", "--port", "1"}), 1);
  EXPECT_NE(err_.str().find("El ordenador dejó de esperar respuesta de la estación"),
            std::string::npos)
      << err_.str();
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
};

class ConsoleCommandUsage : public ConsoleCommand,
                            public ::testing::WithParamInterface<UsageCase> {};

TEST_P(ConsoleCommandUsage, RefusesBeforeTouchingThePort) {
  EXPECT_EQ(run(GetParam().args), 2);
  EXPECT_EQ(wire_->opens, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Args, ConsoleCommandUsage,
    ::testing::Values(
        UsageCase{"noStationNorPort", {"console", "clock", "--program-dir", "/nonexistent"}},
        UsageCase{"oddInterval", {"console", "set-interval", "7", "--port", "1", "--yes"}},
        UsageCase{"oddBaud", {"console", "clock", "--port", "1", "--baud", "300"}},
        UsageCase{"badTime", {"console", "set-clock", "--port", "1", "--time", "2006-02-30 10:00"}},
        UsageCase{"noTimeOfDay", {"console", "set-clock", "--port", "1", "--time", "2006-02-03"}},
        UsageCase{"badHour",
                  {"console", "set-clock", "--port", "1", "--time", "2006-02-03 24:00"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace linktest
