#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/command_run.h"
#include "database/station_generator.h"
#include "frame/program_settings.h"
#include "platform/file_system.h"

namespace station {
namespace {

using clitest::CommandRun;
using clitest::run;

class StationCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = clitest::scratchDirectory("station");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(StationCommand, CreatedStationOpensAgainWithTheSameSettings) {
  const CommandRun created = run({"station", "create", "--name", "Casa Jardín", "--parent",
                                  dir_.string(), "--model", "Tessel II"});
  ASSERT_EQ(created.exitCode, 0) << created.err;
  const std::string station = (dir_ / "CasaJard").string();
  EXPECT_EQ(created.out, station + "\n");
  EXPECT_EQ(std::filesystem::file_size(dir_ / "CasaJard" / "STATION.CFG"), 4096U);
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "CasaJard" / "Fuel"));

  const CommandRun changed =
      run({"station", "set", "--station", station, "--port", "3", "--baud", "2400", "--latitude",
           "37.6", "--longitude", "-122.1", "--connect-wait", "5"});
  ASSERT_EQ(changed.exitCode, 0) << changed.err;

  const CommandRun shown = run({"station", "show", "--station", station});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  for (const char* want :
       {"nombre: Casa Jardín\n", "modelo: Tessel II (2)\n", "puerto: 3\n",
        "velocidad (baudios): 2400\n", "latitud: 37.6000\n", "código de zona: 2\n",
        "espera tras conectar: 5 s\n", "\nunidades: temperatura F, barómetro inHg, "}) {
    EXPECT_NE(shown.out.find(want), std::string::npos) << want << " in\n" << shown.out;
  }
  const CommandRun lists = run({"station", "lists", "--station", station});
  ASSERT_EQ(lists.exitCode, 0) << lists.err;
  EXPECT_EQ(lists.out.rfind("0\tDefault Archive Browser List\tTemperatura Exterior, ", 0), 0U)
      << lists.out;
}

// Two stations in one program directory: a device path given to one takes a number the
// other does not use, and the other keeps its port; numbers outside 1-18 are refused.
TEST_F(StationCommand, ADevicePathNeverRepointsAnotherStationsPort) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir_);  // the program directory is the current one
  ASSERT_EQ(run({"station", "create", "--name", "Norte", "--parent", dir_.string()}).exitCode, 0);
  ASSERT_EQ(run({"station", "create", "--name", "Sur", "--parent", dir_.string()}).exitCode, 0);
  const std::string norte = (dir_ / "Norte").string();
  const std::string sur = (dir_ / "Sur").string();
  auto portOf = [](const std::string& station) {
    const CommandRun shown = run({"station", "show", "--station", station});
    const std::string label = "puerto: ";
    const std::size_t at = shown.out.find(label);
    return at == std::string::npos
               ? std::string("?")
               : shown.out.substr(at + label.size(), shown.out.find('\n', at) - at - label.size());
  };
  ASSERT_EQ(portOf(sur), "1");

  const CommandRun set = run({"station", "set", "--station", norte, "--port", "/dev/ttyUSB7"});
  EXPECT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(portOf(norte), "2");
  EXPECT_EQ(portOf(sur), "1");
  std::ifstream map(dir_ / "comports.txt");
  std::string text((std::istreambuf_iterator<char>(map)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "2\t/dev/ttyUSB7\n");

  // The same device for the other station: the number it already has.
  EXPECT_EQ(run({"station", "set", "--station", sur, "--port", "/dev/ttyUSB7"}).exitCode, 0);
  EXPECT_EQ(portOf(sur), "2");
  for (const char* bad : {"0", "256", "ttyUSB0"}) {
    EXPECT_NE(run({"station", "set", "--station", norte, "--port", bad}).exitCode, 0) << bad;
  }
  EXPECT_EQ(portOf(norte), "2");
  std::filesystem::current_path(before);
}

