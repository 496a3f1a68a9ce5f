#include "database/summary_view.h"

#include <string>

#include "database/summary_values.h"
#include "database/view_text.h"
#include "platform/string_table.h"
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
  int name;
  SensorCode code;
  bool timed;
};

// Temperature triples: the texts of the high, low and average (0: none), derived quantity
// and sensor index.
struct TempRow {
  int high;
  int low;
  int average;
  int derived;
  int index;
};
constexpr TempRow kTemperatures[] = {
    {64835, 64836, 64837, 0, 0},  // outside temperature
    {64838, 64839, 64840, 0, 1},  // inside temperature
    {64841, 64842, 64843, 2, 0},  // wind chill
    {64844, 64845, 64846, 1, 0},  // dew point
    {64847, 64848, 64849, 3, 0},  // heat index
    {64850, 64851, 0, 4, 0},      // THW index
    {64852, 64853, 0, 5, 0},      // THSW index
    {64854, 64855, 64856, 6, 0},  // the sixth derived temperature
};

constexpr int kHeading = 64831;
constexpr int kAtTime = 64832;
constexpr int kWindSamples = 64833;
constexpr int kWindMinutes = 64834;
constexpr std::size_t kNameWidth = 34;
constexpr std::size_t kValueWidth = 10;

const Line kLines[] = {
    {64857, code(0, 14, kHigh, 1), true},          // high outside humidity
    {64858, code(0, 14, kLow, 1), true},           // low outside humidity
    {64859, code(0, 14, kAverage, 1), false},      // average outside humidity
    {64860, code(0, 14, kHigh, 1, 1), true},       // high inside humidity
    {64861, code(0, 14, kLow, 1, 1), true},        // low inside humidity
    {64862, code(0, 7, kHigh, 4), true},           // high barometer
    {64863, code(0, 7, kLow, 4), true},            // low barometer
    {64864, code(0, 7, kAverage, 4), false},       // average barometer
    {64865, code(0, 4, kHigh, 2), true},           // high wind speed
    {64866, code(0, 6, kHigh, 3), false},          // direction of the high wind speed
    {64867, code(0, 4, kAverage, 2), false},       // average wind speed
    {64868, code(0, 6, kAverage, 3), false},       // dominant wind direction
    {64869, code(7, 18, kTotal, 2), false},        // wind run
    {64870, code(0, 2, kTotal, 5), false},         // rain
    {64871, code(0, 3, kHigh, 6), true},           // high rain rate
    {64872, code(13, 2, kTotal, 0), false},        // evapotranspiration
    {64873, code(0, 10, kHigh, 7), true},          // high solar radiation
    {64874, code(9, 11, kTotal, 7), false},        // solar energy
    {64875, code(0, 12, kHigh, 8), true},          // high UV index
    {64876, code(10, 13, kTotal, 8), false},       // UV dose
    {64877, code(8, 1, kTotal, 65), false},        // heating degree-days
    {64878, code(8, 1, kTotal, 256 - 65), false},  // cooling degree-days
    {64879, code(0, 9, kTotal, 11), false},        // minutes of data
};

// Values stay right-aligned on their numbers; the unit and the time follow, as no-data
// dashes have neither.
void print(std::ostream& out, const std::string& name, const std::string& value,
           const std::string& unit, const std::string& time) {
  const bool noData = value.find(quantities::kDash3) != std::string::npos;
  out << padRight(name + ":", kNameWidth) << " " << padLeft(value, kValueWidth);
  if (!unit.empty() && !noData) out << " " << unit;
  if (!time.empty() && !noData) out << "  " << viewText(kAtTime, {standaloneValue(time)});
  out << "\n";
}

// One value of the summary by code, with its unit and, for highs and lows, its time.
void printValue(std::ostream& out, const DailySummaryObject& s, int name, SensorCode c, bool timed,
                const quantities::Units& units, const platform::IntlSettings& intl) {
  print(out, platform::loadString(name), GetSummaryDataStr(s, c, units), shownUnit(units, c),
        timed ? GetSummaryTimeStr(s, c, intl) : "");
}

}  // namespace

void printSummary(const DailySummaryObject& s, const quantities::Units& units,
                  const platform::IntlSettings& intl, std::ostream& out) {
  out << viewText(kHeading, {quantities::shortDateText(s.a.date, intl)}) << "\n";
  for (const TempRow& t : kTemperatures) {
    printValue(out, s, t.high, code(t.derived, 0, kHigh, 0, t.index), true, units, intl);
    printValue(out, s, t.low, code(t.derived, 0, kLow, 0, t.index), true, units, intl);
    if (t.average != 0) {
      printValue(out, s, t.average, code(t.derived, 0, kAverage, 0, t.index), false, units, intl);
    }
  }
  for (const Line& l : kLines) printValue(out, s, l.name, l.code, l.timed, units, intl);
  const std::int16_t samples = s.b.record.i16(kSumBWindSamples);
  print(out, platform::loadString(kWindSamples),
        samples == kNoData16 ? "---" : std::to_string(samples), "", "");
  out << platform::loadString(kWindMinutes);
  for (int d = 0; d < kSumBWindDirCount; ++d) {
    out << " " << quantities::DomDirStr(d) << "=" << s.b.record.packed12(kSumBWindDirMinutes, d);
  }
  out << "\n";
}

}  // namespace database
