#include "station/station_setup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/testing/mem_file_system.h"

namespace station {
namespace {

struct Refusal {
  const char* name;
  StationSettings settings;
  std::string message;
};

TEST(StationSetup, RefusalsShowTheDialogTextAndChangeNothing) {
  StationSettings modemWithoutPhone;
  modemWithoutPhone.useModem = true;
  modemWithoutPhone.comPort = 7;  // valid, but must not be applied either
  StationSettings waitTooLong;
  waitTooLong.connectWait = "128";
  StationSettings waitNotNumber;
  waitNotNumber.connectWait = "2s";
  StationSettings emptyName;
  emptyName.name = "";
  StationSettings humidityOnTessel;
  humidityOnTessel.model = 2;
  humidityOnTessel.sensors = {{Sensor::kOutsideHumidity, true}};
  const Refusal kCases[] = {
      {"modem without phone", modemWithoutPhone, "Introduzca un número de teléfono."},
      {"connect wait 128", waitTooLong, "Tiempo de espera fuera de rango (0 a 127)."},
      {"connect wait text", waitNotNumber, "Tiempo de espera '2s' no válido."},
      {"empty name", emptyName, "Introduzca un nombre para su estación."},
      {"humidity on a Tessel", humidityOnTessel,
       "El modelo seleccionado no tiene humedad exterior."},
  };
  for (const Refusal& r : kCases) {
    StationConfig c;
    const auto before = c.bytes();
    platform::Status s = applyStationSettings(c, r.settings);
    EXPECT_EQ(s.kind(), platform::Errc::kBadArgument) << r.name;
    EXPECT_EQ(s.message(), r.message) << r.name;
    EXPECT_EQ(c.bytes(), before) << r.name;
  }
}

TEST(StationSetup, SolarOrUvSwitchesTheCirrantModel) {
  StationConfig c;  // Cirrant Pro, code 5
  ASSERT_TRUE(setSensor(c, Sensor::kSolarRadiation, true).isOk());
  EXPECT_EQ(c.model(), 6);
  EXPECT_TRUE(c.hasSensors(0, 1U << 11));
  EXPECT_TRUE(c.hasSensors(1, 1U << 0));
  ASSERT_TRUE(setSensor(c, Sensor::kUv, true).isOk());
  ASSERT_TRUE(setSensor(c, Sensor::kSolarRadiation, false).isOk());
  EXPECT_EQ(c.model(), 6) << "UV still on";
  ASSERT_TRUE(setSensor(c, Sensor::kUv, false).isOk());
  EXPECT_EQ(c.model(), 5);
  EXPECT_EQ(c.sensorMask2(), 0U);
}

TEST(StationSetup, LinkFieldsAndLocation) {
  StationConfig c;
  StationSettings s;
  s.comPort = 3;
  s.baudRate = 9600;
  s.useModem = true;
  s.phoneNumber = "555-0100";
  s.connectWait = "30";
  s.timeoutMinutes = 2;
  s.latitude = 37.6;
  s.longitude = -122.1;
  ASSERT_TRUE(applyStationSettings(c, s).isOk());
  EXPECT_EQ(c.comPort(), 3);
  EXPECT_EQ(c.baudRate(), 9600);
  EXPECT_EQ(c.connectWait(), 30);
  EXPECT_EQ(c.timeoutSeconds(), 120);
  EXPECT_EQ(c.latDeg(), 37);
  EXPECT_EQ(c.latMin(), 36);
  EXPECT_EQ(c.lonDeg(), 122);
  EXPECT_EQ(c.lonMin(), 6);
  EXPECT_TRUE(c.lonWest());
  EXPECT_FALSE(c.latSouth());
  EXPECT_EQ(c.zoneCode(), 2);

  StationSettings classicFast;
  classicFast.model = 1;
  classicFast.baudRate = 19200;
  EXPECT_FALSE(applyStationSettings(c, classicFast).isOk())
      << "older consoles talk at 1200 or 2400";
}

class YesPrompts : public StationPrompts {
 public:
  bool ask(std::string_view, std::string_view text) override {
    asked = text;
    return true;
  }
  void showError(std::string_view text) override { error = text; }
  std::string asked;
  std::string error;
};

TEST(StationSetup, RenameMovesTheDirectoryButNeverOntoAnother) {
  // Directories are renamed on the real file system.
  const std::filesystem::path tmp =
      std::filesystem::temp_directory_path() /
      ("stratalog-rename-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::remove_all(tmp);
  std::filesystem::create_directories(tmp / "data" / "Casa");
  std::filesystem::create_directories(tmp / "data" / "Otro");
  const std::string root = tmp.string();
  platform::FileSystem& fs = platform::defaultFileSystem();
  StationState st;
  st.config.setStationDir(root + "/data/Casa");
  st.config.setStationName("Casa");
  ASSERT_TRUE(saveStation(fs, st).isOk());
  st.config.setStationName("Huerto Norte");
  YesPrompts prompts;
  ASSERT_TRUE(renameStationDirectory(fs, st, prompts).isOk());
  EXPECT_EQ(prompts.asked, "¿Desea cambiar el nombre del directorio de datos a 'HuertoNo'?");
  EXPECT_EQ(st.config.stationDir(), root + "/data/HuertoNo");
  EXPECT_FALSE(fs.exists(root + "/data/Casa"));
  auto reread = loadStation(fs, root + "/data/HuertoNo", {});
  ASSERT_TRUE(reread.isOk());
  EXPECT_EQ(reread->config.stationName(), "Huerto Norte");

  ASSERT_TRUE(fs.replaceFileAtomically(root + "/data/Otro/STATION.CFG", "another station").isOk());
  st.config.setStationName("Otro");
  EXPECT_FALSE(renameStationDirectory(fs, st, prompts).isOk());
  EXPECT_EQ(prompts.error, "No se pudo cambiar el nombre '" + root + "/data/HuertoNo' a '" + root +
                               "/data/Otro'. (17)");
  EXPECT_EQ(*fs.readFile(root + "/data/Otro/STATION.CFG"), "another station");
  EXPECT_EQ(st.config.stationDir(), root + "/data/HuertoNo");
  std::filesystem::remove_all(tmp);
}

}  // namespace
}  // namespace station
