#include "quantities/derived.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "quantities/derived_tables.h"

namespace quantities {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Published table entries: {row, column, value}.
struct Entry {
  int row;
  int col;
  double value;
};

void expectEntries(const char* table, const std::vector<Entry>& entries, auto&& at) {
  for (const Entry& e : entries) {
    EXPECT_NEAR(at(e.row, e.col), e.value, 1e-4) << table << "[" << e.row << "][" << e.col << "]";
  }
}

TEST(DerivedTables, PublishedWindChillEntries) {
  const auto& d = derivedTables();
  expectEntries("t1", {{0, 0, 40.0},  {0, 1, 40.0},   {0, 2, 39.8},   {0, 3, 38.4},   {0, 4, 37.3},
                       {0, 5, 36.5},  {0, 37, 27.4},  {0, 38, 27.2},  {0, 39, 27.1},  {1, 2, 40.9},
                       {30, 0, 70.0}, {30, 1, 70.0},  {30, 2, 70.0},  {30, 3, 70.0},  {30, 4, 70.0},
                       {30, 5, 70.0}, {30, 37, 62.5}, {30, 38, 62.4}, {30, 39, 62.4}, {53, 0, 93.0},
                       {53, 39, 92.8}},
                [&](int r, int c) { return d.chillLow[r][c]; });
  expectEntries("t2",
                {{0, 0, 26.9},
                 {0, 1, 26.3},
                 {0, 2, 25.7},
                 {0, 3, 25.2},
                 {0, 4, 24.7},
                 {0, 26, 18.2},
                 {0, 27, 18.0},
                 {0, 28, 17.8},
                 {1, 0, 28.1},
                 {1, 1, 27.5},
                 {53, 0, 92.8},
                 {53, 28, 92.7}},
                [&](int r, int c) { return d.chillHigh[r][c]; });
}

TEST(DerivedTables, PublishedHeatIndexRows) {
  const auto& h = derivedTables().heat;
  auto row = [](int tempF) { return tempF - kHeatFirstRowF; };
  for (int c = 0; c < kHeatColumns; ++c) EXPECT_FLOAT_EQ(h[row(-57)][c], -57.0f);
  expectEntries(
      "h",
      {{row(32), 0, 30.2},    {row(32), 1, 30.3},     {row(32), 2, 30.4},   {row(32), 19, 31.9},
       {row(32), 20, 32.1},   {row(80), 0, 75.6},     {row(80), 1, 75.7},   {row(80), 2, 76.1},
       {row(80), 3, 76.5},    {row(80), 18, 86.8},    {row(80), 19, 88.1},  {row(80), 20, 89.6},
       {row(90), 0, 83.9},    {row(90), 1, 84.2},     {row(90), 2, 85.5},   {row(90), 17, 120.3},
       {row(90), 18, 127.1},  {row(90), 19, 142.9},   {row(90), 20, 163.4}, {row(100), 18, 296.5},
       {row(100), 19, 480.6}, {row(100), 20, 1448.8}, {row(250), 0, 237.4}, {row(250), 1, 374.9},
       {row(250), 2, 662.1},  {row(250), 3, 973.8},   {row(250), 4, 1433.8}},
      [&](int r, int c) { return h[r][c]; });
  for (int c = 5; c < kHeatColumns; ++c) EXPECT_FLOAT_EQ(h[row(250)][c], 3276.6f);
}

TEST(DerivedTables, PublishedThwIncrements) {
  const auto& d = derivedTables();
  for (int j = 0; j < kThwLowColumns; ++j) EXPECT_EQ(d.thwLow[0][j], 0.0f);
  for (int k = 0; k < kThwHighColumns; ++k) EXPECT_EQ(d.thwHigh[0][k], 0.0f);
  expectEntries("a",
                {{1, 62, 1.5},
                 {1, 63, 1.5},
                 {1, 64, 1.5},
                 {2, 62, 3.3},
                 {2, 63, 3.3},
                 {2, 64, 3.4},
                 {10, 0, 0.0},
                 {10, 1, 0.0},
                 {10, 2, 0.1},
                 {10, 3, 0.1},
                 {10, 4, 0.1},
                 {10, 5, 0.2},
                 {10, 62, 6.9},
                 {10, 63, 6.9},
                 {10, 64, 7.0}},
                [&](int r, int c) { return d.thwLow[r][c]; });
  const double row1[] = {1.5, 1.6, 1.7, 1.8, 1.9, 2.0, 2.0, 2.1, 2.1, 2.2, 2.2, 2.2};
  for (int k = 0; k < kThwHighUsedColumns; ++k) EXPECT_NEAR(d.thwHigh[1][k], row1[k], 1e-4) << k;
  for (int i = 0; i < kThwHighRows; ++i)
    for (int k = kThwHighUsedColumns; k < kThwHighColumns; ++k) ASSERT_EQ(d.thwHigh[i][k], 0.0f);
}

TEST(DerivedTables, PublishedEmcEntries) {
  const auto& e = derivedTables().emc;
  expectEntries("e",
                {{0, 0, 0.5},     {0, 1, 3.5},     {0, 2, 5.5},    {0, 48, 93.5},  {0, 49, 95.5},
                 {0, 50, 97.5},   {0, 51, 98.5},   {0, 52, 100.5}, {0, 98, 218.5}, {0, 99, 219.5},
                 {0, 100, 220.5}, {20, 0, 0.5},    {20, 1, 2.5},   {20, 2, 4.5},   {28, 48, 49.5},
                 {28, 49, 50.5},  {28, 50, 51.5},  {28, 51, 52.5}, {28, 52, 53.5}, {28, 98, 199.5},
                 {28, 99, 209.5}, {28, 100, 220.5}},
                [&](int r, int c) { return e[r][c]; });
}

// Interpolation between neighbours is only sound when each table moves one way along
// each axis: a generated entry out of line would show as a bump in the index.
template <typename Table>
void expectMonotonic(const char* name, const Table& t, int rowSign, int colSign, int cols) {
  for (std::size_t i = 0; i < t.size(); ++i) {
    for (int j = 0; j < cols; ++j) {
      if (i + 1 < t.size()) {
        EXPECT_GE(rowSign * (t[i + 1][j] - t[i][j]), -1e-6) << name << " rows " << i << "," << j;
      }
      if (j + 1 < cols) {
        EXPECT_GE(colSign * (t[i][j + 1] - t[i][j]), -1e-6) << name << " cols " << i << "," << j;
      }
    }
  }
}

TEST(DerivedTables, EveryTableMovesOneWayAlongEachAxis) {
  const auto& d = derivedTables();
  expectMonotonic("t1", d.chillLow, +1, -1, kChillLowWindColumns);
  expectMonotonic("t2", d.chillHigh, +1, -1, kChillHighWindColumns);
  expectMonotonic("h", d.heat, +1, +1, kHeatColumns);
  expectMonotonic("a", d.thwLow, +1, +1, kThwLowColumns);
  expectMonotonic("b", d.thwHigh, +1, +1, kThwHighUsedColumns);
  expectMonotonic("e", d.emc, -1, +1, kEmcColumns);
  // Wind chill never exceeds the air temperature, and crosses from table 1 into table 2
  // without a jump upwards.
  for (int i = 0; i < kChillRows; ++i) {
    EXPECT_LE(d.chillLow[i][0], 40.0 + i + 1e-9);
    EXPECT_LE(d.chillHigh[i][0], d.chillLow[i][39] + 1e-9) << i;
  }
  for (int i = 0; i < kThwLowRows; ++i) EXPECT_FLOAT_EQ(d.thwLow[i][64], d.thwHigh[i][0]) << i;
}

TEST(CalcDew, NeverAboveAirTemperatureAndNeedsOnePercent) {
  EXPECT_NEAR(CalcDew(70, 100), 70.0f, 1e-4);
  EXPECT_EQ(CalcDew(70, 0.5f), kNoData);
  // 20 °C at 50 %: about 9.3 °C.
  EXPECT_NEAR(CalcDew(68, 50), 48.7f, 0.1);
  EXPECT_EQ(CalcDew(201, 50), kNoData);
}

TEST(CalcChill, EdgeCases) {
  EXPECT_FLOAT_EQ(CalcChill(50, 0.5f), 50.0f);
  EXPECT_NEAR(CalcChill(30, 10), 21.2f, 1e-4);  // closed formula, 21.249 truncated
  EXPECT_FLOAT_EQ(CalcChill(95, 20), 95.0f);
  EXPECT_NEAR(CalcChill(41.0f, 2), 40.9f, 1e-4);
  EXPECT_NEAR(CalcChill(40.0f, 2), 39.8f, 1e-4);  // closed formula, not the table
  EXPECT_EQ(CalcChill(30, -1), kNoData);
  EXPECT_EQ(CalcChill(30, 206), kNoData);
  EXPECT_EQ(CalcChill(221, 10), kNoData);
}

TEST(CalcChill, TopWindSpeedStaysInsideTableTwo) {
  const auto& t2 = derivedTables().chillHigh;
  // 180 mph and anything clamped to it use the last column alone.
  EXPECT_NEAR(CalcChill(60, 180), t2[20][28], 1e-4);
  EXPECT_NEAR(CalcChill(60, 200), t2[20][28], 1e-4);
  EXPECT_NEAR(CalcChill(93.0f, 180), t2[53][28], 1e-4);
  // Interpolated across the row and towards 93.2 °F at the top row.
  EXPECT_NEAR(CalcChill(93.1f, 177.5f), (t2[53][27] + (t2[53][28] - t2[53][27]) * 0.5 + 93.2) / 2,
              0.06);
}

TEST(CalcChill, HalfTenthAtTheTopRowRoundsUp) {
  // Row 93 °F of table 2 holds 92.7 from 45 mph on; above 93 °F with no column fraction
  // the chill is (92.7 + 93.2) / 2 = 92.95, and 929.5 + 0.5 truncates to 930.
  const auto& t2 = derivedTables().chillHigh;
  for (int k : {1, 2, 12, 28}) ASSERT_NEAR(t2[53][k], 92.7, 1e-9) << k;
  for (float t : {93.06f, 93.08f, 93.1f}) {
    for (float v : {45.0f, 50.0f, 100.0f, 180.0f}) {
      EXPECT_FLOAT_EQ(CalcChill(t, v), 93.0f) << t << " °F, " << v << " mph";
    }
  }
  // THW takes the chill as it is, and THSW without sun rounds THW to tenths.
  const float h = CalcHeat(93.1f, 50);
  EXPECT_NEAR(CalcTHW(93.1f, 50, 50), 93.0 + h - 93.1, 1e-4);
  EXPECT_NEAR(CalcTHSW(93.1f, 50, 50, 0), h - 0.1, 1e-4);
}

TEST(CalcHeat, EdgeCases) {
  EXPECT_FLOAT_EQ(CalcHeat(-60, 50), -60.0f);
  EXPECT_FLOAT_EQ(CalcHeat(300, 50), 250.0f);
  EXPECT_NEAR(CalcHeat(80, 0), 75.6f, 1e-4);
  EXPECT_NEAR(CalcHeat(250, 0), 237.4f, 1e-4);
  EXPECT_EQ(CalcHeat(250, 100), kNoData);  // beyond the index's range
  EXPECT_EQ(CalcHeat(100, 100), kNoData);  // 1448.8 is 1000 or more
  EXPECT_EQ(CalcHeat(80, 101), kNoData);
  EXPECT_NEAR(CalcHeat(90, 97.5f), (142.9f + 163.4f) / 2, 0.051);
  EXPECT_NEAR(CalcHeat(85, 0), (75.6f + 83.9f) / 2, 0.051);
}

TEST(CalcThw, BelowHotAirIsChillPlusHeatMinusTemperature) {
  for (float rh : {10.0f, 50.0f, 90.0f}) {
    EXPECT_NEAR(CalcTHW(90, rh, 3), CalcChill(90, 3) + CalcHeat(90, rh) - 90, 1e-4) << rh;
  }
  EXPECT_FLOAT_EQ(CalcTHW(100, 10, 5), CalcHeat(100, 10));   // calm: heat index alone
  EXPECT_FLOAT_EQ(CalcTHW(150, 10, 30), CalcHeat(150, 10));  // beyond the increment tables
  // Row 10 (103 °F) at 70 mph adds 7.0 °F.
  EXPECT_NEAR(CalcTHW(103, 10, 70), CalcHeat(103, 10) + 7.0f, 1e-4);
  // High wind row 1 (94 °F) at 80 mph adds 1.6 °F.
  EXPECT_NEAR(CalcTHW(94, 10, 80), CalcHeat(94, 10) + 1.6f, 1e-4);
  EXPECT_EQ(CalcTHW(90, kNoData, 3), kNoData);
}

TEST(CalcThsw, SunAddsToThw) {
  EXPECT_NEAR(CalcTHSW(70, 50, 3, 100), CalcTHW(70, 50, 3) + 10.1f, 0.051);
  // 20 mph: 1.1 / (0.45 * 20 + 8) per W/m².
  EXPECT_NEAR(CalcTHSW(70, 50, 20, 170), CalcTHW(70, 50, 20) + 11.0f, 0.051);
  EXPECT_EQ(CalcTHSW(70, 50, 3, kNoData), kNoData);
}

TEST(CalcAirDensity, StandardAir) {
  // 59 °F, 29.92 inHg, dry: about 0.0765 lb/ft³.
  EXPECT_NEAR(CalcAirDensity(59, 29.92f, 0), 0.0765f, 0.0002);
  EXPECT_LT(CalcAirDensity(59, 29.92f, 100), CalcAirDensity(59, 29.92f, 0));
  EXPECT_EQ(CalcAirDensity(59, kNoData, 0), kNoData);
}

TEST(CalcEmc, RowsAndLimits) {
  const auto& e = derivedTables().emc;
  EXPECT_NEAR(CalcEMC(30, 50), 9.75f, 1e-4);
  EXPECT_NEAR(CalcEMC(130, 50), e[20][50] * 0.1f, 1e-4);
  EXPECT_NEAR(CalcEMC(135, 50), (e[20][50] + e[21][50]) / 2 * 0.1f, 1e-4);
  EXPECT_NEAR(CalcEMC(215, 99.6f), 22.05f, 1e-4);  // last row, humidity to nearest percent
  EXPECT_EQ(CalcEMC(29.9f, 50), kNoData);
  EXPECT_EQ(CalcEMC(220, 50), kNoData);
  EXPECT_EQ(CalcEMC(100, 100.5f), kNoData);
  EXPECT_EQ(CalcEMC(100, -1), kNoData);
}

TEST(DerivedQuantities, NonFiniteInputsGiveNoData) {
  for (float bad : {kNaN, kInf, -kInf}) {
    EXPECT_EQ(CalcDew(bad, 50), kNoData);
    EXPECT_EQ(CalcDew(70, bad), kNoData);
    EXPECT_EQ(CalcChill(bad, 10), kNoData);
    EXPECT_EQ(CalcChill(70, bad), kNoData);
    EXPECT_EQ(CalcHeat(bad, 50), kNoData);
    EXPECT_EQ(CalcHeat(70, bad), kNoData);
    EXPECT_EQ(CalcTHW(70, 50, bad), kNoData);
    EXPECT_EQ(CalcTHSW(70, 50, 5, bad), kNoData);
    EXPECT_EQ(CalcAirDensity(70, bad, 50), kNoData);
    EXPECT_EQ(CalcEMC(bad, 50), kNoData);
    EXPECT_EQ(CalcEMC(70, bad), kNoData);
  }
}

TEST(PerRecordQuantities, IntervalRules) {
  EXPECT_DOUBLE_EQ(windRunMiles(12, 30), 6.0);
  EXPECT_DOUBLE_EQ(degreeDays(55, 65, 1440), 10.0);  // heating base 65 °F
  EXPECT_DOUBLE_EQ(degreeDays(70, 65, 1440), 0.0);
  EXPECT_DOUBLE_EQ(degreeDays(75, 0xBF, 720), 5.0);  // cooling base 256 - 191 = 65 °F
  EXPECT_DOUBLE_EQ(degreeDays(60, 0xBF, 720), 0.0);
  EXPECT_NEAR(solarEnergyLangleys(1000, 60), 86.01, 0.01);
  EXPECT_NEAR(uvDoseMeds(7, 10, 1.0), 0.5, 1e-12);
}

}  // namespace
}  // namespace quantities
