#pragma once

#include <string>

#include "frame/program_settings.h"
#include "platform/file_system.h"
#include "quantities/user_conventions.h"

namespace frame {

// The one reading of the user's conventions: the display units of a program-settings
// record and the date and time conventions of intl.ini in `programDir`. An unreadable
// intl.ini gives the default conventions.
quantities::UserConventions conventionsFrom(const ProgramSettings& settings,
                                            platform::FileSystem& files,
                                            const std::string& programDir);

// The same for a command that only reads: progdata.dat and intl.ini as they stand, neither
// ever created or changed. A progdata.dat that is missing, unreadable, of the wrong size or
// of another layout gives the default units (the program replaces such a file with the
// defaults at its next start).
quantities::UserConventions readUserConventions(platform::FileSystem& files,
                                                const std::string& programDir);

}  // namespace frame
