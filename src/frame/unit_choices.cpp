#include "frame/unit_choices.h"

#include <array>
#include <vector>

#include "frame/messages.h"
#include "frame/program_settings.h"
#include "platform/string_table.h"

namespace frame {

namespace {

using Names = std::vector<std::string_view>;

const Names kTemperature = {"F", "C"};
const Names kBarometer = {"inHg", "mm", "mb", "hPa"};
const Names kWind = {"mph", "knots", "kmh", "ms"};
const Names kRain = {"in", "mm"};
const Names kElevation = {"m", "ft"};

platform::Status pick(const std::optional<std::string>& choice, const Names& names,
                      const char* what, std::uint8_t& code) {
  if (!choice) return platform::Status::ok();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (*choice == names[i]) {
      code = static_cast<std::uint8_t>(i);
      return platform::Status::ok();
    }
  }
  std::string known;
  for (std::string_view n : names) known += (known.empty() ? "" : ", ") + std::string(n);
  constexpr int kMsgUnknownUnit = 65395;
  return platform::Status::badArgument(
      fillText(platform::loadString(kMsgUnknownUnit), {*choice, what, known}));
}

platform::Result<ProgramSettings> readSettings(platform::FileSystem& files,
                                               const std::string& path) {
  if (!files.exists(path)) return ProgramSettings();
  return readProgramSettings(files, path);
}

std::string nameOf(const Names& names, std::uint8_t code) {
  return code < names.size() ? std::string(names[code]) : "code " + std::to_string(code);
}

}  // namespace

platform::Status applyUnitChoices(platform::FileSystem& files, const std::string& programDir,
                                  const UnitChoices& choices) {
  const std::string path = platform::joinPath(programDir, kProgramSettingsFileName);
  auto settings = readSettings(files, path);
  if (!settings.isOk()) return settings.status();
  UnitCodes units = settings->unitCodes();
  if (platform::Status s =
          pick(choices.temperature, kTemperature, "--temperature-unit", units.temperature);
      !s.isOk())
    return s;
  if (platform::Status s = pick(choices.barometer, kBarometer, "--barometer-unit", units.barometer);
      !s.isOk())
    return s;
  if (platform::Status s = pick(choices.wind, kWind, "--wind-unit", units.windSpeed); !s.isOk())
    return s;
  if (platform::Status s = pick(choices.rain, kRain, "--rain-unit", units.rain); !s.isOk())
    return s;
  if (platform::Status s = pick(choices.elevation, kElevation, "--elevation-unit", units.elevation);
      !s.isOk())
    return s;
  settings->setUnitCodes(units);
  return settings->save(files, path);
}

platform::Result<std::string> describeUnits(platform::FileSystem& files,
                                            const std::string& programDir) {
  auto settings = readSettings(files, platform::joinPath(programDir, kProgramSettingsFileName));
  if (!settings.isOk()) return settings.status();
  const UnitCodes u = settings->unitCodes();
  constexpr int kMsgUnitsInForce = 65325;
  return fillText(
      platform::loadString(kMsgUnitsInForce),
      {nameOf(kTemperature, u.temperature), nameOf(kBarometer, u.barometer),
       nameOf(kWind, u.windSpeed), nameOf(kRain, u.rain), nameOf(kElevation, u.elevation)});
}

}  // namespace frame
