#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "platform/testing/mem_file_system.h"

namespace cli {
namespace {

using platform::FakeClock;
using platform::MemFileSystem;

constexpr const char* kLog = "/prog/download.log";
constexpr const char* kDir = "/prog";

TEST(LogCommand, ShowsTheNewestLines) {
  MemFileSystem fs;
  FakeClock clock;
  fs.setContents(kLog, " 3\r\n 2\n 1\n");
  std::ostringstream out, err;
  cli::CommandContext ctx{{&fs, &clock}, &out, &err};
  EXPECT_EQ(cli::runCommandLine({"log", "--program-dir", kDir, "--lines", "2"}, ctx), 0);
  EXPECT_EQ(out.str(), " 3\n 2\n");

  cli::CommandContext missing{{&fs, &clock}, &out, &err};
  EXPECT_EQ(cli::runCommandLine({"log", "--program-dir", "/elsewhere"}, missing), 1);
  EXPECT_NE(err.str().find("/elsewhere/download.log"), std::string::npos);
}

TEST(LogCommand, AProgramDirectoryWithoutALogYetHasAnEmptyLog) {
  MemFileSystem fs;
  FakeClock clock;
  ASSERT_TRUE(fs.createDirectories(kDir).isOk());
  std::ostringstream out, err;
  cli::CommandContext ctx{{&fs, &clock}, &out, &err};
  EXPECT_EQ(cli::runCommandLine({"log", "--program-dir", kDir}, ctx), 0) << err.str();
  EXPECT_EQ(out.str(), "El registro de sucesos está vacío.\n");
  EXPECT_EQ(err.str(), "");
}

TEST(LogCommand, TheLineCountIsAWholeNumberNamedInSpanish) {
  MemFileSystem fs;
  FakeClock clock;
  std::ostringstream out, err;
  cli::CommandContext help{{&fs, &clock}, &out, &err};
  cli::runCommandLine({"log", "--help"}, help);
  EXPECT_NE(out.str().find("-n,--lines ENTERO "), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("NONNEGATIVE"), std::string::npos) << out.str();

  cli::CommandContext negative{{&fs, &clock}, &out, &err};
  EXPECT_EQ(cli::runCommandLine({"log", "--program-dir", kDir, "-n", "-2"}, negative), 2);
  EXPECT_NE(err.str().find("-2 no es un número de líneas"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace cli
