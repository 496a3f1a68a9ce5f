#include <gtest/gtest.h>

#include <filesystem>

#include "platform/testing/mem_file_system.h"
#include "record_fixture.h"
#include "station/station_creator.h"
#include "station/station_file.h"
#include "station/station_opener.h"
#include "station/station_setup.h"
#include "station/station_state.h"

namespace station {
namespace {

class RecordingHooks : public StationOpenHooks {
 public:
  bool confirm(std::string_view, std::string_view text) override {
    calls.push_back("confirm");
    lastQuestion = text;
    return answer;
  }
  void showError(std::string_view text) override { errors.emplace_back(text); }
  void closePreviousStation() override { calls.push_back("close"); }
  platform::Status convertLegacyMonthFiles(const std::string&, const std::string& backup) override {
    calls.push_back("months:" + backup);
    return platform::Status::ok();
  }
  void clearPasswordAccepted() override { calls.push_back("password"); }
  platform::Status openDatabase(const std::string&) override {
    calls.push_back("database");
    return databaseOk ? platform::Status::ok() : platform::Status::io("no database");
  }
  void openRainDatabase(const std::string&) override { calls.push_back("rain"); }
  void createLink(const StationConfig& c) override {
    calls.push_back("link:" + std::to_string(c.comPort()));
  }
  void loadInternetSettings(const std::string&) override { calls.push_back("internet"); }
  void leapYearNotice() override { calls.push_back("leap"); }

  bool answer = true;
  bool databaseOk = true;
  std::vector<std::string> calls;
  std::vector<std::string> errors;
  std::string lastQuestion;
};

class ScriptedPrompts : public StationPrompts {
 public:
  bool ask(std::string_view, std::string_view text) override {
    questions.emplace_back(text);
    return answer;
  }
  void showError(std::string_view text) override { errors.emplace_back(text); }
  bool answer = true;
  std::vector<std::string> questions;
  std::vector<std::string> errors;
};

std::string recordBytes(const StationConfig& c) {
  const auto b = c.encodeForDisk();
  return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

TEST(OpenStation, RunsTheSequenceAndCreatesTheTree) {
  platform::MemFileSystem fs;
  StationConfig c;
  c.setModel(2);
  c.setComPort(4);
  fs.setContents("/st/STATION.CFG", recordBytes(c));
  RecordingHooks hooks;
  auto open = openStationDirectory(fs, "/st", hooks);
  ASSERT_TRUE(open.isOk()) << open.status().toString();
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"close", "password", "database", "rain",
                                                   "link:4", "internet", "leap"}));
  for (const char* d : {"Plots", "DataNote", "DegDays", "Templates", "Images", "Images/Profile1",
                        "Images/Profile8"}) {
    EXPECT_TRUE(fs.isDirectory(std::string("/st/") + d)) << d;
  }
  EXPECT_FALSE(fs.isDirectory("/st/Fuel")) << "Fuel is made only when a station is created";
  EXPECT_EQ(open->dataLists.size(), 5U) << "missing lists are rebuilt from the sensors";
  EXPECT_EQ(open->dataSets.at(0).rows.size(), 58U);
  EXPECT_EQ(open->selectedSets, (std::array<std::uint16_t, 5>{0, 1, 2, 3, 4}));
}

TEST(OpenStation, FailuresShowTheirMessages) {
  struct Case {
    const char* name;
    std::string file;
    bool databaseOk;
    std::string error;  // empty: none shown
  };
  testing::RawRecord otherFormat;
  otherFormat.u16(0, 3).u16(2, 15);
  const Case kCases[] = {
      {"no file", "", true, ""},
      {"odd size", std::string(1000, '\0'), true, ""},
      {"version 3.x/4.x", std::string(2052, '\0'), true,
       "Stratalog ha detectado una estación creada con la versión 3.x o 4.x."},
      {"other format", otherFormat.str(), true, "No se pudo abrir '/st'."},
      {"database", recordBytes(StationConfig()), false, "No se pudo abrir la base de datos."},
  };
  for (const Case& k : kCases) {
    platform::MemFileSystem fs;
    if (!k.file.empty()) fs.setContents("/st/STATION.CFG", k.file);
    RecordingHooks hooks;
    hooks.databaseOk = k.databaseOk;
    auto open = openStationDirectory(fs, "/st", hooks);
    EXPECT_FALSE(open.isOk()) << k.name;
    if (k.error.empty()) {
      EXPECT_TRUE(hooks.errors.empty()) << k.name;
    } else {
      EXPECT_EQ(hooks.errors, std::vector<std::string>{k.error}) << k.name;
    }
    EXPECT_EQ(fs.contents("/st/STATION.CFG"), k.file) << k.name << ": the file is never rewritten";
  }
}

