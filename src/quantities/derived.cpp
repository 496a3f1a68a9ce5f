#include "quantities/derived.h"

#include <cmath>

#include "quantities/derived_tables.h"

namespace quantities {

namespace {

bool missing(float v) { return v == kNoData || !std::isfinite(v); }

double roundTenths(double v) { return std::floor(v * 10.0 + 0.5) * 0.1; }

// Kept in double all the way: a result of exactly half a tenth (92.95 at the top row) cut
// to float first lands just below it and would then be truncated a tenth low.
double chillFromTables(double t, double v) {
  const auto& d = derivedTables();
  const int i = static_cast<int>(t - 40.0);
  const double ft = t - (40.0 + i);
  if (v < 40.0) {
    const int j = static_cast<int>(v);
    const double a = d.chillLow[i][j];
    if (ft <= 0.05) return a;
    if (t < 93.0) return a + (d.chillLow[i + 1][j] - a) * ft;
    return (a + 93.2) / 2.0;
  }
  const int k = static_cast<int>((v - 40.0) * 0.2);
  const double fv = (v - (40.0 + 5.0 * k)) * 0.2;
  const double a = d.chillHigh[i][k];
  // At 180 mph the column fraction is 0 and k is the last column: the next one is only
  // read when the fraction needs it.
  const bool useB = fv > 0.1 && k + 1 < kChillHighWindColumns;
  const double b = useB ? d.chillHigh[i][k + 1] : a;
  if (ft > 0.05 && t < 93.0) {
    const double a2 = a + (d.chillHigh[i + 1][k] - a) * ft;
    if (!useB) return a2;
    const double b2 = b + (d.chillHigh[i + 1][k + 1] - b) * ft;
    return a2 + (b2 - a2) * fv;
  }
  if (ft > 0.05) {
    return useB ? (a + (b - a) * fv + 93.2) / 2.0 : (a + 93.2) / 2.0;
  }
  return useB ? a + (b - a) * fv : a;
}

// Row index and fraction shared by both THW increment tables.
void thwRow(double t, int& i, double& ft) {
  i = static_cast<int>(std::floor(t - 93.0));
  if (i <= 0) {
    i = 0;
    ft = (t - 93.2) * 1.25;
  } else {
    ft = t - (93.0 + i);
  }
}

double lowWindIncrement(double t, double v) {
  if (t < 93.2 || t >= 140.0 || v < 6.0 || v > 70.0) return 0.0;
  const auto& a = derivedTables().thwLow;
  int i;
  double ft;
  thwRow(t, i, ft);
  const int j = static_cast<int>(v - 6.0);
  double d = a[i][j];
  if (ft > 0.01) d += (a[i + 1][j] - a[i][j]) * ft;
  return roundTenths(d);
}

double highWindIncrement(double t, double v) {
  if (t < 93.2 || t >= 144.0 || v < 70.0 || v > 180.0) return 0.0;
  const auto& b = derivedTables().thwHigh;
  int i;
  double ft;
  thwRow(t, i, ft);
  const double x = v - 70.0;
  const int k = static_cast<int>(x * 0.1);
  const double fv = (x - 10.0 * k) * 0.1;
  const double a = b[i][k];
  const double bb = b[i][k + 1];
  double d;
  if (ft > 0.01) {
    const double a2 = a + (b[i + 1][k] - a) * ft;
    if (fv > 0.01) {
      const double b2 = bb + (b[i + 1][k + 1] - bb) * ft;
      d = a2 + (b2 - a2) * fv;
    } else {
      d = a2;
    }
  } else {
    d = fv > 0.01 ? a + (bb - a) * fv : a;
  }
  return roundTenths(d);
}

}  // namespace

float CalcDew(float tempF, float humidity) {
  if (missing(tempF) || missing(humidity)) return kNoData;
  if (humidity < 1.0f || humidity > 100.0f || tempF < -100.0f || tempF > 200.0f) return kNoData;
  const double tc = (tempF - 32.0) * 5.0 / 9.0;
  const double e = 6.112 * std::exp(17.62 * tc / (243.12 + tc)) * humidity / 100.0;
  const double le = std::log(e);
  double td = (243.12 * le - 440.1) / (19.43 - le);
  if (td > tc) td = tc;
  return static_cast<float>(td * 1.8 + 32.0);
}

float CalcChill(float tempF, float windMph) {
  if (missing(tempF) || missing(windMph)) return kNoData;
  double t = tempF;
  double v = windMph;
  if (t > 220.0 || t < -100.0 || v > 205.0 || v < 0.0) return kNoData;
  if (v > 180.0) v = 180.0;
  if (v < 1.0) return tempF;
  double k;
  if (t <= 40.0) {
    const double p = std::pow(v, 0.16);
    k = 35.74 + 0.6215 * t - 35.75 * p + 0.4275 * t * p;
  } else if (t > 93.10001) {
    return tempF;
  } else {
    k = chillFromTables(t, v);
  }
  if (k > t) k = t;
  return static_cast<float>(std::trunc(k * 10.0 + 0.5) * 0.1);
}

float CalcHeat(float tempF, float humidity) {
  if (missing(tempF) || missing(humidity)) return kNoData;
  if (humidity < 0.0f || humidity > 100.0f) return kNoData;
  if (tempF > 250.0f) return 250.0f;
  if (tempF < -400.0f) return kNoData;
  if (tempF <= -57.0f) return tempF;
  const auto& h = derivedTables().heat;
  double it;
  const double ft = std::modf(static_cast<double>(tempF), &it);
  const int r = static_cast<int>(it) - kHeatFirstRowF;
  double ih;
  const double fh = std::modf(humidity / 5.0, &ih);
  const int c = static_cast<int>(ih);
  // A direction whose fraction is exactly 0 is skipped, so the last row and column are
  // never paired with one beyond the table.
  const double p = h[r][c];
  const double pa = fh != 0.0 ? p + (h[r][c + 1] - p) * fh : p;
  double result = pa;
  if (ft != 0.0) {
    const double q = h[r + 1][c];
    const double pb = fh != 0.0 ? q + (h[r + 1][c + 1] - q) * fh : q;
    result = pa + (pb - pa) * ft;
  }
  result = roundTenths(result);
  if (result >= 1000.0) return kNoData;
  return static_cast<float>(result);
}

float CalcTHW(float tempF, float humidity, float windMph) {
  if (missing(tempF) || missing(humidity) || missing(windMph)) return kNoData;
  const float h = CalcHeat(tempF, humidity);
  if (h == kNoData) return kNoData;
  if (tempF <= 93.2f) {
    const float k = CalcChill(tempF, windMph);
    if (k == kNoData) return h;
    return static_cast<float>(double(k) + double(h) - double(tempF));
  }
  if (tempF >= 144.0f) return h;
  double v = windMph;
  if (v > 180.0) v = 180.0;
  if (v <= 6.0) return h;
  const double d = v <= 70.0 ? lowWindIncrement(tempF, v) : highWindIncrement(tempF, v);
  const double result = d + h;
  if (result >= 1000.0) return kNoData;
  return static_cast<float>(result);
}

float CalcTHSW(float tempF, float humidity, float windMph, float solar) {
  if (missing(solar)) return kNoData;
  const float w = CalcTHW(tempF, humidity, windMph);
  if (w == kNoData) return kNoData;
  double v = windMph;
  if (v > 45.0) v = 45.0;
  const double increment = v < 6.7 ? solar * 0.101 : 1.1 / (0.45 * v + 8.0) * solar;
  const double result = roundTenths(w + increment);
  if (result >= 1000.0) return kNoData;
  return static_cast<float>(result);
}

float CalcAirDensity(float tempF, float barometerInHg, float humidity) {
  if (missing(tempF) || missing(barometerInHg) || missing(humidity)) return kNoData;
  const double tc = (tempF - 32.0) * 5.0 * 0.11111111;
  const double ev =
      humidity * 0.01 * 6.112 * std::exp(17.62 * tc / (tc + 243.12)) * 0.7500612746907473;
  const double density =
      (273.13 / (tc + 273.13)) * (barometerInHg * 25.4 - ev) * 0.0017011842105263157 * 0.06243;
  if (!std::isfinite(density)) return kNoData;
  return static_cast<float>(density);
}

float CalcEMC(float tempF, float humidity) {
  if (missing(tempF) || missing(humidity)) return kNoData;
  // The table has no row at or beyond 220 °F and no column outside 0 to 100 %.
  if (tempF < 30.0f || tempF >= 220.0f || humidity < 0.0f || humidity > 100.0f) return kNoData;
  const auto& e = derivedTables().emc;
  const double t = tempF;
  int i;
  double rowTemp;
  double step;
  if (t <= 130.0) {
    i = static_cast<int>((t - 30.0) * 0.2);
    rowTemp = 30.0 + 5.0 * i;
    step = 5.0;
  } else {
    i = static_cast<int>((t - 130.0) * 0.1 + 20.0);
    rowTemp = 130.0 + 10.0 * (i - 20);
    step = 10.0;
  }
  int j = static_cast<int>(std::floor(humidity + 0.5));
  if (j > 100) j = 100;
  double value = e[i][j];
  if (i != kEmcRows - 1) value += (e[i + 1][j] - e[i][j]) * (t - rowTemp) / step;
  return static_cast<float>(value * 0.1);
}

double windRunMiles(double windMph, int minutes) { return windMph * minutes / 60.0; }

double degreeDays(double tempF, int baseByte, int minutes) {
  if (baseByte <= 127) {
    const double base = baseByte;
    return tempF < base ? (base - tempF) * minutes / 1440.0 : 0.0;
  }
  const double base = 256 - baseByte;
  return tempF > base ? (tempF - base) * minutes / 1440.0 : 0.0;
}

double solarEnergyLangleys(double wattsPerM2, int minutes) {
  return minutes * wattsPerM2 * 60.0 * 2.389200812328276e-5;
}

double uvDoseMeds(double uvIndex, int minutes, double skinFactor) {
  return minutes * uvIndex * 0.0071428571428571435 * skinFactor;
}

}  // namespace quantities
