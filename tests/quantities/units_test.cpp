#include "quantities/units.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

#include "quantities/sensor_code.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace quantities {
namespace {

Units metric() {
  Units u;
  (void)u.SetTempUnit(kCelsius);
  (void)u.SetBarUnit(kHectopascals);
  (void)u.SetWindSpeedUnit(kKmh);
  (void)u.SetRainUnit(kMillimetres);
  (void)u.SetElevUnit(kMetres);
  return u;
}

TEST(Units, GettersReturnCurrentUnitsAndRestoreBringsBackSaved) {
  Units u;
  u.SaveUnits();
  (void)u.SetTempUnit(kCelsius);
  EXPECT_EQ(u.GetTempUnit(), kCelsius);
  EXPECT_EQ(u.tempUnitText(), "°C");
  u.RestoreUnits();
  EXPECT_EQ(u.GetTempUnit(), kFahrenheit);
  EXPECT_EQ(u.tempUnitText(), "°F");
  EXPECT_EQ(u.GetHumPrecision(), 0);
}

TEST(Units, OutOfRangeCodesLeaveTheUnitAlone) {
  Units u = metric();
  (void)u.SetTempUnit(2);
  (void)u.SetBarUnit(-1);
  (void)u.SetWindSpeedUnit(4);
  (void)u.SetRainUnit(7);
  (void)u.SetElevUnit(2);
  EXPECT_EQ(u.GetTempUnit(), kCelsius);
  EXPECT_EQ(u.GetBarUnit(), kHectopascals);
  EXPECT_EQ(u.GetWindSpeedUnit(), kKmh);
  EXPECT_EQ(u.GetRainUnit(), kMillimetres);
  EXPECT_EQ(u.GetElevUnit(), kMetres);
}

TEST(Conversions, BothDirections) {
  const Units u = metric();
  EXPECT_NEAR(u.ConvertTemp(212, 0), 100.0, 1e-9);
  EXPECT_NEAR(u.ConvertTemp(100, 1), 212.0, 1e-9);
  EXPECT_EQ(u.ConvertTemp(32767, 0), kNoDataValue);
  EXPECT_EQ(u.ConvertTemp(-32768, 0), kNoDataValue);
  EXPECT_EQ(u.ConvertTemp(70, 2), kNoDataValue);
  EXPECT_NEAR(u.ConvertDegDay(9, 0), 5.0, 1e-9);
  EXPECT_NEAR(u.ConvertDegDay(5, 1), 9.0, 1e-9);
  EXPECT_NEAR(u.ConvertBar(30, 0), 1015.92, 1e-9);
  EXPECT_NEAR(u.ConvertBar(1013.25, 1), 29.921, 1e-9);  // rounded to thousandths
  EXPECT_EQ(u.ConvertBar(32767, 0), kNoDataValue);
  EXPECT_NEAR(u.ConvertSpeed(10, 0), 16.09344, 1e-9);
  EXPECT_NEAR(u.ConvertSpeed(16, 1), 9.9, 1e-9);  // 9.94 rounded to tenths
  EXPECT_NEAR(u.ConvertRain(1, 0), 25.4, 1e-9);
  EXPECT_NEAR(u.ConvertRain(25.4, 1), 1.0, 1e-9);
  EXPECT_NEAR(u.ConvertRate(0.5, 0), 12.7, 1e-9);
  EXPECT_EQ(u.ConvertRate(0.5, 3), kNoDataValue);
  EXPECT_EQ(u.ConvertElevation(-10, 0), -3);  // -3.048 rounded away from zero
  EXPECT_EQ(u.ConvertElevation(100, 1), 328);
  EXPECT_EQ(u.ConvertElevation(100, 2), 32768);
  EXPECT_EQ(u.ConvertElevation(-32768, 0), -32768);
}

TEST(Conversions, SpeedUnitsAndUnstorableResults) {
  Units u;
  const struct {
    int unit;
    double toUser;  // of 10 mph
  } cases[] = {
      {kMph, 10.0}, {kKnots, 8.695652173913044}, {kKmh, 16.09344}, {kMetresPerSecond, 4.4704}};
  for (const auto& c : cases) {
    (void)u.SetWindSpeedUnit(c.unit);
    EXPECT_NEAR(u.ConvertSpeed(10, 0), c.toUser, 1e-9) << c.unit;
    EXPECT_NEAR(u.ConvertSpeed(u.ConvertSpeed(10, 0), 1), 10.0, 0.051) << c.unit;
  }
  (void)u.SetWindSpeedUnit(kKmh);
  EXPECT_EQ(u.ConvertSpeed(-5, 1), kNoDataValue);
  EXPECT_EQ(u.ConvertSpeed(1e7, 1), kNoDataValue);
  (void)u.SetBarUnit(kMillibars);
  EXPECT_EQ(u.ConvertBar(2000, 1), kNoDataValue);  // 59 inHg does not fit the field
  EXPECT_EQ(u.ConvertBar(std::numeric_limits<double>::quiet_NaN(), 1), kNoDataValue);
}

TEST(Conversions, RainTipsOfTheStationCollector) {
  const Units u;
  EXPECT_NEAR(u.ConvertRain(12.4, 2, {1, 0.01f}), 0.12, 1e-12);
  EXPECT_NEAR(u.ConvertRain(10, 2, {2, 0.2f}), 2.0 / 25.4, 1e-12);
  EXPECT_NEAR(u.ConvertRain(10, 2, {5, 0.1f}), 1.0 / 25.4, 1e-7);
  EXPECT_NEAR(u.ConvertRain(10, 2, {9, 0.0f}), 0.1, 1e-12);  // unknown code: 0.01 in
}

TEST(ValueStrings, FormatsAndNoData) {
  Units u;
  EXPECT_EQ(TempStr(u, 72.25f, false), "72.2");
  EXPECT_EQ(TempStr(u, 32767, false), "---");
  EXPECT_EQ(TempStr(u, -32768, false), "---");
  EXPECT_EQ(BarStr(u, 29.921f, false), "29.921");
  EXPECT_EQ(RainStr(u, 0.12f, false), "0.12");
  EXPECT_EQ(ETStr(u, 0.012f, false), "0.012");
  EXPECT_EQ(SpeedStr(u, 5.0f, false), "5.0");
  EXPECT_EQ(HumStr(u, 55.5f), "56");
  (void)u.SetHumPrecision(1);
  EXPECT_EQ(HumStr(u, 55.5f), "55.5");
  EXPECT_EQ(SolarRadStr(4095), "---");
  EXPECT_EQ(SolarRadStr(512.4f), "512");
  EXPECT_EQ(UVStr(55), "5.5");
  EXPECT_EQ(UVStr(255), "---");
  EXPECT_EQ(UVStr(0x8000), "---");
  EXPECT_EQ(LeafSoilStr(7), "7");
  EXPECT_EQ(LeafSoilStr(255), "---");
  EXPECT_EQ(GetAirDensityStr(0.0765f), "0.0765");
  EXPECT_EQ(DomDirStr(5), "ESE");
  EXPECT_EQ(DomDirStr(16), "---");
  const Units m = metric();
  EXPECT_EQ(TempStr(m, 212, false), "100.0");
  EXPECT_EQ(TempStr(m, 21.5f, true), "21.5");
  EXPECT_EQ(BarStr(m, 30, false), "1015.9");
  EXPECT_EQ(RainStr(m, 1, false), "25.4");
  EXPECT_EQ(ETStr(m, 0.1f, false), "2.54");
}

TEST(ValueStrings, NeverLongerThanTheBuffer) {
  Units u;
  (void)u.SetHumPrecision(200);
  EXPECT_EQ(HumStr(u, 50), "---");
  EXPECT_EQ(TempStr(u, 3e30f, true), "---");
  EXPECT_EQ(SpeedStr(u, std::numeric_limits<float>::infinity(), true), "---");
  EXPECT_EQ(SpeedStr(u, std::numeric_limits<float>::quiet_NaN(), true), "---");
  EXPECT_LT(SpeedStr(u, -3e25f, true).size(), kValueBufferBytes);
}

TEST(ValueStrings, CLocaleWhateverTheProcessLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "es_ES.UTF-8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  Units u;
  EXPECT_EQ(TempStr(u, 72.5f, false), "72.5");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ValueStrings, BarometerTrend) {
  const struct {
    int trend;
    const char* text;
  } cases[] = {{-100, "Bajando rápida."},
               {-60, "Bajando rápida."},
               {-59, "---"},
               {-20, "Bajando lenta."},
               {0, "Estable"},
               {10, "---"},
               {20, "Subiendo lenta."},
               {40, "---"},
               {60, "Subiendo rápida."},
               {100, "---"}};
  for (const auto& c : cases) EXPECT_EQ(BarTrendStr(c.trend), c.text) << c.trend;
}

TEST(UnitTexts, ByUnitClass) {
  Units u;
  EXPECT_EQ(GetUnitStr(u, 0x0), "°F");
  EXPECT_EQ(GetUnitStr(u, 0x410428), "°F");
  EXPECT_EQ(GetUnitStr(u, kCodeRain), "Pulg.");
  EXPECT_EQ(GetUnitStr(u, kCodeRainRate), "Pulg/h");
  EXPECT_EQ(GetUnitStr(u, kCodeWindSpeed), "mph");
  EXPECT_EQ(GetUnitStr(u, 0x300C0), "");
  EXPECT_EQ(GetUnitStr(u, kCodeBarometer), "Pulg.");
  EXPECT_EQ(GetUnitStr(u, kCodeSolar), "W/m²");
  EXPECT_EQ(GetUnitStr(u, kCodeSolarEnergy), "Ly");
  EXPECT_EQ(GetUnitStr(u, kCodeUv), "índice");
  EXPECT_EQ(GetUnitStr(u, kCodeUvDose), "MEDs");
  EXPECT_EQ(GetUnitStr(u, 0x101C0), "%");
  EXPECT_EQ(GetUnitStr(u, 0x90901E0), "cb");
  EXPECT_EQ(GetUnitStr(u, 0x20647), "mi");
  EXPECT_EQ(GetUnitStr(u, 0x101028B), "");
  const struct {
    int speed;
    const char* text;
  } runs[] = {{kMph, "mi"}, {kKnots, "nudos"}, {kKmh, "km"}, {kMetresPerSecond, "km"}};
  for (const auto& r : runs) {
    (void)u.SetWindSpeedUnit(r.speed);
    EXPECT_EQ(GetUnitStr(u, 0x20647), r.text) << r.speed;
  }
  const Units m = metric();
  EXPECT_EQ(GetUnitStr(m, 0x0), "°C");
  EXPECT_EQ(GetUnitStr(m, kCodeBarometer), "hPa");
  EXPECT_EQ(GetUnitStr(m, kCodeRainRate), "mm/h");
  EXPECT_EQ(m.elevUnitText(), "m");
  EXPECT_EQ(m.airDensityUnitText(), "lb/pie^3");
  EXPECT_EQ(m.speedUnitTextCapitalised(), "Km/h");
}

TEST(UnitTexts, Decimals) {
  Units u;
  (void)u.SetHumPrecision(1);
  EXPECT_EQ(NumDecimals(u, 0x0), 1);
  EXPECT_EQ(NumDecimals(u, 0x410428), 2);
  EXPECT_EQ(NumDecimals(u, kCodeRain), 2);
  EXPECT_EQ(NumDecimals(u, kCodeBarometer), 3);
  EXPECT_EQ(NumDecimals(u, kCodeBarometer, 1), 2);
  EXPECT_EQ(NumDecimals(u, 0x101C0), 1);    // outside humidity: the humidity decimals
  EXPECT_EQ(NumDecimals(u, 0x30C01C0), 1);  // reception
  EXPECT_EQ(NumDecimals(u, 0x101028B), 4);
  EXPECT_EQ(NumDecimals(u, 0x300C0), 0);
  const Units m = metric();
  EXPECT_EQ(NumDecimals(m, kCodeRain), 1);
  EXPECT_EQ(NumDecimals(m, kCodeBarometer, 1), 1);
  EXPECT_EQ(NumDecimals(m, 0x101C0), 0);
}

}  // namespace
}  // namespace quantities
