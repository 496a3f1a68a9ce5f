// The open station's shared console link as the program's services keep it.
#include "frame/station_services.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "frame/event_log.h"
#include "frame/messages.h"
#include "link/console_link.h"
#include "link/serial_port_manager.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "station/station_file.h"

namespace frame {
namespace {

TEST(StationServices, TheSharedLinkGivesUpItsPortAfterTheIdleTime) {
  platform::MemFileSystem fs;
  platform::FakeClock clock;
  clock.setLocal(2006, 3, 15, 12, 0);
  consolesim::ConsoleEngine engine(clock, consolesim::EngineOptions{});
  consolesim::SimSerialPortOpener opener(engine, clock);
  const std::string dir = "/prog/Cumbre";
  station::StationConfig config;
  ASSERT_TRUE(config.setModel(6));
  config.setStationName("Cumbre");
  config.setStationDir(dir);
  config.setComPort(1);
  ASSERT_TRUE(fs.createDirectories(dir).isOk());
  ASSERT_TRUE(station::writeStationRecord(fs, config, dir).isOk());

  platform::Env env;
  env.files = &fs;
  env.clock = &clock;
  env.serialPorts = &opener;
  auto services = makeStationServices(env);
  stationlink::LinkServices linkServices;
  linkServices.opener = &opener;
  linkServices.clock = &clock;
  stationlink::SerialPortManager ports(linkServices);
  services->setPortManager(&ports);
  EXPECT_EQ(services->stationLink(), nullptr);  // no station open yet
  ASSERT_TRUE(services->openStation(dir).isOk());
  stationlink::ConsoleLink* link = services->stationLink();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(services->stationLink(), link);
  ASSERT_TRUE(link->Identify().isOk());

  // The idle time of a new station is 60 s; each tick is one second.
  for (int i = 0; i < 59; ++i) ports.tick();
  EXPECT_NE(link->port(), nullptr);
  ports.tick();
  EXPECT_EQ(link->port(), nullptr);
  ASSERT_TRUE(link->Identify().isOk());  // and reopens on its next operation

  services->closeStation();
  EXPECT_EQ(services->stationLink(), nullptr);
}

// A month file that a killed writer left with a record count beyond its day blocks is
// mended when the station opens, and the event log says so; an
// unreadable rain.db line is named there too.
TEST(StationServices, OpeningLogsWhatTheDatabaseMendedOrLeftOut) {
  platform::MemFileSystem fs;
  platform::FakeClock clock;
  const std::string dir = "/prog/Cumbre";
  station::StationConfig config;
  ASSERT_TRUE(config.setModel(6));
  config.setStationName("Cumbre");
  config.setStationDir(dir);
  ASSERT_TRUE(fs.createDirectories(dir).isOk());
  ASSERT_TRUE(station::writeStationRecord(fs, config, dir).isOk());
  // Header: "WDAT5.3", record count 3, day 1 holding records 0 and 1 (its summaries).
  std::string month(212, '\0');
  month.replace(0, 7, "WDAT5.3");
  month[14] = 5;
  month[15] = 3;
  month[16] = 3;
  month[20 + 6 * 1] = 2;
  std::string summaryA(88, '\0'), summaryB(88, '\0');
  summaryA[0] = 2;
  summaryB[0] = 3;
  fs.setContents(dir + "/2006-03.slg", month + summaryA + summaryB);
  fs.setContents(dir + "/rain.db", "2006\t1,5\nnot a year\n");

  EventLog log(fs, clock, "/prog");
  platform::ScriptedUserInterface ui;
  platform::UnattendedFlag unattended;
  Messages messages(log, ui, unattended);
  platform::Env env;
  env.files = &fs;
  env.clock = &clock;
  auto services = makeStationServices(env);
  services->setMessages(&messages);
  ASSERT_TRUE(services->openStation(dir).isOk());
  const std::string text = fs.contents("/prog/download.log");
  EXPECT_NE(text.find("Base de datos de la estación: "), std::string::npos) << text;
  EXPECT_NE(text.find("2006-03.slg"), std::string::npos) << text;
  EXPECT_NE(text.find("rain.db"), std::string::npos) << text;
  services->closeStation();
}

// Two programs from two program directories never write one station: while one holds the
// station open, the other is refused with the program-directory lock's message.
TEST(StationServices, AStationHeldByAnotherProgramIsRefused) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("stratalog-lock-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  platform::FileSystem& fs = platform::defaultFileSystem();
  station::StationConfig config;
  ASSERT_TRUE(config.setModel(6));
  config.setStationName("Cumbre");
  config.setStationDir(dir.string());
  ASSERT_TRUE(station::writeStationRecord(fs, config, dir.string()).isOk());

  platform::MemFileSystem logFiles;
  platform::FakeClock clock;
  EventLog log(logFiles, clock, "/prog");
  platform::ScriptedUserInterface ui;
  platform::UnattendedFlag unattended;
  platform::UnattendedScope scope(unattended);
  Messages messages(log, ui, unattended);
  platform::Env env;
  env.clock = &clock;
  auto first = makeStationServices(env);
  auto second = makeStationServices(env);
  first->setMessages(&messages);
  second->setMessages(&messages);
  ASSERT_TRUE(first->openStation(dir.string()).isOk());
  auto refused = second->openStation(dir.string());
  EXPECT_EQ(refused.status().kind(), platform::Errc::kBusy);
  EXPECT_NE(logFiles.contents("/prog/download.log").find("Otro Stratalog ya trabaja"),
            std::string::npos);
  first->closeStation();
  EXPECT_TRUE(second->openStation(dir.string()).isOk());
  second->closeStation();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace frame
