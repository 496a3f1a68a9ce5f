#pragma once

// Numbers of the texts this subsystem shows (see platform/strings/quantities.inc).

namespace quantities::text {

inline constexpr int kTempUnits = 21000;          // °F, °C
inline constexpr int kBarUnits = 21010;           // Pulg., mm, mb, hPa
inline constexpr int kSpeedUnits = 21020;         // mph, nudos, km/h, m/s
inline constexpr int kSpeedUnitsCapital = 21030;  // Mph, Nudos, Km/h, M/S
inline constexpr int kRainUnits = 21040;          // Pulg., mm
inline constexpr int kElevUnits = 21050;          // m, pies
inline constexpr int kAirDensityUnit = 21060;
inline constexpr int kSolarUnit = 21061;
inline constexpr int kRateUnits = 21062;  // Pulg/h, mm/h
inline constexpr int kSolarEnergyUnit = 21064;
inline constexpr int kUvIndexUnit = 21065;
inline constexpr int kUvDoseUnit = 21066;
inline constexpr int kHumidityUnit = 21067;
inline constexpr int kSoilMoistureUnit = 21068;
inline constexpr int kMilesUnit = 21069;
inline constexpr int kKilometresUnit = 21070;
inline constexpr int kWeekdays = 21100;       // Sunday first, 7 texts
inline constexpr int kMonths = 21110;         // January first, 12 texts
inline constexpr int kCompassPoints = 21130;  // N first, 16 texts
inline constexpr int kBarTrends = 62328;      // falling fast ... rising fast, 5 texts

inline constexpr int kArchiveSet = 10000;
inline constexpr int kDailySet = 12000;
inline constexpr int kOverlaySet = 14000;

}  // namespace quantities::text
