// Every settable catalogue code in every unit setting: set a value, read it back in both
// unit systems, and show it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "quantities/record_values.h"
#include "quantities/sensor_catalogue.h"

namespace quantities {
namespace {

using records::ArchiveRecord;

enum class Shown {
  kTemp,
  kHum,
  kSpeed,
  kDir,
  kBar,
  kRain,
  kRate,
  kSolar,
  kUv,
  kInt,
  kId,
  kEt,
  kTime
};

struct Settable {
  SensorCode code;
  float internal;   // value in internal units
  float tolerance;  // what storage and the way back through user units may lose
  Shown shown;
};

// One row per settable code of the archive set.
constexpr Settable kSettable[] = {
    {0x0, 72.3f, 0.051f, Shown::kTemp},       {0x800, 80.1f, 0.051f, Shown::kTemp},
    {0xC00, -12.4f, 0.051f, Shown::kTemp},    {0x101C0, 55.0f, 0.051f, Shown::kHum},
    {0x20080, 12.3f, 0.051f, Shown::kSpeed},  {0x300C0, 5.0f, 0.0f, Shown::kDir},
    {0x20880, 31.0f, 0.051f, Shown::kSpeed},  {0x308C0, 15.0f, 0.0f, Shown::kDir},
    {0x400E0, 29.921f, 0.0011f, Shown::kBar}, {0x50440, 0.12f, 0.0041f, Shown::kRain},
    {0x60860, 1.0f, 0.051f, Shown::kRate},    {0x70140, 512.0f, 0.0f, Shown::kSolar},
    {0x70940, 890.0f, 0.0f, Shown::kSolar},   {0x80180, 5.5f, 0.051f, Shown::kUv},
    {0x80980, 7.2f, 0.051f, Shown::kUv},      {0x1000000, 68.5f, 0.051f, Shown::kTemp},
    {0x10101C0, 40.0f, 0.051f, Shown::kHum},  {0x2000000, 61.0f, 0.51f, Shown::kTemp},
    {0x3000000, -5.0f, 0.51f, Shown::kTemp},  {0x4000000, 100.0f, 0.51f, Shown::kTemp},
    {0x20101C0, 33.0f, 0.51f, Shown::kHum},   {0x30101C0, 90.0f, 0.51f, Shown::kHum},
    {0x44D, -0.012f, 0.0006f, Shown::kEt},    {0x90901E0, 20.0f, 0.0f, Shown::kInt},
    {0xA0901E0, 0.0f, 0.0f, Shown::kInt},     {0xB0901E0, 200.0f, 0.0f, Shown::kInt},
    {0xC0901E0, 254.0f, 0.0f, Shown::kInt},   {0x9000000, 50.0f, 0.51f, Shown::kTemp},
    {0xA000000, 51.0f, 0.51f, Shown::kTemp},  {0xB000000, 52.0f, 0.51f, Shown::kTemp},
    {0xC000000, 53.0f, 0.51f, Shown::kTemp},  {0xF0A0200, 3.0f, 0.0f, Shown::kInt},
    {0x100A0200, 4.0f, 0.0f, Shown::kInt},    {0x110A0200, 5.0f, 0.0f, Shown::kInt},
    {0x120A0200, 15.0f, 0.0f, Shown::kInt},   {0xF000000, 45.0f, 0.51f, Shown::kTemp},
    {0x10000000, 46.0f, 0.51f, Shown::kTemp}, {0x11000000, 47.0f, 0.51f, Shown::kTemp},
    {0x12000000, 48.0f, 0.51f, Shown::kTemp}, {0x20C0220, 114.0f, 0.0f, Shown::kInt},
    {0x10C0220, 3.0f, 0.0f, Shown::kId},      {0xC0220, 5.0f, 0.0f, Shown::kInt},
    {0x1070140, 345.0f, 0.0f, Shown::kSolar}, {0x70C0220, 600.0f, 0.0f, Shown::kTime},
};

struct UnitSetting {
  int temp, bar, speed, rain;
};

// Decimals the value string of each kind shows in a unit setting.
int decimals(Shown s, const UnitSetting& u) {
  switch (s) {
    case Shown::kTemp:
    case Shown::kSpeed:
    case Shown::kUv:
      return 1;
    case Shown::kHum:
    case Shown::kSolar:
    case Shown::kInt:
    case Shown::kId:
      return 0;
    case Shown::kBar:
      return u.bar == kInchesHg ? 3 : 1;
    case Shown::kRain:
      return 2;
    case Shown::kRate:
      return u.rain == kInches ? 2 : 1;
    case Shown::kEt:
      return u.rain == kInches ? 3 : 2;
    case Shown::kDir:
    case Shown::kTime:
      return -1;
  }
  return -1;
}

TEST(RoundTrip, EverySettableCodeInEveryUnitSetting) {
  // Every settable code of the archive set has a row here.
  const SensorCatalogue catalogue = SensorCatalogue::fromStringTable();
  const auto* archive = catalogue.findSet(kArchiveSetName);
  ASSERT_NE(archive, nullptr);
  int settable = 0;
  for (const auto& row : archive->rows) {
    ArchiveRecord probe;
    Units u;
    platform::IntlSettings intl;
    if (SetWeatherData(probe, row.code, 1.0f, 1, {u, intl, 1.0}) == kValueOk) ++settable;
  }
  EXPECT_EQ(settable, static_cast<int>(std::size(kSettable)) - 1);  // time of day is not listed

  platform::IntlSettings intl;
  for (int temp = 0; temp < 2; ++temp)
    for (int bar = 0; bar < 4; ++bar)
      for (int speed = 0; speed < 4; ++speed)
        for (int rain = 0; rain < 2; ++rain) {
          const UnitSetting us{temp, bar, speed, rain};
          Units units;
          (void)units.SetTempUnit(temp);
          (void)units.SetBarUnit(bar);
          (void)units.SetWindSpeedUnit(speed);
          (void)units.SetRainUnit(rain);
          const ValueContext ctx{units, intl, 1.0};
          const std::string where = "units " + std::to_string(temp) + std::to_string(bar) +
                                    std::to_string(speed) + std::to_string(rain) + " code ";
          for (const Settable& s : kSettable) {
            const std::string at = where + std::to_string(s.code);
            ArchiveRecord rec;
            if (s.code == 0x60860) {
              ASSERT_EQ(SetRainData(rec, 0, 1), 0);
            }
            ASSERT_EQ(SetWeatherData(rec, s.code, s.internal, 1, ctx), kValueOk) << at;
            float internal = 0;
            float user = 0;
            ASSERT_EQ(GetWeatherData(rec, s.code, 1, &internal, ctx), 0);
            ASSERT_EQ(GetWeatherData(rec, s.code, 0, &user, ctx), 0);
            EXPECT_NEAR(internal, s.internal, s.tolerance) << at;

            // Back through the user's units into a fresh record.
            ArchiveRecord again;
            if (s.code == 0x60860) {
              ASSERT_EQ(SetRainData(again, 0, 1), 0);
            }
            ASSERT_EQ(SetWeatherData(again, s.code, user, 0, ctx), kValueOk) << at;
            float back = 0;
            ASSERT_EQ(GetWeatherData(again, s.code, 1, &back, ctx), 0);
            EXPECT_NEAR(back, s.internal, 2 * s.tolerance + 1e-4f) << at;

            const std::string text = GetWeatherDataStr(rec, s.code, ctx);
            const int d = decimals(s.shown, us);
            if (d < 0) {
              if (s.shown == Shown::kTime) {
                EXPECT_EQ(text, "10:00") << at;
              } else {
                EXPECT_EQ(text.size() <= 3 && text != "---", true) << at << " " << text;
              }
              continue;
            }
            const double shown = s.shown == Shown::kId ? user + 1 : user;
            const std::size_t point = text.find('.');
            EXPECT_EQ(point == std::string::npos ? 0 : int(text.size() - point - 1), d)
                << at << " " << text;
            EXPECT_NEAR(std::stod(text), shown, 0.5 * std::pow(10.0, -d) + 1e-6)
                << at << " " << text;
          }
        }
}

}  // namespace
}  // namespace quantities
