#include "reports/noaa_setup.h"

#include <charconv>
#include <cmath>
#include <tuple>

#include "platform/string_table.h"
#include "quantities/text_format.h"
#include "reports/report_format.h"
#include "reports/report_text_ids.h"

namespace reports {

namespace {

constexpr float kNormalTempCleared = -32768.0F;
constexpr float kNormalRainCleared = -1.0F;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<double> number(std::string_view text) {
  const std::string_view t = trimmed(text);
  double v = 0;
  const char* first = t.data();
  if (!t.empty() && t.front() == '+') ++first;
  const auto [end, ec] = std::from_chars(first, t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return v;
}

std::optional<long long> integer(std::string_view text) {
  const std::string_view t = trimmed(text);
  long long v = 0;
  const char* first = t.data();
  if (!t.empty() && t.front() == '+') ++first;
  const auto [end, ec] = std::from_chars(first, t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return v;
}

platform::Status refuse(int id, std::initializer_list<FormatArg> args) {
  return platform::Status::badArgument(formatLine(platform::stringText(id), args));
}

platform::Status checkLength(const std::optional<std::string>& v, int labelId,
                             std::size_t maxCharacters) {
  if (!v || quantities::characterCount(*v) <= maxCharacters) return platform::Status::ok();
  return refuse(kMsgTextTooLong,
                {platform::stringText(labelId), static_cast<long long>(maxCharacters)});
}

platform::Status base(const std::optional<std::string>& text, int missingId, int invalidId,
                      const quantities::Units& units, std::optional<double>& out) {
  if (!text) return platform::Status::ok();
  if (trimmed(*text).empty()) return refuse(missingId, {});
  const auto v = number(*text);
  if (!v) return refuse(invalidId, {std::string_view(*text)});
  out = units.ConvertTemp(*v, 1);
  return platform::Status::ok();
}

std::string temperature(float f, const quantities::Units& u) {
  if (!std::isfinite(f) || f == kNormalTempCleared) return std::string(quantities::kDash3);
  return quantities::fixedText(u.ConvertTemp(f, 0), 1);
}

std::string rain(float inches, const quantities::Units& u) {
  if (!std::isfinite(inches) || inches < 0) return std::string(quantities::kDash3);
  return quantities::fixedText(u.ConvertRain(inches, 0),
                               u.GetRainUnit() == quantities::kMillimetres ? 1 : 2);
}

}  // namespace

platform::Status applyNoaaSetup(station::StationConfig& config, const NoaaSetupChanges& c,
                                const quantities::Units& units) {
  for (const auto& [value, label, limit] :
       {std::tuple{&c.city, kLabelCity, station::layout::kNoaaCity.maxLength},
        std::tuple{&c.state, kLabelState, station::layout::kNoaaState.maxLength},
        std::tuple{&c.elevation, kLabelElevation, station::layout::kNoaaElevationText.maxLength},
        std::tuple{&c.latText, kLabelLatitude, station::layout::kNoaaLatText.maxLength},
        std::tuple{&c.lonText, kLabelLongitude, station::layout::kNoaaLonText.maxLength}}) {
    if (platform::Status s = checkLength(*value, label, limit); !s) return s;
  }
  std::optional<double> heat, cool;
  if (auto s = base(c.heatBase, kMsgHeatBaseMissing, kMsgHeatBaseInvalid, units, heat); !s)
    return s;
  if (auto s = base(c.coolBase, kMsgCoolBaseMissing, kMsgCoolBaseInvalid, units, cool); !s)
    return s;

  std::vector<std::pair<std::size_t, float>> temps, rains;
  for (const auto& [month, text] : c.normalTemps) {
    float stored = kNormalTempCleared;
    if (!trimmed(text).empty()) {
      const auto v = number(text);
      if (!v)
        return refuse(kMsgNormalTempInvalid,
                      {std::string_view(text), static_cast<long long>(month)});
      stored = static_cast<float>(units.ConvertTemp(*v, 1));
    }
    if (month < 1 || month > 12)
      return refuse(kMsgNormalTempInvalid, {std::string_view(text), static_cast<long long>(month)});
    temps.emplace_back(static_cast<std::size_t>(month - 1), stored);
  }
  for (const auto& [month, text] : c.normalRains) {
    float stored = kNormalRainCleared;
    if (!trimmed(text).empty()) {
      const auto v = number(text);
      if (!v)
        return refuse(kMsgNormalRainInvalid,
                      {std::string_view(text), static_cast<long long>(month)});
      stored = static_cast<float>(units.ConvertRain(*v, 1));
    }
    if (month < 1 || month > 12)
      return refuse(kMsgNormalRainInvalid, {std::string_view(text), static_cast<long long>(month)});
    rains.emplace_back(static_cast<std::size_t>(month - 1), stored);
  }
  std::optional<std::int16_t> feet;
  if (c.elevation) {
    const auto v = integer(*c.elevation);
    if (!v || *v < -1000000 || *v > 1000000) return refuse(kMsgElevationInvalid, {});
    const long long f = units.ConvertElevation(static_cast<int>(*v), 1);
    if (f < -32768 || f > 32767) return refuse(kMsgElevationInvalid, {});
    feet = static_cast<std::int16_t>(f);
  }

  station::StationConfig next = config;
  if (c.integration) next.setNoaaDegreeDayMethod(*c.integration ? 1 : 0);
  if (c.city) next.setNoaaCity(*c.city);
  if (c.state) next.setNoaaState(*c.state);
  if (c.elevation) next.setNoaaElevationText(std::string(trimmed(*c.elevation)));
  if (c.latText) next.setNoaaLatText(*c.latText);
  if (c.lonText) next.setNoaaLonText(*c.lonText);
  if (heat) next.setHeatBase(static_cast<float>(*heat));
  if (cool) next.setCoolBase(static_cast<float>(*cool));
  for (const auto& [m, v] : temps) next.setNormalTemp(m, v);
  for (const auto& [m, v] : rains) next.setNormalRain(m, v);
  if (feet) next.setElevation(*feet);
  config = next;
  return platform::Status::ok();
}

std::string describeNoaaSetup(const station::StationConfig& config, const quantities::Units& u) {
  auto label = [](int id) { return std::string(platform::stringText(id)); };
  std::string out = label(kTitleNoaaSetup) + "\n";
  out += label(kLabelCity) + ": " + config.noaaCity() + "\n";
  out += label(kLabelState) + ": " + config.noaaState() + "\n";
  out += label(kLabelElevation) + ": " + std::to_string(u.ConvertElevation(config.elevation(), 0)) +
         " " + u.elevUnitText() + "\n";
  out += label(kLabelLatitude) + ": " + config.noaaLatText() + "\n";
  out += label(kLabelLongitude) + ": " + config.noaaLonText() + "\n";
  out += label(kLabelHeatBase) + ": " + temperature(config.heatBase(), u) + " " + u.tempUnitText() +
         "\n";
  out += label(kLabelCoolBase) + ": " + temperature(config.coolBase(), u) + " " + u.tempUnitText() +
         "\n";
  out += label(kLabelMethod) + ": " +
         std::string(trimmed(platform::stringText(
             config.noaaDegreeDayMethod() == 1 ? kNoaaMethodIntegration : kNoaaMethodMaxMin)));
  if (!out.empty() && out.back() != '\n') out += "\n";
  for (std::size_t m = 0; m < 12; ++m) {
    out += label(kLabelNormalTemp) + " " + std::to_string(m + 1) + ": " +
           temperature(config.normalTemp(m), u) + "\n";
  }
  for (std::size_t m = 0; m < 12; ++m) {
    out += label(kLabelNormalRain) + " " + std::to_string(m + 1) + ": " +
           rain(config.normalRain(m), u) + "\n";
  }
  return out;
}

}  // namespace reports
