#pragma once

// The user's display units and the conversions between them and the internal units
// (°F, inHg, mph, inches of rain, feet). One Units object belongs to the program; the
// frame applies the stored unit codes to it at start-up, and modules may switch units
// for a while and put them back with SaveUnits/RestoreUnits.

#include <string>

namespace quantities {

// Unit codes, as stored in the program settings.
enum TempUnit : int { kFahrenheit = 0, kCelsius = 1 };
enum BarUnit : int { kInchesHg = 0, kMillimetresHg = 1, kMillibars = 2, kHectopascals = 3 };
enum SpeedUnit : int { kMph = 0, kKnots = 1, kKmh = 2, kMetresPerSecond = 3 };
enum RainUnit : int { kInches = 0, kMillimetres = 1 };
enum ElevUnit : int { kMetres = 0, kFeet = 1 };

inline constexpr double kNoDataValue = -32768.0;
inline constexpr int kNoDataElevation = -32768;
inline constexpr int kBadDirectionElevation = 32768;

// The rain collector configured for the station: its code and, for codes 4 and 5, the
// amount of one tip in inches (4) or millimetres (5).
struct StationRainCollector {
  int type = 1;
  float rainClick = 0.01f;
};

// Inches of rain in one tip of the station's collector (codes outside 0 to 6: 0.01 in).
double stationInchesPerTip(const StationRainCollector& collector);

class Units {
 public:
  // Each setter returns 0. A code outside the unit's range is ignored and the unit kept,
  // so that no text or factor is ever looked up beyond its table.
  int SetTempUnit(int unit);
  int SetBarUnit(int unit);
  int SetWindSpeedUnit(int unit);
  int SetRainUnit(int unit);
  int SetElevUnit(int unit);
  int SetHumPrecision(int decimals);

  // The current units.
  int GetTempUnit() const { return current_.temp; }
  int GetBarUnit() const { return current_.bar; }
  int GetWindSpeedUnit() const { return current_.speed; }
  int GetRainUnit() const { return current_.rain; }
  int GetElevUnit() const { return current_.elev; }
  int GetHumPrecision() const { return humDecimals_; }

  // Copies the five current units to the saved set; RestoreUnits sets them back.
  void SaveUnits() { saved_ = current_; }
  void RestoreUnits();

  // Conversions. Direction 0: internal to user unit; 1: user unit to internal; any other
  // direction gives -32768. No-data (-32768) and non-finite inputs give -32768. In
  // direction 1 a result that the record field cannot hold (barometer outside 0 to
  // 32.767 inHg, speed outside 0 to 3276.7 mph) is no data.
  double ConvertTemp(double v, unsigned direction) const;
  double ConvertDegDay(double v, unsigned direction) const;
  double ConvertBar(double v, unsigned direction) const;
  double ConvertSpeed(double v, unsigned direction) const;
  // Direction 2: v is a count of tips of the station's collector; the result is inches.
  double ConvertRain(double v, unsigned direction,
                     const StationRainCollector& collector = {}) const;
  double ConvertRate(double v, unsigned direction) const;
  // Whole feet to metres (direction 0) and back (1) when the unit is metres; 32768 for
  // another direction.
  int ConvertElevation(int v, int direction) const;

  // Unit texts of the current settings.
  std::string tempUnitText() const;
  std::string barUnitText() const;
  std::string speedUnitText() const;
  std::string speedUnitTextCapitalised() const;
  std::string rainUnitText() const;
  std::string rateUnitText() const;
  std::string elevUnitText() const;
  std::string distanceUnitText() const;
  std::string airDensityUnitText() const;
  std::string solarUnitText() const;

 private:
  struct Codes {
    int temp = kFahrenheit;
    int bar = kInchesHg;
    int speed = kMph;
    int rain = kInches;
    int elev = kFeet;
  };
  Codes current_;
  Codes saved_;
  int humDecimals_ = 0;
};

}  // namespace quantities
