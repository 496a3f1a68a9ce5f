#include "quantities/record_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

#include "quantities/derived.h"
#include "quantities/record_view.h"
#include "quantities/sensor_catalogue.h"

namespace quantities {
namespace {

using records::ArchiveRecord;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class RecordValues : public ::testing::Test {
 protected:
  // Writes little-endian bytes at an offset of the record, as a fixture from the layout.
  void poke(std::size_t offset, std::initializer_list<int> bytes) {
    for (int b : bytes) rec_.setU8(offset++, static_cast<std::uint8_t>(b));
  }
  float get(SensorCode code, bool internal = false) {
    float v = 0;
    EXPECT_EQ(GetWeatherData(rec_, code, internal ? 1 : 0, &v, ctx_), 0);
    return v;
  }
  std::string str(SensorCode code) { return GetWeatherDataStr(rec_, code, ctx_); }
  int set(SensorCode code, float v, bool internal = true) {
    return SetWeatherData(rec_, code, v, internal ? 1 : 0, ctx_);
  }

  Units units_;
  platform::IntlSettings intl_;
  ValueContext ctx_{units_, intl_, 1.0};
  ArchiveRecord rec_;
};

TEST_F(RecordValues, MeasuredFieldsFromBytes) {
  poke(1, {0x05, 0x00, 0x12});  // 5 minutes; transmitter id 2 with the ET sign bit
  poke(4, {0xD0, 0x02});        // 720 minutes
  poke(6, {0xD3, 0x02});        // 72.3 °F
  poke(14, {0xE1, 0x74});       // 29.921 inHg
  poke(16, {0x26, 0x02});       // 55.0 %
  poke(20, {0x0C, 0x10});       // 12 tips of collector type 1
  poke(22, {0x32, 0x00});       // 50 tips per hour
  poke(24, {0x37, 0x00});       // 5.5 mph
  poke(28, {0x05});             // ESE
  poke(30, {0x64, 0x00});       // 100 wind samples
  poke(32, {0xF4, 0x01});       // 500 W/m²
  poke(36, {0x37});             // UV 5.5
  poke(38, {0x91});             // leaf temperature 1: 55 °F
  poke(57, {0x0C});             // ET 0.012 in, negative by byte 3
  poke(64, {0x14});             // soil moisture 1: 20 cb
  poke(74, {0x9B});             // extra temperature 2: 65 °F
  poke(81, {0x28});             // extra humidity 2: 40 %
  EXPECT_NEAR(get(0x0), 72.3f, 1e-4);
  EXPECT_NEAR(get(0x400E0), 29.921f, 1e-5);
  EXPECT_NEAR(get(0x101C0), 55.0f, 1e-4);
  EXPECT_NEAR(get(0x50440), 0.12f, 1e-6);
  EXPECT_NEAR(get(0x60860), 0.50f, 1e-6);
  EXPECT_NEAR(get(0x20080), 5.5f, 1e-5);
  EXPECT_EQ(get(0x300C0), 5.0f);
  EXPECT_EQ(get(0x70140), 500.0f);
  EXPECT_NEAR(get(0x80180), 5.5f, 1e-5);
  EXPECT_EQ(get(0xF000000), 55.0f);
  EXPECT_NEAR(get(0x44D), -0.012f, 1e-6);
  EXPECT_EQ(get(0x90901E0), 20.0f);
  EXPECT_EQ(get(0x2000000), 65.0f);
  EXPECT_EQ(get(0x20101C0), 40.0f);
  EXPECT_EQ(get(0xC0220), 5.0f);
  EXPECT_EQ(get(0x10C0220), 2.0f);
  EXPECT_EQ(get(0x20C0220), 100.0f);
  EXPECT_EQ(str(0x0), "72.3");
  EXPECT_EQ(str(0x101C0), "55");
  EXPECT_EQ(str(0x300C0), "ESE");
  EXPECT_EQ(str(0x400E0), "29.921");
  EXPECT_EQ(str(0x50440), "0.12");
  EXPECT_EQ(str(0x60860), "0.50");
  EXPECT_EQ(str(0x70140), "500");
  EXPECT_EQ(str(0x44D), "-0.012");
  EXPECT_EQ(str(0x10C0220), "3");  // shown as id + 1
  // 5 minutes with transmitter id 2: 300 / 2.625 - round(300 / 52.5) = 108 expected.
  EXPECT_EQ(str(0x30C01C0), "92.6");
  EXPECT_EQ(str(0x80C0220), "108");
  EXPECT_EQ(str(0x70C0220), "12:00");
}

TEST_F(RecordValues, FreshRecordReadsNoData) {
  for (SensorCode code :
       {0x0u,     0x800u,     0x101C0u,   0x20080u,   0x300C0u, 0x400E0u, 0x60860u,
        0x70140u, 0x80180u,   0x1u,       0x2u,       0x3u,     0x4u,     0x5u,
        0x44Du,   0x90901E0u, 0x101028Bu, 0x10101CCu, 0x20647u, 0x410428u}) {
    EXPECT_EQ(get(code), kNoData) << std::hex << code;
    EXPECT_EQ(str(code), "---") << std::hex << code;
  }
  EXPECT_EQ(get(0x50440), 0.0f);  // a new record holds no rain, not "no data"
  poke(20, {0x00, 0x80});
  EXPECT_EQ(get(0x50440), kNoData);
  EXPECT_EQ(str(0x50440), "    ---");
}

TEST_F(RecordValues, CodesOutsideTheRecordGiveNoData) {
  poke(6, {0xD3, 0x02});
  poke(20, {0x0C, 0x10});
  EXPECT_EQ(get(0x2000), kNoData);   // a daily statistic
  EXPECT_EQ(get(0x50840), kNoData);  // rain is matched by its exact code
  EXPECT_EQ(get(0x50040), kNoData);
  EXPECT_EQ(get(0x400), kNoData);       // no interval total of a temperature
  EXPECT_EQ(get(0x13000000), kNoData);  // sensor index 19 does not exist
  EXPECT_EQ(str(0x13000000), "---");
}

TEST_F(RecordValues, UntouchedLowAndOddCollectorsReadAsNone) {
  poke(8, {0x00, 0x80});
  poke(10, {0xFF, 0x7F});
  EXPECT_EQ(get(0x800), kNoData);
  EXPECT_EQ(get(0xC00), kNoData);
  poke(20, {0x05, 0x60});  // 5 tips of type 6: rates only
  poke(22, {0x0A, 0x00});
  EXPECT_EQ(get(0x50440), kNoData);
  EXPECT_NEAR(get(0x60860), 10 * 0.1f / 25.4f, 1e-6);
  poke(20, {0x05, 0x70});  // type 7 has no tip size
  EXPECT_EQ(get(0x60860), kNoData);
  EXPECT_EQ(set(0x60860, 1.0f), 0);
  EXPECT_EQ(rec_.u16(22), 0x8000);
}

TEST_F(RecordValues, DerivedQuantitiesOfTheCodesSensorIndex) {
  poke(1, {30});
  poke(6, {0xBC, 0x02});   // 70.0 °F
  poke(12, {0x4E, 0x02});  // inside 59.0 °F
  poke(14, {0xE0, 0x74});  // 29.920 inHg
  poke(16, {0xF4, 0x01});  // 50 %
  poke(18, {0x00, 0x00});  // inside 0 %
  poke(24, {0x78, 0x00});  // 12 mph
  poke(32, {0xE8, 0x03});  // 1000 W/m²
  poke(36, {70});          // UV 7.0
  poke(42, {0x64, 0x00});  // estimate 100 W/m²
  EXPECT_FLOAT_EQ(get(0x1), CalcDew(70, 50));
  EXPECT_FLOAT_EQ(get(0x2), CalcChill(70, 12));
  EXPECT_FLOAT_EQ(get(0x4), CalcTHW(70, 50, 12));
  EXPECT_FLOAT_EQ(get(0x5), CalcTHSW(70, 50, 12, 100));  // the solar term is the estimate
  EXPECT_FLOAT_EQ(get(0x1010001), kNoData);              // 0 % humidity has no dew point
  EXPECT_FLOAT_EQ(get(0x10101CC), CalcEMC(59, 0));
  EXPECT_EQ(str(0x101028B), " .0765");
  EXPECT_EQ(str(0x20647), "6.00");   // 12 mph for 30 minutes
  EXPECT_EQ(str(0x70569), "43.01");  // 1000 W/m² for 30 minutes
  EXPECT_EQ(str(0x805AA), "1.50");   // UV 7 for 30 minutes
  (void)units_.SetWindSpeedUnit(kKmh);
  EXPECT_EQ(str(0x20647), "9.66");
  (void)units_.SetWindSpeedUnit(kKnots);
  EXPECT_EQ(str(0x20647), "5.22");
  poke(1, {0xA0, 0x00});              // 160 minutes
  poke(6, {0x26, 0x02});              // 55.0 °F
  EXPECT_EQ(str(0x410428), "1.111");  // heating base 65 °F: 10 degrees for 160 minutes
  EXPECT_EQ(str(0xBF0428), "0.000");
  (void)units_.SetTempUnit(kCelsius);
  EXPECT_EQ(str(0x410428), "0.617");
  EXPECT_EQ(str(0x0), "12.8");
}

TEST_F(RecordValues, StationItems) {
  poke(3, {0x15});  // id 5, ET sign
  EXPECT_EQ(set(0x10C0220, 2), 0);
  EXPECT_EQ(rec_.u8(3), 0x12);  // id replaced, sign kept
  EXPECT_EQ(set(0x10C0220, 8), kValueBadArgument);
  EXPECT_EQ(set(0xC0220, 0), kValueBadArgument);
  EXPECT_EQ(set(0xC0220, 256), kValueBadArgument);
  EXPECT_EQ(set(0x70C0220, 1441), kValueBadArgument);
  EXPECT_EQ(set(0x70C0220, 1440), 0);
  EXPECT_EQ(rec_.timeOfDay(), 1440);
  EXPECT_EQ(set(0x20C0220, -3), 0);
  EXPECT_EQ(rec_.u16(30), 0x8000);
  EXPECT_EQ(set(0x30C01C0, 50), kValueBadArgument);  // reception is computed
}

TEST_F(RecordValues, RainRateBeforeRainUsesTheFreshCollector) {
  EXPECT_EQ(set(0x60860, 1.0f), 0);
  EXPECT_EQ(rec_.u16(22), 10);  // tips of 0.1 inch
  EXPECT_EQ(set(0x50440, 0.12f), 0);
  EXPECT_EQ(rec_.u16(20), 0x100C);
  EXPECT_EQ(set(0x60860, 1.0f), 0);
  EXPECT_EQ(rec_.u16(22), 100);
  (void)units_.SetRainUnit(kMillimetres);
  EXPECT_EQ(set(0x50440, 3.0f, false), 0);
  EXPECT_EQ(rec_.u16(20), 0x200F);  // 15 tips of 0.2 mm
}

TEST_F(RecordValues, NothingIsEverStoredWrapped) {
  const struct {
    const char* name;
    SensorCode code;
    float value;
    std::size_t offset;
    int width;
    int none;
  } cases[] = {
      {"5000 rain tips", 0x50440, 50.0f, 20, 2, 0x8000},
      {"negative rain", 0x50440, -1.0f, 20, 2, 0x8000},
      {"temperature beyond tenths", 0x0, 4000.0f, 6, 2, 0x8000},
      {"temperature NaN", 0x0, kNaN, 6, 2, 0x8000},
      {"temperature marker", 0x0, 32767.0f, 6, 2, 0x8000},
      {"byte temperature too hot", 0x2000000, 170.0f, 74, 1, 255},
      {"byte temperature too cold", 0x2000000, -91.0f, 74, 1, 255},
      {"humidity 101", 0x101C0, 101.0f, 16, 2, 0x8000},
      {"wind negative", 0x20080, -1.0f, 24, 2, 0x8000},
      {"wind beyond tenths", 0x20080, 4000.0f, 24, 2, 0x8000},
      {"direction 16", 0x300C0, 16.0f, 28, 1, 255},
      {"barometer 40 inHg", 0x400E0, 40.0f, 14, 2, 0x8000},
      {"solar 40000", 0x70140, 40000.0f, 32, 2, 0x8000},
      {"UV 21", 0x80180, 21.0f, 36, 1, 255},
      {"soil moisture 255", 0x90901E0, 255.0f, 64, 1, 255},
      {"leaf wetness NaN", 0xF0A0200, kNaN, 70, 1, 255},
      {"ET 0.3 inch", 0x44D, 0.3f, 57, 1, 255},
      {"rain rate beyond 32767 tips", 0x60860, 5000.0f, 22, 2, 0x8000},
  };
  for (const auto& c : cases) {
    ArchiveRecord fresh;
    rec_ = fresh;
    EXPECT_EQ(set(c.code, c.value), 0) << c.name;
    const int stored = c.width == 1 ? rec_.u8(c.offset) : rec_.u16(c.offset);
    EXPECT_EQ(stored, c.none) << c.name;
  }
}

TEST_F(RecordValues, ByteTemperaturesRoundHalfAwayFromZero) {
  // Whole negative readings must come back unchanged (not one degree colder).
  const struct {
    float f;
    int stored;
  } cases[] = {{-5.0f, 85}, {-5.4f, 85},   {-5.5f, 84},   {-0.4f, 90}, {0.0f, 90},
               {5.5f, 96},  {165.0f, 255}, {165.4f, 255}, {-90.0f, 0}, {-90.6f, 255}};
  for (const auto& c : cases) {
    EXPECT_EQ(set(0x2000000, c.f), 0);
    EXPECT_EQ(rec_.u8(74), c.stored) << c.f;
  }
  EXPECT_EQ(set(0x1000000, -5.05f), 0);
  EXPECT_EQ(rec_.i16(12), -51);  // tenths, half away from zero
}

TEST_F(RecordValues, SettableCodesAreLimited) {
  EXPECT_EQ(set(0x1, 50), kValueBadArgument);  // dew point is derived
  EXPECT_EQ(set(0x410428, 1), kValueBadArgument);
  EXPECT_EQ(set(0x2000, 50), kValueBadArgument);     // daily statistic
  EXPECT_EQ(set(0x1000800, 50), kValueBadArgument);  // only outside has interval highs
  EXPECT_EQ(set(0x44D, -0.0124f), 0);
  EXPECT_EQ(rec_.u8(57), 12);
  EXPECT_EQ(rec_.u8(3) & 0x10, 0x10);
  EXPECT_EQ(SetRainData(rec_, 4096, 1), 0);
  EXPECT_EQ(rec_.u16(20), 0x8000);
  EXPECT_EQ(SetRainData(rec_, 7, 7), 0);
  EXPECT_EQ(rec_.u16(20), 0x8000);
  EXPECT_EQ(SetRainData(rec_, 4095, 6), 0);
  EXPECT_EQ(rec_.u16(20), 0x6FFF);
  float* none = nullptr;
  EXPECT_EQ(GetWeatherData(rec_, 0x0, 0, none, ctx_), kValueBadArgument);
}

}  // namespace
}  // namespace quantities

namespace quantities {
namespace {

TEST(RecordView, EveryArchiveVariableInTheUsersUnits) {
  Units units;
  (void)units.SetTempUnit(kCelsius);
  const platform::IntlSettings intl{0, '-', false, ':'};
  const ValueContext ctx{units, intl, 1.0};
  records::ArchiveRecord rec;
  rec.setI16(records::kArcOutsideTemp, 212 * 10);
  rec.setTimeOfDay(13 * 60);
  const auto lines = recordView(rec, SensorCatalogue::fromStringTable(), ctx,
                                records::DateTime::fromDate(2006, 3, 15));
  ASSERT_EQ(lines.size(), 2u + 58u);
  EXPECT_EQ(lines[0].value, "03-15-06");
  EXPECT_EQ(lines[1].value, " 1:00p");
  EXPECT_EQ(lines[2].name, "Temperatura Exterior");
  EXPECT_EQ(lines[2].value, "100.0 °C");
  EXPECT_EQ(lines[3].value, "---");
}

}  // namespace
}  // namespace quantities
