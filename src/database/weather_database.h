#pragma once

// The open database of one station: its month files, the table of months and the list
// of days with data, and every operation that reads or writes records. This is the only
// code that touches month files. One month file is open at a time.
//
// Two numberings address records: the full record number counts every record (summary
// records included) from 0 in the oldest month; the archive record number counts only
// archive records. Operations named as the host interface names them return its result
// codes (weather_objects.h); the rest return a Status.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "database/month_file.h"
#include "database/weather_objects.h"
#include "platform/file_system.h"

namespace database {

struct MonthEntry {
  int year = 0;
  int month = 0;
  std::string path;
  MonthHeader header;              // as on disk
  std::int64_t firstFull = 0;      // full record number of the month's first record
  std::int64_t summaryBefore = 0;  // summary records in the months before
  int days = 0;                    // days with data

  std::int64_t count() const { return header.recordCount; }
  std::int64_t lastFull() const { return firstFull + count() - 1; }
  std::int64_t summaryThrough() const { return summaryBefore + kSummaryRecordsPerDay * days; }
  std::int64_t archiveFirst() const { return firstFull - summaryBefore; }
  std::int64_t archiveCount() const { return count() - kSummaryRecordsPerDay * days; }
};

class WeatherDatabase {
 public:
  explicit WeatherDatabase(platform::FileSystem& fs);
  ~WeatherDatabase();
  WeatherDatabase(const WeatherDatabase&) = delete;
  WeatherDatabase& operator=(const WeatherDatabase&) = delete;

  // Opens a station directory. 0 when months were found; -2 when the directory holds no
  // month file or cannot be listed (the database is open and empty: appends create
  // months). A month file that cannot be opened, or whose header does not describe the
  // file, is left out, never rewritten, and named in problems().
  int open(const std::string& directory);
  // As open(), for views that only read: month files are opened read only, so a station
  // whose files may be read but not written (another user's, read-only media) is fully
  // readable. Nothing is written, not even a mended header (it is mended in memory and
  // named in problems()); every append, edit and delete fails with kBadArgument.
  int openReadOnly(const std::string& directory);
  bool readOnly() const { return readOnly_; }
  // Syncs and closes the open month file and forgets the station.
  platform::Status close();
  // Brings every append and edit so far to stable storage. Call it when a run of
  // appends ends (a download, a generated station).
  platform::Status flush();

  bool isOpen() const { return open_; }
  const std::string& directory() const { return dir_; }
  const std::vector<std::string>& problems() const { return problems_; }
  const std::vector<MonthEntry>& months() const { return months_; }
  // Packed dates (year << 16 | month << 8 | day) of the days with data, ascending.
  const std::vector<std::int32_t>& dayList() const { return days_; }
  std::int64_t fullRecordCount() const { return totalFull_; }

  // --- Queries -------------------------------------------------------------------------
  int NumberOfMonthsInDatabase() const;
  int NumberOfDaysInDatabase() const;
  // Archive records: all records minus the summary records.
  int NumberOfRecordsInDataBase() const;
  // 0, or -1601 when i is not below the number of months. Outputs may be null.
  int MonthInfo(int i, int* year, int* month) const;
  // 0, or -1601 when i is not below the number of days. Both counts receive the day's
  // records, summary records included. Outputs may be null.
  int DayInfo(int i, int* year, int* month, int* day, int* count, int* count2) const;
  // 0. The first date is that of the first archive record, the last that of the last
  // record; an empty database gives 1 January 1900 at 0:00. Outputs may be null.
  int GetFirstDate(int* year, int* month, int* day, int* hour, int* minute) const;
  int GetLastDate(int* year, int* month, int* day, int* hour, int* minute) const;
  int GetDateLastRead(int* year, int* month, int* day, int* hour, int* minute) const;
  const DateTime& firstDate() const { return firstDate_; }
  const DateTime& lastDate() const { return lastDate_; }
  const DateTime& dateLastRead() const { return currentDate_; }

