#pragma once

#include <string>

#include "frame/event_log.h"
#include "platform/file_system.h"

namespace frame {

// The user's date and time conventions from intl.ini in the program directory, section
// [intl], keys iDate (0 month-day-year, 1 day-month-year, 2 year-month-day), sDate,
// iTime (0 12-hour, 1 24-hour) and sTime. A missing file or key, or a value that makes
// no sense, keeps the default (iDate=1, sDate=/, iTime=1, sTime=:).
LogDateStyle readIntlSettings(platform::FileSystem& files, const std::string& programDirectory);

}  // namespace frame
