// The program's -d switch and scheduled downloads through the real archive download, on the
// in-process console.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "database/rain_database.h"
#include "database/weather_database.h"
#include "frame/archive_download_runner.h"
#include "frame/interactive_shell.h"
#include "frame/scheduled_download.h"
#include "link/cirrant_link.h"
#include "link/station_link.h"
#include "program_fixture.h"

namespace frame {
namespace {

using testing::ProgramTest;

class SimOpener : public platform::SerialPortOpener {
 public:
  SimOpener(consolesim::ConsoleEngine& engine, platform::FakeClock& clock)
      : engine_(engine), clock_(clock) {}
  platform::Result<std::unique_ptr<platform::SerialPort>> open(
      const std::string& port, const platform::SerialSettings&) override {
    opened.push_back(port);
    if (port != "1") return platform::Status(platform::Errc::kNotFound, "no such port", -1);
    return std::unique_ptr<platform::SerialPort>(new consolesim::SimSerialPort(engine_, clock_));
  }
  std::vector<std::string> opened;

 private:
  consolesim::ConsoleEngine& engine_;
  platform::FakeClock& clock_;
};

class DownloadRunnerTest : public ProgramTest {
 protected:
  DownloadRunnerTest() {
    clock.setLocal(2006, 3, 15, 23, 50);
    consolesim::EngineOptions o;
    o.historyDays = 2;
    o.archiveIntervalMinutes = 30;
    engine = std::make_unique<consolesim::ConsoleEngine>(clock, o);
    opener = std::make_unique<SimOpener>(*engine, clock);
    serialPorts = opener.get();
    realDownloads = true;
  }

  Program& makeRealProgram() {
    makeProgram();
    runner = program->downloads();
    return *program;
  }

  // The stored archive records as (packed date, minutes), in database order.
  std::vector<std::pair<std::int32_t, int>> stored(const std::string& dir) {
    database::WeatherDatabase db(fs);
    (void)db.open(dir);
    std::vector<std::pair<std::int32_t, int>> out;
    for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
      database::WeatherDataObject obj;
      EXPECT_EQ(db.GetRecord(obj, i), 0);
      out.emplace_back(obj.date.packed(), obj.date.minutes);
    }
    return out;
  }

  // The open station's shared link, on the in-process console.
  std::unique_ptr<stationlink::CirrantLink> attachStationLink() {
    stationlink::LinkServices services;
    services.opener = opener.get();
    services.clock = &clock;
    auto link = std::make_unique<stationlink::CirrantLink>(
        stationlink::portParamsFromStation(*program->currentStation()), services);
    stations->link = link.get();
    return link;
  }

  // The in-process console committing `fault` (before the program is made).
  void useFaultyConsole(consolesim::FaultRule fault) {
    consolesim::EngineOptions o;
    o.historyDays = 2;
    o.archiveIntervalMinutes = 30;
    o.faults = {fault};
    engine = std::make_unique<consolesim::ConsoleEngine>(clock, o);
    opener = std::make_unique<SimOpener>(*engine, clock);
    serialPorts = opener.get();
  }

  std::unique_ptr<consolesim::ConsoleEngine> engine;
  std::unique_ptr<SimOpener> opener;
  DownloadRunner* runner = nullptr;
};

// The second page arrives with a bad CRC and is read again.
constexpr consolesim::FaultRule kSecondPageBadCrc{consolesim::FaultKind::kCrcPage, 2, 1, -1};

TEST_F(DownloadRunnerTest, APageReadAgainReachesTheCommandsStatusLineAndNotTheLog) {
  useFaultyConsole(kSecondPageBadCrc);
  std::string dir = addStation("Cumbre", "Cumbre", 6);
  makeRealProgram();
  ASSERT_TRUE(program->startForCommand(dir).isOk());
  std::vector<std::string> lines;
  int lastDone = 0;
  DownloadResult r = downloadOpenStation(
      *program, [&](int done, int) { lastDone = done; },
      [&](const std::string& line) { lines.push_back(line); });
  ASSERT_TRUE(r.ok()) << r.status.message() << " " << r.linkError;
  EXPECT_EQ(stored(dir).size(), engine->archive().recordCount());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Transferidos   1 de " + std::to_string(lastDone) +
                          ". Reintentos:  1  (Detectado error CRC.)");
  EXPECT_EQ(log().find("Reintentos"), std::string::npos) << log();
  program->shutdown();
}

