#include <gtest/gtest.h>

#include "frame/clear_procedure.h"
#include "frame/unattended_run.h"
#include "program_fixture.h"

namespace frame {
namespace {

using testing::kProgramDir;
using testing::ProgramTest;

class UnattendedTest : public ProgramTest {
 protected:
  CommandLineSwitches switches(std::vector<std::string> args) {
    return parseCommandLineSwitches(args);
  }
};

TEST(CommandLineSwitches, WholeArgumentsOnly) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    bool o, d, c, p;
    const char* station;  // nullptr: none
  };
  const Case kCases[] = {
      {"station then download", {"Casa", "-d"}, false, true, false, false, "Casa"},
      {"upper case", {"Casa", "-D", "-C"}, false, true, true, false, "Casa"},
      {"path holding -d and -c starts nothing",
       {"/srv/my-data-c", "-o"},
       true,
       false,
       false,
       false,
       "/srv/my-data-c"},
      {"switch inside a word", {"Casa", "--d", "-dx", "x-d"}, false, false, false, false, "Casa"},
      {"no station when a switch comes first", {"-d"}, false, true, false, false, nullptr},
      {"plot flag", {"-P"}, false, false, false, true, nullptr},
  };
  for (const Case& c : kCases) {
    CommandLineSwitches s = parseCommandLineSwitches(c.args);
    EXPECT_EQ(s.openStation, c.o) << c.name;
    EXPECT_EQ(s.download, c.d) << c.name;
    EXPECT_EQ(s.clear, c.c) << c.name;
    EXPECT_EQ(s.plotFlag, c.p) << c.name;
    EXPECT_EQ(s.stationName.has_value(), c.station != nullptr) << c.name;
    if (c.station) {
      EXPECT_EQ(*s.stationName, c.station) << c.name;
    }
  }
  EXPECT_EQ(resolveStationName("/abs/St", "/p"), "/abs/St");
  EXPECT_EQ(resolveStationName("St", "/p"), "/p/St");
}

TEST_F(UnattendedTest, DownloadOfAStationThatDoesNotExistShows61595AndDownloadsNothing) {
  addStation("Casa", "Casa");
  makeProgram(/*interactive=*/false);
  int code = program->run(switches({"Nowhere", "-d"}));
  EXPECT_EQ(code, kProgramExitFailed);
  EXPECT_TRUE(downloads.stations.empty());
  auto shown = ui.messages();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().text,
            "No se pudo abrir la estación desde la línea de instrucción.  Compruebe que existe "
            "el subdirectorio  'Nowhere'.");
}

TEST_F(UnattendedTest, InteractiveRunStaysOpenAfterAStationThatDoesNotExist) {
  makeProgram(/*interactive=*/true);
  EXPECT_TRUE(program->start(switches({"Nowhere", "-d"})));
  program->loop().runOnce(std::chrono::milliseconds(0));
  EXPECT_FALSE(program->loop().stopped());
  EXPECT_TRUE(downloads.stations.empty());
}

TEST_F(UnattendedTest, LeapDayOnAnOlderModelLogsAndExitsWithoutDownloading) {
  std::string dir = addStation("Old", "Vieja", /*model=*/1);
  clock.setLocal(2028, 2, 29, 8, 0, 0);
  makeProgram();
  int code = program->run(switches({dir, "-d"}));
  EXPECT_EQ(code, kProgramExitFailed);
  EXPECT_TRUE(downloads.stations.empty());
  std::string l = log();
  std::size_t first = l.find("Funciones de instrucciones Descargar y Borrar deshabilitadas");
  std::size_t second = l.find("Siga las instrucciones del archivo Leap.txt");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(first, second);  // newest first: 60024 was logged after 60025
}

TEST_F(UnattendedTest, LeapDayDoesNotStopACirrant) {
  std::string dir = addStation("New", "Nueva", /*model=*/5);
  clock.setLocal(2028, 2, 29, 8, 0, 0);
  makeProgram();
  EXPECT_EQ(program->run(switches({dir, "-d"})), kProgramExitOk);
  EXPECT_EQ(downloads.stations, std::vector<std::string>{"Nueva"});
}

TEST_F(UnattendedTest, DownloadResultIsLoggedAndGivesTheExitCode) {
  struct Case {
    int linkError;
    int exitCode;
    const char* logged;
  };
  for (Case c : {Case{0, kProgramExitOk, "Instrucción Descargar ok."},
                 Case{-4, kProgramExitFailed, "Fallo en la instrucción Descargar."}}) {
    fs = platform::MemFileSystem();
    std::string dir = addStation("Casa", "Casa");
    downloads.failWith = c.linkError;
    makeProgram();
    EXPECT_EQ(program->run(switches({"Casa", "-d"})), c.exitCode);
    EXPECT_NE(log().find(c.logged), std::string::npos) << c.logged;
    if (c.linkError) {
      EXPECT_NE(log().find("Fallo en el recuento CRC."), std::string::npos);
    }
    // The shutdown order ran: settings saved with no last automatic hour.
    EXPECT_EQ(fs.contents(std::string(kProgramDir) + "/progdata.dat").size(), 2048u);
  }
}

TEST_F(UnattendedTest, ClearIsRefusedOnACirrant) {
  std::string dir = addStation("New", "Nueva", /*model=*/6);
  makeProgram();
  EXPECT_EQ(program->run(switches({dir, "-c"})), kProgramExitFailed);
  EXPECT_NE(log().find("Función de instrucción Borrar no soportada por la estación Cirrant Pro."),
            std::string::npos);
  EXPECT_TRUE(clear.slots.empty());
}

TEST_F(UnattendedTest, ClearRunsTheSelectedItemsInOrderAndStopsAtAFailure) {
  std::string dir = addStation("Old", "Vieja", /*model=*/0);
  auto cfg = station::readStationRecord(fs, dir);
  ASSERT_TRUE(cfg.isOk());
  // Every item: bytes 0-4 and 7 with both bits, 5 and 6 non-zero.
  for (std::size_t i = 0; i < 8; ++i) cfg->setAutoClearItems(i, 0x03);
  ASSERT_TRUE(station::writeStationRecord(fs, *cfg, dir).isOk());
  clear.failAt = 79;
  makeProgram();
  EXPECT_EQ(program->run(switches({dir, "-c"})), kProgramExitFailed);
  EXPECT_EQ(clear.slots, (std::vector<int>{68, 69, 70, 71, 74, 75, 72, 73, 80, 59, 78, 79}));
  EXPECT_EQ(clear.rain, std::vector<int>{0});
  EXPECT_NE(log().find("Fallo en la instrucción Borrado Automático."), std::string::npos);
  EXPECT_NE(log().find("El ordenador dejó de esperar"), std::string::npos);
}

TEST(ClearProcedure, OnlyCheckedItemsRun) {
  testing::RecordingClear console;
  std::array<std::uint8_t, 8> items{0x02, 0, 0, 0x01, 0x02, 0, 0x40, 0x01};
  ASSERT_TRUE(runClearProcedure(items, console).isOk());
  EXPECT_EQ(console.slots, (std::vector<int>{69, 72, 59, 79, 76}));
}

}  // namespace
}  // namespace frame
