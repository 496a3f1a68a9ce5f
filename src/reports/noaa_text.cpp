#include "reports/noaa_text.h"

#include "platform/string_table.h"
#include "quantities/date_text.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"
#include "reports/report_format.h"
#include "reports/report_text_ids.h"

namespace reports {

namespace {

constexpr std::string_view kNone = "---";

std::string_view text(int id) { return platform::stringText(id); }

std::string timeOf(const NoaaMonth& m, int day, int minutes, const platform::IntlSettings& intl) {
  if (minutes < 0) return std::string(kNone);
  return quantities::timeText(
      records::DateTime::fromDate(m.year, m.month, day, static_cast<std::uint16_t>(minutes)), intl);
}

std::string optionalNumber(const std::optional<double>& v, std::string_view format) {
  if (!v) return formatLine("%6s", {kNone});
  return formatLine(format, {*v});
}

std::string elevationText(const NoaaHeader& h, const quantities::Units& u) {
  return formatLine("%5d %s", {static_cast<long long>(u.ConvertElevation(h.elevationFeet, 0)),
                               std::string_view(u.elevUnitText())});
}

// The thresholds of the user's temperature unit as the yearly heading prints them.
std::array<long long, 4> headingThresholds(const NoaaThresholds& t) {
  return {static_cast<long long>(t.hot), static_cast<long long>(t.freezing),
          static_cast<long long>(t.freezing), static_cast<long long>(t.cold)};
}

std::string dayLine(const NoaaMonth& m, int day, bool mm, const platform::IntlSettings& intl) {
  const NoaaDay& d = m.days[static_cast<std::size_t>(day)];
  std::string line = formatLine("%2d", {static_cast<long long>(day)});
  if (!d.hasData) return line + "\n";
  line += optionalNumber(d.mean, "%6.1f");
  for (const auto& [value, time] : {std::pair{d.high, d.highTime}, std::pair{d.low, d.lowTime}}) {
    line += value ? formatLine("%6.1f%8s", {*value, std::string_view(timeOf(m, day, time, intl))})
                  : formatLine("%6s%8s", {kNone, kNone});
  }
  line += optionalNumber(d.heating, "%6.1f");
  line += optionalNumber(d.cooling, "%6.1f");
  line += formatLine(mm ? "%6.1f" : "%6.2f", {d.rain});
  line += optionalNumber(d.meanWind, "%6.1f");
  const bool calm = d.highWind && *d.highWind == 0.0;
  if (!d.highWind) {
    line += formatLine("%6s%8s", {kNone, kNone});
  } else if (calm) {
    line += formatLine("%6.1f%8s", {0.0, kNone});
  } else {
    line += formatLine("%6.1f%8s",
                       {*d.highWind, std::string_view(timeOf(m, day, d.highWindTime, intl))});
  }
  const std::string direction = calm ? std::string(kNone) : quantities::DomDirStr(d.direction);
  return line + formatLine("%6s\n", {std::string_view(direction)});
}

std::string extremeWithDay(bool present, double value, int day, std::string_view tail) {
  if (!present) return formatLine("%6s%8s", {kNone, kNone}) + std::string(tail);
  return formatLine("%6.1f%6d", {value, static_cast<long long>(day)}) + std::string(tail);
}

std::string monthLine(const NoaaMonth& m, bool mm) {
  std::string line;
  const auto mean = m.meanOfMeans();
  line += mean ? formatLine("  %6.1f", {*mean}) : formatLine("  %6s", {kNone});
  line += extremeWithDay(m.highestHighDay != 0, m.highestHigh, m.highestHighDay, "  ");
  line += extremeWithDay(m.lowestLowDay != 0, m.lowestLow, m.lowestLowDay, "  ");
  line += formatLine("%6.1f%6.1f", {m.heatingTotal, m.coolingTotal});
  line += formatLine(mm ? "%6.1f" : "%6.2f", {m.rainTotal});
  line += optionalNumber(m.meanWind(), "%6.1f");
  if (m.topWindDay == 0) {
    line += formatLine("%6s%8s", {kNone, kNone});
  } else if (m.topWind == 0.0) {
    line += formatLine("%6.1f%8s", {0.0, kNone});
  } else {
    line += formatLine("%6.1f%6d  ", {m.topWind, static_cast<long long>(m.topWindDay)});
  }
  const std::string direction = m.topWindDay != 0 && m.topWind > 0
                                    ? quantities::DomDirStr(m.dominantDirection())
                                    : std::string(kNone);
  return line + formatLine("%6s\n\n", {std::string_view(direction)});
}

std::string nameLines(int nameLineId, const NoaaHeader& h, const quantities::Units& u) {
  return formatLine(text(nameLineId), {std::string_view(h.stationName), std::string_view(h.city),
                                       std::string_view(h.state)}) +
         formatLine(text(kNoaaLocationLine),
                    {std::string_view(elevationText(h, u)), std::string_view(h.latText),
                     std::string_view(h.lonText)});
}

long long twoDigitYear(int year) { return year % 100; }

}  // namespace

std::string noaaMonthName(int month) {
  if (month < 1 || month > 12) return std::string(kNone);
  return std::string(text(kNoaaMonthNames + month - 1));
}

NoaaHeader NoaaHeader::fromStation(const station::StationConfig& config) {
  NoaaHeader h;
  h.stationName = config.stationName();
  h.city = config.noaaCity();
  h.state = config.noaaState();
  h.latText = config.noaaLatText();
  h.lonText = config.noaaLonText();
  h.elevationFeet = config.elevation();
  const NoaaSettings s = NoaaSettings::fromStation(config);
  h.bases = s.bases;
  h.integration = s.integration;
  return h;
}

std::string noaaMonthText(const NoaaMonth& m, const NoaaHeader& h,
                          const quantities::UserConventions& conventions) {
  const quantities::Units& u = conventions.units;
  const NoaaThresholds limits = NoaaThresholds::forUnits(u);
  const bool mm = limits.millimetres;
  std::string out;
  out += formatLine(text(kNoaaMonthTitle),
                    {std::string_view(repeated(' ', 19)), std::string_view(noaaMonthName(m.month)),
                     static_cast<long long>(m.year)});
  out += nameLines(kNoaaMonthNameLine, h, u);
  out += formatLine(text(kNoaaMonthUnitsLine),
                    {std::string_view(repeated(' ', 19)), std::string_view(u.tempUnitText()),
                     std::string_view(u.rainUnitText()), std::string_view(u.speedUnitText())});
  out += text(kNoaaMonthHeading1);
  out += text(kNoaaMonthHeading2);
  out += text(kNoaaMonthHeading3);
  out += repeated('-', 84) + "\n";
  for (int day = 1; day <= m.dayCount; ++day) out += dayLine(m, day, mm, conventions.intl);
  out += repeated('-', 85) + "\n";
  out += monthLine(m, mm);
  out += formatLine(text(kNoaaHotCount), {limits.hot, static_cast<long long>(m.hotDays)});
  out += formatLine(text(kNoaaMaxFreezingCount),
                    {limits.freezing, static_cast<long long>(m.highFreezingDays)});
  out +=
      formatLine(text(kNoaaMinCount), {limits.freezing, static_cast<long long>(m.lowFreezingDays)});
  out += formatLine(text(kNoaaMinCount), {limits.cold, static_cast<long long>(m.coldDays)});
  const std::string topRainDate =
      m.topRainDay == 0
          ? std::string(quantities::kDash5)
          : quantities::shortDateText(records::DateTime::fromDate(m.year, m.month, m.topRainDay),
                                      conventions.intl);
  out += formatLine(text(kNoaaTopRain), {m.topRain, std::string_view(topRainDate)});
  out += formatLine(text(mm ? kNoaaRainDaysMm : kNoaaRainDaysInches),
                    {static_cast<long long>(m.rainDays[0]), static_cast<long long>(m.rainDays[1]),
                     static_cast<long long>(m.rainDays[2])});
  out += formatLine(text(kNoaaBasesLine),
                    {u.ConvertTemp(h.bases.heating, 0), u.ConvertTemp(h.bases.cooling, 0)});
  out += text(h.integration ? kNoaaMethodIntegration : kNoaaMethodMaxMin);
  return out;
}

namespace {

std::string temperatureTable(const NoaaYear& y, const NoaaHeader& h, const quantities::Units& u) {
  const NoaaThresholds limits = NoaaThresholds::forUnits(u);
  std::string out =
      formatLine(text(kNoaaYearTempTitle),
                 {std::string_view(repeated(' ', 15)), std::string_view(u.tempUnitText()),
                  u.ConvertTemp(h.bases.heating, 0), u.ConvertTemp(h.bases.cooling, 0)});
  out += text(kNoaaYearTempHeading1);
  out += text(kNoaaYearTempHeading2);
  const auto t = headingThresholds(limits);
  out += formatLine(text(kNoaaYearTempHeading3), {t[0], t[1], t[2], t[3]});
  out += repeated('-', 84) + "\n";

  double highSum = 0, lowSum = 0, meanSum = 0, departureSum = 0, heating = 0, cooling = 0;
  int validDays = 0, monthsWithData = 0;
  std::array<int, 4> counts{};
  double highest = 0, lowest = 0;
  int highestMonth = 0, lowestMonth = 0;
  for (const NoaaMonth& m : y.months) {
    const std::string head =
        formatLine(" %02d%3d", {twoDigitYear(y.year), static_cast<long long>(m.month)});
    if (!m.hasData()) {
      out += head + "\n";
      continue;
    }
    auto perDay = [&m](double sum) -> std::optional<double> {
      if (m.meanDays == 0) return std::nullopt;
      return sum / m.meanDays;
    };
    out += head + optionalNumber(perDay(m.highSum), "%6.1f") +
           optionalNumber(perDay(m.lowSum), "%6.1f") + optionalNumber(perDay(m.meanSum), "%6.1f");
    out += formatLine("%6.1f%6.0f%6.0f", {m.tempDeparture, m.heatingTotal, m.coolingTotal});
    out += m.highestHighDay != 0
               ? formatLine("%6.1f%4d", {m.highestHigh, static_cast<long long>(m.highestHighDay)})
               : formatLine("%6s%4s", {kNone, kNone});
    out += m.lowestLowDay != 0
               ? formatLine("%6.1f%5d", {m.lowestLow, static_cast<long long>(m.lowestLowDay)})
               : formatLine("%6s%5s", {kNone, kNone});
    out +=
        formatLine("%5d%5d%5d%5d\n",
                   {static_cast<long long>(m.hotDays), static_cast<long long>(m.highFreezingDays),
                    static_cast<long long>(m.lowFreezingDays), static_cast<long long>(m.coldDays)});
    ++monthsWithData;
    highSum += m.highSum;
    lowSum += m.lowSum;
    meanSum += m.meanSum;
    validDays += m.meanDays;
    departureSum += m.tempDeparture;
    heating += m.heatingTotal;
    cooling += m.coolingTotal;
    counts[0] += m.hotDays;
    counts[1] += m.highFreezingDays;
    counts[2] += m.lowFreezingDays;
    counts[3] += m.coldDays;
    if (m.highestHighDay != 0 && (highestMonth == 0 || m.highestHigh > highest)) {
      highest = m.highestHigh;
      highestMonth = m.month;
    }
    if (m.lowestLowDay != 0 && (lowestMonth == 0 || m.lowestLow < lowest)) {
      lowest = m.lowestLow;
      lowestMonth = m.month;
    }
  }
  auto perValidDay = [validDays](double sum) -> std::optional<double> {
    if (validDays == 0) return std::nullopt;
    return sum / validDays;
  };
  std::optional<double> departure;
  if (monthsWithData > 0) departure = departureSum / monthsWithData;
  out += repeated('-', 84) + "\n";
  out += "      " + optionalNumber(perValidDay(highSum), "%6.1f") +
         optionalNumber(perValidDay(lowSum), "%6.1f") +
         optionalNumber(perValidDay(meanSum), "%6.1f") + optionalNumber(departure, "%6.1f");
  out += formatLine("%6.0f%6.0f", {heating, cooling});
  out += highestMonth != 0
             ? formatLine("%6.1f%4s", {highest, std::string_view(noaaMonthName(highestMonth))})
             : formatLine("%6s%4s", {kNone, kNone});
  out += lowestMonth != 0
             ? formatLine("%6.1f%5s", {lowest, std::string_view(noaaMonthName(lowestMonth))})
             : formatLine("%6s%5s", {kNone, kNone});
  out += formatLine("%5d%5d%5d%5d\n",
                    {static_cast<long long>(counts[0]), static_cast<long long>(counts[1]),
                     static_cast<long long>(counts[2]), static_cast<long long>(counts[3])});
  return out;
}

std::string rainTable(const NoaaYear& y, const quantities::Units& u) {
  const bool mm = u.GetRainUnit() == quantities::kMillimetres;
  std::string out = formatLine(text(kNoaaYearRainTitle), {std::string_view(repeated(' ', 32)),
                                                          std::string_view(u.rainUnitText())});
  out += text(kNoaaYearRainHeading1);
  out += text(kNoaaYearRainHeading2);
  out += text(mm ? kNoaaYearRainHeadingMm : kNoaaYearRainHeadingInches);
  out += repeated('-', 44) + "\n";
  double total = 0, departures = 0, top = 0;
  int topMonth = 1;  // the year's wettest month starts as January
  std::array<int, 3> counts{};
  for (const NoaaMonth& m : y.months) {
    const std::string head =
        formatLine(" %02d%3d", {twoDigitYear(y.year), static_cast<long long>(m.month)});
    if (!m.hasData()) {
      out += head + "\n";
      continue;
    }
    out +=
        head +
        formatLine(mm ? "%6.1f%7.1f%6.1f%5d%5d%5d%5d\n" : "%6.2f%7.2f%6.2f%5d%5d%5d%5d\n",
                   {m.rainTotal, m.rainDeparture, m.topRain, static_cast<long long>(m.topRainDay),
                    static_cast<long long>(m.rainDays[0]), static_cast<long long>(m.rainDays[1]),
                    static_cast<long long>(m.rainDays[2])});
    total += m.rainTotal;
    departures += m.rainDeparture;
    if (m.topRain > top) {
      top = m.topRain;
      topMonth = m.month;
    }
    for (std::size_t k = 0; k < 3; ++k) counts[k] += m.rainDays[k];
  }
  out += repeated('-', 44) + "\n";
  out +=
      formatLine(mm ? "      %6.1f%6.1f%6.1f%5s%5d%5d%5d\n" : "      %6.2f%6.2f%6.2f%5s%5d%5d%5d\n",
                 {total, departures, top, std::string_view(noaaMonthName(topMonth)),
                  static_cast<long long>(counts[0]), static_cast<long long>(counts[1]),
                  static_cast<long long>(counts[2])});
  return out;
}

std::string windTable(const NoaaYear& y, const quantities::Units& u) {
  std::string out = formatLine(text(kNoaaYearWindTitle), {std::string_view(repeated(' ', 32)),
                                                          std::string_view(u.speedUnitText())});
  out += text(kNoaaYearWindHeading1);
  out += text(kNoaaYearWindHeading2);
  out += repeated('-', 33) + "\n";
  double sum = 0, top = 0;
  int days = 0, topMonth = 0;
  std::array<long, 16> bins{};
  for (const NoaaMonth& m : y.months) {
    for (std::size_t i = 0; i < bins.size(); ++i) bins[i] += m.directionBins[i];
    const std::string head =
        formatLine(" %02d%3d", {twoDigitYear(y.year), static_cast<long long>(m.month)});
    if (m.windDays == 0) {
      out += head + "\n";
    } else {
      out += head + formatLine("%6.1f", {m.windSum / m.windDays});
      out += m.topWindDay != 0
                 ? formatLine("%6.1f%5d", {m.topWind, static_cast<long long>(m.topWindDay)})
                 : formatLine("%6s%5s", {kNone, kNone});
      out += formatLine("%6s\n", {std::string_view(quantities::DomDirStr(m.dominantDirection()))});
      sum += m.windSum;
      days += m.windDays;
    }
    if (m.topWindDay != 0 && (topMonth == 0 || m.topWind > top)) {
      top = m.topWind;
      topMonth = m.month;
    }
  }
  std::optional<double> mean;
  if (days > 0) mean = sum / days;
  out += repeated('-', 33) + "\n";
  out += "      " + optionalNumber(mean, "%6.1f");
  out += topMonth != 0 ? formatLine("%6.1f%5s", {top, std::string_view(noaaMonthName(topMonth))})
                       : formatLine("%6s%5s", {kNone, kNone});
  out += formatLine("%5s\n", {std::string_view(quantities::DomDirStr(dominantBin(bins)))});
  return out;
}

}  // namespace

std::string noaaYearText(const NoaaYear& y, const NoaaHeader& h,
                         const quantities::UserConventions& conventions) {
  const quantities::Units& u = conventions.units;
  std::string out = formatLine(text(kNoaaYearTitle), {std::string_view(repeated(' ', 28))});
  out += nameLines(kNoaaYearNameLine, h, u);
  out += temperatureTable(y, h, u);
  out += rainTable(y, u);
  out += windTable(y, u);
  return out;
}

}  // namespace reports