// The open sequence's own database step: a station directory that cannot be listed has
// no database to open, and the failure reaches the message; one with no month yet opens.
class UnlistableDirectory : public platform::MemFileSystem {
 public:
  platform::Result<std::vector<platform::DirEntry>> listDirectory(
      const std::string& path) override {
    if (path == "/st") return platform::Status::io("/st: permission denied");
    return MemFileSystem::listDirectory(path);
  }
};

class DatabaseHooks : public RecordingHooks {
 public:
  explicit DatabaseHooks(platform::FileSystem& fs) : fs_(fs), db(fs) {}
  platform::Status openDatabase(const std::string& dir) override {
    return openStationDatabase(fs_, db, dir);
  }
  platform::FileSystem& fs_;
  database::WeatherDatabase db;
};

TEST(OpenStation, DatabaseThatCannotBeOpenedFailsWithItsMessage) {
  UnlistableDirectory bad;
  bad.setContents("/st/STATION.CFG", recordBytes(StationConfig()));
  DatabaseHooks failing(bad);
  auto open = openStationDirectory(bad, "/st", failing);
  ASSERT_FALSE(open.isOk());
  EXPECT_EQ(open.status().code(), kStationDatabaseFailed);
  EXPECT_EQ(open.status().message().rfind("No se pudo abrir la base de datos.", 0), 0u);
  EXPECT_EQ(failing.errors, std::vector<std::string>{"No se pudo abrir la base de datos."});

  platform::MemFileSystem good;
  good.setContents("/st/STATION.CFG", recordBytes(StationConfig()));
  DatabaseHooks fresh(good);
  ASSERT_TRUE(openStationDirectory(good, "/st", fresh).isOk()) << "no month yet is no failure";
  EXPECT_TRUE(fresh.db.isOpen());
  EXPECT_EQ(fresh.db.NumberOfMonthsInDatabase(), 0);
  EXPECT_TRUE(fresh.errors.empty());
}

TEST(OpenStation, OldVersionIsConvertedOnlyWhenTheUserAgrees) {
  std::string old(2088, '\0');
  old[0] = 1;
  old.replace(12, 4, "Casa");
  for (bool agree : {false, true}) {
    platform::MemFileSystem fs;
    fs.setContents("/st/STATION.CFG", old);
    RecordingHooks hooks;
    hooks.answer = agree;
    auto open = openStationDirectory(fs, "/st", hooks);
    EXPECT_NE(hooks.lastQuestion.find("versión 5.0 o 5.1"), std::string::npos);
    if (!agree) {
      EXPECT_FALSE(open.isOk());
      EXPECT_EQ(fs.contents("/st/STATION.CFG"), old);
      EXPECT_FALSE(fs.exists("/st/Backup"));
      continue;
    }
    ASSERT_TRUE(open.isOk()) << open.status().toString();
    EXPECT_EQ(open->config.stationName(), "Casa");
    EXPECT_EQ(fs.contents("/st/Backup/STATION.CFG"), old);
    EXPECT_NE(std::find(hooks.calls.begin(), hooks.calls.end(), "months:/st/Backup"),
              hooks.calls.end());
  }
}

TEST(SaveStation, InterruptedSaveLeavesTheOldFileWhole) {
  platform::MemFileSystem fs;
  StationState st;
  st.config.setStationDir("/st");
  st.config.setStationName("Antes");
  ASSERT_TRUE(saveStation(fs, st).isOk());
  const std::string before = fs.contents("/st/STATION.CFG");

  st.config.setStationName("Despues");
  fs.failWrites(true);
  EXPECT_FALSE(saveStation(fs, st).isOk());
  EXPECT_EQ(SaveStation(fs, st), 0);
  EXPECT_EQ(st.config.stationName(), "Despues") << "memory keeps the new values";
  fs.failWrites(false);
  fs.dropUnsyncedData();
  EXPECT_EQ(fs.contents("/st/STATION.CFG"), before);

  StationState none;
  EXPECT_EQ(SaveStation(fs, none), 1) << "no station open: nothing to write";
}

