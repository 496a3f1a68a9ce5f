// What holds for every command of the command line, checked over the whole command tree so
// that a command added later is checked too.
#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "cli/cli.h"
#include "cli/command_run.h"
#include "platform/string_table.h"

namespace cli {
namespace {

using clitest::CommandRun;
using clitest::run;

namespace fs = std::filesystem;

std::vector<std::string> words(const std::string& path) {
  std::vector<std::string> w;
  std::istringstream in(path);
  for (std::string word; in >> word;) w.push_back(word);
  return w;
}

struct Command {
  std::string path;
  bool takesStation;
  bool takesProgramDir;
  std::vector<std::string> texts;  // its description and its options' descriptions
};

std::vector<Command> everyCommand() {
  std::vector<Command> commands;
  forEachCommand([&](const std::string& path, const CLI::App& app) {
    Command c{path, app.get_option_no_throw("--station") != nullptr,
              app.get_option_no_throw("--program-dir") != nullptr, {app.get_description()}};
    for (const CLI::Option* opt : app.get_options()) c.texts.push_back(opt->get_description());
    commands.push_back(std::move(c));
  });
  return commands;
}

// What a command needs besides its station to get as far as looking the station up.
const std::map<std::string, std::vector<std::string>> kRequiredWords = {
    {"db record", {"1"}},
    {"db closest", {"2006-07-15"}},
    {"db day", {"2006-07-15"}},
    {"summary show", {"--date", "2006-07-15"}},
    {"console set-interval", {"5"}},
    {"schedule set", {"--hours", "7"}},
    {"fuel show", {"--number", "1"}},
    {"fuel estimate", {"--number", "1"}},
    {"fuel edit", {"--number", "1"}},
    {"fuel delete", {"--number", "1", "--yes"}},
    {"export text", {"--year", "2006"}},
    {"export copy", {"--year", "2006"}},
    {"export print", {"--year", "2006"}},
    {"export delete", {"--year", "2006"}},
    {"profile show", {"1"}}, {"profile set", {"1"}}, {"profile add-file", {"1", "none.htx"}},
    {"profile remove-file", {"1", "none.htx"}}, {"upload", {"1"}},
    {"export globe", {"--year", "2006", "--school", "E1", "--site", "S1"}},
    {"fuel add", {"--number", "1", "--last", "A", "--k", "5", "--reading", "1", "--date", "2006-01-01"}},
    {"template fill", {"index.htx"}},
    {"images draw", {"1"}},
    {"profile images", {"1"}},
};

std::vector<std::string> withStation(const Command& c, const std::string& programDir,
                                     const std::string& station) {
  std::vector<std::string> args = words(c.path);
  for (const char* w : {"--program-dir", programDir.c_str(), "--station", station.c_str()}) {
    args.push_back(w);
  }
  if (auto it = kRequiredWords.find(c.path); it != kRequiredWords.end()) {
    args.insert(args.end(), it->second.begin(), it->second.end());
  }
  return args;
}

TEST(EveryCommand, HelpIsSpanishFromTheStringTableAndExitsZero) {
  const std::vector<Command> commands = everyCommand();
  ASSERT_GT(commands.size(), 20u);
  for (const Command& c : commands) {
    std::vector<std::string> args = words(c.path);
    args.push_back("--help");
    const CommandRun help = run(args);
    EXPECT_EQ(help.exitCode, 0) << c.path;
    EXPECT_TRUE(c.takesProgramDir) << c.path << " has no --program-dir";
    EXPECT_NE(help.out.find("Uso: stratalog " + c.path), std::string::npos) << help.out;
    static const std::regex english(R"(\b(TEXT|INT|UINT|FLOAT|Options|Usage|in \[|default)\b)");
    EXPECT_FALSE(std::regex_search(help.out, english)) << c.path << ": " << help.out;
    for (const std::string& text : c.texts) {
      EXPECT_TRUE(platform::isTableText(text)) << c.path << ": \"" << text << "\"";
    }
  }
}

TEST(EveryCommand, AMisspeltOptionExitsTwoAndIsNamed) {
  for (const Command& c : everyCommand()) {
    std::vector<std::string> args = words(c.path);
    args.insert(args.end(), {"--statoin", "x"});
    const CommandRun misspelt = run(args);
    EXPECT_EQ(misspelt.exitCode, 2) << c.path;
    EXPECT_NE(misspelt.err.find("'--statoin' no es una opción de 'stratalog " + c.path + "'."),
              std::string::npos)
        << c.path << ": " << misspelt.err;
  }
}

class EveryStationCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = clitest::scratchDirectory("every");
    for (const char* name : {"Casa 2 - Jardín", "Norte"}) {
      ASSERT_EQ(run({"station", "create", "--name", name, "--parent", dir_.string(),
                     "--program-dir", dir_.string()})
                    .exitCode,
                0);
      // A console that is not there: the commands that talk to it fail at once.
      ASSERT_EQ(run({"station", "set", "--station", name, "--program-dir", dir_.string(),
                     "--port", "/dev/stratalog-no-console"})
                    .exitCode,
                0);
    }
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(EveryStationCommand, AnUnknownStationExitsTwoAndListsTheStations) {
  std::size_t checked = 0;
  for (const Command& c : everyCommand()) {
    if (!c.takesStation) continue;
    ++checked;
    const CommandRun unknown = run(withStation(c, dir_.string(), "Sur"));
    EXPECT_EQ(unknown.exitCode, 2) << c.path << ": " << unknown.err;
    EXPECT_NE(unknown.err.find("No hay ninguna estación 'Sur'."), std::string::npos)
        << c.path << ": " << unknown.err;
    EXPECT_NE(unknown.err.find("\n  Casa 2 - Jardín  ("), std::string::npos) << c.path;
    EXPECT_NE(unknown.err.find("\n  Norte  ("), std::string::npos) << c.path;
  }
  EXPECT_GT(checked, 15u);
}

TEST_F(EveryStationCommand, AStationGivenByItsDisplayNameIsFound) {
  for (const Command& c : everyCommand()) {
    if (!c.takesStation) continue;
    const CommandRun named = run(withStation(c, dir_.string(), "Casa 2 - Jardín"));
    EXPECT_EQ(named.err.find("No hay ninguna estación"), std::string::npos)
        << c.path << ": " << named.err;
    EXPECT_EQ(named.err.find("Indique la estación"), std::string::npos) << c.path;
    EXPECT_NE(named.exitCode, 2) << c.path << ": " << named.err;
    // The port number is looked up in the program directory's comports.txt, wherever the
    // command was started.
    if (c.path.rfind("console ", 0) == 0) {
      EXPECT_NE(named.err.find("/dev/stratalog-no-console"), std::string::npos)
          << c.path << ": " << named.err;
    }
  }
}

}  // namespace
}  // namespace cli
