// The open station's shared console link as the program's services keep it.
#include "frame/station_services.h"

#include <gtest/gtest.h>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "link/console_link.h"
#include "link/serial_port_manager.h"
#include "platform/testing/mem_file_system.h"
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

}  // namespace
}  // namespace frame
