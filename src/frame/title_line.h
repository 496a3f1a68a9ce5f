#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "frame/event_log.h"
#include "platform/clock.h"

namespace frame {

// "%s  %s  %s: %s": program name, date, time of day and the open station's name.
std::string formatTitleLine(std::string_view programName, const platform::CivilTime& now,
                            const platform::IntlSettings& style, std::string_view stationName);

// The program's title. It is handed on (terminal status line, service status) only when
// its text changes.
class TitleLine {
 public:
  using Sink = std::function<void(const std::string&)>;
  explicit TitleLine(Sink sink = {}) : sink_(std::move(sink)) {}
  void setSink(Sink sink) { sink_ = std::move(sink); }

  // Returns true when the text differs from the one shown and was handed on.
  bool update(const std::string& text);
  const std::string& text() const { return text_; }

 private:
  Sink sink_;
  std::string text_;
};

}  // namespace frame
