#pragma once

// The daily summary as a download keeps it: the download hands over each archive record
// before and after appending it, and the keeper stores the day's summary records when a
// day starts and its finished summary when the day (or the download) ends.
//
//   DaySummaryKeeper keeper(db, ctx);
//   keeper.prime();                          // continue the newest stored day
//   for each new record r:
//     keeper.beginRecord(r);                 // the day's block exists afterwards
//     db.AppendArchiveRecord(r);
//     keeper.addRecord(r);                   // only once r is stored
//   keeper.finish();
//
// A day that already holds records (a second download on the same day) is taken up by
// re-reading its stored records, so its averages and totals stay complete.

#include "database/weather_database.h"
#include "platform/status.h"
#include "quantities/record_values.h"

namespace database {

class DaySummaryKeeper {
 public:
  // Both must outlive the keeper.
  DaySummaryKeeper(WeatherDatabase& db, const quantities::ValueContext& ctx);

  // Takes up the day of the newest record in the database, if any.
  platform::Status prime();
  // Makes the record's day the current one: the day in progress is completed and stored,
  // and a day new to the database gets its summary records. A record of the current day
  // changes nothing.
  platform::Status beginRecord(const WeatherDataObject& record);
  // Adds a record that was appended to the current day.
  void addRecord(const WeatherDataObject& record);
  // Completes and stores the day in progress. Nothing to do without one.
  platform::Status finish();

  const DailySummaryObject& summary() const { return summary_; }
  bool hasDay() const { return hasDay_; }

 private:
  platform::Status takeUp(const DateTime& day);

  WeatherDatabase& db_;
  const quantities::ValueContext& ctx_;
  DailySummaryObject summary_;
  bool hasDay_ = false;
};

}  // namespace database
