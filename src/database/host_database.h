#pragma once

// The database operations as modules call them: by handle, with integer results.
// -1600 for a handle that is not valid, -1601 for a bad argument or a failed operation,
// other codes as each operation lists. The exported C functions forward here unchanged.

#include <string>

#include "database/handle_table.h"
#include "database/weather_database.h"

namespace database {

// A database handle refers to whatever station database is open when it is used.
struct DatabaseHandleObject {};

class HostDatabase {
 public:
  HostDatabase();

  // The program's open station database, or null. Not owned.
  void setDatabase(WeatherDatabase* db) { db_ = db; }
  // The last-error value of the most recent handle lookup (0, 6 or 1609).
  int lastError() const { return lastError_; }

  // Objects behind handles, for the value accessors of other parts; null when invalid.
  WeatherDataObject* weatherData(int handle) { return weatherData_.find(handle); }
  DailySummaryObject* dailySummary(int handle) { return dailySummaries_.find(handle); }

  int GetDatabaseHandle();
  int DestroyDatabaseHandle(int handle);
  int GetWeatherDataHandle();
  int DestroyWeatherDataHandle(int handle);
  int GetDailySummaryHandle();
  int DestroyDailySummaryHandle(int handle);

  int NumberOfMonthsInDatabase(int db);
  int NumberOfDaysInDatabase(int db);
  int NumberOfRecordsInDataBase(int db);
  int MonthInfo(int db, int index, int* year, int* month);
  int DayInfo(int db, int index, int* year, int* month, int* day, int* count, int* count2);
  int GetFirstDate(int db, int* year, int* month, int* day, int* hour, int* minute);
  int GetLastDate(int db, int* year, int* month, int* day, int* hour, int* minute);
  int GetDateLastRead(int db, int* year, int* month, int* day, int* hour, int* minute);

  int Goto(int db, int month, int day, int year);
  int GotoDay(int db, int month, int day, int year);
  int GetClosestArchive(int db, int year, int month, int day, int hour, int minute);
  int GetRecord(int db, int weatherData, int archiveNumber);
  int GetNextRecord(int db, int weatherData);
  int GetRecordType(int weatherData);

  int EditArchiveRecord(int db, int weatherData, int archiveNumber);
  // `directory` must not be null; the month files always go to the station directory,
  // where the next open finds them.
  int AppendArchiveRecord(int db, int weatherData, const char* directory);
  int EditSummaryRecord(int db, int dailySummary);
  int AppendSummaryRecord(int db, int dailySummary, const char* directory);
  int GetDailySummary(int db, int dailySummary, int year, int month, int day);
  int GetDailySummaryIndex(int db, int dailySummary, int dayIndex);

  int GetRecordPackedTime(int weatherData, int* value);
  int SetRecordDate(int weatherData, int month, int day, int year);
  int GetNoteStatus(int weatherData);
  int SetNoteStatus(int weatherData, int flag);
  // "%04d%02d%02d%04d.NOTE" from the object's date and minutes.
  int GetNoteFileName(int weatherData, std::string* name);
  int GetRecordEditStatus(int weatherData, int* value);
  int SetRecordEditStatus(int weatherData, int flag);

 private:
  WeatherDatabase* database(int handle);

  WeatherDatabase* db_ = nullptr;
  int lastError_ = 0;
  HandleTable<DatabaseHandleObject> databases_;
  HandleTable<WeatherDataObject> weatherData_;
  HandleTable<DailySummaryObject> dailySummaries_;
};

}  // namespace database
