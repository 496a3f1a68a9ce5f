#pragma once

// Derived weather quantities. Every function takes and returns 32-bit floats in the
// internal units (°F, % humidity, mph, inHg) and uses -32768 for "no data" both ways:
// a missing, non-finite or out-of-range input gives -32768. Pure; safe anywhere.

namespace quantities {

inline constexpr float kNoData = -32768.0f;

// Dew point, °F. Never above the air temperature.
float CalcDew(float tempF, float humidity);
// Wind chill, °F, rounded to tenths.
float CalcChill(float tempF, float windMph);
// Heat index, °F, rounded to tenths.
float CalcHeat(float tempF, float humidity);
// Temperature-humidity-wind index, °F.
float CalcTHW(float tempF, float humidity, float windMph);
// Temperature-humidity-sun-wind index, °F; `solar` is the stored solar term (W/m²).
float CalcTHSW(float tempF, float humidity, float windMph, float solar);
// Air density, pounds per cubic foot.
float CalcAirDensity(float tempF, float barometerInHg, float humidity);
// Equilibrium moisture content of wood, percent. Defined for 30 <= T < 220 °F and
// humidity 0 to 100 %.
float CalcEMC(float tempF, float humidity);

// Quantities of one archive interval of `minutes` minutes (internal units).
// Miles run by the wind at an average of `windMph`.
double windRunMiles(double windMph, int minutes);
// Degree-days from the base byte of a degree-day code: b <= 127 is a heating base of b °F,
// b > 127 a cooling base of 256 - b °F.
double degreeDays(double tempF, int baseByte, int minutes);
// Solar energy in langleys from radiation in W/m².
double solarEnergyLangleys(double wattsPerM2, int minutes);
// UV dose in MEDs from the UV index (not tenths).
double uvDoseMeds(double uvIndex, int minutes, double skinFactor);

}  // namespace quantities