// A renamed station's new folder is what the automatic-download list and the last-station
// setting name afterwards.
TEST_F(StationCommand, RenamedDirectoryIsFollowedByTheListAndTheLastStation) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  ASSERT_EQ(run({"station", "create", "--name", "Norte", "--parent", dir_.string()}).exitCode, 0);
  const std::string norte = (dir_ / "Norte").string();
  const std::string nuevo = (dir_ / "Nuevo").string();
  platform::FileSystem& fs = platform::defaultFileSystem();
  ASSERT_TRUE(fs.replaceFileAtomically((dir_ / "download.lst").string(), norte + "\n").isOk());
  frame::ProgramSettings settings;
  settings.setLastStationDirectory(norte);
  ASSERT_TRUE(settings.save(fs, (dir_ / "progdata.dat").string()).isOk());

  const CommandRun renamed =
      run({"station", "set", "--station", norte, "--name", "Nuevo", "--rename-directory"});
  ASSERT_EQ(renamed.exitCode, 0) << renamed.err;
  EXPECT_TRUE(std::filesystem::is_directory(nuevo));
  auto list = fs.readFile((dir_ / "download.lst").string());
  ASSERT_TRUE(list.isOk());
  EXPECT_EQ(*list, nuevo + "\n");
  auto saved = frame::readProgramSettings(fs, (dir_ / "progdata.dat").string());
  ASSERT_TRUE(saved.isOk());
  EXPECT_EQ(saved->lastStationDirectory(), nuevo);
  std::filesystem::current_path(before);
}

