#include "database/summary_view.h"

#include <cstdio>
#include <string>

#include "database/summary_values.h"
#include "quantities/date_text.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace database {

namespace {

using quantities::SensorCode;

constexpr SensorCode code(int derived, int unitClass, int statistic, int category, int index = 0) {
  return static_cast<SensorCode>(derived) | static_cast<SensorCode>(unitClass) << 5 |
         static_cast<SensorCode>(statistic) << 10 | static_cast<SensorCode>(category) << 16 |
         static_cast<SensorCode>(index) << 24;
}
static_assert(code(0, 2, 9, 5) == 0x52440);   // daily rain
static_assert(code(0, 14, 8, 1) == 0x121C0);  // average outside humidity

constexpr int kHigh = 4;
constexpr int kLow = 6;
constexpr int kAverage = 8;
constexpr int kTotal = 9;

struct Line {
  const char* name;
  SensorCode code;
  bool timed;
};

// Temperature triples: derived quantity and sensor index.
struct TempRow {
  const char* name;
  int derived;
  int index;
  bool average;
};
constexpr TempRow kTemperatures[] = {
    {"outside temperature", 0, 0, true}, {"inside temperature", 0, 1, true},
    {"wind chill", 2, 0, true},          {"dew point", 1, 0, true},
    {"heat index", 3, 0, true},          {"THW index", 4, 0, false},
    {"THSW index", 5, 0, false},         {"sixth derived temperature", 6, 0, true},
};

const Line kLines[] = {
    {"high outside humidity", code(0, 14, kHigh, 1), true},
    {"low outside humidity", code(0, 14, kLow, 1), true},
    {"average outside humidity", code(0, 14, kAverage, 1), false},
    {"high inside humidity", code(0, 14, kHigh, 1, 1), true},
    {"low inside humidity", code(0, 14, kLow, 1, 1), true},
    {"high barometer", code(0, 7, kHigh, 4), true},
    {"low barometer", code(0, 7, kLow, 4), true},
    {"average barometer", code(0, 7, kAverage, 4), false},
    {"high wind speed", code(0, 4, kHigh, 2), true},
    {"direction of the high wind speed", code(0, 6, kHigh, 3), false},
    {"average wind speed", code(0, 4, kAverage, 2), false},
    {"dominant wind direction", code(0, 6, kAverage, 3), false},
    {"wind run", code(7, 18, kTotal, 2), false},
    {"rain", code(0, 2, kTotal, 5), false},
    {"high rain rate", code(0, 3, kHigh, 6), true},
    {"evapotranspiration", code(13, 2, kTotal, 0), false},
    {"high solar radiation", code(0, 10, kHigh, 7), true},
    {"solar energy", code(9, 11, kTotal, 7), false},
    {"high UV index", code(0, 12, kHigh, 8), true},
    {"UV dose", code(10, 13, kTotal, 8), false},
    {"heating degree-days", code(8, 1, kTotal, 65), false},
    {"cooling degree-days", code(8, 1, kTotal, 256 - 65), false},
    {"minutes of data", code(0, 9, kTotal, 11), false},
};

// Values stay right-aligned on their numbers; the unit follows, as no-data dashes have
// none.
void print(std::ostream& out, const std::string& name, const std::string& value,
           const std::string& unit, const std::string& time) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%-34s %10s", (name + ":").c_str(), value.c_str());
  out << buf;
  if (!unit.empty() && value.find(quantities::kDash3) == std::string::npos) out << " " << unit;
  if (!time.empty()) out << "  at " << time;
  out << "\n";
}

// One value of the summary by code, with its unit and, for highs and lows, its time.
void printValue(std::ostream& out, const DailySummaryObject& s, const std::string& name,
                SensorCode c, bool timed, const quantities::Units& units,
                const platform::IntlSettings& intl) {
  print(out, name, GetSummaryDataStr(s, c, units), quantities::GetUnitStr(units, c),
        timed ? GetSummaryTimeStr(s, c, intl) : "");
}

}  // namespace

void printSummary(const DailySummaryObject& s, const quantities::Units& units,
                  const platform::IntlSettings& intl, std::ostream& out) {
  out << "daily summary of " << quantities::shortDateText(s.a.date, intl) << "\n";
  for (const TempRow& t : kTemperatures) {
    const std::string name = t.name;
    printValue(out, s, "high " + name, code(t.derived, 0, kHigh, 0, t.index), true, units, intl);
    printValue(out, s, "low " + name, code(t.derived, 0, kLow, 0, t.index), true, units, intl);
    if (t.average) {
      printValue(out, s, "average " + name, code(t.derived, 0, kAverage, 0, t.index), false, units,
                 intl);
    }
  }
  for (const Line& l : kLines) printValue(out, s, l.name, l.code, l.timed, units, intl);
  const std::int16_t samples = s.b.record.i16(kSumBWindSamples);
  print(out, "wind samples", samples == kNoData16 ? "---" : std::to_string(samples), "", "");
  out << "minutes of wind by direction:";
  for (int d = 0; d < kSumBWindDirCount; ++d) {
    out << " " << quantities::DomDirStr(d) << "=" << s.b.record.packed12(kSumBWindDirMinutes, d);
  }
  out << "\n";
}

}  // namespace database
