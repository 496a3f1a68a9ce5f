#include "reports/sunrise_report.h"

#include <chrono>
#include <cmath>
#include <cstdlib>

#include "platform/string_table.h"
#include "reports/report_format.h"
#include "reports/sun_position.h"
#include "reports/sun_text_ids.h"
#include "reports/time_zones.h"

namespace reports {

namespace {

struct Event {
  double altitude;
  bool rise;
};
constexpr std::array<Event, 8> kEvents = {{{kAltitudeAstronomical, true},
                                           {kAltitudeNautical, true},
                                           {kAltitudeCivil, true},
                                           {kAltitudeSunriseSunset, true},
                                           {kAltitudeSunriseSunset, false},
                                           {kAltitudeCivil, false},
                                           {kAltitudeNautical, false},
                                           {kAltitudeAstronomical, false}}};
constexpr std::size_t kSunrise = 3;
constexpr std::size_t kSunset = 4;

std::string locationText(int deg, int min, int sec, char hemisphere) {
  return formatLine("%3d° %02d' %02d\" %s",
                    {static_cast<long long>(std::abs(deg)), static_cast<long long>(std::abs(min)),
                     static_cast<long long>(std::abs(sec)), std::string_view(&hemisphere, 1)});
}

int daysInMonth(int year, int month) {
  using namespace std::chrono;
  return static_cast<int>(unsigned(year_month_day_last{
      std::chrono::year{year}, month_day_last{std::chrono::month{static_cast<unsigned>(month)}}}
                                       .day()));
}

std::string dayLine(const SunDay& d, quantities::Date date, const platform::IntlSettings& intl) {
  std::string line =
      formatLine("%9s", {std::string_view(quantities::shortDateText(
                            records::DateTime::fromDate(date.year, date.month, date.day), intl))});
  for (std::size_t i = 0; i < d.events.size(); ++i) {
    const std::string t =
        d.events[i] ? quantities::recordTimeText(*d.events[i], intl) : std::string("-----");
    line += formatLine(i == kSunrise || i == kSunset ? "%8s" : "%7s", {std::string_view(t)});
  }
  if (d.dayLengthMinutes) {
    const char sep = intl.timeSeparator;
    line += formatLine("  %2d%s%02d",
                       {static_cast<long long>(*d.dayLengthMinutes / 60), std::string_view(&sep, 1),
                        static_cast<long long>(*d.dayLengthMinutes % 60)});
  } else {
    line += formatLine("%7s", {std::string_view("-----")});
  }
  return line + "\n";
}

}  // namespace

std::optional<SunSite> sunSiteOf(const station::StationConfig& config) {
  if (!config.locationSet() || config.lonDeg() == station::kLocationNotSet) return std::nullopt;
  const double lat = config.latitude();
  const double lon = config.longitude();
  const double offset = config.gmtOffset();
  if (!std::isfinite(lat) || !std::isfinite(lon) || !std::isfinite(offset)) return std::nullopt;
  if (std::fabs(lat) > 90 || std::fabs(lon) > 180 || std::fabs(offset) > 12) return std::nullopt;
  return SunSite{lat, lon};
}

SunDay sunDay(const SunSite& site, const LocalClock& clock, quantities::Date date) {
  SunDay d;
  std::array<std::optional<double>, 8> universal;
  for (std::size_t i = 0; i < kEvents.size(); ++i) {
    universal[i] = eventTimeUniversal(date.year, date.month, date.day, site.latitude,
                                      site.longitude, kEvents[i].altitude, kEvents[i].rise);
    if (universal[i]) d.events[i] = localFromUniversal(date, *universal[i], clock).minutes;
  }
  if (universal[kSunrise] && universal[kSunset]) {
    double hours = *universal[kSunset] - *universal[kSunrise];
    if (hours <= 0) hours += 24;
    d.dayLengthMinutes = static_cast<int>(std::floor(hours * 60 + 0.5));
  }
  return d;
}

std::optional<SunDay> sunDayFor(const station::StationConfig& config, quantities::Date date) {
  const auto site = sunSiteOf(config);
  if (!site) return std::nullopt;
  return sunDay(*site, programClock(config), date);
}

platform::Result<std::string> sunriseReportText(const station::StationConfig& config,
                                                const platform::IntlSettings& intl,
                                                quantities::Date date, SunRange range) {
  const auto site = sunSiteOf(config);
  if (!site) return platform::Status::notFound(platform::loadString(kMsgLocationNotSet));
  const LocalClock clock = sunriseClock(config);
  auto line = [](int id, std::string_view arg) {
    return formatLine(platform::stringText(id), {arg});
  };
  std::string out;
  out += line(kSunriseLatitudeLine, locationText(config.latDeg(), config.latMin(), config.latSec(),
                                                 config.latSouth() ? 'S' : 'N'));
  out += line(kSunriseLongitudeLine, locationText(config.lonDeg(), config.lonMin(), config.lonSec(),
                                                  config.lonWest() ? 'W' : 'E'));
  out += line(kSunriseZoneLine, zoneLabel(config.timeZoneIndex(), config.gmtOffset()));
  out += platform::loadString(kSunriseSavingLine);
  out += platform::loadString(clock.saving == Saving::kAutomatic ? kSunriseSavingAutomatic
                              : clock.saving == Saving::kOn      ? kSunriseSavingOn
                                                                 : kSunriseSavingOff);
  out += platform::loadString(kSunriseHeading1);
  out += platform::loadString(kSunriseHeading2);
  out += platform::loadString(kSunriseHeading3);
  const int firstMonth = range == SunRange::kYear ? 1 : date.month;
  const int lastMonth = range == SunRange::kYear ? 12 : date.month;
  for (int month = firstMonth; month <= lastMonth; ++month) {
    const int firstDay = range == SunRange::kDay ? date.day : 1;
    const int lastDay = range == SunRange::kDay ? date.day : daysInMonth(date.year, month);
    for (int day = firstDay; day <= lastDay; ++day) {
      const quantities::Date d{date.year, month, day};
      out += dayLine(sunDay(*site, clock, d), d, intl);
    }
  }
  return out;
}

platform::Result<std::string> writeSunriseReport(platform::FileSystem& files,
                                                 const station::StationConfig& config,
                                                 const platform::IntlSettings& intl,
                                                 const std::string& stationDir,
                                                 quantities::Date date, SunRange range,
                                                 const std::string& path) {
  auto text = sunriseReportText(config, intl, date, range);
  if (!text) return text.status();
  const std::string target = path.empty() ? platform::joinPath(stationDir, kSunriseFile) : path;
  if (platform::Status s = files.replaceFileAtomically(target, *text); !s) {
    return platform::Status::io(
        formatLine(platform::stringText(kMsgCannotWriteSunReport), {std::string_view(target)}) +
        " (" + s.message() + ")");
  }
  return target;
}

platform::Status applySunriseChoices(station::StationConfig& config, const SunriseChoices& c) {
  std::optional<int> index;
  std::optional<double> offset;
  if (c.zoneIndex) {
    if (*c.zoneIndex < 0 || *c.zoneIndex >= kZoneCount) {
      return platform::Status::badArgument(formatLine(platform::stringText(kMsgZoneIndexOutOfRange),
                                                      {static_cast<long long>(*c.zoneIndex)}));
    }
    index = *c.zoneIndex;
    offset = zoneTextOffset(zoneText(*c.zoneIndex));
  } else if (c.typedOffset) {
    auto typed = parseTypedOffset(*c.typedOffset);
    if (!typed) return typed.status();
    index = -1;
    offset = *typed;
  }
  if (index && offset) {
    config.setTimeZoneIndex(static_cast<std::int16_t>(*index));
    config.setGmtOffset(static_cast<float>(*offset));
  }
  if (c.saving) {
    config.setDstManual(*c.saving != Saving::kAutomatic);
    config.setDstManualOn(*c.saving == Saving::kOn);
  }
  return platform::Status::ok();
}

}  // namespace reports