  // --- Positioning and reading ---------------------------------------------------------
  // Full record number of the day's summary record A; -5 month not in the database;
  // -2 day without records; -1 the month file cannot be opened. GetNextRecord then
  // reads from the day's first record.
  int Goto(int month, int day, int year);
  // As Goto, but returns the day's number of records (summary records included).
  int GotoDay(int month, int day, int year);
  // Archive record number of the record closest to the moment (the later one on a tie);
  // -1 when the database holds no archive record or the date is not a calendar date.
  int GetClosestArchive(int year, int month, int day, int hour, int minute);
  // Reads archive record n. The date is the record's own day and time (1440 stays 1440).
  // 0, or -1.
  int GetRecord(WeatherDataObject& obj, int archiveNumber);
  // Reads the next record of the open month file (summary records included). A record
  // stamped 1440 carries the next day's date at 0:00. 0; -2 at the end of the file (it
  // does not continue into the next month); -1 on a read error or with no file open.
  int GetNextRecord(WeatherDataObject& obj);
  // Reads by full record number (summary records have time 0xFFFF). 0, or -1.
  int readFullRecord(std::int64_t fullNumber, WeatherDataObject& obj);
  // The archive record number of a full record number; a summary record maps to the
  // first archive record after it. -1 when out of range.
  std::int64_t archiveNumberOfFull(std::int64_t fullNumber) const;

  // --- Writing -------------------------------------------------------------------------
  // Appends an archive record under obj.date (time 0 files it under the previous day).
  // The day must already hold its summary records and be the last day of its month file;
  // a new month is created only after the last month. Refused otherwise (kBadArgument);
  // nothing changes when anything fails.
  platform::Status AppendArchiveRecord(const WeatherDataObject& obj);
  // Overwrites archive record n in place.
  platform::Status EditArchiveRecord(const WeatherDataObject& obj, int archiveNumber);
  // Stores a day's summary (the day of half A): overwrites the day's summary records,
  // or starts the day's block with them when the day has no records yet.
  platform::Status EditSummaryRecord(const DailySummaryObject& summary);
  // Loads a day's summary: 0, or -1 when the day has no summary.
  int GetDailySummary(DailySummaryObject& summary, int year, int month, int day);
  // As GetDailySummary for the i-th day with data; -1601 when i is out of range.
  int GetDailySummaryIndex(DailySummaryObject& summary, int dayIndex);

  // --- Deleting (each month file is rewritten whole, atomically) -------------------------
  // Removes an archive record; a day left without archive records is removed whole.
  platform::Status deleteRecord(int archiveNumber);
  platform::Status deleteDay(int month, int day, int year);
  platform::Status deleteMonth(int year, int month);
  platform::Status deleteYear(int year);

 private:
  struct Location {
    int monthIndex = -1;
    std::int64_t position = 0;  // record number within the month file
    int day = 0;
  };

  int findMonth(int year, int month) const;
  platform::Status openMonth(int index);
  platform::Status closeMonth();
  platform::Status readFileRecord(std::int64_t position, RecordBytes& out);
  void dropReadBuffer() { bufCount_ = 0; }
  void rebuildIndex();
  void refreshDates();
  void setCurrentDate(int day, const RecordBytes& record, bool sequential);
  bool locateArchive(std::int64_t archiveNumber, Location& where) const;
  bool locateFull(std::int64_t fullNumber, Location& where) const;
  int readAt(const Location& where, WeatherDataObject& obj);
  platform::Status appendRecords(const DateTime& date, std::span<const RecordBytes> records,
                                 bool startsDay);
  platform::Status overwrite(const Location& where, const RecordBytes& record);
  platform::Status removeRecords(int monthIndex, std::int64_t first, int count, int day,
                                 bool wholeDay);

  int openStation(const std::string& directory, bool readOnly);
  platform::Status refuseReadOnly() const;

  platform::FileSystem& fs_;
  bool open_ = false;
  bool readOnly_ = false;
  std::string dir_;
  std::vector<std::string> problems_;
  std::vector<MonthEntry> months_;
  std::vector<std::int32_t> days_;
  std::int64_t totalFull_ = 0;

  int openIndex_ = -1;
  std::unique_ptr<MonthFile> openFile_;
  std::int64_t position_ = 0;  // next record GetNextRecord reads
  int currentDay_ = 0;
  bool sequential_ = false;
  DateTime currentDate_;
  DateTime firstDate_;
  DateTime lastDate_;

  // Records are read a block at a time: one system call serves a run of GetNextRecord.
  std::vector<RecordBytes> buf_;
  std::int64_t bufFirst_ = 0;
  std::int64_t bufCount_ = 0;
};

}  // namespace database
