#include "quantities/derived_tables.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <utility>

namespace quantities {

namespace {

double roundTenths(double v) { return std::floor(v * 10.0 + 0.5) * 0.1; }

// Straight-line interpolation through (x, y) points with ascending x; flat beyond the ends.
double piecewise(std::span<const std::pair<double, double>> pts, double x) {
  if (x <= pts.front().first) return pts.front().second;
  for (std::size_t i = 1; i < pts.size(); ++i) {
    if (x <= pts[i].first) {
      const auto [x0, y0] = pts[i - 1];
      const auto [x1, y1] = pts[i];
      return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
    }
  }
  return pts.back().second;
}

// --- Wind chill ----------------------------------------------------------------------
// At 40 °F the table continues the closed formula used below 40 °F. Towards hot air the
// wind takes less and less away; the shape of that loss over wind speed flattens out
// (the older wind-chill curve, which stops growing near 55 mph) and it starts only above
// 5 mph. The loss is blended linearly between the 40, 70 and 93 °F rows.

double closedChill(double t, double v) {
  const double p = std::pow(v, 0.16);
  return 35.74 + 0.6215 * t - 35.75 * p + 0.4275 * t * p;
}

double windShape(double v) {
  const double w = std::min(v, 55.0);
  return 0.474677 - 0.020425 * w + 0.303107 * std::sqrt(w);
}

double windLossAbove5(double v) { return std::max(0.0, windShape(v) - windShape(5.0)); }

double chillLoss(double t, double v) {
  const double loss40 = std::max(0.0, 40.0 - closedChill(40.0, v));
  const double loss70 = 14.65 * windLossAbove5(v);
  const double loss93 = 0.465 * windLossAbove5(v);
  if (t <= 70.0) {
    const double w = (t - 40.0) / 30.0;
    return (1.0 - w) * loss40 + w * loss70;
  }
  const double w = (t - 70.0) / 23.0;
  return (1.0 - w) * loss70 + w * loss93;
}

void buildChill(DerivedTables& d) {
  for (int i = 0; i < kChillRows; ++i) {
    const double t = 40.0 + i;
    for (int j = 0; j < kChillLowWindColumns; ++j)
      d.chillLow[i][j] = roundTenths(t - chillLoss(t, j));
    for (int k = 0; k < kChillHighWindColumns; ++k)
      d.chillHigh[i][k] = roundTenths(t - chillLoss(t, 40.0 + 5.0 * k));
  }
  // The one published entry the blend misses by a tenth.
  d.chillLow[1][2] = 40.9;
}

// --- Heat index ------------------------------------------------------------------------
// Whole rows at anchor temperatures, straight lines in temperature between them. Where
// the index runs off its scale the row holds the beyond-range mark.

struct HeatAnchor {
  int tempF;
  std::array<float, kHeatColumns> row;
};

constexpr float kX = kHeatBeyondRange;
constexpr HeatAnchor kHeatAnchors[] = {
    {-57, {-57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f,
           -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f, -57.0f}},
    {32, {30.2f, 30.3f, 30.4f, 30.5f, 30.6f, 30.7f, 30.8f, 30.9f, 31.0f, 31.1f, 31.2f,
          31.3f, 31.4f, 31.5f, 31.6f, 31.7f, 31.7f, 31.8f, 31.8f, 31.9f, 32.1f}},
    {80, {75.6f, 75.7f, 76.1f, 76.5f, 76.9f, 77.3f, 77.7f, 78.1f, 78.5f, 79.0f, 79.5f,
          80.1f, 80.7f, 81.4f, 82.1f, 83.0f, 84.0f, 85.3f, 86.8f, 88.1f, 89.6f}},
    {90, {83.9f,  84.2f,  85.5f,  86.8f,  88.2f,  89.7f,  91.3f,  93.0f,  94.8f,  96.7f, 98.7f,
          100.8f, 103.0f, 105.4f, 108.0f, 110.9f, 114.3f, 120.3f, 127.1f, 142.9f, 163.4f}},
    {100, {92.0f,  92.5f,  94.0f,  96.0f,  98.3f,  100.8f, 103.6f, 106.7f, 110.2f, 114.2f, 118.8f,
           124.2f, 130.6f, 138.3f, 147.8f, 160.0f, 176.5f, 200.5f, 296.5f, 480.6f, 1448.8f}},
    {250, {237.4f, 374.9f, 662.1f, 973.8f, 1433.8f, kX, kX, kX, kX, kX, kX,
           kX,     kX,     kX,     kX,     kX,      kX, kX, kX, kX, kX}},
};

void buildHeat(DerivedTables& d) {
  for (int r = 0; r < kHeatRows; ++r) {
    const int t = kHeatFirstRowF + r;
    std::size_t a = 0;
    while (a + 2 < std::size(kHeatAnchors) && kHeatAnchors[a + 1].tempF < t) ++a;
    const HeatAnchor& lo = kHeatAnchors[a];
    const HeatAnchor& hi = kHeatAnchors[a + 1];
    const double w = double(t - lo.tempF) / double(hi.tempF - lo.tempF);
    for (int c = 0; c < kHeatColumns; ++c) {
      if (t == lo.tempF) {
        d.heat[r][c] = lo.row[c];
      } else if (t == hi.tempF) {
        d.heat[r][c] = hi.row[c];
      } else {
        d.heat[r][c] = float(roundTenths(lo.row[c] + (hi.row[c] - lo.row[c]) * w));
      }
    }
  }
}

// --- THW wind increments -----------------------------------------------------------------
// Each increment is a row size (growing with temperature, fast at first) times a wind
// profile shared by all rows: nothing below 7 mph, then rising and levelling towards
// 70 mph. The high-wind table continues the low-wind one from 70 mph.

constexpr std::pair<double, double> kThwRowSize[] = {{0, 0.0},  {1, 1.5},   {2, 3.4},
                                                     {10, 7.0}, {30, 12.0}, {51, 16.0}};
// Row-10 increment (its size is 7.0) at each wind speed, mph.
constexpr std::pair<double, double> kThwLowWind[] = {
    {6, 0.0},  {7, 0.0},  {8, 0.1},  {10, 0.1}, {11, 0.2}, {20, 1.6}, {30, 3.4},
    {40, 4.9}, {50, 6.0}, {60, 6.6}, {68, 6.9}, {69, 6.9}, {70, 7.0}};
// Row-1 increments (size 1.5) at 70, 80, ..., 180 mph.
constexpr double kThwHighWind[kThwHighUsedColumns] = {1.5, 1.6, 1.7, 1.8, 1.9, 2.0,
                                                      2.0, 2.1, 2.1, 2.2, 2.2, 2.2};

void buildThw(DerivedTables& d) {
  for (int i = 0; i < kThwLowRows; ++i) {
    const double size = piecewise(kThwRowSize, i);
    for (int j = 0; j < kThwLowColumns; ++j)
      d.thwLow[i][j] = float(roundTenths(size * piecewise(kThwLowWind, 6.0 + j) / 7.0));
  }
  // Published row-2 ending that the shared profile rounds a tenth high.
  d.thwLow[2][62] = 3.3f;
  d.thwLow[2][63] = 3.3f;
  for (int i = 0; i < kThwHighRows; ++i) {
    const double size = piecewise(kThwRowSize, i);
    for (int k = 0; k < kThwHighColumns; ++k) {
      d.thwHigh[i][k] =
          k < kThwHighUsedColumns ? float(roundTenths(size * kThwHighWind[k] / 1.5)) : 0.0f;
    }
  }
}

// --- EMC -------------------------------------------------------------------------------
// Anchor rows at 30, 130 and 210 °F (humidity profiles through their published entries),
// straight lines in temperature between them. Entries are whole tenths plus a half, like
// the published ones.

constexpr std::pair<double, double> kEmc30[] = {
    {0, 0.5},    {1, 3.5},    {2, 5.5},    {10, 24.5},  {20, 45.5},  {30, 62.5},  {40, 78.5},
    {48, 93.5},  {49, 95.5},  {50, 97.5},  {51, 98.5},  {52, 100.5}, {60, 114.5}, {70, 133.5},
    {80, 158.5}, {90, 190.5}, {98, 218.5}, {99, 219.5}, {100, 220.5}};
constexpr std::pair<double, double> kEmc130[] = {{0, 0.5},    {1, 2.5},    {2, 4.5},    {10, 17.5},
                                                 {20, 33.5},  {30, 46.5},  {40, 58.5},  {50, 70.5},
                                                 {60, 83.5},  {70, 100.5}, {80, 124.5}, {90, 162.5},
                                                 {98, 205.5}, {99, 213.5}, {100, 220.5}};
constexpr std::pair<double, double> kEmc210[] = {
    {0, 0.5},   {1, 1.5},    {2, 2.5},    {10, 10.5},  {20, 20.5},  {30, 30.5}, {40, 40.5},
    {48, 49.5}, {49, 50.5},  {50, 51.5},  {51, 52.5},  {52, 53.5},  {60, 62.5}, {70, 76.5},
    {80, 97.5}, {90, 140.5}, {98, 199.5}, {99, 209.5}, {100, 220.5}};

void buildEmc(DerivedTables& d) {
  for (int i = 0; i < kEmcRows; ++i) {
    for (int j = 0; j < kEmcColumns; ++j) {
      const double at30 = piecewise(kEmc30, j);
      const double at130 = piecewise(kEmc130, j);
      const double at210 = piecewise(kEmc210, j);
      double v;
      if (i <= 20) {
        const double w = i / 20.0;
        v = at30 + (at130 - at30) * w;
      } else {
        const double w = (i - 20) / 8.0;
        v = at130 + (at210 - at130) * w;
      }
      d.emc[i][j] = float(std::floor(v + 1e-9) + 0.5);
    }
  }
}

std::unique_ptr<DerivedTables> build() {
  auto d = std::make_unique<DerivedTables>();
  buildChill(*d);
  buildHeat(*d);
  buildThw(*d);
  buildEmc(*d);
  return d;
}

}  // namespace

const DerivedTables& derivedTables() {
  static const std::unique_ptr<DerivedTables> tables = build();
  return *tables;
}

}  // namespace quantities