TEST_F(DownloadRunnerTest, TheInteractiveProgramShowsAPageReadAgainInPlaceOnItsTerminal) {
  useFaultyConsole(kSecondPageBadCrc);
  std::ostringstream terminal;
  out = &terminal;
  std::string dir = addStation("Cumbre", "Cumbre", 6);
  makeProgram(/*interactive=*/true);
  ASSERT_TRUE(program->startForCommand(dir).isOk());
  ui.answerQuestion(true);  // transfer the pages
  std::ostringstream answers;
  ASSERT_TRUE(runShellCommand(*program, "download", answers));
  EXPECT_NE(answers.str().find(" guardado"), std::string::npos) << answers.str();
  const std::string shown = terminal.str();
  const std::size_t at = shown.find("\rTransferidos   1 de ");
  ASSERT_NE(at, std::string::npos) << shown;
  EXPECT_NE(shown.find(". Reintentos:  1  (Detectado error CRC.)\033[K\n", at), std::string::npos)
      << shown;
  EXPECT_EQ(log().find("Reintentos"), std::string::npos) << log();
  program->shutdown();
}

TEST_F(DownloadRunnerTest, DashDStoresTheWholeArchiveOnceAndASecondRunFindsNothingNew) {
  std::string dir = addStation("Cumbre", "Cumbre", 6);
  makeRealProgram();
  EXPECT_EQ(program->run(parseCommandLineSwitches({dir, "-d"})), kProgramExitOk);
  auto first = stored(dir);
  ASSERT_EQ(first.size(), engine->archive().recordCount());
  for (std::size_t i = 1; i < first.size(); ++i) EXPECT_LT(first[i - 1], first[i]);
  EXPECT_NE(log().find("Instrucción Descargar ok."), std::string::npos) << log();
  EXPECT_TRUE(fs.exists(dir + "/rain.db"));

  makeRealProgram();
  EXPECT_EQ(program->run(parseCommandLineSwitches({dir, "-d"})), kProgramExitOk);
  EXPECT_EQ(stored(dir), first);
  EXPECT_NE(log().find("Ningún dato nuevo que descargar."), std::string::npos) << log();
}

