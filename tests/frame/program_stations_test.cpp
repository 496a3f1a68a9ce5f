#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "frame/interactive_shell.h"
#include "program_fixture.h"

namespace frame {
namespace {

using testing::kProgramDir;
using testing::ProgramTest;

TEST_F(ProgramTest, DeletingTheCurrentStationClosesItAndRemovesItEverywhere) {
  std::string casa = addStation("Casa", "Casa");
  std::string other = addStation("Otra", "Otra");
  fs.setContents(casa + "/2026-12.slg", "records");
  fs.setContents(std::string(kProgramDir) + "/download.lst", casa + "\n" + other + "\n");
  makeProgram(/*interactive=*/true);
  ui.answerChoice(0);  // the start-up choice among two stations: Casa
  ASSERT_TRUE(program->start({}));
  ASSERT_EQ(program->currentStationName(), "Casa");
  ui.answerQuestion(true);
  ASSERT_TRUE(program->deleteStation(casa).isOk());
  EXPECT_FALSE(fs.exists(casa));
  EXPECT_EQ(program->currentStation(), nullptr);
  EXPECT_EQ(fs.contents(std::string(kProgramDir) + "/download.lst"), other + "\n");
  EXPECT_EQ(stations->events.back(), "close station");
  // The open-station command comes next, so the person picks another station.
  ui.answerChoice(0);
  program->loop().runOnce(std::chrono::milliseconds(0));
  EXPECT_EQ(program->currentStationName(), "Otra");
}

// An older console's station opened in the days around 1 March shows LEAP.TXT once in the
// run and records that at 920; a Cirrant never does, nor does any station in June.
TEST_F(ProgramTest, LeapYearNoticeForOlderConsolesOncePerRun) {
  struct Case {
    const char* name;
    int model;
    int month, day;
    bool shown;
  };
  const Case kCases[] = {
      {"Tessel in late February", 2, 2, 20, true},
      {"Lumeno on 1 March", 4, 3, 1, true},
      {"Cirrant in late February", 6, 2, 20, false},
      {"Tessel in June", 2, 6, 1, false},
  };
  for (const Case& c : kCases) {
    program.reset();
    ui.clear();
    const std::string dir = addStation(c.name, "Casa", c.model);
    clock.setLocal(2028, c.month, c.day, 9, 0);
    makeProgram();
    ASSERT_TRUE(program->startForCommand(dir).isOk()) << c.name;
    program->loop().runOnce(std::chrono::milliseconds(0));
    ASSERT_TRUE(program->openStation(dir).isOk()) << c.name;
    program->loop().runOnce(std::chrono::milliseconds(0));
    std::vector<platform::ScriptedUserInterface::Shown> files;
    for (const auto& s : ui.shown()) {
      if (s.kind == platform::ScriptedUserInterface::Kind::kTextFile) files.push_back(s);
    }
    EXPECT_EQ(program->settings().leapYearNoticeShown(), c.shown) << c.name;
    if (!c.shown) {
      EXPECT_TRUE(files.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(files.size(), 1u) << c.name << ": once, though the station was opened twice";
    EXPECT_EQ(files[0].title, "Aviso de año bisiesto") << c.name;
    EXPECT_EQ(files[0].text, std::string(kProgramDir) + "/LEAP.TXT") << c.name;
  }
}

TEST_F(ProgramTest, DeletionNeedsConfirmation) {
  std::string casa = addStation("Casa", "Casa");
  makeProgram();
  ASSERT_TRUE(program->start({}));
  EXPECT_EQ(program->deleteStation(casa).kind(), platform::Errc::kCancelled);
  EXPECT_TRUE(fs.exists(casa + "/STATION.CFG"));
  EXPECT_EQ(program->currentStationName(), "Casa");
}

TEST_F(ProgramTest, NewStationGetsItsDirectoryNameAndOpens) {
  makeProgram();
  ASSERT_TRUE(program->start({}));
  auto bad = program->createStation("-- ! --", kProgramDir);
  EXPECT_FALSE(bad.isOk());
  EXPECT_EQ(ui.messages().back().text, "Nombre de estación '-- ! --' no válido.");
  auto dir = program->createStation("Casa 2 - Jardín", kProgramDir);
  ASSERT_TRUE(dir.isOk());
  EXPECT_EQ(*dir, std::string(kProgramDir) + "/Casa2Jar");
  EXPECT_EQ(program->currentStationName(), "Casa 2 - Jardín");
  EXPECT_TRUE(fs.isDirectory(*dir + "/Fuel"));
}

TEST_F(ProgramTest, AutoDownloadChoiceIsSavedOrLeftWholeOnFailure) {
  std::string casa = addStation("Casa", "Casa");
  makeProgram();
  ASSERT_TRUE(program->start({}));
  std::array<bool, 24> hours{};
  hours[6] = hours[18] = true;
  ASSERT_TRUE(program->saveAutoDownload({casa}, hours, 15).isOk());
  auto saved = readProgramSettings(fs, std::string(kProgramDir) + "/progdata.dat");
  ASSERT_TRUE(saved.isOk());
  EXPECT_TRUE(saved->autoDownloadEnabled());
  EXPECT_TRUE(saved->downloadInHour(6));
  EXPECT_EQ(saved->downloadMinute(), 15);
  EXPECT_EQ(fs.contents(std::string(kProgramDir) + "/download.lst"), casa + "\n");

  fs.failWrites(true);
  EXPECT_FALSE(program->saveAutoDownload({}, {}, 0).isOk());
  fs.failWrites(false);
  EXPECT_EQ(fs.contents(std::string(kProgramDir) + "/download.lst"), casa + "\n");
  EXPECT_TRUE(program->schedule().autoDownload);
}

TEST_F(ProgramTest, TypedCommandsReachTheProgram) {
  std::string casa = addStation("Casa", "Casa");
  addStation("Otra", "Otra");
  makeProgram(/*interactive=*/true);
  ui.answerChoice(std::nullopt);  // two stations at start: none chosen yet
  ASSERT_TRUE(program->start({}));
  std::ostringstream out;
  EXPECT_TRUE(runShellCommand(*program, "stations", out));
  EXPECT_NE(out.str().find("1  Casa  " + casa), std::string::npos);
  EXPECT_TRUE(runShellCommand(*program, "abrir 2", out));
  EXPECT_EQ(program->currentStationName(), "Otra");
  EXPECT_NE(out.str().find("abierta: Otra\n"), std::string::npos) << out.str();
  EXPECT_TRUE(runShellCommand(*program, "download", out));
  EXPECT_EQ(downloads.stations, std::vector<std::string>{"Otra"});
  EXPECT_NE(out.str().find("\n3 registros nuevos guardados\n"), std::string::npos) << out.str();
  downloads.stored = 1;
  EXPECT_TRUE(runShellCommand(*program, "descargar", out));
  EXPECT_NE(out.str().find("\n1 registro nuevo guardado\n"), std::string::npos) << out.str();
  EXPECT_FALSE(runShellCommand(*program, "frobnicate", out));
  EXPECT_NE(out.str().find("orden desconocida 'frobnicate'; escriba 'ayuda'\n"), std::string::npos);
  EXPECT_TRUE(runShellCommand(*program, "quit", out));
  program->loop().runOnce(std::chrono::milliseconds(0));
  EXPECT_TRUE(program->loop().stopped());
}

TEST_F(ProgramTest, TheShellPromptsForEachCommandButNotAfterTheLast) {
  makeProgram(/*interactive=*/true);
  ASSERT_TRUE(program->start({}));
  std::ostringstream out;
  greetShell(out);
  answerShellLine(*program, "", false, out);
  answerShellLine(*program, "salir", false, out);
  EXPECT_EQ(out.str(), "Escriba 'ayuda' para ver las órdenes.\nstratalog> stratalog> ");

  std::ostringstream ended;
  answerShellLine(*program, "", true, ended);
  EXPECT_EQ(ended.str(), "\n");
}

TEST_F(ProgramTest, TheShellAnswersInSpanish) {
  makeProgram(/*interactive=*/true);
  ASSERT_TRUE(program->start({}));
  std::array<bool, 24> hours{};
  hours[7] = hours[19] = true;
  ASSERT_TRUE(program->saveAutoDownload({}, hours, 5).isOk());
  std::ostringstream out;
  EXPECT_TRUE(runShellCommand(*program, "horario", out));
  EXPECT_EQ(out.str(), "descarga automática: desactivada, minuto 5, horas: 7 19\n");

  std::ostringstream help;
  EXPECT_TRUE(runShellCommand(*program, "help", help));
  EXPECT_EQ(help.str().rfind("Órdenes:\n  download  (descargar)   descarga ahora", 0), 0U) << help.str();
  // Every command the shell takes is listed under both of its names.
  for (const char* name : {"download", "descargar", "bulletin", "boletin", "stations", "estaciones",
                           "open", "abrir", "new", "nueva", "delete", "eliminar", "schedule",
                           "horario", "quit", "salir"}) {
    const std::string n(name);
    EXPECT_TRUE(help.str().find("\n  " + n + " ") != std::string::npos ||
                help.str().find("(" + n + ")") != std::string::npos)
        << name;
  }
}

}  // namespace
}  // namespace frame
