#include "database/summary_keeper.h"

#include "database/daily_summary.h"
#include "database/summary_rebuild.h"

namespace database {

using platform::Status;

DaySummaryKeeper::DaySummaryKeeper(WeatherDatabase& db, const quantities::ValueContext& ctx)
    : db_(db), ctx_(ctx) {}

Status DaySummaryKeeper::prime() {
  if (db_.NumberOfRecordsInDataBase() <= 0) return Status::ok();
  // The newest record's own day: a record at 1440 closes its day, and the last date is
  // taken as stored (never advanced to the next day).
  return takeUp(filingDay(db_.lastDate()));
}

Status DaySummaryKeeper::takeUp(const DateTime& day) {
  hasDay_ = false;
  if (Status s = summarizeStoredDay(db_, day, summary_, ctx_); !s) return s;
  if (db_.GotoDay(day.month, day.day, day.year) < 0) {
    // New to the database: its block starts with the reset summary.
    if (Status s = db_.EditSummaryRecord(summary_); !s) return s;
  }
  hasDay_ = true;
  return Status::ok();
}

Status DaySummaryKeeper::beginRecord(const WeatherDataObject& record) {
  const DateTime day = filingDay(record.date);
  if (hasDay_ && summary_.a.date.packed() == day.packed()) return Status::ok();
  if (Status s = finish(); !s) return s;
  return takeUp(day);
}

void DaySummaryKeeper::addRecord(const WeatherDataObject& record) {
  if (!hasDay_) return;
  (void)SummarizeDataRecord(summary_, record, ctx_);
}

Status DaySummaryKeeper::finish() {
  if (!hasDay_) return Status::ok();
  DailySummaryObject done = summary_;
  (void)FinalSummarizeData(done);
  if (Status s = db_.EditSummaryRecord(done); !s) return s;
  return Status::ok();
}

}  // namespace database