TEST_F(DownloadRunnerTest, APortThatCannotBeOpenedFailsTheRunAndStoresNothing) {
  std::string dir = addStation("Cumbre", "Cumbre", 6, /*comPort=*/2);
  makeRealProgram();
  EXPECT_EQ(program->run(parseCommandLineSwitches({dir, "-d"})), kProgramExitFailed);
  EXPECT_TRUE(stored(dir).empty());
  EXPECT_NE(log().find("Fallo en la instrucción Descargar."), std::string::npos) << log();
  // The link error is logged once, by the download itself, then the result and the count.
  std::size_t lines = 0;
  for (char c : log()) lines += c == '\n' ? 1 : 0;
  EXPECT_EQ(lines, 3u) << log();
  EXPECT_NE(log().find(") Descargados 0 registros nuevos.\n"), std::string::npos) << log();
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(DownloadRunnerTest, HeadlessTheJournalHoldsTheSameLinesAsTheLog) {
  std::ostringstream standardError;
  journal = &standardError;
  std::string dir = addStation("Cumbre", "Cumbre", 6);
  makeRealProgram();
  EXPECT_EQ(program->run(parseCommandLineSwitches({dir, "-d"})), kProgramExitOk);
  const std::size_t stored = engine->archive().recordCount();
  std::vector<std::string> journalLines = linesOf(standardError.str());
  ASSERT_GE(journalLines.size(), 2u) << standardError.str();
  // The log is newest first, the journal in the order things happened.
  std::vector<std::string> logLines = linesOf(log());
  std::reverse(logLines.begin(), logLines.end());
  EXPECT_EQ(journalLines, logLines);
  const std::size_t n = journalLines.size();
  EXPECT_TRUE(journalLines[n - 2].ends_with(" Instrucción Descargar ok.")) << journalLines[n - 2];
  EXPECT_TRUE(journalLines[n - 1].ends_with(" Descargados " + std::to_string(stored) +
                                            " registros nuevos."))
      << journalLines[n - 1];
}

// Whatever starts a download, its result line is logged and the count of records stored
// after it; the command has no result line of its own, so the download logs one.
TEST_F(DownloadRunnerTest, EveryDownloadLogsItsResultAndThenItsCount) {
  std::string dir = addStation("Cumbre", "Cumbre", 6);
  fs.setContents(std::string(testing::kProgramDir) + "/download.lst", dir + "\n");
  struct Case {
    const char* origin;
    std::function<void(Program&)> run;
    std::string resultLine;
  };
  const std::vector<Case> cases = {
      {"command",
       [&](Program& p) {
         ASSERT_TRUE(p.startForCommand(dir).isOk());
         (void)downloadOpenStation(p, {});
         p.shutdown();
       },
       "Descargado Cumbre correctamente."},
      {"schedule",
       [&](Program& p) {
         ASSERT_TRUE(p.startForCommand(dir).isOk());
         runScheduledDownload(p, 7);
         p.shutdown();
       },
       "Descargado Cumbre correctamente."},
      {"switch", [&](Program& p) { (void)p.run(parseCommandLineSwitches({dir, "-d"})); },
       "Instrucción Descargar ok."},
  };
  std::size_t stored = engine->archive().recordCount();
  for (const Case& c : cases) {
    c.run(makeRealProgram());
    const std::vector<std::string> lines = linesOf(log());
    ASSERT_GE(lines.size(), 2u) << c.origin << "\n" << log();
    // Newest first: the count, then the result line.
    EXPECT_TRUE(lines[0].ends_with(") Descargados " + std::to_string(stored) +
                                   " registros nuevos."))
        << c.origin << "\n" << log();
    EXPECT_TRUE(lines[1].ends_with(" " + c.resultLine)) << c.origin << "\n" << log();
    stored = 0;  // the later runs find nothing new
  }
}

TEST_F(DownloadRunnerTest, AnotherStationIsDownloadedIntoItsOwnDirectoryAfterTheLinkIsGivenUp) {
  std::string casa = addStation("Casa", "Casa", 6);
  std::string cumbre = addStation("Cumbre", "Cumbre", 6);
  makeRealProgram();
  ASSERT_TRUE(program->startForCommand(casa).isOk());
  auto other = program->stations().readStation(cumbre);
  ASSERT_TRUE(other.isOk());
  DownloadRequest request;
  request.config = &*other;
  platform::UnattendedScope unattended(program->unattended());
  DownloadResult r = runner->download(request);
  EXPECT_TRUE(r.ok()) << r.status.message() << " " << r.linkError;
  EXPECT_EQ(r.recordsStored, engine->archive().recordCount());
  EXPECT_EQ(stored(cumbre).size(), engine->archive().recordCount());
  EXPECT_TRUE(stored(casa).empty());
  EXPECT_NE(std::find(stations->events.begin(), stations->events.end(), "close link"),
            stations->events.end());
  program->shutdown();
}

TEST_F(DownloadRunnerTest, CancelledBeforeTheFirstPageStoresNothingAndIsNotASuccess) {
  std::string dir = addStation("Cumbre", "Cumbre", 6);
  makeRealProgram();
  ASSERT_TRUE(program->startForCommand(dir).isOk());
  DownloadRequest request;
  request.config = program->currentStation();
  request.cancelled = [] { return true; };
  DownloadResult r = runner->download(request);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.recordsStored, 0u);
  EXPECT_TRUE(stored(dir).empty());
  program->shutdown();
}

