#pragma once

// The station's rain database, "rain.db": monthly rain totals per year, kept in memory in
// year order and saved as text, one line per year: the year and the rain of January to
// December in inches with three decimals, separated by tabs; -1.000 for a month without
// data. It holds rain history from before the station was logged (typed in by the user)
// and grows with every downloaded archive record.
//
// Values cross this interface in the user's rain unit (inches, or millimetres for
// millimetre users) except where a function says inches.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/weather_objects.h"
#include "platform/file_system.h"
#include "platform/status.h"
#include "quantities/record_values.h"
#include "quantities/units.h"

namespace database {

inline constexpr std::string_view kRainFileName = "rain.db";
// Beside rain.db: the date and time of the newest archive record its months count, one
// line "YYYY-MM-DD MMMM" (minutes after midnight). rain.db's own readers know nothing of
// it, so the year lines stay as they always were.
inline constexpr std::string_view kRainMarkFileName = "rain.db.mark";
inline constexpr int kRainMonths = 12;
inline constexpr int kRainTotalColumn = 12;  // statistics column of the annual total
inline constexpr double kRainNoData = -1.0;

struct RainYear {
  int year = 0;
  // Inches; any negative value means no data. Kept as doubles so that a month fed by
  // thousands of records does not drift in the third decimal the file shows.
  std::array<double, kRainMonths> months{kRainNoData, kRainNoData, kRainNoData, kRainNoData,
                                         kRainNoData, kRainNoData, kRainNoData, kRainNoData,
                                         kRainNoData, kRainNoData, kRainNoData, kRainNoData};
  double total = 0.0;  // sum of the months with data

  void recomputeTotal();
};

struct RainStatistics {
  double minimum = 0.0;
  double maximum = 0.0;
  double average = 0.0;
};

// A line of rain.db that was not read whole: its number (from 1), its text, and why.
struct RainLine {
  int number = 0;
  std::string text;
  std::string reason;
};

// The Spanish event-log line for a line not read whole, with the station's name.
std::string rainLineMessage(const RainLine& line, const std::string& station);

// The text of a rain.db as the table reads it. A line with a year (1 to 9999) gives its
// year with every month that reads (the others without data, -1); a line without one
// cannot be placed and is kept word for word, to be written back after the years.
struct ParsedRainFile {
  std::vector<RainYear> years;        // in file order
  std::vector<std::string> dropped;   // "line N: reason", one per fault
  std::vector<RainLine> unread;       // each line not read whole, once
  std::vector<std::string> verbatim;  // lines without a year, as they stood
};
ParsedRainFile parseRainFile(std::string_view text);
// The file text of the years, in the order given, then the verbatim lines.
std::string formatRainFile(const std::vector<RainYear>& years,
                           const std::vector<std::string>& verbatim = {});

class RainDatabase {
 public:
  explicit RainDatabase(platform::FileSystem& fs) : fs_(fs) {}

  // Reads "<directory>/rain.db". 0; -1 when it cannot be read (the table is then empty and
  // not loaded, and a later save creates the file). A line not read whole keeps what it
  // gave (see ParsedRainFile); such lines are listed in unreadLines() so that the program
  // can log them once, and each fault in problems().
  // The mark beside it is read too; a missing or unreadable mark leaves countedThrough()
  // empty.
  int load(const std::string& directory);
  // Replaces the file with every year, in year order, so that a crash leaves the old file
  // or the new one whole, then the mark when one is known: a crash between the two leaves
  // the mark behind the months, never ahead of them. Sets the loaded flag. -1 when it
  // cannot be written (or no directory is known).
  int save();
  platform::Status saveStatus();
  // When loaded: save, then empty the table. -1 when not loaded (or the save failed).
  int close();

  bool loaded() const { return loaded_; }
  const std::string& directory() const { return dir_; }
  void setDirectory(const std::string& directory) { dir_ = directory; }
  std::string path() const;
  std::string markPath() const;
  // The newest archive record whose rain the months count; empty when not known (a table
  // from before the mark was kept, or one typed in by hand).
  const std::optional<DateTime>& countedThrough() const { return countedThrough_; }
  void setCountedThrough(const std::optional<DateTime>& when) { countedThrough_ = when; }
  const std::vector<RainYear>& years() const { return years_; }
  const std::vector<std::string>& problems() const { return problems_; }
  const std::vector<RainLine>& unreadLines() const { return unread_; }
  // Lines without a year, written back after the years by every save.
  const std::vector<std::string>& verbatimLines() const { return verbatim_; }
  int yearCount() const { return static_cast<int>(years_.size()); }
  // Empties the table (the file is untouched until the next save).
  void clear() { years_.clear(); }
  // Puts these years in place of the table's, in year order.
  void replaceYears(std::vector<RainYear> years);
  platform::FileSystem& fileSystem() const { return fs_; }
  // Index of the year's entry, or -1.
  int findYear(int year) const;

  // The month's rain (month 0 to 11) in user units; -1.0 for a bad index or no data.
  double getMonthValue(int yearIndex, int month, const quantities::Units& units) const;
  // Stores a value in user units (a negative value marks the month as without data).
  // 0, or -1 for a bad index or a value that is not finite.
  int setMonthValue(int yearIndex, int month, double value, const quantities::Units& units);
  // Adds an amount in user units to the month of the date's year; a result below 0
  // becomes 0. -1 when the year is absent or the month has no data.
  int addToMonth(const DateTime& date, double amount, const quantities::Units& units);
  // Adds an archive record's rain to the month it belongs to (a record at 0:00 closes
  // the day before), creating its year when missing, and moves countedThrough() up to it.
  // 0; -1 for a record without a date.
  int AddArchiveRain(const WeatherDataObject& record, const quantities::ValueContext& ctx);
  // The same with a day's rain total from its summary.
  int AddSummaryRain(const DailySummaryObject& summary);
  // Adds a year given in user units, in year order. 0; -1 when the year is already in
  // the table (it would shadow the other entry) or a value is not finite.
  int addYear(const RainYear& entry, const quantities::Units& units);
  // 0, or -1 for a bad index.
  int deleteYear(int yearIndex);
  // The year number, or -1 for a bad index.
  int getYear(int yearIndex) const;
  // Recomputes the annual total of one year, or of all years (which also re-sorts).
  void recomputeTotals(int yearIndex);
  void recomputeAllTotals();
  // Minimum, maximum and average of a column (months 0 to 11, 12 the annual total) over
  // the years with data in it, in user units; a year's total counts only when all its
  // months have data. All 0 for a column without values or a bad column.
  RainStatistics statistics(int column, const quantities::Units& units) const;

 private:
  // The year's entry, created (in year order) when missing.
  RainYear& yearEntry(int year);
  void addInches(int year, int month, double inches);

  platform::FileSystem& fs_;
  std::string dir_;
  std::vector<RainYear> years_;
  std::vector<std::string> problems_;
  std::vector<RainLine> unread_;
  std::vector<std::string> verbatim_;
  std::optional<DateTime> countedThrough_;
  bool loaded_ = false;
};

}  // namespace database
