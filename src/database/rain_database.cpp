#include "database/rain_database.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "database/daily_summary.h"
#include "database/summary_values.h"
#include "database/view_text.h"
#include "platform/string_table.h"
#include "quantities/code_resolver.h"

namespace database {

using platform::Status;

namespace {

constexpr double kMmPerInch = 25.4;
constexpr quantities::SensorCode kArchiveRainCode = 0x50440;
constexpr quantities::SensorCode kDailyRainCode = 0x52440;
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;
constexpr int kUnreadLineText = 64301;

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n';
}

// The white-space separated fields of a line.
std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isSpace(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !isSpace(line[i])) ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

bool parseInt(std::string_view s, int& out) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

bool parseFloat(std::string_view s, double& out) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

// "%.3f" of any finite value, in the C locale. The largest double has 309 integer
// digits; a buffer too small for it would write a big month as an empty field, and the
// next load would lose the whole year.
void appendFixed3(std::string& out, double v) {
  std::array<char, 320> buf{};
  const auto [end, ec] =
      std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, 3);
  out.append(buf.data(), ec == std::errc() ? end : buf.data());
}

bool millimetres(const quantities::Units& u) { return u.GetRainUnit() == quantities::kMillimetres; }

// The mark's text: "YYYY-MM-DD MMMM".
std::string formatMark(const DateTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %04d\n", t.year, t.month, t.day, t.minutes);
  return buf;
}

std::optional<DateTime> parseMark(std::string_view text) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  if (text.size() != 15 || text[4] != '-' || text[7] != '-' || text[10] != ' ') {
    return std::nullopt;
  }
  int y = 0, m = 0, d = 0, minutes = 0;
  if (!parseInt(text.substr(0, 4), y) || !parseInt(text.substr(5, 2), m) ||
      !parseInt(text.substr(8, 2), d) || !parseInt(text.substr(11, 4), minutes)) {
    return std::nullopt;
  }
  if (!isValidDate(y, m, d) || minutes < 0 || minutes > records::kMinutesPerDay) {
    return std::nullopt;
  }
  return DateTime::fromDate(y, m, d, static_cast<std::uint16_t>(minutes));
}

bool later(const DateTime& a, const DateTime& b) {
  if (a.packed() != b.packed()) return a.packed() > b.packed();
  return a.minutes > b.minutes;
}

void sortYears(std::vector<RainYear>& years) {
  std::stable_sort(years.begin(), years.end(),
                   [](const RainYear& a, const RainYear& b) { return a.year < b.year; });
}

}  // namespace

void RainYear::recomputeTotal() {
  double sum = 0.0;
  for (double m : months) {
    if (m >= 0) sum += m;
  }
  total = sum;
}

ParsedRainFile parseRainFile(std::string_view text) {
  ParsedRainFile parsed;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> f = fields(line);
    if (f.empty()) continue;
    auto note = [&](const std::string& reason) {
      parsed.dropped.push_back(viewText(64768, {std::to_string(lineNumber), reason}));
      if (parsed.unread.empty() || parsed.unread.back().number != lineNumber) {
        parsed.unread.push_back(RainLine{lineNumber, std::string(line), reason});
      }
    };
    RainYear entry;
    if (!parseInt(f[0], entry.year) || entry.year < kFirstYear || entry.year > kLastYear) {
      // Without a year nothing of the line has a place in the table: it goes back into
      // the file as it stands, so that no save loses what the user typed.
      note(viewText(64769, {f[0]}));
      parsed.verbatim.emplace_back(line);
      continue;
    }
    // Every month that reads is kept; the others have no data. The line is listed so
    // that the user learns which months were not taken.
    const std::size_t given = std::min<std::size_t>(f.size() - 1, kRainMonths);
    for (std::size_t m = 0; m < given; ++m) {
      double v = kRainNoData;
      if (parseFloat(f[m + 1], v)) {
        entry.months[m] = v;
      } else {
        note(viewText(64779, {f[m + 1]}));
      }
    }
    if (given < kRainMonths) {
      note(viewText(64783, {std::to_string(given)}));
    } else if (f.size() > 1 + kRainMonths) {
      note(viewText(64784));
    }
    entry.recomputeTotal();
    parsed.years.push_back(entry);
  }
  return parsed;
}

