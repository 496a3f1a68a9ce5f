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

}  // namespace
}  // namespace cli
