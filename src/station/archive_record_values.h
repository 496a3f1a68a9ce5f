#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "database/weather_objects.h"
#include "quantities/date_text.h"
#include "quantities/record_values.h"
#include "station/record_text.h"

namespace station {

// An archive record's texts in the user's units and date and time conventions, as the
// listings and the exports show them.
class ArchiveRecordValues : public RecordValues {
 public:
  ArchiveRecordValues(const database::WeatherDataObject& obj, const quantities::ValueContext& ctx)
      : obj_(obj), ctx_(ctx) {}
  std::string dateText() const override { return quantities::shortDateText(obj_.date, ctx_.intl); }
  std::string timeText() const override {
    return quantities::recordTimeText(obj_.date.minutes, ctx_.intl);
  }
  std::string exportTimeText() const override {
    return quantities::exportRecordTimeText(obj_.date.minutes, ctx_.intl);
  }
  std::string valueText(std::uint32_t code) const override {
    return quantities::GetWeatherDataStr(obj_.record, code, ctx_);
  }
  std::optional<double> rainAmount(std::uint32_t code) const override {
    float v = 0;
    if (quantities::GetWeatherData(obj_.record, code, 0, &v, ctx_) != quantities::kValueOk ||
        v == -32768.0F) {
      return std::nullopt;
    }
    return v;
  }

 protected:
  const database::WeatherDataObject& obj_;
  const quantities::ValueContext& ctx_;
};

}  // namespace station
