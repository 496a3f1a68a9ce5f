#pragma once

// The database stores the month-file records and speaks their names as its own: inside
// namespace database, ArchiveRecord, DateTime and the field offsets need no qualification.

#include "records/month_format.h"

namespace database {
using namespace ::records;  // NOLINT(google-build-using-namespace)
}  // namespace database
