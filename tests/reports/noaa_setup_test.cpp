#include "reports/noaa_setup.h"

#include <gtest/gtest.h>

#include "quantities/units.h"

namespace reports {
namespace {

TEST(NoaaSetup, StoresEveryFieldInInternalUnits) {
  quantities::Units metric;
  metric.SetTempUnit(1);
  metric.SetRainUnit(1);
  metric.SetElevUnit(0);
  station::StationConfig config;
  NoaaSetupChanges c;
  c.city = "Sevilla";
  c.state = "Andalucía";
  c.elevation = "30";
  c.latText = "37 23N";
  c.lonText = "05 59W";
  c.heatBase = "18";
  c.coolBase = "20.5";
  c.integration = false;
  c.normalTemps = {{7, "25"}, {1, ""}};
  c.normalRains = {{7, "25.4"}, {2, ""}};
  ASSERT_TRUE(applyNoaaSetup(config, c, metric).isOk());
  EXPECT_EQ(config.noaaCity(), "Sevilla");
  EXPECT_EQ(config.noaaState(), "Andalucía");
  EXPECT_EQ(config.noaaElevationText(), "30");
  EXPECT_EQ(config.elevation(), 98);  // 30 m × 3.280839895 = 98.4 ft
  EXPECT_FLOAT_EQ(config.heatBase(), 18 * 1.8F + 32);
  EXPECT_FLOAT_EQ(config.coolBase(), 20.5F * 1.8F + 32);
  EXPECT_EQ(config.noaaDegreeDayMethod(), 0);
  EXPECT_FLOAT_EQ(config.normalTemp(6), 77.0F);
  EXPECT_EQ(config.normalTemp(0), -32768.0F);
  EXPECT_FLOAT_EQ(config.normalRain(6), 1.0F);
  EXPECT_EQ(config.normalRain(1), -1.0F);
}

struct Refusal {
  const char* what;
  NoaaSetupChanges changes;
  const char* message;
};

TEST(NoaaSetup, ARefusalChangesNothing) {
  auto with = [](auto fill) {
    NoaaSetupChanges c;
    c.city = "Nueva";  // a valid change that must not be stored either
    fill(c);
    return c;
  };
  const Refusal cases[] = {
      {"empty heat base", with([](auto& c) { c.heatBase = " "; }),
       "Introduzca una temperatura de base para los grados día de calor."},
      {"bad heat base", with([](auto& c) { c.heatBase = "6o"; }),
       "Valor no válido para la base de grados día de calor '6o'."},
      {"empty cool base", with([](auto& c) { c.coolBase = ""; }),
       "Introduzca una temperatura de base para los grados día de frío."},
      {"bad cool base", with([](auto& c) { c.coolBase = "x"; }),
       "Valor no válido para la base de grados día de frío 'x'."},
      {"bad normal temperature", with([](auto& c) {
         c.normalTemps = {{3, "abc"}};
       }),
       "Valor no válido para la temperatura media normal 'abc'para el mes 3."},
      {"bad normal rain", with([](auto& c) {
         c.normalRains = {{12, "1,5"}};
       }),
       "Valor no válido para la lluvia normal '1,5' para el mes 12."},
      {"elevation not an integer", with([](auto& c) { c.elevation = "12.5"; }),
       "¡Valor de altitud no válido!"},
      {"elevation too high", with([](auto& c) { c.elevation = "32768"; }),
       "¡Valor de altitud no válido!"},
      {"elevation too low", with([](auto& c) { c.elevation = "-32769"; }),
       "¡Valor de altitud no válido!"},
      {"city too long", with([](auto& c) { c.city = std::string(40, 'a'); }),
       "El texto de Ciudad es demasiado largo (máx. 39 caracteres)."},
  };
  const quantities::Units feet;
  for (const Refusal& r : cases) {
    SCOPED_TRACE(r.what);
    station::StationConfig config;
    const auto before = config.bytes();
    const platform::Status s = applyNoaaSetup(config, r.changes, feet);
    EXPECT_EQ(s.kind(), platform::Errc::kBadArgument);
    EXPECT_EQ(s.message(), r.message);
    EXPECT_EQ(config.bytes(), before);
  }
  station::StationConfig config;
  NoaaSetupChanges edge;
  edge.elevation = "-32768";
  ASSERT_TRUE(applyNoaaSetup(config, edge, feet).isOk());
  EXPECT_EQ(config.elevation(), -32768);
}

}  // namespace
}  // namespace reports