TEST_F(DownloadRunnerTest, TheTextFileHoldsTheLastTwoDaysWhenTheStationAsksForIt) {
  std::string dir = addStation("Cumbre", "Cumbre", 6);
  auto config = station::readStationRecord(fs, dir);
  ASSERT_TRUE(config.isOk());
  config->setExportAfterDownload(true);
  ASSERT_TRUE(station::writeStationRecord(fs, *config, dir).isOk());
  makeRealProgram();
  EXPECT_EQ(program->run(parseCommandLineSwitches({dir, "-d"})), kProgramExitOk);
  std::string text = fs.contents(dir + "/download.txt");
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  // Three headings, then the days of 14 and 15 March: the console's archive ends at 23:30
  // on the 15th, 30 minutes apart; the record of 0:00 closes the day before, so the 14th
  // runs from 0:30 to midnight (48 records) and the 15th to 23:30 (47).
  EXPECT_EQ(lines, 3u + 48u + 47u) << text;
  std::size_t firstRecord = 0;
  for (int i = 0; i < 3; ++i) firstRecord = text.find('\n', firstRecord) + 1;
  EXPECT_EQ(text.compare(firstRecord, 15, "14-03-06   0:30"), 0) << text.substr(firstRecord, 40);
}

struct CountingView : stationlink::RealtimeView {
  void update(const stationlink::SensorImage&) override { ++updates; }
  void refresh() override {}
  void closed() override {}
  int updates = 0;
};

// The current readings run on the program's timer while a view is open, pause while the
// download uses the same console, and go on afterwards.
TEST_F(DownloadRunnerTest, RealtimeReadingsPauseForADownloadAndGoOnAfterwards) {
  std::string dir = addStation("Cumbre", "Cumbre", 6);
  makeRealProgram();
  ASSERT_TRUE(program->startForCommand(dir).isOk());
  auto link = attachStationLink();
  auto runTimers = [this](std::chrono::seconds span) {
    for (auto t = std::chrono::milliseconds(0); t < span; t += std::chrono::milliseconds(500)) {
      clock.advance(std::chrono::milliseconds(500));
      program->loop().runOnce(std::chrono::milliseconds(0));
    }
  };
  CountingView view;
  program->realtime().openView(&view);
  runTimers(std::chrono::seconds(20));
  EXPECT_GE(view.updates, 8);

  DownloadResult r = downloadOpenStation(*program, {});
  EXPECT_TRUE(r.ok()) << r.status.message() << " " << r.linkError;
  EXPECT_EQ(stored(dir).size(), engine->archive().recordCount());
  EXPECT_FALSE(program->realtime().suspended());

  const int before = view.updates;
  runTimers(std::chrono::seconds(20));
  EXPECT_GE(view.updates, before + 8);
  EXPECT_EQ(log().find("Error CRC"), std::string::npos) << log();
  program->realtime().closeView(&view);
  program->shutdown();
}

TEST_F(DownloadRunnerTest, TheShellsBulletinShowsReadingsUntilItIsClosed) {
  std::string dir = addStation("Cumbre", "Cumbre", 6);
  makeRealProgram();
  ASSERT_TRUE(program->startForCommand(dir).isOk());
  auto link = attachStationLink();
  std::ostringstream out;
  ASSERT_TRUE(runShellCommand(*program, "boletin", out));
  for (int i = 0; i < 10; ++i) {
    clock.advance(std::chrono::milliseconds(500));
    program->loop().runOnce(std::chrono::milliseconds(0));
  }
  const std::string shown = out.str();
  EXPECT_EQ(shown.rfind("Cumbre  15-03-06 23:5", 0), 0U) << shown;
  EXPECT_NE(shown.find("\nTemperatura Exterior "), std::string::npos) << shown;
  EXPECT_TRUE(program->realtime().running());

  ASSERT_TRUE(runShellCommand(*program, "bulletin", out));
  EXPECT_NE(out.str().find("boletín cerrado\n"), std::string::npos);
  EXPECT_FALSE(program->realtime().running());
  program->shutdown();
}

}  // namespace
}  // namespace frame
