#include "frame/user_conventions.h"

#include "platform/intl_settings.h"

namespace frame {

namespace {

// The only layout of progdata.dat whose unit bytes mean what they say.
constexpr std::uint16_t kSettingsLayout = 1;

}  // namespace

quantities::UserConventions conventionsFrom(const ProgramSettings& settings,
                                            platform::FileSystem& files,
                                            const std::string& programDir) {
  quantities::UserConventions c;
  applyUnits(settings, c.units);
  if (auto intl = platform::readIntlSettings(files, programDir)) c.intl = *intl;
  return c;
}

quantities::UserConventions readUserConventions(platform::FileSystem& files,
                                                const std::string& programDir) {
  auto settings =
      readProgramSettings(files, platform::joinPath(programDir, kProgramSettingsFileName));
  if (settings && settings->layoutVersion() == kSettingsLayout) {
    return conventionsFrom(*settings, files, programDir);
  }
  return conventionsFrom(ProgramSettings(), files, programDir);
}

}  // namespace frame
