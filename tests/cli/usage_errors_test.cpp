// A misspelt command or option is named as such, with the nearest valid one; --version.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/testing/mem_file_system.h"

namespace cli {
namespace {

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

Outcome run(const std::vector<std::string>& args) {
  platform::MemFileSystem files;
  platform::Env env;
  env.files = &files;
  std::ostringstream out, err;
  CommandContext ctx{env, &out, &err};
  const int code = runCommandLine(args, ctx);
  return {code, out.str(), err.str()};
}

struct Misspelling {
  std::vector<std::string> args;
  std::string named;      // what the message must say is wrong
  std::string suggested;  // the suggestion it must make
};

class MisspeltWord : public ::testing::TestWithParam<Misspelling> {};

TEST_P(MisspeltWord, IsNamedWithTheNearestValidOne) {
  const Outcome o = run(GetParam().args);
  EXPECT_EQ(o.exitCode, kExitUsage);
  EXPECT_NE(o.err.find(GetParam().named), std::string::npos) << o.err;
  EXPECT_NE(o.err.find(GetParam().suggested), std::string::npos) << o.err;
  EXPECT_EQ(o.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, MisspeltWord,
    ::testing::Values(
        // The first word is neither a command nor a station with its switches.
        Misspelling{{"downlaod", "--station", "X"},
                    "'downlaod' no es un comando de 'stratalog'.",
                    "¿Quiso decir 'download'?"},
        Misspelling{
            {"sumary"}, "'sumary' no es un comando de 'stratalog'.", "¿Quiso decir 'summary'?"},
        // A required option missing because it was misspelt: the misspelling is the fault.
        Misspelling{{"download", "--statoin", "X"},
                    "'--statoin' no es una opción de 'stratalog download'.",
                    "¿Quiso decir '--station'?"},
        Misspelling{{"station", "show", "--staton", "X"},
                    "'--staton' no es una opción de 'stratalog station show'.",
                    "¿Quiso decir '--station'?"},
        // An option after a good value-taking option, and a misspelt subcommand of a group.
        Misspelling{{"station", "print", "--station", "X", "--lsit", "2"},
                    "'--lsit' no es una opción de 'stratalog station print'.",
                    "¿Quiso decir '--list'?"},
        Misspelling{{"station", "delte", "--station", "X"},
                    "'delte' no es un comando de 'stratalog station'.",
                    "¿Quiso decir 'delete'?"},
        Misspelling{{"--verison"},
                    "'--verison' no es una opción de 'stratalog'.",
                    "¿Quiso decir '--version'?"}));

TEST(UsageErrors, WordFarFromEveryCommandGetsNoSuggestion) {
  const Outcome o = run({"station", "frobnicate", "--station", "X"});
  EXPECT_EQ(o.exitCode, kExitUsage);
  EXPECT_NE(o.err.find("'frobnicate' no es un comando de 'stratalog station'."), std::string::npos)
      << o.err;
  EXPECT_EQ(o.err.find("¿Quiso decir"), std::string::npos) << o.err;
}

TEST(UsageErrors, MissingOptionSpeltRightStillSaysItIsRequired) {
  const Outcome o = run({"download"});
  EXPECT_EQ(o.exitCode, kExitUsage);
  EXPECT_NE(o.err.find("--station"), std::string::npos) << o.err;
  EXPECT_EQ(o.err.find("no es una opción"), std::string::npos) << o.err;
}

TEST(Version, PrintsTitleAndBuild) {
  const Outcome o = run({"--version"});
  EXPECT_EQ(o.exitCode, kExitOk);
  EXPECT_EQ(o.err, "");
  ASSERT_EQ(o.out.rfind("Stratalog 1.0 (", 0), 0u) << o.out;
  ASSERT_GE(o.out.size(), std::string("Stratalog 1.0 (x)\n").size());
  EXPECT_EQ(o.out.substr(o.out.size() - 2), ")\n");
}

}  // namespace
}  // namespace cli