std::string formatRainFile(const std::vector<RainYear>& years,
                           const std::vector<std::string>& verbatim) {
  std::string out;
  out.reserve(years.size() * 100);
  for (const RainYear& y : years) {
    out += std::to_string(y.year);
    for (double m : y.months) {
      out += '\t';
      appendFixed3(out, m < 0 ? static_cast<double>(kRainNoData) : m);
    }
    out += '\n';
  }
  for (const std::string& line : verbatim) {
    out += line;
    out += '\n';
  }
  return out;
}

std::string rainLineMessage(const RainLine& line, const std::string& station) {
  const std::string format = platform::loadString(kUnreadLineText);
  const int n =
      std::snprintf(nullptr, 0, format.c_str(), line.number, station.c_str(), line.text.c_str());
  if (n <= 0) return line.text;
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(out.data(), out.size(), format.c_str(), line.number, station.c_str(),
                line.text.c_str());
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string RainDatabase::path() const { return platform::joinPath(dir_, kRainFileName); }

std::string RainDatabase::markPath() const { return platform::joinPath(dir_, kRainMarkFileName); }

int RainDatabase::load(const std::string& directory) {
  dir_ = directory;
  years_.clear();
  problems_.clear();
  unread_.clear();
  verbatim_.clear();
  countedThrough_.reset();
  loaded_ = false;
  auto text = fs_.readFile(path());
  if (!text) return kResultFailed;
  ParsedRainFile parsed = parseRainFile(*text);
  years_ = std::move(parsed.years);
  problems_ = std::move(parsed.dropped);
  unread_ = std::move(parsed.unread);
  verbatim_ = std::move(parsed.verbatim);
  sortYears(years_);
  if (fs_.exists(markPath())) {
    if (auto mark = fs_.readFile(markPath())) countedThrough_ = parseMark(*mark);
  }
  loaded_ = true;
  return kResultOk;
}

Status RainDatabase::saveStatus() {
  if (dir_.empty()) return Status::badArgument(viewText(64785));
  sortYears(years_);
  if (Status s = fs_.replaceFileAtomically(path(), formatRainFile(years_, verbatim_)); !s) return s;
  loaded_ = true;
  if (countedThrough_) {
    if (Status s = fs_.replaceFileAtomically(markPath(), formatMark(*countedThrough_)); !s) {
      return s;
    }
  }
  return Status::ok();
}

int RainDatabase::save() { return saveStatus() ? kResultOk : kResultFailed; }

int RainDatabase::close() {
  if (!loaded_) return kResultFailed;
  if (save() != kResultOk) return kResultFailed;
  years_.clear();
  verbatim_.clear();
  unread_.clear();
  loaded_ = false;
  return kResultOk;
}

void RainDatabase::replaceYears(std::vector<RainYear> years) {
  years_ = std::move(years);
  sortYears(years_);
}

int RainDatabase::findYear(int year) const {
  for (std::size_t i = 0; i < years_.size(); ++i) {
    if (years_[i].year == year) return static_cast<int>(i);
  }
  return -1;
}

double RainDatabase::getMonthValue(int yearIndex, int month, const quantities::Units& u) const {
  if (yearIndex < 0 || yearIndex >= yearCount() || month < 0 || month >= kRainMonths) {
    return kRainNoData;
  }
  const double v = years_[static_cast<std::size_t>(yearIndex)].months[month];
  if (v < 0) return kRainNoData;
  return millimetres(u) ? v * kMmPerInch : v;
}

int RainDatabase::setMonthValue(int yearIndex, int month, double value,
                                const quantities::Units& u) {
  if (yearIndex < 0 || yearIndex >= yearCount() || month < 0 || month >= kRainMonths ||
      !std::isfinite(value)) {
    return kResultFailed;
  }
  RainYear& y = years_[static_cast<std::size_t>(yearIndex)];
  y.months[month] = value >= 0 && millimetres(u) ? value / kMmPerInch : value;
  y.recomputeTotal();
  return kResultOk;
}

int RainDatabase::addToMonth(const DateTime& date, double amount, const quantities::Units& u) {
  const int index = findYear(date.year);
  if (index < 0 || date.month < 1 || date.month > kRainMonths || !std::isfinite(amount)) {
    return kResultFailed;
  }
  RainYear& y = years_[static_cast<std::size_t>(index)];
  double& m = y.months[date.month - 1];
  if (m < 0) return kResultFailed;
  m += millimetres(u) ? amount / kMmPerInch : amount;
  if (m < 0) m = 0;
  y.recomputeTotal();
  return kResultOk;
}

RainYear& RainDatabase::yearEntry(int year) {
  auto at = std::lower_bound(years_.begin(), years_.end(), year,
                             [](const RainYear& y, int want) { return y.year < want; });
  if (at != years_.end() && at->year == year) return *at;
  RainYear fresh;
  fresh.year = year;
  return *years_.insert(at, fresh);
}

void RainDatabase::addInches(int year, int month, double inches) {
  RainYear& y = yearEntry(year);
  double& m = y.months[static_cast<std::size_t>(month - 1)];
  m = m < 0 ? inches : m + inches;
  y.recomputeTotal();
}

int RainDatabase::AddArchiveRain(const WeatherDataObject& record,
                                 const quantities::ValueContext& ctx) {
  const DateTime day = filingDay(record.date);
  if (!isValidDate(day.year, day.month, day.day) || day.year > kLastYear) return kResultFailed;
  static const quantities::ResolvedCode kRain = quantities::resolveCode(kArchiveRainCode);
  const double inches = quantities::readValue(record.record, kRain, true, ctx);
  if (!countedThrough_ || later(record.date, *countedThrough_)) countedThrough_ = record.date;
  if (inches == kNoDataFloat || !std::isfinite(inches)) return kResultOk;
  addInches(day.year, day.month, inches);
  return kResultOk;
}

int RainDatabase::AddSummaryRain(const DailySummaryObject& summary) {
  const DateTime& day = summary.a.date;
  if (!isValidDate(day.year, day.month, day.day) || day.year > kLastYear) return kResultFailed;
  const double inches = summaryValue(summary, kDailyRainCode);
  if (inches == kNoDataFloat) return kResultOk;
  addInches(day.year, day.month, inches);
  return kResultOk;
}

int RainDatabase::addYear(const RainYear& entry, const quantities::Units& u) {
  if (entry.year < kFirstYear || entry.year > kLastYear || findYear(entry.year) >= 0) {
    return kResultFailed;
  }
  RainYear y = entry;
  for (double& m : y.months) {
    if (!std::isfinite(m)) return kResultFailed;
    if (m >= 0 && millimetres(u)) m /= kMmPerInch;
  }
  y.recomputeTotal();
  yearEntry(y.year) = y;
  return kResultOk;
}

int RainDatabase::deleteYear(int yearIndex) {
  if (yearIndex < 0 || yearIndex >= yearCount()) return kResultFailed;
  years_.erase(years_.begin() + yearIndex);
  return kResultOk;
}

int RainDatabase::getYear(int yearIndex) const {
  if (yearIndex < 0 || yearIndex >= yearCount()) return kResultFailed;
  return years_[static_cast<std::size_t>(yearIndex)].year;
}

void RainDatabase::recomputeTotals(int yearIndex) {
  if (yearIndex < 0 || yearIndex >= yearCount()) return;
  years_[static_cast<std::size_t>(yearIndex)].recomputeTotal();
}

void RainDatabase::recomputeAllTotals() {
  for (RainYear& y : years_) y.recomputeTotal();
  sortYears(years_);
}

RainStatistics RainDatabase::statistics(int column, const quantities::Units& u) const {
  RainStatistics st;
  if (column < 0 || column > kRainTotalColumn) return st;
  // The first value starts the minimum and maximum: fixed starting bounds would hide a
  // value beyond them.
  double lo = 0.0;
  double hi = 0.0;
  double sum = 0.0;
  int count = 0;
  for (const RainYear& y : years_) {
    double v;
    if (column == kRainTotalColumn) {
      if (!std::all_of(y.months.begin(), y.months.end(), [](double m) { return m >= 0; })) {
        continue;
      }
      v = y.total;
    } else {
      v = y.months[static_cast<std::size_t>(column)];
      if (v < 0) continue;
    }
    lo = count == 0 ? v : std::min(lo, v);
    hi = count == 0 ? v : std::max(hi, v);
    sum += v;
    ++count;
  }
  if (count == 0) return st;
  const double scale = millimetres(u) ? kMmPerInch : 1.0;
  st.minimum = lo * scale;
  st.maximum = hi * scale;
  st.average = sum / count * scale;
  return st;
}

}  // namespace database
