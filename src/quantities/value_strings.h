#pragma once

// Value strings: one weather value as display text in the user's units. A no-data
// value gives "---"; so does a value the format cannot show within kValueBufferBytes.
// `userUnits` set means the value is already in the user's unit (no conversion).

#include <cstdint>
#include <string>

#include "quantities/units.h"

namespace quantities {

std::string TempStr(const Units& units, float value, bool userUnits);
std::string SpeedStr(const Units& units, float value, bool userUnits);
std::string BarStr(const Units& units, float value, bool userUnits);
std::string RainStr(const Units& units, float value, bool userUnits);
std::string ETStr(const Units& units, float value, bool userUnits);
std::string GetAirDensityStr(float value);
std::string HumStr(const Units& units, float value);
std::string SolarRadStr(float value);
// `tenths` of a UV index.
std::string UVStr(int tenths);
std::string LeafSoilStr(int value);
// Compass point of direction 0 to 15.
std::string DomDirStr(int direction);
std::string BarTrendStr(int trend);

// Unit text of a sensor code's unit class; empty for classes without a unit.
std::string GetUnitStr(const Units& units, std::uint32_t code);
// Decimals shown for a sensor code's values. `internal` > 0 asks for the shorter
// barometer form in inches.
int NumDecimals(const Units& units, std::uint32_t code, int internal = 0);

}  // namespace quantities