TEST(CreateStation, NewDirectoryGetsTreeRecordAndLists) {
  platform::MemFileSystem fs;
  fs.createDirectories("/data").isOk();
  ScriptedPrompts prompts;
  auto dir = createStation(fs, {"Casa 2 - Jardín", "/data", 3}, stationDataSets(), prompts);
  ASSERT_TRUE(dir.isOk()) << dir.status().toString();
  EXPECT_EQ(*dir, "/data/Casa2Jar");
  for (const char* d : {"Plots", "DegDays", "DataNote", "Templates", "Images", "Images/Profile1",
                        "Images/Profile3", "Fuel"}) {
    EXPECT_TRUE(fs.isDirectory(std::string("/data/Casa2Jar/") + d)) << d;
  }
  EXPECT_FALSE(fs.isDirectory("/data/Casa2Jar/Images/Profile4"));
  auto st = loadStation(fs, *dir, stationDataSets());
  ASSERT_TRUE(st.isOk());
  EXPECT_EQ(st->config.stationName(), "Casa 2 - Jardín");
  EXPECT_EQ(st->config.model(), 3);
  EXPECT_EQ(st->config.sensorMask(), 0x2201U);
  EXPECT_EQ(st->dataLists.at(0).name, "Default Archive Browser List");
  EXPECT_EQ(fs.contents("/data/Casa2Jar/DataSets.dat").rfind("Archive Data Values\n", 0), 0U);
}

TEST(CreateStation, ExistingDirectoryIsUsedOnlyOnYesAndKeepsItsFiles) {
  for (bool yes : {false, true}) {
    platform::MemFileSystem fs;
    fs.setContents("/data/Casa/notes.txt", "mine");
    fs.setContents("/data/Casa/STATION.CFG", "another station's settings");
    ScriptedPrompts prompts;
    prompts.answer = yes;
    auto dir = createStation(fs, {"Casa", "/data", 5}, stationDataSets(), prompts);
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(
        prompts.questions[0],
        "El directorio '/data/Casa' ya existe.\n¿Desea utilizar ese directorio de todos modos?");
    EXPECT_EQ(fs.contents("/data/Casa/notes.txt"), "mine");
    if (!yes) {
      EXPECT_EQ(dir.status().kind(), platform::Errc::kCancelled);
      EXPECT_EQ(fs.contents("/data/Casa/STATION.CFG"), "another station's settings");
      continue;
    }
    ASSERT_TRUE(dir.isOk());
    EXPECT_EQ(fs.contents("/data/Casa/Backup/STATION.CFG"), "another station's settings");
    EXPECT_TRUE(fs.isPrivate("/data/Casa/Backup/STATION.CFG"));
    EXPECT_EQ(fs.contents("/data/Casa/STATION.CFG").size(), 4096U);
    EXPECT_TRUE(fs.isPrivate("/data/Casa/STATION.CFG"));
    EXPECT_TRUE(fs.isDirectory("/data/Casa/Fuel"));
  }
}

// Creating a station and renaming one take the same names and refuse the same ones, whole.
struct NameCase {
  const char* what;
  std::string name;
  std::string refusal;  // empty: accepted
};

