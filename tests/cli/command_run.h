#pragma once

// A command line run as a new process would run it, and a scratch directory per test.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/file_system.h"

namespace clitest {

struct CommandRun {
  int exitCode;
  std::string out;
  std::string err;
};

// Runs `args` on the real platform (or on `files` when given) and keeps what it printed.
inline CommandRun run(const std::vector<std::string>& args,
                      platform::FileSystem* files = nullptr) {
  std::ostringstream out, err;
  cli::CommandContext ctx{platform::Env{}, &out, &err};
  if (files != nullptr) ctx.env.files = files;
  const int code = cli::runCommandLine(args, ctx);
  return {code, out.str(), err.str()};
}

// Runs `args` on `env` (a fake clock, the simulator's ports...) with `input` as what the
// command reads from standard input.
inline CommandRun run(const std::vector<std::string>& args, const platform::Env& env,
                      const std::string& input) {
  std::ostringstream out, err;
  std::istringstream in(input);
  cli::CommandContext ctx{env, &out, &err};
  ctx.in = &in;
  const int code = cli::runCommandLine(args, ctx);
  return {code, out.str(), err.str()};
}

// A directory of its own for each test, named after it, removed afterwards.
inline std::filesystem::path scratchDirectory(const std::string& prefix) {
  const auto* info = ::testing::UnitTest::GetInstance();
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("stratalog-" + prefix + "-" + std::to_string(info->random_seed()) + "-" +
       info->current_test_info()->test_suite_name() + "-" + info->current_test_info()->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace clitest
