#pragma once

// The lookup tables behind wind chill, heat index, THW and EMC. Their published entries
// are pinned; the rest are generated once, at first use, from smooth profiles through
// those entries, so every table rises and falls the way the quantity does.

#include <array>

namespace quantities {

// Wind chill above 40 °F: one row per whole degree from 40 to 93 °F.
inline constexpr int kChillRows = 54;
inline constexpr int kChillLowWindColumns = 40;   // 0 to 39 mph
inline constexpr int kChillHighWindColumns = 29;  // 40 to 180 mph in steps of 5

// Heat index: one row per degree from -57 to 250 °F, one column per 5 % humidity.
inline constexpr int kHeatRows = 308;
inline constexpr int kHeatColumns = 21;
inline constexpr int kHeatFirstRowF = -57;
inline constexpr float kHeatBeyondRange = 3276.6f;

// THW wind increments: row 0 spans 93.2 to 94 °F, then one row per degree.
inline constexpr int kThwLowRows = 48;
inline constexpr int kThwLowColumns = 65;  // 6 to 70 mph
inline constexpr int kThwHighRows = 52;
inline constexpr int kThwHighColumns = 111;  // only the first 12 (70 to 180 mph) hold data
inline constexpr int kThwHighUsedColumns = 12;

// EMC in tenths of a percent: rows 30 to 130 °F by 5, then 140 to 210 °F by 10.
inline constexpr int kEmcRows = 29;
inline constexpr int kEmcColumns = 101;  // 0 to 100 % humidity

struct DerivedTables {
  std::array<std::array<double, kChillLowWindColumns>, kChillRows> chillLow;
  std::array<std::array<double, kChillHighWindColumns>, kChillRows> chillHigh;
  std::array<std::array<float, kHeatColumns>, kHeatRows> heat;
  std::array<std::array<float, kThwLowColumns>, kThwLowRows> thwLow;
  std::array<std::array<float, kThwHighColumns>, kThwHighRows> thwHigh;
  std::array<std::array<float, kEmcColumns>, kEmcRows> emc;
};

// Built on first call; safe to call from anywhere afterwards.
const DerivedTables& derivedTables();

}  // namespace quantities
