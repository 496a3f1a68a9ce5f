#pragma once

// Records as text for people, "---" for no data. describeRecord dumps every stored field
// in the internal units (tenths of °F as "72.5 F", inches of mercury, miles per hour,
// inches of rain), for looking at the bytes of a month file; the day listing lines show
// the user's units.

#include <optional>
#include <string>
#include <string_view>

#include "database/record_names.h"
#include "quantities/record_values.h"

namespace database {

// "2006-03-15 14:30" (or "2006-03-15" when the date has no time).
std::string dateTimeText(const DateTime& date);

// "YYYY-MM-DD", optionally followed by " HH:MM" (or "THH:MM"); nullopt for anything
// else or a day that is not in the calendar. Without a time the minutes are 0xFFFF.
std::optional<DateTime> parseDateTimeText(std::string_view text);

// Every field of the record, one "name: value" line each. Chooses the layout by the
// record's type byte (archive record, summary record A or B).
std::string describeRecord(const Record88& record, const DateTime& date);

// One line per archive record for a day listing, in the user's units, and its heading.
std::string recordLineHeading();
std::string recordLine(const ArchiveRecord& record, const quantities::ValueContext& ctx);

}  // namespace database