TEST(StationName, SameLimitWhenCreatedAndWhenRenamed) {
  const NameCase kCases[] = {
      {"40 characters", std::string(40, 'a'), ""},
      {"40 characters, 43 bytes", "Estación Meteorológica de Montaña Alta 1", ""},
      {"41 characters", std::string(41, 'a'),
       "El nombre de la estación puede tener como máximo 40 caracteres."},
      {"35 characters, 65 bytes",
       "Casa " +
           [] {
             std::string n;
             for (int i = 0; i < 30; ++i) n += "ñ";
             return n;
           }(),
       "El nombre de la estación ocupa demasiado; use menos caracteres especiales."},
      {"line break", "Casa\nNorte", "Nombre de estación 'Casa\nNorte' no válido."},
  };
  for (const NameCase& c : kCases) {
    platform::MemFileSystem fs;
    ScriptedPrompts prompts;
    auto dir = createStation(fs, {c.name, "/data", 5}, stationDataSets(), prompts);
    StationConfig config;
    StationSettings rename;
    rename.name = c.name;
    const platform::Status renamed = applyStationSettings(config, rename);
    if (c.refusal.empty()) {
      ASSERT_TRUE(dir.isOk()) << c.what;
      EXPECT_EQ(loadStation(fs, *dir, stationDataSets())->config.stationName(), c.name) << c.what;
      EXPECT_TRUE(renamed.isOk()) << c.what;
      EXPECT_EQ(config.stationName(), c.name) << c.what;
      continue;
    }
    EXPECT_EQ(dir.status().kind(), platform::Errc::kBadArgument) << c.what;
    EXPECT_EQ(prompts.errors, std::vector<std::string>{c.refusal}) << c.what;
    EXPECT_FALSE(fs.exists("/data")) << c.what << ": nothing is created";
    EXPECT_EQ(renamed.kind(), platform::Errc::kBadArgument) << c.what;
    EXPECT_EQ(renamed.message(), c.refusal) << c.what;
    EXPECT_EQ(config.stationName(), "") << c.what;
  }
}

TEST(CreateStation, NameWithoutLettersIsRefused) {
  platform::MemFileSystem fs;
  ScriptedPrompts prompts;
  auto dir = createStation(fs, {"-- !", "/data", 5}, {}, prompts);
  EXPECT_FALSE(dir.isOk());
  EXPECT_EQ(prompts.errors, std::vector<std::string>{"Nombre de estación '-- !' no válido."});
}

// A folder named in Latin-1 and its UTF-8 look-alike are two stations: each is opened,
// saved and opened again from its own bytes, and never reaches into the other.
TEST(OpenStation, PathBytesNameTheFolderTheStationWasOpenedFrom) {
  const std::filesystem::path tmp =
      std::filesystem::temp_directory_path() /
      ("stratalog-bytes-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::remove_all(tmp);
  const std::string latin1 = tmp.string() + "/Jard\xedn";
  const std::string utf8 = tmp.string() + "/Jard\xc3\xadn";
  platform::FileSystem& fs = platform::defaultFileSystem();
  for (const std::string& dir : {latin1, utf8}) {
    StationConfig c;
    c.setStationName(dir == latin1 ? "Latin" : "Utf");
    c.setStationDir(dir);
    ASSERT_TRUE(fs.createDirectories(dir).isOk());
    ASSERT_TRUE(writeStationRecord(fs, c, dir).isOk());
  }
  const std::string utf8Before = *fs.readFile(utf8 + "/STATION.CFG");

  RecordingHooks hooks;
  auto open = openStationDirectory(fs, latin1, hooks);
  ASSERT_TRUE(open.isOk()) << open.status().toString();
  EXPECT_EQ(open->config.stationDir(), latin1);
  EXPECT_EQ(open->directory(), latin1);
  open->config.setComPort(7);
  ASSERT_TRUE(saveStation(fs, *open).isOk());

  EXPECT_EQ(*fs.readFile(utf8 + "/STATION.CFG"), utf8Before) << "the other station is untouched";
  EXPECT_FALSE(fs.exists(utf8 + "/DataLists.dat"));
  EXPECT_FALSE(fs.exists(utf8 + "/Plots")) << "the open tree goes into the opened folder only";
  auto again = openStationDirectory(fs, latin1, hooks);
  ASSERT_TRUE(again.isOk());
  EXPECT_EQ(again->config.comPort(), 7);
  EXPECT_EQ(again->config.stationName(), "Latin");

  auto other = openStationDirectory(fs, utf8, hooks);
  ASSERT_TRUE(other.isOk());
  EXPECT_EQ(other->config.stationDir(), utf8);
  EXPECT_EQ(other->config.comPort(), 1);
  ASSERT_TRUE(saveStation(fs, *other).isOk());
  auto latinAgain = loadStation(fs, latin1, {});
  ASSERT_TRUE(latinAgain.isOk());
  EXPECT_EQ(latinAgain->config.comPort(), 7) << "saving the look-alike left this one alone";
  std::filesystem::remove_all(tmp);
}

}  // namespace
}  // namespace station