// A station folder whose name is not UTF-8 (Latin-1 "Jard\xedn") beside its look-alike
// "Jardín": the command changes the folder it was given, byte for byte, and never the other.
TEST_F(StationCommand, AFolderNameThatIsNotUtf8IsThatFolderByteForByte) {
  ASSERT_EQ(run({"station", "create", "--name", "Latin", "--parent", dir_.string()}).exitCode, 0);
  ASSERT_EQ(run({"station", "create", "--name", "Utf", "--parent", dir_.string()}).exitCode, 0);
  const std::string latin1 = (dir_ / "Jard\xedn").string();
  const std::string utf8 = (dir_ / "Jard\xc3\xadn").string();
  std::filesystem::rename(dir_ / "Latin", latin1);
  std::filesystem::rename(dir_ / "Utf", utf8);
  platform::FileSystem& fs = platform::defaultFileSystem();
  const std::string utf8Before = *fs.readFile(utf8 + "/STATION.CFG");

  const CommandRun set = run({"station", "set", "--station", latin1, "--port", "7"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(*fs.readFile(utf8 + "/STATION.CFG"), utf8Before) << "the look-alike is untouched";
  const CommandRun shown = run({"station", "show", "--station", latin1});
  EXPECT_NE(shown.out.find("puerto: 7\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("nombre: Latin\n"), std::string::npos) << shown.out;
}

// A station is named by its directory or by its display name; left out, the program
// directory's only station is meant; a name no station has exits 2 and lists the stations.
TEST_F(StationCommand, AStationIsNamedByItsNameOrIsTheOnlyOne) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  ASSERT_EQ(
      run({"station", "create", "--name", "Casa 2 - Jardín", "--parent", dir_.string()}).exitCode,
      0);
  const CommandRun byName = run({"station", "show", "--station", "Casa 2 - Jardín"});
  EXPECT_EQ(byName.exitCode, 0) << byName.err;
  EXPECT_NE(byName.out.find("nombre: Casa 2 - Jardín\n"), std::string::npos) << byName.out;
  const CommandRun only = run({"station", "show"});
  EXPECT_EQ(only.exitCode, 0) << only.err;
  EXPECT_EQ(only.out, byName.out);

  ASSERT_EQ(run({"station", "create", "--name", "Norte", "--parent", dir_.string()}).exitCode, 0);
  const CommandRun unknown = run({"station", "show", "--station", "Sur"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("No hay ninguna estación 'Sur'."), std::string::npos) << unknown.err;
  EXPECT_NE(unknown.err.find("\n  Casa 2 - Jardín  ("), std::string::npos) << unknown.err;
  EXPECT_NE(unknown.err.find("\n  Norte  ("), std::string::npos) << unknown.err;
  EXPECT_EQ(run({"station", "show"}).exitCode, 2) << "two stations and none named";
  std::filesystem::current_path(before);
}

TEST_F(StationCommand, RefusedSettingLeavesTheFileAndSaysWhy) {
  ASSERT_EQ(run({"station", "create", "--name", "Norte", "--parent", dir_.string()}).exitCode, 0);
  const std::string station = (dir_ / "Norte").string();
  const auto cfg = dir_ / "Norte" / "STATION.CFG";
  const auto before = std::filesystem::last_write_time(cfg);
  const CommandRun refused =
      run({"station", "set", "--station", station, "--modem", "on", "--port", "9"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.err.find("Introduzca un número de teléfono."), std::string::npos)
      << refused.err;
  EXPECT_EQ(std::filesystem::last_write_time(cfg), before);
  EXPECT_NE(run({"station", "show", "--station", station}).out.find("puerto: 1\n"),
            std::string::npos);
}

TEST_F(StationCommand, ExistingDirectoryNeedsTheSwitch) {
  std::filesystem::create_directories(dir_ / "Sur");
  EXPECT_EQ(run({"station", "create", "--name", "Sur", "--parent", dir_.string()}).exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Sur" / "STATION.CFG"));
  EXPECT_EQ(run({"station", "create", "--name", "Sur", "--parent", dir_.string(), "--use-existing"})
                .exitCode,
            0);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "Sur" / "STATION.CFG"));
}

TEST_F(StationCommand, PrintsRecordsThroughADataList) {
  ASSERT_EQ(run({"station", "create", "--name", "Lista", "--parent", dir_.string()}).exitCode, 0);
  const std::string station = (dir_ / "Lista").string();
  const platform::Status generated =
      database::generateStation(platform::defaultFileSystem(), station, {2006, 3, 1, 1, 240});
  ASSERT_TRUE(generated.isOk()) << generated.toString();
  const CommandRun printed = run({"station", "print", "--station", station, "--separator", ","});
  ASSERT_EQ(printed.exitCode, 0) << printed.err;
  std::vector<std::string> lines;
  std::istringstream in(printed.out);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 8U) << printed.out;  // two headings, six records
  EXPECT_EQ(lines[1].rfind("Fecha,Hora,", 0), 0U);
  const auto commas = [](const std::string& l) { return std::count(l.begin(), l.end(), ','); };
  EXPECT_EQ(commas(lines[2]), commas(lines[1]));
  EXPECT_EQ(commas(lines[7]), commas(lines[1]));
}

// The days of "station print" are ISO or in the owner's own form (here day/month/year); a
// text that is no date is a usage error.
TEST_F(StationCommand, PrintTakesTheOwnersDatesAndRefusesANonDate) {
  ASSERT_EQ(run({"station", "create", "--name", "Lista", "--parent", dir_.string()}).exitCode, 0);
  const std::string station = (dir_ / "Lista").string();
  ASSERT_TRUE(
      database::generateStation(platform::defaultFileSystem(), station, {2006, 3, 1, 1, 240})
          .isOk());
  std::ofstream(dir_ / "intl.ini", std::ios::binary) << "[intl]\r\niDate=1\r\nsDate=/\r\n";
  auto print = [&](std::vector<std::string> extra) {
    std::vector<std::string> args{"station",     "print", "--station",     station,
                                  "--separator", ",",     "--program-dir", dir_.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return run(args);
  };
  const auto lines = [](const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
  };
  const CommandRun all = print({"--from", "01/03/06", "--to", "2006-03-01"});
  ASSERT_EQ(all.exitCode, 0) << all.err;
  EXPECT_EQ(lines(all.out), 8) << all.out;
  const CommandRun none = print({"--to", "28/02/06"});
  ASSERT_EQ(none.exitCode, 0) << none.err;
  EXPECT_LT(lines(none.out), 8) << none.out;

  const CommandRun bad = print({"--from", "30/02/06"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("'30/02/06' no es una fecha válida para --from"), std::string::npos)
      << bad.err;
}

}  // namespace
}  // namespace station
