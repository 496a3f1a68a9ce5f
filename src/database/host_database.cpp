#include "database/host_database.h"

#include <cstdio>

namespace database {

HostDatabase::HostDatabase()
    : databases_(kDatabaseHandleKind, lastError_),
      weatherData_(kWeatherDataHandleKind, lastError_),
      dailySummaries_(kDailySummaryHandleKind, lastError_) {}

WeatherDatabase* HostDatabase::database(int handle) {
  if (!databases_.find(handle)) return nullptr;
  if (!db_ || !db_->isOpen()) {
    lastError_ = kLastErrorBadState;
    return nullptr;
  }
  return db_;
}

int HostDatabase::GetDatabaseHandle() {
  if (!db_ || !db_->isOpen()) return -1;
  return databases_.create();
}
int HostDatabase::DestroyDatabaseHandle(int handle) { return databases_.destroy(handle); }
int HostDatabase::GetWeatherDataHandle() { return weatherData_.create(); }
int HostDatabase::DestroyWeatherDataHandle(int handle) { return weatherData_.destroy(handle); }
int HostDatabase::GetDailySummaryHandle() { return dailySummaries_.create(); }
int HostDatabase::DestroyDailySummaryHandle(int handle) { return dailySummaries_.destroy(handle); }

int HostDatabase::NumberOfMonthsInDatabase(int db) {
  WeatherDatabase* d = database(db);
  return d ? d->NumberOfMonthsInDatabase() : kResultBadHandle;
}

int HostDatabase::NumberOfDaysInDatabase(int db) {
  WeatherDatabase* d = database(db);
  return d ? d->NumberOfDaysInDatabase() : kResultBadHandle;
}

int HostDatabase::NumberOfRecordsInDataBase(int db) {
  WeatherDatabase* d = database(db);
  return d ? d->NumberOfRecordsInDataBase() : kResultBadHandle;
}

int HostDatabase::MonthInfo(int db, int index, int* year, int* month) {
  WeatherDatabase* d = database(db);
  return d ? d->MonthInfo(index, year, month) : kResultBadHandle;
}

int HostDatabase::DayInfo(int db, int index, int* year, int* month, int* day, int* count,
                          int* count2) {
  WeatherDatabase* d = database(db);
  return d ? d->DayInfo(index, year, month, day, count, count2) : kResultBadHandle;
}

int HostDatabase::GetFirstDate(int db, int* year, int* month, int* day, int* hour, int* minute) {
  WeatherDatabase* d = database(db);
  return d ? d->GetFirstDate(year, month, day, hour, minute) : kResultBadHandle;
}

int HostDatabase::GetLastDate(int db, int* year, int* month, int* day, int* hour, int* minute) {
  WeatherDatabase* d = database(db);
  return d ? d->GetLastDate(year, month, day, hour, minute) : kResultBadHandle;
}

int HostDatabase::GetDateLastRead(int db, int* year, int* month, int* day, int* hour, int* minute) {
  WeatherDatabase* d = database(db);
  return d ? d->GetDateLastRead(year, month, day, hour, minute) : kResultBadHandle;
}

int HostDatabase::Goto(int db, int month, int day, int year) {
  WeatherDatabase* d = database(db);
  return d ? d->Goto(month, day, year) : kResultBadHandle;
}

int HostDatabase::GotoDay(int db, int month, int day, int year) {
  WeatherDatabase* d = database(db);
  return d ? d->GotoDay(month, day, year) : kResultBadHandle;
}

int HostDatabase::GetClosestArchive(int db, int year, int month, int day, int hour, int minute) {
  WeatherDatabase* d = database(db);
  return d ? d->GetClosestArchive(year, month, day, hour, minute) : kResultBadHandle;
}

int HostDatabase::GetRecord(int db, int weatherData, int archiveNumber) {
  WeatherDatabase* d = database(db);
  WeatherDataObject* o = d ? weatherData_.find(weatherData) : nullptr;
  return o ? d->GetRecord(*o, archiveNumber) : kResultBadHandle;
}

int HostDatabase::GetNextRecord(int db, int weatherData) {
  WeatherDatabase* d = database(db);
  WeatherDataObject* o = d ? weatherData_.find(weatherData) : nullptr;
  return o ? d->GetNextRecord(*o) : kResultBadHandle;
}

int HostDatabase::GetRecordType(int weatherData) {
  WeatherDataObject* o = weatherData_.find(weatherData);
  return o ? o->record.type() : kResultBadHandle;
}

int HostDatabase::EditArchiveRecord(int db, int weatherData, int archiveNumber) {
  WeatherDatabase* d = database(db);
  WeatherDataObject* o = d ? weatherData_.find(weatherData) : nullptr;
  if (!o) return kResultBadHandle;
  if (archiveNumber < 0 || archiveNumber >= d->NumberOfRecordsInDataBase()) {
    return kResultBadArgument;
  }
  return d->EditArchiveRecord(*o, archiveNumber) ? kResultOk : kResultBadArgument;
}

int HostDatabase::AppendArchiveRecord(int db, int weatherData, const char* directory) {
  WeatherDatabase* d = database(db);
  WeatherDataObject* o = d ? weatherData_.find(weatherData) : nullptr;
  if (!o) return kResultBadHandle;
  if (!directory) return kResultBadArgument;
  return d->AppendArchiveRecord(*o) ? kResultOk : kResultBadArgument;
}

int HostDatabase::EditSummaryRecord(int db, int dailySummary) {
  WeatherDatabase* d = database(db);
  DailySummaryObject* o = d ? dailySummaries_.find(dailySummary) : nullptr;
  if (!o) return kResultBadHandle;
  return d->EditSummaryRecord(*o) ? kResultOk : kResultBadArgument;
}

int HostDatabase::AppendSummaryRecord(int db, int dailySummary, const char* directory) {
  WeatherDatabase* d = database(db);
  DailySummaryObject* o = d ? dailySummaries_.find(dailySummary) : nullptr;
  if (!o) return kResultBadHandle;
  if (!directory) return kResultBadArgument;
  return d->EditSummaryRecord(*o) ? kResultOk : kResultBadArgument;
}

int HostDatabase::GetDailySummary(int db, int dailySummary, int year, int month, int day) {
  WeatherDatabase* d = database(db);
  DailySummaryObject* o = d ? dailySummaries_.find(dailySummary) : nullptr;
  return o ? d->GetDailySummary(*o, year, month, day) : kResultBadHandle;
}

int HostDatabase::GetDailySummaryIndex(int db, int dailySummary, int dayIndex) {
  WeatherDatabase* d = database(db);
  DailySummaryObject* o = d ? dailySummaries_.find(dailySummary) : nullptr;
  return o ? d->GetDailySummaryIndex(*o, dayIndex) : kResultBadHandle;
}

int HostDatabase::GetRecordPackedTime(int weatherData, int* value) {
  WeatherDataObject* o = weatherData_.find(weatherData);
  if (!o) return kResultBadHandle;
  if (!value) return kResultBadArgument;
  *value = o->record.i16(kArcTime);
  return kResultOk;
}

int HostDatabase::SetRecordDate(int weatherData, int month, int day, int year) {
  WeatherDataObject* o = weatherData_.find(weatherData);
  if (!o) return kResultBadHandle;
  o->date.setDate(year, month, day);
  return kResultOk;
}

int HostDatabase::GetNoteStatus(int weatherData) {
  WeatherDataObject* o = weatherData_.find(weatherData);
  if (!o) return kResultBadHandle;
  return (o->record.u8(kArcFlags) & kArcFlagNote) ? 1 : 0;
}

int HostDatabase::SetNoteStatus(int weatherData, int flag) {
  WeatherDataObject* o = weatherData_.find(weatherData);
  if (!o) return kResultBadHandle;
  const std::uint8_t flags = o->record.u8(kArcFlags);
  o->record.setU8(kArcFlags,
                  static_cast<std::uint8_t>(flag ? flags | kArcFlagNote : flags & ~kArcFlagNote));
  return kResultOk;
}

int HostDatabase::GetNoteFileName(int weatherData, std::string* name) {
  WeatherDataObject* o = weatherData_.find(weatherData);
  if (!o) return kResultBadHandle;
  if (!name) return kResultBadArgument;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%04d.NOTE", o->date.year, o->date.month, o->date.day,
                o->date.minutes);
  *name = buf;
  return kResultOk;
}

int HostDatabase::GetRecordEditStatus(int weatherData, int* value) {
  WeatherDataObject* o = weatherData_.find(weatherData);
  if (!o) return kResultBadHandle;
  if (!value) return kResultBadArgument;
  *value = (o->record.u8(kArcFlags) & kArcFlagEdited) ? 1 : 0;
  return kResultOk;
}

int HostDatabase::SetRecordEditStatus(int weatherData, int flag) {
  WeatherDataObject* o = weatherData_.find(weatherData);
  if (!o) return kResultBadHandle;
  const std::uint8_t flags = o->record.u8(kArcFlags);
  o->record.setU8(kArcFlags, static_cast<std::uint8_t>(flag ? flags | kArcFlagEdited
                                                            : flags & ~kArcFlagEdited));
  return 1;
}

}  // namespace database
